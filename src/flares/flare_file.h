// Flare files (*.flr): a header line, then one flare per line as five
// numbers separated by white space: Julian day, heliographic latitude
// (degrees, north positive), longitude (degrees from the central meridian
// as seen from the Earth, EAST positive), duration (minutes) and area
// (millionths of the solar disk; 0 = not given).
//
// East positive because the flare's direction angle is L - longitude (L:
// the Earth's heliocentric longitude) and the Sun turns the way the planets
// go round: a flare west of the central meridian lies at L + its distance.
// Catalogs count west positive (Stonyhurst hgs_lon, "W34" = +34), so their
// longitudes are negated on the way in.
//
// Reading rules:
// - Lines may be of any length; "\n" ends a line, a "\r" before it is
//   white space (CRLF files read like LF files). The last line needs no
//   line end; a single line end after it adds nothing, an empty last line
//   (two line ends in a row) adds a record.
// - Every line after the header is a data line and adds exactly one record
//   with the next running index, blank and garbled lines included, so no
//   line of a file is lost and the indices match the file's lines.
// - A field is readable when its white-space separated word is a finite
//   decimal number: optional sign, digits with an optional ".", optional
//   exponent; "." is the decimal point whatever the locale. Reading of a
//   line stops at the first word that is not readable (text, "nan", "inf",
//   hexadecimal, a value beyond the double range, a NUL byte, ...): that
//   field and all after it are 0, and the line counts as incomplete. So a
//   key is always a finite number and the map's ordering stays sound.
//   Words after the fifth field are ignored.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "flares/flare_constants.h"
#include "flares/solar_flare.h"

namespace barywalk {

// Parses up to five fields of one data line into `fields`. Returns the
// number of readable fields (0..5); fields from that position on are 0.
int ParseFlareLine(std::string_view line, double (&fields)[kFlareFieldCount]);

enum class FlareReadStatus {
  Ok,              // the whole stream was read
  NotOpened,       // the file could not be opened; nothing read
  ReadError,       // an input error stopped reading; records before it stay
  IndexExhausted,  // the running index reached the int range; reading stopped
};

struct FlareStreamResult {
  int flareCount = 0;       // data lines read; each added one record
  int incompleteLines = 0;  // data lines with fewer than five readable fields
  FlareReadStatus status = FlareReadStatus::Ok;
};

// Reads one flare stream: skips the header line, then adds one record per
// data line to `flares`, numbering them runningIndex + 1, runningIndex + 2,
// ...; `runningIndex` ends at the last index given.
FlareStreamResult ReadFlareStream(std::istream& in, FlareMap& flares, int& runningIndex);

// What happened to one file of a load, for the per-file message
// "%s : %d flares" (displayName, result.flareCount).
struct FlareFileReport {
  std::string displayName;  // the file's name and extension, no directory
  bool opened = false;
  std::string error;        // reason when not opened or not read to the end
  FlareStreamResult result;
};

// The file name with its extension, without the directory part.
std::string FlareFileDisplayName(const std::string& path);

// Replaces the content of `flares` with the flares of all `paths`, read in
// the given order with one running index from 1 across the files. A file
// that cannot be opened gives a report with opened == false and count 0;
// the other files are read as usual. One report per path, in order.
std::vector<FlareFileReport> LoadFlareFiles(const std::vector<std::string>& paths,
                                            FlareMap& flares);

}  // namespace barywalk
