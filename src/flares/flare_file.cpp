#include "flares/flare_file.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/numbers.h"
#include "common/output_file.h"

namespace barywalk {
namespace {

// The C locale's white space, fixed so that the user's locale plays no part.
bool IsFieldSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads white-space separated numbers into `fields`, up to `count` of them;
// returns how many were readable. Stops at the first unreadable word.
int ParseWords(std::string_view line, double* fields, int count) {
  int readable = 0;
  std::size_t pos = 0;
  while (readable < count) {
    while (pos < line.size() && IsFieldSpace(line[pos])) ++pos;
    if (pos == line.size()) break;
    const std::size_t start = pos;
    while (pos < line.size() && !IsFieldSpace(line[pos])) ++pos;
    if (!ParseStrictNumber(line.substr(start, pos - start), fields[readable])) break;
    ++readable;
  }
  return readable;
}

// Fields 6 and 7 of a data line whose first five fields are readable.
struct FlareClassAndRegion {
  double flux = 0.0;  // W/m^2; 0 unknown
  int region = 0;     // NOAA active region; 0 unknown
  bool invalid = false;  // a number was given that is no flux or no region
};

// Checks the `readable` (0..2) numbers read after the first five fields.
FlareClassAndRegion CheckClassAndRegion(const double* extra, int readable) {
  FlareClassAndRegion result;
  if (readable >= 1) {
    if (extra[0] >= 0) result.flux = extra[0] + 0.0;
    else result.invalid = true;
  }
  if (readable >= 2) {
    if (extra[1] >= 0 && extra[1] <= INT_MAX && extra[1] == std::floor(extra[1])) {
      result.region = static_cast<int>(extra[1]);
    } else {
      result.invalid = true;
    }
  }
  return result;
}

enum class LineRead { Line, End, TooLong };

// The next line of `in` without its line end ("\n", "\r\n" or "\r"). Stops
// storing at kMaxFlareLineLength, so a huge line costs no memory.
LineRead ReadLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  using Traits = std::char_traits<char>;
  const Traits::int_type eof = Traits::eof();
  Traits::int_type c = eof;
  try {
    c = buffer->sbumpc();
    if (c == eof) {
      in.setstate(std::ios::eofbit);
      return LineRead::End;
    }
    while (c != eof && c != '\n' && c != '\r') {
      if (line.size() == kMaxFlareLineLength) return LineRead::TooLong;
      line += Traits::to_char_type(c);
      c = buffer->sbumpc();
    }
    if (c == '\r' && buffer->sgetc() == '\n') buffer->sbumpc();
    if (c == eof) in.setstate(std::ios::eofbit);
  } catch (...) {
    in.setstate(std::ios::badbit);
    return LineRead::End;
  }
  return LineRead::Line;
}

}  // namespace

int ParseFlareLine(std::string_view line, double (&fields)[kFlareFieldCount]) {
  for (double& field : fields) field = 0.0;
  return ParseWords(line, fields, kFlareFieldCount);
}

FlareStreamResult ReadFlareStream(std::istream& in, FlareMap& flares, int& runningIndex,
                                  const FlareReadOptions& options) {
  FlareStreamResult result;
  std::string line;
  LineRead read = ReadLine(in, line);  // the header line
  if (read == LineRead::Line && options.headerCheck) {
    result.otherFormat = options.headerCheck(line);
    if (!result.otherFormat.empty()) {
      result.status = FlareReadStatus::OtherFormat;
      return result;
    }
  }
  // Lines read so far: a line too long is the next one.
  int lineNumber = 0;
  if (read == LineRead::Line) {
    lineNumber = 1;
    // The five fields, then the flux and region when those are read.
    const bool withClassAndRegion = options.columns == FlareColumns::WithClassAndRegion;
    const int wordCount = withClassAndRegion ? kFlareFieldCount + 2 : kFlareFieldCount;
    double fields[kFlareFieldCount + 2];
    while ((read = ReadLine(in, line)) == LineRead::Line) {
      ++lineNumber;
      if (runningIndex == INT_MAX) {
        result.status = FlareReadStatus::IndexExhausted;
        return result;
      }
      for (double& field : fields) field = 0.0;
      const int readable = ParseWords(line, fields, wordCount);
      FlareClassAndRegion extra;
      if (readable < kFlareFieldCount) {
        ++result.incompleteLines;
      } else if (withClassAndRegion) {
        extra = CheckClassAndRegion(fields + kFlareFieldCount, readable - kFlareFieldCount);
        if (extra.invalid) ++result.invalidClassOrRegion;
      }
      ++runningIndex;
      // Appending at the end keeps equal keys in reading order and makes
      // time-sorted files load in linear time.
      flares.emplace_hint(flares.end(), fields[0],
                          SolarFlare(fields[1], fields[2], fields[3] / kMinutesPerDay, fields[4],
                                     runningIndex, extra.flux, extra.region));
      ++result.flareCount;
    }
  }
  if (read == LineRead::TooLong) {
    result.status = FlareReadStatus::LineTooLong;
    result.stopLine = lineNumber + 1;
  }
  if (in.bad()) result.status = FlareReadStatus::ReadError;
  return result;
}

