#include "flares/flare_file.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/numbers.h"

namespace barywalk {
namespace {

// The C locale's white space, fixed so that the user's locale plays no part.
bool IsFieldSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A whole word as one finite decimal number, or false.
bool ParseNumberWord(std::string_view word, double& value) { return ParseStrictNumber(word, value); }

}  // namespace

int ParseFlareLine(std::string_view line, double (&fields)[kFlareFieldCount]) {
  for (double& field : fields) field = 0.0;
  int readable = 0;
  std::size_t pos = 0;
  while (readable < kFlareFieldCount) {
    while (pos < line.size() && IsFieldSpace(line[pos])) ++pos;
    if (pos == line.size()) break;
    const std::size_t start = pos;
    while (pos < line.size() && !IsFieldSpace(line[pos])) ++pos;
    if (!ParseNumberWord(line.substr(start, pos - start), fields[readable])) break;
    ++readable;
  }
  return readable;
}

FlareStreamResult ReadFlareStream(std::istream& in, FlareMap& flares, int& runningIndex) {
  FlareStreamResult result;
  std::string line;
  if (std::getline(in, line)) {  // the header line
    double fields[kFlareFieldCount];
    while (std::getline(in, line)) {
      if (runningIndex == INT_MAX) {
        result.status = FlareReadStatus::IndexExhausted;
        return result;
      }
      if (ParseFlareLine(line, fields) < kFlareFieldCount) ++result.incompleteLines;
      ++runningIndex;
      // Appending at the end keeps equal keys in reading order and makes
      // time-sorted files load in linear time.
      flares.emplace_hint(flares.end(), fields[0],
                          SolarFlare(fields[1], fields[2], fields[3] / kMinutesPerDay, fields[4],
                                     runningIndex));
      ++result.flareCount;
    }
  }
  if (in.bad()) result.status = FlareReadStatus::ReadError;
  return result;
}

std::string FlareFileDisplayName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<FlareFileReport> LoadFlareFiles(const std::vector<std::string>& paths,
                                            FlareMap& flares) {
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
      report.result = ReadFlareStream(file, flares, runningIndex);
      if (report.result.status == FlareReadStatus::ReadError) {
        report.error = errno != 0 ? std::strerror(errno) : "read error";
      } else if (report.result.status == FlareReadStatus::IndexExhausted) {
        report.error = "too many flares";
      }
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

}  // namespace barywalk
