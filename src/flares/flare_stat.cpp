#include "flares/flare_stat.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <locale>
#include <sstream>
#include <utility>

#include "common/output_file.h"

#include "ephemeris/julian_day.h"
#include "flares/flare_constants.h"

namespace barywalk {
namespace {

// Beyond this many days from JD 0 a calendar year no longer fits the
// calendar conversion; such keys print as "?".
constexpr double kLargestCalendarJd = 1.0e9;

// "YYYY-MM-DD HH:MM:SS" of a Julian day in UTC, independent of the local
// time zone and its daylight-saving time. Seconds are the whole seconds of
// the instant rounded to the millisecond, so 23:59:59.9996 is the next
// day's 00:00:00 and a seconds field never shows 60.
std::string FormatUtcDateTime(double jd) {
  if (!(std::fabs(jd) <= kLargestCalendarJd)) return "? ?";
  const UtcDateTime utc = UtcFromJulianDay(jd);
  int second = static_cast<int>(std::floor(utc.second));
  if (second > 59) second = 59;
  if (second < 0) second = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute, second);
  return text;
}

std::string AsteriskMarker(double testAngleDeg) {
  if (!(testAngleDeg < kMarkerAngleDeg)) return "";
  const int count = static_cast<int>(kMarkerMaxAsterisks - testAngleDeg);
  return "  " + std::string(static_cast<std::size_t>(count), '*');
}

}  // namespace

FlareStat::FlareStat(double jd, double area, double flareAngle, std::string closestPlanet,
                     double closestPlanetAngle, double earthAngle)
    : m_jd(jd),
      m_area(area),
      m_flareAngle(flareAngle),
      m_closestPlanet(std::move(closestPlanet)),
      m_closestPlanetAngle(closestPlanetAngle),
      m_earthAngle(earthAngle) {}

double WrappedAngleDistance(double a, double b) {
  double x = std::fabs(a - b);
  // fmod equals the repeated subtraction of 2 pi (exact for one step) and
  // also ends for huge differences.
  if (x > kFlareTwoPi) x = std::fmod(x, kFlareTwoPi);
  if (x > kFlarePi) x = kFlareTwoPi - x;
  return x;
}

double FlareStat::TestAngle() const {
  return WrappedAngleDistance(m_flareAngle, m_closestPlanetAngle);
}

void FlareStat::KeepCloser(const FlareStat& other) {
  if (TestAngle() > other.TestAngle()) *this = other;
}

void FlareStat::Write(std::ostream& out) const {
  const double testAngleDeg = TestAngle() * 180.0 / kFlarePi;
  std::ostringstream line;
  line.imbue(std::locale::classic());
  line.precision(14);
  line << ' ' << m_jd;
  line.precision(8);
  line << ' ' << testAngleDeg << ' ' << m_area << ' ' << m_flareAngle << ' ' << m_closestPlanet
       << ' ' << m_closestPlanetAngle << ' ' << "Earth" << ' ' << m_earthAngle << ' '
       << FormatUtcDateTime(m_jd) << AsteriskMarker(testAngleDeg) << '\n';
  out << line.str() << std::flush;
}

void FlareStat::WriteHeader(std::ostream& out) {
  out << " JD test_angle[deg] Area flare_angle[rad] closest_planet closest_planet_angle[rad]"
         " Earth earth_angle Formatted_time[UTC]\n"
      << std::flush;
}

void FillPlanetLongitudes(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                          PlanetLongitudes& longitudes) {
  longitudes.clear();
  for (int i = 0; i < kPlanetCount; ++i) longitudes[PlanetName(kAllPlanets[i])] = positions[i].L;
}

void RecordFlareStat(FlareStatMap& stats, const PlanetLongitudes& planetLongitudes,
                     const SolarFlare& flare, double jd, double angle) {
  std::string name = "<none";
  double best = kFlareTwoPi;
  double bestAngle = kFlareTwoPi;
  for (const auto& [planet, longitude] : planetLongitudes) {
    const double distance = WrappedAngleDistance(angle, longitude);
    if (distance < best) {
      name = planet;
      best = distance;
      bestAngle = longitude;
    }
  }
  const auto earth = planetLongitudes.find("Earth");
  const double earthAngle = earth != planetLongitudes.end() ? earth->second : 0.0;

  FlareStat stat(jd, flare.Area(), angle, std::move(name), bestAngle, earthAngle);
  // try_emplace builds no map node when the flare already has a record,
  // which is the case on every frame after the first one that drew it.
  const auto [stored, inserted] = stats.try_emplace(flare.Index(), stat);
  if (!inserted) stored->second.KeepCloser(stat);
}

FlareSymbolVisitor FlareStatRecorder(FlareStatMap& stats, const PlanetLongitudes& planetLongitudes) {
  return [&stats, &planetLongitudes](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
    RecordFlareStat(stats, planetLongitudes, flare, jd, symbol.angle);
  };
}

void WriteFlareStats(std::ostream& out, const FlareStatMap& stats) {
  FlareStat::WriteHeader(out);
  for (const auto& entry : stats) {
    if (!out) break;
    entry.second.Write(out);
  }
}

bool WriteFlareStatsFile(const std::string& path, const FlareStatMap& stats, std::string& error) {
  try {
    OutputFile file(path);
    WriteFlareStats(file.stream(), stats);
    file.Commit();
    return true;
  } catch (const OutputError& failure) {
    error = failure.what();
    return false;
  }
}

}  // namespace barywalk
