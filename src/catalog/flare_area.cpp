#include "catalog/flare_area.h"

#include <cmath>

#include "common/angles.h"
#include "ephemeris/planets.h"
#include "ephemeris/sun_orientation.h"

namespace barywalk {
namespace {

double EarthDistanceAu(double jd) {
  double longitude = 0.0, distance = 1.0;
  PlanetPosition(Planet::Earth, jd, longitude, distance);
  return distance;
}

// The Earth's distance interpolated between 0h UT of the day of `jd` and
// of the next day. The distance curves so gently that the error stays
// below 1e-6 au (a millionth of the area), and a catalog's flares of one
// day share the ephemeris evaluations at the day's ends.
double DailyEarthDistanceAu(double jd) {
  thread_local double cachedDay = std::nan("");
  thread_local double atStart = 1.0, atEnd = 1.0;
  const double day = std::floor(jd - 0.5) + 0.5;
  if (day != cachedDay) {
    // Date-ordered catalogs go on to the next day: its start is known.
    atStart = day == cachedDay + 1.0 ? atEnd : EarthDistanceAu(day);
    atEnd = EarthDistanceAu(day + 1.0);
    cachedDay = day;
  }
  return atStart + (atEnd - atStart) * (jd - day);
}

}  // namespace

std::optional<double> OpticalImportanceArea(char importance) {
  switch (importance) {
    case 'S': return 2 * 50.0;
    case '1': return 2 * 175.0;
    case '2': return 2 * 425.0;
    case '3': return 2 * 900.0;
    case '4': return 2 * 1200.0;
    default: return std::nullopt;
  }
}

double SxiAreaToMillionths(double squareArcsec, double jd) {
  const double rho = kSunSemiDiameterAtOneAuArcsec / DailyEarthDistanceAu(jd);
  return squareArcsec / (kPi * rho * rho) * 1e6;
}

}  // namespace barywalk
