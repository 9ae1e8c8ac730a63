// A flare as a catalog row gives it, mapped to the units of flare files,
// and the reasons for which a row is not written.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "flares/goes_class.h"

namespace barywalk {

// One catalog row mapped to what a flare file holds (see flare_file.h),
// plus what the filters need.
struct CatalogFlare {
  double jd = 0.0;               // start time, Julian day (UT)
  bool hasPosition = false;
  double latitude = 0.0;         // degrees, north positive (0 without a position)
  double longitude = 0.0;        // degrees from the central meridian, EAST positive
  double durationMinutes = 0.0;  // end - start, the day rollover applied
  double area = 0.0;             // millionths of the solar disk; 0: none given
  std::optional<GoesClass> goesClass;
  int region = 0;                // NOAA active region; 0: none given
  std::string source;            // HEK frm_name, where the catalog names one
};

// Why a row is not written. The order is the order of the summary.
enum class RejectReason {
  Unreadable,     // a field could not be read (the detail names it)
  EndBeforeStart, // the end lies before the start
  OffDisc,        // a helioprojective position off the Sun's disc
  Blank,          // a line holding nothing but white space
  EndOfFileMark,  // a DOS end-of-file character (Ctrl-Z) alone on a line
  OtherSource,    // frm_name differs from --frm
  BeforeFrom,     // starts before --from
  AfterTo,        // starts after --to
  NoClass,        // no GOES class while --min-class is given
  BelowClass,     // below --min-class
  NoPosition,     // no position while positions are required
  Duplicate,      // the same start, class and position as a row written
};
constexpr int kRejectReasonCount = 12;

// A few words for the summary and the rejects file: "no position", ...
const char* RejectReasonText(RejectReason reason);

// A row that is not written: why, with details for the user.
struct RowRejection {
  RejectReason reason = RejectReason::Unreadable;
  std::string detail;  // e.g. "start time '12x4'"; may be empty
};

// What reading one row gives: a flare, or the reason why not.
struct ParsedRow {
  std::optional<CatalogFlare> flare;
  RowRejection rejection;  // meaningful when !flare
};

inline ParsedRow Rejected(RejectReason reason, std::string detail = {}) {
  ParsedRow row;
  row.rejection = {reason, std::move(detail)};
  return row;
}

}  // namespace barywalk
