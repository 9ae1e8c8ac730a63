#include "ephemeris/sun_orientation.h"

#include <cmath>

#include "common/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/planets.h"
#include "ephemeris/series.h"
#include "ephemeris/sun_motion.h"

namespace barywalk {
namespace {

// The epoch of Carrington's meridian's zero (JD 2398220.0, 1854 Nov 9.5):
// theta = (jd - epoch) * 360 / kCarringtonSiderealPeriodDays.
constexpr double kCarringtonEpoch = 2398220.0;

// Annual aberration of the Sun's longitude at one au (arcsec): the Sun
// appears this much behind its geometric place, divided by R in au.
constexpr double kAberrationAtOneAuArcsec = 20.4898;

// A point this far (in solar radii) beyond the limb is still put on the
// limb: the limb is not known better than that. The VSOP87 Earth distance is
// good to about 2e-5, and published radii differ by 4e-4.
constexpr double kLimbMargin = 3e-4;
// Beyond this distance from the disc centre (arcsec) a point is off the disc
// whatever the date; checked first so that angles of whole turns (1296000")
// cannot pass for the disc centre.
constexpr double kFarBeyondTheDiscArcsec = 3600.0;

struct Nutation {
  double longitudeRad;  // delta psi
  double obliquityRad;  // delta epsilon
};

// Nutation in longitude and obliquity to about 0.5" (Meeus ch. 22, the
// four leading terms): enough for P, which it moves by at most 0.005 deg.
Nutation LowPrecisionNutation(double T) {
  const double moonNode = (125.04452 - 1934.136261 * T) * kRadiansPerDegree;
  const double sunMeanLon = (280.4665 + 36000.7698 * T) * kRadiansPerDegree;
  const double moonMeanLon = (218.3165 + 481267.8813 * T) * kRadiansPerDegree;
  const double dpsi = -17.20 * std::sin(moonNode) - 1.32 * std::sin(2 * sunMeanLon) -
                      0.23 * std::sin(2 * moonMeanLon) + 0.21 * std::sin(2 * moonNode);
  const double deps = 9.20 * std::cos(moonNode) + 0.57 * std::cos(2 * sunMeanLon) +
                      0.10 * std::cos(2 * moonMeanLon) - 0.09 * std::cos(2 * moonNode);
  return {dpsi * kRadiansPerArcsec, deps * kRadiansPerArcsec};
}

// Mean obliquity of the ecliptic (IAU 1980, Meeus eq. 22.2), radians.
double MeanObliquity(double T) {
  const double arcsec = 84381.448 + T * (-46.8150 + T * (-0.00059 + T * 0.001813));
  return arcsec * kRadiansPerArcsec;
}

// The Sun's geocentric longitude (mean equinox of date, with aberration, no
// nutation) in radians, and the Earth-Sun distance in au.
struct SunPlace {
  double longitudeRad;
  double distanceAu;
};

double EarthRadiusVector(double jd) { return EvaluateRadius(Vsop87Series(Planet::Earth).radius, jd); }

SunPlace SunPlaceFromEarth(double jd) {
  double earthL = 0, earthR = 0;
  EarthPosition(jd, earthL, earthR);
  const double aberration = kAberrationAtOneAuArcsec / earthR * kRadiansPerArcsec;
  return {earthL + kPi - aberration, earthR};
}

double SunNodeRad(double jd) { return SunEquatorNodeDeg(jd) * kRadiansPerDegree; }

// B0 in degrees from the Sun's place.
double DiscCentreLatitude(double jd, const SunPlace& sun) {
  const double inclination = kSunEquatorInclinationDeg * kRadiansPerDegree;
  return std::asin(std::sin(sun.longitudeRad - SunNodeRad(jd)) * std::sin(inclination)) *
         kDegreesPerRadian;
}

}  // namespace

double SunEquatorNodeDeg(double jd) {
  return kSunNodeAtEpochDeg +
         kSunNodeRateDegPerCentury * (jd - kSunNodeEpoch) / kDaysPerJulianCentury;
}

SunOrientation SolarOrientation(double jd) {
  const double T = JulianCenturies(jd);
  const SunPlace sun = SunPlaceFromEarth(jd);
  const Nutation nutation = LowPrecisionNutation(T);

  const double inclination = kSunEquatorInclinationDeg * kRadiansPerDegree;
  const double fromNode = sun.longitudeRad - SunNodeRad(jd);
  const double apparentLon = sun.longitudeRad + nutation.longitudeRad;
  const double trueObliquity = MeanObliquity(T) + nutation.obliquityRad;

  // P: the angle between celestial north and the ecliptic pole's direction
  // on the disc (x), plus that between the ecliptic pole and the Sun's axis (y).
  const double x = std::atan(-std::cos(apparentLon) * std::tan(trueObliquity));
  const double y = std::atan(-std::cos(fromNode) * std::tan(inclination));
  // eta: the disc centre's longitude on the solar equator counted from the
  // node, in the quadrant that puts it opposite the Sun's place.
  const double eta = std::atan2(-std::sin(fromNode) * std::cos(inclination), -std::cos(fromNode));
  const double theta =
      (jd - kCarringtonEpoch) * kDegreesPerTurn / kCarringtonSiderealPeriodDays;

  const double l0 = WrapToTurn(eta * kDegreesPerRadian - theta, kDegreesPerTurn);
  return {(x + y) * kDegreesPerRadian, DiscCentreLatitude(jd, sun), l0};
}

double SunApparentRadiusArcsec(double jd) {
  return kSunSemiDiameterAtOneAuArcsec / EarthRadiusVector(jd);
}

bool HelioprojectiveToStonyhurst(double jd, double xArcsec, double yArcsec, double& latDeg,
                                 double& lonEastDeg) {
  if (!std::isfinite(jd) || !(std::hypot(xArcsec, yArcsec) <= kFarBeyondTheDiscArcsec)) {
    return false;  // also NaN and infinite coordinates
  }
  const double thetaX = xArcsec * kRadiansPerArcsec;
  const double thetaY = yArcsec * kRadiansPerArcsec;
  // Lengths in units of the observer's distance.
  const SunPlace sun = SunPlaceFromEarth(jd);
  // The photosphere is the IAU 2015 nominal radius, which SunPy and the
  // SDO-era catalogs use (Meeus' 959.63" at 1 au would be 695,990 km; near
  // the limb the 0.04% difference moves a point by up to 1.5 deg of longitude).
  const double radius = kNominalSolarRadiusKm / (kAuKm * sun.distanceAu);
  const double cosAlong = std::cos(thetaY) * std::cos(thetaX);  // cos of the angle from centre
  double radicand = cosAlong * cosAlong - 1.0 + radius * radius;
  if (!(radicand >= 0.0)) {
    // The line of sight misses the sphere; within the margin it grazes the limb.
    const double marginRadius = radius * (1.0 + kLimbMargin);
    if (!(cosAlong * cosAlong - 1.0 + marginRadius * marginRadius >= 0.0)) return false;
    radicand = 0.0;
  }
  const double d = cosAlong - std::sqrt(radicand);  // the nearer of the two crossings

  // Heliocentric Cartesian: x west, y north on the sky, z toward the observer.
  const double hx = d * std::cos(thetaY) * std::sin(thetaX);
  const double hy = d * std::sin(thetaY);
  const double hz = 1.0 - d * cosAlong;

  const double b0 = DiscCentreLatitude(jd, sun) * kRadiansPerDegree;
  const double r = std::sqrt(hx * hx + hy * hy + hz * hz);  // the radius, or the grazed limb's
  const double sinLat = (hy * std::cos(b0) + hz * std::sin(b0)) / r;
  const double lonWest = std::atan2(hx, hz * std::cos(b0) - hy * std::sin(b0));
  latDeg = std::asin(std::fmax(-1.0, std::fmin(1.0, sinLat))) * kDegreesPerRadian;
  lonEastDeg = -lonWest * kDegreesPerRadian;
  return true;
}

}  // namespace barywalk
