// Flare files (*.flr): a header line, then one flare per line as five
// numbers separated by white space: Julian day, heliographic latitude
// (degrees, north positive), longitude (degrees from the central meridian
// as seen from the Earth, EAST positive), duration (minutes) and area
// (millionths of the solar disk; 0 = not given). Two optional numbers may
// follow: field 6 the peak soft X-ray flux in W/m^2, the value of the GOES
// class (M1.2 is 1.2e-5), and field 7 the NOAA active-region number; 0
// means unknown in both. The dialog reads five numbers and ignores what
// follows them, so files with the two fields load in it, and in any older
// reader, unchanged; the commands read all seven.
//
// East positive because the flare's direction angle is L - longitude (L:
// the Earth's heliocentric longitude) and the Sun turns the way the planets
// go round: a flare west of the central meridian lies at L + its distance.
// Catalogs count west positive (Stonyhurst hgs_lon, "W34" = +34), so their
// longitudes are negated on the way in.
//
// Reading rules:
// - "\n", "\r\n" and a lone "\r" (old Mac files) each end a line. The
//   last line needs no line end; a single line end after it adds nothing,
//   an empty last line (two line ends in a row) adds a record.
// - A line longer than kMaxFlareLineLength stops the reading of the file
//   (status LineTooLong); the lines before it stay. No line is held in
//   memory beyond that length.
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
//   Words after the fifth field are ignored, or after the seventh when
//   the class and region are read. A field 6 or 7 that is missing or not
//   a number is 0 (unknown); a number that is no flux (negative) or no
//   region (not a whole number from 0 to 2^31-1) is 0 too and counted.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "flares/flare_constants.h"
#include "flares/solar_flare.h"

namespace barywalk {

// The longest line a flare file may hold, line end not counted. The
// importer writes lines of about 60 characters; anything near this limit
// is not a flare file.
constexpr std::size_t kMaxFlareLineLength = 65536;

// Which fields a reader takes from a data line.
enum class FlareColumns {
  Five,                // the dialog's reader: fields 1-5
  WithClassAndRegion,  // the commands: fields 1-5, then the flux and region
};

// Parses up to five fields of one data line into `fields`. Returns the
// number of readable fields (0..5); fields from that position on are 0.
int ParseFlareLine(std::string_view line, double (&fields)[kFlareFieldCount]);

enum class FlareReadStatus {
  Ok,              // the whole stream was read
  NotOpened,       // the file could not be opened; nothing read
  ReadError,       // an input error stopped reading; records before it stay
  IndexExhausted,  // the running index reached the int range; reading stopped
  LineTooLong,     // a line beyond kMaxFlareLineLength; reading stopped there
  OtherFormat,     // the first line shows another kind of file; nothing read
};

struct FlareStreamResult {
  int flareCount = 0;       // data lines read; each added one record
  int incompleteLines = 0;  // data lines with fewer than five readable fields
  int invalidClassOrRegion = 0;  // lines whose field 6 or 7 was no flux or region
  int stopLine = 0;          // the line (1 = header) where LineTooLong stopped
  std::string otherFormat;   // with OtherFormat: what the file is
  FlareReadStatus status = FlareReadStatus::Ok;
};

// Says what a file is when its first line shows that it is not a flare
// file (a catalog that needs importing, say); empty for a flare file.
using FlareHeaderCheck = std::function<std::string(std::string_view firstLine)>;

struct FlareReadOptions {
  FlareColumns columns = FlareColumns::Five;
  FlareHeaderCheck headerCheck;  // none: every first line is a header
};

// Reads one flare stream: skips the header line, then adds one record per
// data line to `flares`, numbering them runningIndex + 1, runningIndex + 2,
// ...; `runningIndex` ends at the last index given.
FlareStreamResult ReadFlareStream(std::istream& in, FlareMap& flares, int& runningIndex,
                                  const FlareReadOptions& options = {});

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
                                            FlareMap& flares,
                                            const FlareReadOptions& options = {});

// One flare as a flare file line holds it.
struct FlareRecord {
  double jd = 0.0;               // start, Julian day (UT)
  double latitude = 0.0;         // degrees, north positive
  double longitude = 0.0;        // degrees from the central meridian, east positive
  double durationMinutes = 0.0;
  double area = 0.0;             // millionths of the solar disk; 0 none
  double flux = 0.0;             // W/m^2; 0 unknown
  int region = 0;                // NOAA active region; 0 unknown
};

// The column names that begin the header line of a written file.
std::string FlareColumnsHeader(FlareColumns columns);

// One data line (no line end): "JD lat lon duration area [flux region]",
// JD with 8 decimals (about 1 ms), the others with up to 10 significant
// digits, the region as a whole number.
std::string FormatFlareLine(const FlareRecord& flare, FlareColumns columns);

// The header line and one line per flare, each ended by "\n".
void WriteFlareFile(std::ostream& out, const std::string& header,
                    const std::vector<FlareRecord>& flares, FlareColumns columns);

}  // namespace barywalk
