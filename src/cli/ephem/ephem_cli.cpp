#include "ephem_cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "ephemeris/barycenter.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/planets.h"
#include "ephemeris/sun_motion.h"
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
  bool hasWidth = false, hasFrom = false, hasTo = false, hasStep = false;
};

bool IsOption(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '-') return false;
  // "-5" and "-.5" are negative Julian days, "-0100-01-01" a date before year 0.
  return !(std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}


bool ParseWidth(const std::string& text, int& width, std::string& error) {
  long long value = 0;
  if (!ParseWholeNumber(text, value) || value < 1 || value > std::numeric_limits<int>::max()) {
    error = "--width must be a whole number of pixels from 1 to " +
            std::to_string(std::numeric_limits<int>::max()) + ", got " + Quoted(text);
    return false;
  }
  width = static_cast<int>(value);
  return true;
}

bool ParseStep(const std::string& text, double& step, std::string& error) {
  if (!ParseNumber(text, step) || !(step > 0)) {
    error = "--step must be a number of days greater than 0, got " + Quoted(text);
    return false;
  }
  return true;
}

// Applies one "--name value" option. Returns false with `error` set.
bool ApplyOption(const std::string& name, const std::string& value, EphemRequest& request,
                 OptionValues& seen, std::string& error) {
  bool* given = nullptr;
  if (name == "--width") given = &seen.hasWidth;
  if (name == "--from") given = &seen.hasFrom;
  if (name == "--to") given = &seen.hasTo;
  if (name == "--step") given = &seen.hasStep;
  if (given == nullptr) {
    error = name == "--help" || name == "--physical" ? name + " takes no value"
                                                      : "unknown option " + Quoted(name);
    return false;
  }
  if (*given) {
    error = name + " given more than once";
    return false;
  }
  *given = true;
  if (name == "--width") return ParseWidth(value, request.width, error);
  if (name == "--step") return ParseStep(value, request.step, error);
  double& time = name == "--from" ? request.from : request.to;
  if (!ParseTime(value, time, error)) {
    error = name + ": " + error;
    return false;
  }
  return true;
}

// Checks that the options form either a list of times or a complete range.
bool CheckRequestShape(EphemRequest& request, const OptionValues& seen, std::string& error) {
  const bool anyRange = seen.hasFrom || seen.hasTo || seen.hasStep;
  if (anyRange && !request.times.empty()) {
    error = "TIME arguments cannot be combined with --from, --to and --step";
    return false;
  }
  if (!anyRange) {
    if (request.times.empty()) error = "no TIME given (see --help)";
    return !request.times.empty();
  }
  const char* missing = !seen.hasFrom ? "--from"
                        : !seen.hasTo ? "--to"
                        : !seen.hasStep ? "--step"
                                        : nullptr;
  if (missing != nullptr) {
    error = std::string("--from, --to and --step go together: ") + missing + " is missing";
    return false;
  }
  if (request.from > request.to) {
    error = "--from is later than --to";
    return false;
  }
  request.isRange = true;
  const RangeShape shape = ShapeOfRange(request.from, request.to, request.step);
  request.rangeRows = shape.rows;
  request.rangeEndsOnTo = shape.endsOnTo;
  if (request.rangeRows < 0) {
    error = "the range has more than " + std::to_string(kMaxRows) + " rows; use a larger --step";
    return false;
  }
  return true;
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
  EphemRequest& request = outcome.request;
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    request.help = true;
    outcome.ok = true;
    return outcome;
  }
  OptionValues seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!IsOption(arg)) {
      double jd = 0;
      if (!ParseTime(arg, jd, outcome.error)) return outcome;
      request.times.push_back(jd);
      continue;
    }
    if (arg == "--physical") {
      request.physical = true;
      continue;
    }
    std::string name = arg;
    std::string value;
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size() && !IsOption(args[i + 1])) {
      value = args[++i];
    } else if (name == "--width" || name == "--from" || name == "--to" || name == "--step") {
      outcome.error = name + " needs a value";
      return outcome;
    }
    if (!ApplyOption(name, value, request, seen, outcome.error)) return outcome;
  }
  outcome.ok = CheckRequestShape(request, seen, outcome.error);
  return outcome;
}

