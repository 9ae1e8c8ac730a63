#include "ephem_cli.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "ephemeris/barycenter.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/planets.h"
#include "ephemeris/sun_motion.h"
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

// The time texts, read once all arguments are known: --utc may come last.
struct OptionValues {
  bool hasFrom = false, hasTo = false, hasStep = false, utc = false;
  std::string from, to;
  std::vector<std::string> times;
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

// Checks that the options form either a list of times or a complete range.
void CheckRequestShape(EphemRequest& request, const OptionValues& seen) {
  for (const std::string& text : seen.times) {
    request.times.push_back(TimeArgument("", text, seen.utc));
  }
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
  request.from = TimeArgument("--from", seen.from, seen.utc);
  request.to = TimeArgument("--to", seen.to, seen.utc);
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
    "Usage: barywalk-ephem [--width PIXELS] [--physical] TIME...\n"
    "       barywalk-ephem [--width PIXELS] [--physical] --from TIME --to TIME --step DAYS\n"
    "       barywalk-ephem events [--from TIME] [--to TIME] [--csv]  (see events --help)\n"
    "\n"
    "Prints, as CSV on standard output, the heliocentric ecliptic longitude L\n"
    "(radians) and radius vector R (au) of the nine planets, the Sun's centre\n"
    "around the solar system barycenter in pixels of a view panel (sun_x, sun_y)\n"
    "and the planets' pull on the Sun in display units (accel_x, accel_y), one\n"
    "row per time, every number with 17 significant digits.\n";

const char* const kFooter =
    "TIME is a Julian day (2451545.0), a UTC date-time in ISO 8601\n"
    "(2000-01-01T12:00, 2000-01-01T12:00:00Z), or a date alone (2000-01-01): local\n"
    "midnight in the zone of TZ, as the dialog's date fields take it, or UTC\n"
    "midnight with --utc. Years may be signed and are proleptic Gregorian; year 0\n"
    "is 1 BC. Times must lie within the years 0 to 4000, where the VSOP87 series\n"
    "of the eight planets hold; Pluto's theory is fitted to the years 1885 to\n"
    "2099 and outside them gives its mean orbit only.\n"
    "\n"
    "With --physical, in the ecliptic of date (x toward the equinox, y toward\n"
    "longitude 90 degrees; not the screen orientation of sun_x and sun_y), with\n"
    "1 au = 149597870.7 km and 1 solar radius = 695700 km (IAU):\n"
    "  sun_x_au, sun_y_au, sun_dist_au         the Sun's centre from the barycenter\n"
    "  sun_x_km, sun_y_km, sun_dist_km         the same in km\n"
    "  sun_x_rsun, sun_y_rsun, sun_dist_rsun   the same in solar radii\n"
    "  sun_vx_m_s, sun_vy_m_s, sun_speed_m_s   its velocity, m/s\n"
    "  sun_ax_m_s2, sun_ay_m_s2, sun_accel_m_s2  the planets' pull on it, m/s^2\n"
    "  sun_h_m2_s   its orbital angular momentum about the barycenter per unit\n"
    "               of the Sun's mass, component toward the ecliptic north, m^2/s\n"
    "               (negative: the orbit runs retrograde)\n"
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
  cli->Option("--width", "PIXELS",
              "width of the view panel (default " + std::to_string(kDefaultPanelWidth) + ")",
              [&request](const std::string& text) { request.width = ParseWidth(text); })
      .Option("--from", "TIME", "first time of a range",
              [&seen](const std::string& text) {
                seen.from = text;
                seen.hasFrom = true;
              })
      .Option("--to", "TIME", "last time of a range",
              [&seen](const std::string& text) {
                seen.to = text;
                seen.hasTo = true;
              })
      .Option("--step", "DAYS", "days between rows of a range, greater than 0",
              [&](const std::string& text) {
                request.step = ParseStep(text);
                seen.hasStep = true;
              })
      .Flag("--utc", "a date alone is UTC midnight instead of local midnight",
            [&seen] { seen.utc = true; })
      .Flag("--physical", "add the Sun's motion around the barycenter in physical units",
            [&request] { request.physical = true; })
      .Positionals("TIME", "times of the rows, in order",
                   [&seen](const std::string& text) { seen.times.push_back(text); });
  return cli;
}

void WriteRows(const EphemRequest& request, std::ostream& out) {
  out << CsvHeader(request.physical);
  const std::int64_t rows =
      request.isRange ? request.rangeRows : static_cast<std::int64_t>(request.times.size());
  for (std::int64_t i = 0; i < rows && out; ++i) {
    const double jd = request.isRange ? RangeTime(request, i) : request.times[i];
    out << CsvRow(jd, request.width, request.physical);
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
  try {
    outcome.request.help = !cli->Parse(args);
    if (!outcome.request.help) CheckRequestShape(outcome.request, seen);
    outcome.ok = true;
  } catch (const UsageError& error) {
    outcome.error = error.what();
  }
  return outcome;
}

std::string UsageText() {
  EphemRequest request;
  OptionValues seen;
  return EphemCommandLine(request, seen)->Help();
}

namespace {

const char* const kPhysicalHeader =
    ",sun_x_au,sun_y_au,sun_dist_au,sun_x_km,sun_y_km,sun_dist_km,sun_x_rsun,sun_y_rsun,"
    "sun_dist_rsun,sun_vx_m_s,sun_vy_m_s,sun_speed_m_s,sun_ax_m_s2,sun_ay_m_s2,sun_accel_m_s2,"
    "sun_h_m2_s";

void AppendPhysical(std::string& row, double jd,
                    const std::array<HeliocentricPosition, kPlanetCount>& positions) {
  const SunMotion motion = ComputeSunMotion(jd, positions);
  const double distance = motion.DistanceAu();
  const double km[3] = {AuToKm(motion.x), AuToKm(motion.y), AuToKm(distance)};
  const double values[] = {motion.x,  motion.y,  distance,
                           km[0],     km[1],     km[2],
                           KmToSolarRadii(km[0]), KmToSolarRadii(km[1]), KmToSolarRadii(km[2]),
                           motion.vx, motion.vy, motion.Speed(),
                           motion.ax, motion.ay, motion.Acceleration(),
                           motion.angularMomentum};
  for (double value : values) {
    row += ',';
    AppendNumber(row, value);
  }
}

}  // namespace

std::string CsvHeader(bool physical) {
  return std::string("jd,mercury_l,mercury_r,venus_l,venus_r,earth_l,earth_r,mars_l,mars_r,"
         "jupiter_l,jupiter_r,saturn_l,saturn_r,uranus_l,uranus_r,neptune_l,neptune_r,"
         "pluto_l,pluto_r,sun_x,sun_y,accel_x,accel_y") +
         (physical ? kPhysicalHeader : "") + "\n";
}

std::string CsvRow(double jd, int width, bool physical) {
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
  if (physical) AppendPhysical(row, jd, positions);
  row += '\n';
  return row;
}

int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && args[0] == "events") {
    return RunEphemEvents(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
  }
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
