// The Sun's motion around the solar system barycenter in physical units:
// place, velocity, acceleration and orbital angular momentum, in the
// heliocentric ecliptic frame of date (x toward the equinox, y toward
// longitude 90 degrees, counter-clockwise seen from the ecliptic north).
//
// The view has its own constants (kAstronomicalUnitMetres, kSolarRadiusMetres)
// that fix its picture; the numbers here use the IAU values, so that a
// distance in km or solar radii compares with published figures.
#pragma once

#include <array>

#include "ephemeris/planets.h"

namespace barywalk {

// IAU 2012 astronomical unit and IAU 2015 nominal solar radius.
constexpr double kAuKm = 149597870.7;
constexpr double kNominalSolarRadiusKm = 695700.0;
constexpr double kMetresPerKm = 1000.0;
constexpr double kSecondsPerDay = 86400.0;
// G times the Earth's mass (IAU 2009), m^3/s^2: the mass table counts in
// Earth masses.
constexpr double kEarthGravitationalParameter = 3.986004418e14;

double AuToKm(double au);
double KmToSolarRadii(double km);

struct SunMotion {
  double x = 0, y = 0;    // the Sun's centre from the barycenter, au
  double vx = 0, vy = 0;  // its velocity, m/s
  double ax = 0, ay = 0;  // the planets' pull on it, m/s^2
  // Orbital angular momentum about the barycenter per unit of the Sun's
  // mass, z component (ecliptic north), m^2/s: positive when the Sun
  // goes round the barycenter the way the planets go round the Sun.
  double angularMomentum = 0;

  double DistanceAu() const;
  double Speed() const;         // m/s
  double Acceleration() const;  // m/s^2
};

// The Sun's offset from the barycenter (au) for the planets at one instant.
void SunOffsetAu(const std::array<HeliocentricPosition, kPlanetCount>& positions, double& x,
                 double& y);

// The pull of the planets at one instant on the Sun, m/s^2 (Newton's law
// with the mass table; each planet at its heliocentric distance).
void SunAccelerationSi(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                       double& ax, double& ay);

// Everything at Julian day `jd`. The velocity is the central difference of
// the offset over +-kVelocityHalfStepDays: the offset's fastest term
// (Mercury's, 88 days) makes its error below 1e-4 of that term.
constexpr double kVelocityHalfStepDays = 0.5;
SunMotion ComputeSunMotion(double jd);
// The same for a caller that has the planets at `jd` already.
SunMotion ComputeSunMotion(double jd,
                           const std::array<HeliocentricPosition, kPlanetCount>& positionsAtJd);

}  // namespace barywalk
