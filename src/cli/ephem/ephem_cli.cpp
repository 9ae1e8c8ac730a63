#include "ephem_cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "ephemeris/barycenter.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/planets.h"
#include "cli_app.h"
#include "cli_args.h"

namespace barywalk {
namespace {

constexpr int kSignificantDigits = 17;  // enough for every double to read back exactly

// --- Numbers ----------------------------------------------------------------

void AppendNumber(std::string& out, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, kSignificantDigits);
  out.append(buffer, result.ptr);
}

// --- Ranges -------------------------------------------------------------------

double UnitInLastPlace(double value) {
  value = std::fabs(value);
  return std::nextafter(value, std::numeric_limits<double>::infinity()) - value;
}

// How far, in steps, rounding may have moved the end of the range: the ends
// carry about one unit in the last place each, the division another.
double RangeRoundingInSteps(double from, double to, double step, double steps) {
  const double ends = 4 * UnitInLastPlace(std::max(std::fabs(from), std::fabs(to))) / step;
  return std::min(0.5, ends + 4 * UnitInLastPlace(steps));
}

struct RangeShape {
  std::int64_t rows = -1;  // -1: more than kMaxRows
  bool endsOnTo = false;   // the last row's time is `to` itself
};

RangeShape ShapeOfRange(double from, double to, double step) {
  const double steps = (to - from) / step;
  const double rounding = RangeRoundingInSteps(from, to, step, steps);
  RangeShape shape;
  if (!(steps + rounding < static_cast<double>(kMaxRows))) return shape;
  const auto lastIndex = static_cast<std::int64_t>(std::floor(steps + rounding));
  shape.rows = lastIndex + 1;
  shape.endsOnTo = steps - rounding <= static_cast<double>(lastIndex);
  return shape;
}

// --- Arguments ----------------------------------------------------------------

struct OptionValues {
  bool hasFrom = false, hasTo = false, hasStep = false;
};

int ParseWidth(const std::string& text) {
  long long value = 0;
  if (!ParseWholeNumber(text, value) || value < 1 || value > std::numeric_limits<int>::max()) {
    throw UsageError("--width must be a whole number of pixels from 1 to " +
                     std::to_string(std::numeric_limits<int>::max()) + ", got " + Quoted(text));
  }
  return static_cast<int>(value);
}

double ParseStep(const std::string& text) {
  double step = 0;
  if (!ParseNumber(text, step) || !(step > 0)) {
    throw UsageError("--step must be a number of days greater than 0, got " + Quoted(text));
  }
  return step;
}

double TimeArgument(const std::string& option, const std::string& text) {
  double jd = 0;
  std::string error;
  if (!ParseTime(text, jd, error)) throw UsageError(option.empty() ? error : option + ": " + error);
  return jd;
}

// Checks that the options form either a list of times or a complete range.
void CheckRequestShape(EphemRequest& request, const OptionValues& seen) {
  const bool anyRange = seen.hasFrom || seen.hasTo || seen.hasStep;
  if (anyRange && !request.times.empty()) {
    throw UsageError("TIME arguments cannot be combined with --from, --to and --step");
  }
  if (!anyRange) {
    if (request.times.empty()) throw UsageError("no TIME given (see --help)");
    return;
  }
  const char* missing = !seen.hasFrom ? "--from"
                        : !seen.hasTo ? "--to"
                        : !seen.hasStep ? "--step"
                                        : nullptr;
  if (missing != nullptr) {
    throw UsageError(std::string("--from, --to and --step go together: ") + missing +
                     " is missing");
  }
  if (request.from > request.to) throw UsageError("--from is later than --to");
  request.isRange = true;
  const RangeShape shape = ShapeOfRange(request.from, request.to, request.step);
  request.rangeRows = shape.rows;
  request.rangeEndsOnTo = shape.endsOnTo;
  if (request.rangeRows < 0) {
    throw UsageError("the range has more than " + std::to_string(kMaxRows) +
                     " rows; use a larger --step");
  }
}

const char* const kDescription =
    "Usage: barywalk-ephem [--width PIXELS] TIME...\n"
    "       barywalk-ephem [--width PIXELS] --from TIME --to TIME --step DAYS\n"
    "\n"
    "Prints, as CSV on standard output, the heliocentric ecliptic longitude L\n"
    "(radians) and radius vector R (au) of the nine planets, the Sun's centre\n"
    "around the solar system barycenter in pixels of a view panel (sun_x, sun_y)\n"
    "and the planets' pull on the Sun in display units (accel_x, accel_y), one\n"
    "row per time, every number with 17 significant digits.\n";

const char* const kFooter =
    "TIME is a Julian day (2451545.0) or a UTC date-time in ISO 8601\n"
    "(2000-01-01, 2000-01-01T12:00, 2000-01-01T12:00:00Z); a date alone is\n"
    "00:00 UTC. Years may be signed and are proleptic Gregorian; year 0 is 1 BC.\n"
    "\n"
    "A range has a row at from + i * step for i = 0, 1, 2, ... up to --to; --to\n"
    "itself is included when the steps land on it (within rounding). At most\n"
    "10000000 rows. The last of options given twice counts.\n"
    "\n"
    "Exit status: 0 on success, 1 when the output cannot be written, 2 on a bad\n"
    "argument (one line on standard error, nothing on standard output).\n";

// The program's options, filling `request` as they are read.
std::unique_ptr<CommandLine> EphemCommandLine(EphemRequest& request, OptionValues& seen) {
  auto cli = std::make_unique<CommandLine>("barywalk-ephem", kDescription, kFooter);
  cli->Option("--width", "PIXELS", "width of the view panel (default 640)",
              [&request](const std::string& text) { request.width = ParseWidth(text); })
      .Option("--from", "TIME", "first time of a range",
              [&](const std::string& text) {
                request.from = TimeArgument("--from", text);
                seen.hasFrom = true;
              })
      .Option("--to", "TIME", "last time of a range",
              [&](const std::string& text) {
                request.to = TimeArgument("--to", text);
                seen.hasTo = true;
              })
      .Option("--step", "DAYS", "days between rows of a range, greater than 0",
              [&](const std::string& text) {
                request.step = ParseStep(text);
                seen.hasStep = true;
              })
      .Positionals("TIME", "times of the rows, in order", [&request](const std::string& text) {
        request.times.push_back(TimeArgument("", text));
      });
  return cli;
}

void WriteRows(const EphemRequest& request, std::ostream& out) {
  out << CsvHeader();
  const std::int64_t rows =
      request.isRange ? request.rangeRows : static_cast<std::int64_t>(request.times.size());
  for (std::int64_t i = 0; i < rows && out; ++i) {
    const double jd = request.isRange ? RangeTime(request, i) : request.times[i];
    out << CsvRow(jd, request.width);
  }
  out.flush();
  if (!out) throw std::runtime_error("cannot write the output");
}

}  // namespace

