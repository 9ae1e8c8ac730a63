// Flare files as the programs and the dialog read them. A catalog given
// where a flare file is expected (a NOAA report, a HEK, GOES, SolarSoft or
// STIX list) is recognised from its first line and not read as flares: a
// raw catalog's numbers read as flare fields give nonsense (a NOAA report
// becomes flares at JD 31777040101), and importing it on the fly would
// choose for the user what the importer's options choose (which HEK
// method, whether flares without a position count). The user is told the
// one command that converts it.
#pragma once

#include <string>

#include "flares/flare_file.h"

namespace barywalk {

// The read options of a flare file with the catalog recognition.
FlareReadOptions FlareFileReadOptions(FlareColumns columns);

// "barywalk-flares import 'PATH' -o 'STEM.flr'": the command that converts
// the catalog at `path` into a flare file beside it (STEM-imported.flr
// when the catalog's own name ends in .flr, so the output never replaces
// the input). Paths are quoted for a POSIX shell where needed.
std::string ImportCommandFor(const std::string& path);

// "PATH is a NOAA GOES XRS event report, not a flare file; convert it
// first: barywalk-flares import ...", for a report with status
// OtherFormat.
std::string OtherFormatMessage(const std::string& path, const FlareStreamResult& result);

}  // namespace barywalk
