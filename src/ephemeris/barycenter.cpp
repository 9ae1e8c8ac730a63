#include "ephemeris/barycenter.h"

#include <cmath>

#include "ephemeris/constants.h"

namespace barywalk {
namespace {

struct Vector {
  double x = 0;
  double y = 0;
};

// Mass-weighted sum of positions (for the barycenter) and the planets' pull
// on the Sun, both in screen orientation.
struct Sums {
  double mass = kBodyMasses[0];  // the Sun, at the heliocentric origin
  Vector moment;
  Vector pull;
};

Sums SumPlanets(const std::array<HeliocentricPosition, kPlanetCount>& positions) {
  Sums sums;
  for (int i = 0; i < kPlanetCount; ++i) {
    const double m = kBodyMasses[i + 1];
    const double R = positions[i].R;
    const double L = positions[i].L;
    // The ecliptic vector (R cos L, R sin L) is drawn as (-X, +Y).
    const Vector p{-R * std::cos(L), R * std::sin(L)};
    sums.mass += m;
    sums.moment.x += m * p.x;
    sums.moment.y += m * p.y;
    if (R > 0) {
      // Scales the position vector itself (length R): g * p, not g * p / R.
      const double g = m * kSunMass / (R * R);
      sums.pull.x += g * p.x;
      sums.pull.y += g * p.y;
    }
  }
  return sums;
}

}  // namespace

SunState SunStateFromPositions(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                               int panelWidth) {
  const Sums sums = SumPlanets(positions);
  // Barycenter relative to the Sun's centre (au), then the Sun's centre
  // relative to the barycenter in solar radii.
  const Vector barycenter{sums.moment.x / sums.mass, sums.moment.y / sums.mass};
  const Vector sun{-barycenter.x * kAstronomicalUnitMetres / kSolarRadiusMetres,
                   -barycenter.y * kAstronomicalUnitMetres / kSolarRadiusMetres};
  const double scale = panelWidth * kViewScaleFactor / kViewScaleDivisor;
  const double centre = panelWidth / 2;  // integer division: the panel's centre pixel

  SunState state;
  state.offsetX = centre + scale * sun.x;
  state.offsetY = centre + scale * sun.y;
  state.accelX = sums.pull.x / kAccelerationDisplayDivisor;
  state.accelY = sums.pull.y / kAccelerationDisplayDivisor;
  return state;
}

SunState ComputeSunState(double jd, int panelWidth) {
  return SunStateFromPositions(AllPlanetPositions(jd), panelWidth);
}

}  // namespace barywalk
