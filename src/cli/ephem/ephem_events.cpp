// barywalk-ephem events: the Sun's closest passes, farthest points,
// retrograde spells and acceleration extremes over a span of years.
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_options.h"
#include "ephem_cli.h"
#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/sun_events.h"

namespace barywalk {
namespace {

constexpr const char* kDefaultFrom = "1900-01-01";
constexpr const char* kDefaultTo = "2100-01-01";
constexpr double kDaysPerJulianYear = 365.25;
constexpr double kJ2000Year = 2000.0;

double TimeOption(const std::string& name, const std::string& text) {
  double jd = 0;
  std::string error;
  if (!ParseTime(text, jd, error)) throw UsageError(name + ": " + error);
  return jd;
}

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// The UTC date and time to the minute: "1990-04-23 05:07".
std::string DateText(double jd) {
  const UtcDateTime t = UtcFromJulianDay(jd + 0.5 / 1440);  // rounded to the minute
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return buffer;
}

// Julian epoch year, the decimal year published tables use.
double EpochYear(double jd) { return kJ2000Year + (jd - kJ2000) / kDaysPerJulianYear; }

struct Columns {
  std::string event, date, year, jd, km, rsun, au, speed, accel, momentum;
};

Columns ColumnsOf(const SunEvent& e, bool csv) {
  const double au = e.motion.DistanceAu();
  const double km = AuToKm(au);
  Columns c;
  c.event = SunEventName(e.kind);
  c.date = DateText(e.jd);
  c.year = Format("%.4f", EpochYear(e.jd));
  c.jd = Format("%.5f", e.jd);
  c.km = Format(csv ? "%.0f" : "%9.0f", km);
  c.rsun = Format("%.4f", KmToSolarRadii(km));
  c.au = Format("%.7f", au);
  c.speed = Format("%.3f", e.motion.Speed());
  c.accel = Format("%.4e", e.motion.Acceleration());
  c.momentum = Format("%.4e", e.motion.angularMomentum);
  return c;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string fill(width - text.size(), ' ');
  return right ? fill + text : text + fill;
}

}  // namespace

EventsRequest ParseEventsArguments(const std::vector<std::string>& args) {
  EventsRequest request;
  std::string from = kDefaultFrom, to = kDefaultTo;
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& name = reader.Current();
    if (!reader.IsOption()) throw UsageError("unexpected argument " + Quoted(name));
    if (name == "--help") {
      reader.NoValue();
      request.help = true;
      return request;
    }
    if (name == "--csv") {
      reader.NoValue();
      request.csv = true;
    } else if (name == "--from") {
      from = reader.Value();
    } else if (name == "--to") {
      to = reader.Value();
    } else {
      reader.Unknown();
    }
  }
  request.from = TimeOption("--from", from);
  request.to = TimeOption("--to", to);
  if (!(request.from < request.to)) throw UsageError("--from must be earlier than --to");
  if ((request.to - request.from) / SunEventOptions().sampleDays >= kMaxEventSamples) {
    throw UsageError("the span is too long: at most some 270,000 years");
  }
  return request;
}

std::string EventsUsageText() {
  return "Usage: barywalk-ephem events [--from TIME] [--to TIME] [--csv]\n"
         "\n"
         "The Sun's notable moments around the solar system barycenter, in date order:\n"
         "  closest pass / farthest point   the extremes of its distance from the\n"
         "        barycenter (an extreme counts when the distance changes by at least\n"
         "        0.02 solar radii before the next one)\n"
         "  retrograde begins / ends        its orbital angular momentum about the\n"
         "        ecliptic pole turns negative / positive: its orbit runs backwards\n"
         "  largest / smallest acceleration the strongest and weakest pull of the\n"
         "        planets on it over the span\n"
         "\n"
         "  --from TIME  start of the span (default 1900-01-01)\n"
         "  --to TIME    end of the span (default 2100-01-01)\n"
         "  --csv        CSV with the units in the header instead of a table\n"
         "  --help       show this help\n"
         "\n"
         "TIME is a Julian day or a UTC date or date-time (see barywalk-ephem --help).\n"
         "Columns: the UTC date and time; the decimal year (Julian epoch, 2000.0 =\n"
         "JD 2451545.0); the distance in km, solar radii (695,700 km) and au\n"
         "(149,597,870.7 km); the Sun's speed around the barycenter (m/s); the\n"
         "planets' pull on it (m/s^2); its orbital angular momentum per unit mass\n"
         "(m^2/s, toward the ecliptic north).\n"
         "\n"
         "The planets come from the abridged series the program draws with: dates\n"
         "agree with the JPL ephemerides to within days, distances to some 0.01\n"
         "solar radii.\n";
}

std::string FormatSunEvents(const std::vector<SunEvent>& events, bool csv) {
  std::string out;
  if (csv) {
    out = "event,date_utc,year,jd,distance_km,distance_rsun,distance_au,speed_m_s,"
          "acceleration_m_s2,angular_momentum_m2_s\n";
    for (const SunEvent& e : events) {
      const Columns c = ColumnsOf(e, true);
      out += c.event + ',' + c.date + ',' + c.year + ',' + c.jd + ',' + c.km + ',' + c.rsun + ',' +
             c.au + ',' + c.speed + ',' + c.accel + ',' + c.momentum + '\n';
    }
    return out;
  }
  const std::vector<std::string> head = {"event", "date (UTC)", "year", "distance (km)",
                                         "(R_sun)", "speed (m/s)", "accel. (m/s^2)",
                                         "ang. mom. (m^2/s)"};
  const std::vector<std::size_t> widths = {21, 16, 9, 13, 7, 11, 14, 17};
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) text += "  ";
      text += Padded(cells[i], widths[i], i >= 2);
    }
    return text + '\n';
  };
  out = line(head);
  for (const SunEvent& e : events) {
    const Columns c = ColumnsOf(e, false);
    out += line({c.event, c.date, c.year, c.km, c.rsun, c.speed, c.accel, c.momentum});
  }
  return out;
}

int RunEphemEvents(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const EventsRequest request = ParseEventsArguments(args);
    out << (request.help ? EventsUsageText()
                         : FormatSunEvents(FindSunEvents(request.from, request.to), request.csv));
  } catch (const UsageError& error) {
    err << "barywalk-ephem events: " << error.what() << '\n';
    return kExitBadArguments;
  }
  out.flush();
  if (!out) {
    err << "barywalk-ephem: cannot write the output\n";
    return kExitOutputFailed;
  }
  return kExitOk;
}

}  // namespace barywalk
