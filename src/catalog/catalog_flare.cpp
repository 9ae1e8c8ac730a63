#include "catalog/catalog_flare.h"

namespace barywalk {

const char* RejectReasonText(RejectReason reason) {
  switch (reason) {
    case RejectReason::Unreadable: return "unreadable field";
    case RejectReason::EndBeforeStart: return "end before start";
    case RejectReason::OffDisc: return "position off the disc";
    case RejectReason::Blank: return "blank line";
    case RejectReason::EndOfFileMark: return "end-of-file mark (Ctrl-Z)";
    case RejectReason::OtherSource: return "other frm_name than --frm";
    case RejectReason::BeforeFrom: return "before --from";
    case RejectReason::AfterTo: return "after --to";
    case RejectReason::NoClass: return "no GOES class (--min-class)";
    case RejectReason::BelowClass: return "below --min-class";
    case RejectReason::NoPosition: return "no position";
    case RejectReason::Duplicate: return "duplicate of a row written";
  }
  return "?";
}

}  // namespace barywalk