std::string UsageText() {
  return "Usage: barywalk-ephem [--width PIXELS] [--physical] TIME...\n"
         "       barywalk-ephem [--width PIXELS] [--physical] --from TIME --to TIME --step DAYS\n"
         "       barywalk-ephem events [--from TIME] [--to TIME] [--csv]   (see events --help)\n"
         "\n"
         "Prints, as CSV on standard output, the heliocentric ecliptic longitude L\n"
         "(radians) and radius vector R (au) of the nine planets, the Sun's centre\n"
         "around the solar system barycenter in pixels of a view panel (sun_x, sun_y)\n"
         "and the planets' pull on the Sun in display units (accel_x, accel_y), one\n"
         "row per time, every number with 17 significant digits.\n"
         "\n"
         "TIME is a Julian day (2451545.0) or a UTC date-time in ISO 8601\n"
         "(2000-01-01, 2000-01-01T12:00, 2000-01-01T12:00:00Z); a date alone is\n"
         "00:00 UTC. Years may be signed and are proleptic Gregorian; year 0 is 1 BC.\n"
         "\n"
         "  --width PIXELS  width of the view panel (default 640)\n"
         "  --from TIME     first time of a range\n"
         "  --to TIME       last time of a range\n"
         "  --step DAYS     days between rows of a range, greater than 0\n"
         "  --physical      add the Sun's motion around the barycenter in physical\n"
         "                  units (columns below)\n"
         "  --help          show this help\n"
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
         "10000000 rows.\n"
         "\n"
         "Exit status: 0 on success, 1 when the output cannot be written, 2 on a bad\n"
         "argument (one line on standard error, nothing on standard output).\n";
}

namespace {

const char* const kPhysicalHeader =
    ",sun_x_au,sun_y_au,sun_dist_au,sun_x_km,sun_y_km,sun_dist_km,sun_x_rsun,sun_y_rsun,"
    "sun_dist_rsun,sun_vx_m_s,sun_vy_m_s,sun_speed_m_s,sun_ax_m_s2,sun_ay_m_s2,sun_accel_m_s2,"
    "sun_h_m2_s";

void AppendPhysical(std::string& row, double jd) {
  const SunMotion motion = ComputeSunMotion(jd);
  const double distance = motion.DistanceAu();
  const double km[3] = {AuToKm(motion.x), AuToKm(motion.y), AuToKm(distance)};
  const double values[] = {motion.x,          motion.y,          distance,
                           km[0],             km[1],             km[2],
                           KmToSolarRadii(km[0]), KmToSolarRadii(km[1]), KmToSolarRadii(km[2]),
                           motion.vx,         motion.vy,         motion.Speed(),
                           motion.ax,         motion.ay,         motion.Acceleration(),
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
  if (physical) AppendPhysical(row, jd);
  row += '\n';
  return row;
}

int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && args[0] == "events") {
    return RunEphemEvents(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
  }
  const ParseOutcome parsed = ParseEphemArguments(args);
  if (!parsed.ok) {
    err << "barywalk-ephem: " << parsed.error << '\n';
    return kExitBadArguments;
  }
  const EphemRequest& request = parsed.request;
  if (request.help) {
    out << UsageText();
  } else {
    out << CsvHeader(request.physical);
    const std::int64_t rows =
        request.isRange ? request.rangeRows : static_cast<std::int64_t>(request.times.size());
    for (std::int64_t i = 0; i < rows && out; ++i) {
      const double jd = request.isRange ? RangeTime(request, i) : request.times[i];
      out << CsvRow(jd, request.width, request.physical);
    }
  }
  out.flush();
  if (!out) {
    err << "barywalk-ephem: cannot write the output\n";
    return kExitOutputFailed;
  }
  return kExitOk;
}

}  // namespace barywalk