std::int64_t RangeRowCount(double from, double to, double step) {
  return ShapeOfRange(from, to, step).rows;
}

double RangeTime(const EphemRequest& request, std::int64_t i) {
  if (i == request.rangeRows - 1 && request.rangeEndsOnTo) return request.to;
  return request.from + static_cast<double>(i) * request.step;
}

ParseOutcome ParseEphemArguments(const std::vector<std::string>& args) {
  ParseOutcome outcome;
  OptionValues seen;
  const auto cli = EphemCommandLine(outcome.request, seen);
  cli->Run([&] {
    CheckRequestShape(outcome.request, seen);
    outcome.ok = true;
    return kExitOk;
  });
  std::ostringstream out, err;
  RunCli(*cli, args, out, err);
  outcome.request.help = !out.str().empty();
  outcome.ok = outcome.ok || outcome.request.help;
  const std::string prefix = cli->Name() + ": ";
  if (!outcome.ok) outcome.error = err.str().substr(prefix.size(), err.str().size() - prefix.size() - 1);
  return outcome;
}

std::string UsageText() {
  EphemRequest request;
  OptionValues seen;
  return EphemCommandLine(request, seen)->Help();
}

std::string CsvHeader() {
  return "jd,mercury_l,mercury_r,venus_l,venus_r,earth_l,earth_r,mars_l,mars_r,"
         "jupiter_l,jupiter_r,saturn_l,saturn_r,uranus_l,uranus_r,neptune_l,neptune_r,"
         "pluto_l,pluto_r,sun_x,sun_y,accel_x,accel_y\n";
}

std::string CsvRow(double jd, int width) {
  const auto positions = AllPlanetPositions(jd);
  const SunState sun = SunStateFromPositions(positions, width);
  std::string row;
  row.reserve(23 * 25);
  AppendNumber(row, jd);
  for (const HeliocentricPosition& position : positions) {
    row += ',';
    AppendNumber(row, position.L);
    row += ',';
    AppendNumber(row, position.R);
  }
  for (double value : {sun.offsetX, sun.offsetY, sun.accelX, sun.accelY}) {
    row += ',';
    AppendNumber(row, value);
  }
  row += '\n';
  return row;
}

int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  EphemRequest request;
  OptionValues seen;
  const auto cli = EphemCommandLine(request, seen);
  cli->Run([&] {
    CheckRequestShape(request, seen);
    WriteRows(request, out);
    return kExitOk;
  });
  return RunCli(*cli, args, out, err);
}

}  // namespace barywalk
