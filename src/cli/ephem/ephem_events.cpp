// barywalk-ephem events: the Sun's closest passes, farthest points,
// retrograde spells and acceleration extremes over a span of years.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <ostream>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_app.h"
#include "ephem_cli.h"
#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/sun_events.h"

namespace barywalk {
namespace {

constexpr const char* kDefaultFrom = "1900-01-01";
constexpr const char* kDefaultTo = "2100-01-01";
constexpr double kJ2000Year = 2000.0;

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

// The events as an aligned table or as CSV, header first.
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

// What "barywalk-ephem events" is asked for.
struct EventsRequest {
  bool csv = false;
  double from = 0, to = 0;  // Julian days
};

struct EventsTexts {
  std::string from = kDefaultFrom, to = kDefaultTo;
  bool utc = false;
};

const char* const kEventsDescription =
    "Usage: barywalk-ephem events [--from TIME] [--to TIME] [--csv]\n"
    "\n"
    "The Sun's notable moments around the solar system barycenter, in date order:\n"
    "  closest pass / farthest point   the extremes of its distance from the\n"
    "        barycenter (an extreme counts when the distance changes by at least\n"
    "        0.02 solar radii before the next one)\n"
    "  retrograde begins / ends        its orbital angular momentum about the\n"
    "        ecliptic pole turns negative / positive: its orbit runs backwards\n"
    "  largest / smallest acceleration the strongest and weakest pull of the\n"
    "        planets on it over the span\n";

const char* const kEventsFooter =
    "TIME is a year alone (1990: its first day), a Julian day, a UTC date-time\n"
    "or a date alone (local midnight, or UTC midnight with --utc), as for\n"
    "barywalk-ephem itself.\n"
    "\n"
    "Columns: the UTC date and time; the decimal year (Julian epoch, 2000.0 =\n"
    "JD 2451545.0); the distance in km, solar radii (695,700 km) and au\n"
    "(149,597,870.7 km); the Sun's speed around the barycenter (m/s); the\n"
    "planets' pull on it (m/s^2); its orbital angular momentum per unit mass\n"
    "(m^2/s, toward the ecliptic north).\n"
    "\n"
    "The planets come from the abridged series the program draws with, with\n"
    "fixed masses and no Moon: the closest passes of 1951, 1990 and 2030 and the\n"
    "farthest point of 1983 fall within a week of those of JPL's DE441.\n";

std::unique_ptr<CommandLine> EventsCommandLine(EventsRequest& request, EventsTexts& texts) {
  auto cli = std::make_unique<CommandLine>("barywalk-ephem events", kEventsDescription,
                                           kEventsFooter);
  cli->Option("--from", "TIME", std::string("start of the span (default ") + kDefaultFrom + ")",
              [&texts](const std::string& value) { texts.from = value; })
      .Option("--to", "TIME", std::string("end of the span (default ") + kDefaultTo + ")",
              [&texts](const std::string& value) { texts.to = value; })
      .Flag("--utc", "a date alone is UTC midnight instead of local midnight",
            [&texts] { texts.utc = true; })
      .Flag("--csv", "CSV with the units in the header instead of a table",
            [&request] { request.csv = true; });
  return cli;
}

// "1990" is the start of that year: as a Julian day it would lie long
// before the years the planetary theories cover, so it cannot mean one.
std::string YearAloneAsDate(const std::string& text) {
  const bool year = !text.empty() && text.size() <= 4 &&
                    text.find_first_not_of("0123456789") == std::string::npos;
  return year ? std::string(4 - text.size(), '0') + text + "-01-01" : text;
}

void CompleteEvents(const EventsTexts& texts, EventsRequest& request) {
  request.from = TimeArgument("--from", YearAloneAsDate(texts.from), texts.utc);
  request.to = TimeArgument("--to", YearAloneAsDate(texts.to), texts.utc);
  if (!(request.from < request.to)) throw UsageError("--from must be earlier than --to");
}

}  // namespace

int RunEphemEvents(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  EventsRequest request;
  EventsTexts texts;
  const auto cli = EventsCommandLine(request, texts);
  cli->Run([&] {
    CompleteEvents(texts, request);
    out << FormatSunEvents(FindSunEvents(request.from, request.to), request.csv);
    out.flush();
    if (!out) throw std::runtime_error("cannot write the output");
    return kExitOk;
  });
  return RunCli(*cli, args, out, err);
}

}  // namespace barywalk