namespace {

// Why the reading of a file stopped, in a few words; empty when it did not.
std::string StatusText(const FlareStreamResult& result) {
  switch (result.status) {
    case FlareReadStatus::Ok: return {};
    case FlareReadStatus::NotOpened: return "cannot be opened";
    case FlareReadStatus::ReadError: return errno != 0 ? std::strerror(errno) : "read error";
    case FlareReadStatus::IndexExhausted: return "too many flares";
    case FlareReadStatus::LineTooLong:
      return "line " + std::to_string(result.stopLine) + " is longer than " +
             std::to_string(kMaxFlareLineLength) + " characters";
    case FlareReadStatus::OtherFormat: return "not a flare file but " + result.otherFormat;
  }
  return "?";
}

void AppendNumber(std::string& out, double value, std::chars_format format, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  out.append(buffer, result.ptr);
}

}  // namespace

std::string FlareFileDisplayName(const std::string& path) {
  return NameOf(path);
}

std::vector<FlareFileReport> LoadFlareFiles(const std::vector<std::string>& paths,
                                            FlareMap& flares, const FlareReadOptions& options) {
  flares.clear();
  std::vector<FlareFileReport> reports;
  reports.reserve(paths.size());
  int runningIndex = 0;
  for (const std::string& path : paths) {
    FlareFileReport report;
    report.displayName = FlareFileDisplayName(path);
    errno = 0;
    std::ifstream file(path, std::ios::in | std::ios::binary);
    report.opened = file.is_open();
    if (!report.opened) {
      report.result.status = FlareReadStatus::NotOpened;
      report.error = errno != 0 ? std::strerror(errno) : "cannot be opened";
    } else {
      errno = 0;
      report.result = ReadFlareStream(file, flares, runningIndex, options);
      report.error = StatusText(report.result);
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

std::string FlareColumnsHeader(FlareColumns columns) {
  std::string header = "JD(UT,start) lat[deg,north+] lon[deg,east+] duration[min] area[millionths]";
  if (columns == FlareColumns::WithClassAndRegion) header += " flux[W/m2] region[NOAA]";
  return header;
}

std::string FormatFlareLine(const FlareRecord& flare, FlareColumns columns) {
  std::string line;
  AppendNumber(line, flare.jd, std::chars_format::fixed, 8);
  // + 0.0 writes a negative zero as 0.
  for (double value : {flare.latitude, flare.longitude, flare.durationMinutes, flare.area}) {
    line += ' ';
    AppendNumber(line, value + 0.0, std::chars_format::general, 10);
  }
  if (columns == FlareColumns::WithClassAndRegion) {
    line += ' ';
    AppendNumber(line, flare.flux + 0.0, std::chars_format::general, 10);
    line += ' ';
    line += std::to_string(flare.region);
  }
  return line;
}

void WriteFlareFile(std::ostream& out, const std::string& header,
                    const std::vector<FlareRecord>& flares, FlareColumns columns) {
  out << header << '\n';
  std::string line;
  for (const FlareRecord& flare : flares) {
    line = FormatFlareLine(flare, columns);
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

}  // namespace barywalk
