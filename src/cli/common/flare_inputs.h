// The flare files named on a command line (stats, significance, render
// --flares), read and reported the same way by every command: one running
// flare index across the files, in order, the flux and region of fields 6
// and 7, and a catalog given in place of a flare file refused with the
// import command that converts it.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "flares/goes_class.h"
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

struct FlareLoadOptions {
  // Keep only flares of this class and above; the others are counted on
  // the error stream, and none left is a UsageError.
  std::optional<GoesClass> minClass;
};

// Reads `paths` (at least one). A file that cannot be opened or not be
// read to its end, or that is a catalog rather than a flare file, is a
// UsageError naming it; lines with fields that are not numbers still count
// as flares (their fields read as 0), as in the dialog, and are reported
// on `err` as one warning line per file, which `program` begins
// ("barywalk-flares stats", "barywalk-render").
LoadedCatalogs LoadCatalogs(const std::vector<std::string>& paths, const std::string& program,
                            std::ostream& err, const FlareLoadOptions& options = {});

// The value of a --min-class option, or a UsageError naming `option`.
GoesClass GoesClassArgument(const std::string& option, const std::string& text);

}  // namespace barywalk
