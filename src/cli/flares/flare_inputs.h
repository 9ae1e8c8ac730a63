// The flare files named on a barywalk-flares command line, read as the
// dialog reads them: one running flare index across the files, in order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "flares/solar_flare.h"

namespace barywalk {

struct LoadedCatalogs {
  FlareMap flares;
  std::vector<std::string> paths;
  std::vector<int> lastIndex;  // the last flare index of each file

  // "FILE line N" of the flare with running index `index`: the header is
  // line 1, so flare 1 of a file is on line 2.
  std::string Where(int index) const;
};

// Reads `paths` (at least one). A file that cannot be opened or not be
// read to its end is a UsageError naming it; lines with fields that are
// not numbers still count as flares (their fields read as 0), as in the
// dialog, and are reported on `err` as one warning line per file.
LoadedCatalogs LoadCatalogs(const std::vector<std::string>& paths, const std::string& command,
                            std::ostream& err);

}  // namespace barywalk
