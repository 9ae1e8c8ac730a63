#include "ephemeris/sun_motion.h"

#include <cmath>

#include "ephemeris/constants.h"

namespace barywalk {

double AuToKm(double au) { return au * kAuKm; }
double KmToSolarRadii(double km) { return km / kNominalSolarRadiusKm; }

double SunMotion::DistanceAu() const { return std::hypot(x, y); }
double SunMotion::Speed() const { return std::hypot(vx, vy); }
double SunMotion::Acceleration() const { return std::hypot(ax, ay); }

void SunOffsetAu(const std::array<HeliocentricPosition, kPlanetCount>& positions, double& x,
                 double& y) {
  double mass = kBodyMasses[0];  // the Sun, at the heliocentric origin
  double mx = 0, my = 0;
  for (int i = 0; i < kPlanetCount; ++i) {
    const double m = kBodyMasses[i + 1];
    mass += m;
    mx += m * positions[i].R * std::cos(positions[i].L);
    my += m * positions[i].R * std::sin(positions[i].L);
  }
  // The barycenter lies at (mx, my) / mass from the Sun; the Sun opposite.
  x = -mx / mass;
  y = -my / mass;
}

void SunAccelerationSi(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                       double& ax, double& ay) {
  ax = ay = 0;
  for (int i = 0; i < kPlanetCount; ++i) {
    const double r = positions[i].R * kAuKm * kMetresPerKm;
    if (!(r > 0)) continue;
    const double g = kEarthGravitationalParameter * kBodyMasses[i + 1] / (r * r);
    ax += g * std::cos(positions[i].L);
    ay += g * std::sin(positions[i].L);
  }
}

SunMotion ComputeSunMotion(double jd) { return ComputeSunMotion(jd, AllPlanetPositions(jd)); }

SunMotion ComputeSunMotion(double jd,
                           const std::array<HeliocentricPosition, kPlanetCount>& positionsAtJd) {
  SunMotion motion;
  SunOffsetAu(positionsAtJd, motion.x, motion.y);
  SunAccelerationSi(positionsAtJd, motion.ax, motion.ay);

  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  SunOffsetAu(AllPlanetPositions(jd - kVelocityHalfStepDays), x0, y0);
  SunOffsetAu(AllPlanetPositions(jd + kVelocityHalfStepDays), x1, y1);
  const double metresPerAu = kAuKm * kMetresPerKm;
  const double seconds = 2 * kVelocityHalfStepDays * kSecondsPerDay;
  motion.vx = (x1 - x0) * metresPerAu / seconds;
  motion.vy = (y1 - y0) * metresPerAu / seconds;
  motion.angularMomentum = metresPerAu * (motion.x * motion.vy - motion.y * motion.vx);
  return motion;
}

}  // namespace barywalk
