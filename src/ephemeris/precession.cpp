#include "ephemeris/precession.h"

#include <cmath>

#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/series.h"

namespace barywalk {

void PrecessEclipticFromJ2000(double jd, double& lonRad, double& latRad) {
  const double t = JulianCenturies(jd);
  // eta: the angle between the two ecliptics; Pi: the longitude (in the
  // J2000 frame) of their intersection; p: the general precession in longitude.
  const double eta = t * (47.0029 + t * (-0.03302 + t * 0.000060)) * kRadiansPerArcsec;
  const double pi =
      174.876384 * kRadiansPerDegree + t * (-869.8089 + t * 0.03536) * kRadiansPerArcsec;
  const double p = t * (5029.0966 + t * (1.11113 - t * 0.000006)) * kRadiansPerArcsec;

  const double a = std::cos(eta) * std::cos(latRad) * std::sin(pi - lonRad) -
                   std::sin(eta) * std::sin(latRad);
  const double b = std::cos(latRad) * std::cos(pi - lonRad);
  const double c = std::cos(eta) * std::sin(latRad) +
                   std::sin(eta) * std::cos(latRad) * std::sin(pi - lonRad);
  const double twoPi = kDegreesPerTurn * kRadiansPerDegree;
  lonRad = WrapToTurn(p + pi - std::atan2(a, b), twoPi);
  latRad = std::asin(std::fmax(-1.0, std::fmin(1.0, c)));
}

}  // namespace barywalk
