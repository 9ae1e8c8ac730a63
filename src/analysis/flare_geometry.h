// The directions the significance test compares, in each of its
// geometries: a flare site's and a planet's, as seen from the Sun's
// centre. See Geometry in significance.h.
#pragma once

#include <cmath>

#include "common/angles.h"
#include "ephemeris/planets.h"
#include "flares/solar_flare.h"

namespace barywalk {

enum class Geometry { Plane, Longitude, Sphere };

// A direction from the Sun's centre: longitude and latitude, radians.
struct SkyDirection {
  double lonRad = 0;
  double latRad = 0;
};

// The flare site at `jd` in the frame of `geometry`: the view's angle (the
// Earth's longitude minus the flare's, latitude 0) for Plane, the site's
// true heliocentric ecliptic direction of date otherwise.
SkyDirection FlareSiteIn(Geometry geometry, double jd, const SolarFlare& flare);

// The site's true heliocentric ecliptic direction of date.
SkyDirection TrueFlareSite(double jd, double latitudeDeg, double longitudeEastDeg);

// The planet's heliocentric longitude at `jd` in the frame of `geometry`
// (radians, 0..2pi): the view's own for Plane, one frame of date for all
// nine planets otherwise.
double PlanetLongitudeIn(Geometry geometry, Planet planet, double jd);

// The planet's heliocentric ecliptic latitude of date, radians (needed by
// Sphere only).
double PlanetLatitudeOfDate(Planet planet, double jd);

// The angle between a site (lon, lat) and a planet (L, B), all radians,
// through the haversine formula (exact for small angles); folded to
// [0, pi/2] when `axial` (the planet's opposite direction counts alike).
inline double SphereAngle(double lon, double lat, double L, double B, bool axial) {
  const double sinHalfLat = std::sin((lat - B) / 2), sinHalfLon = std::sin((lon - L) / 2);
  const double h = sinHalfLat * sinHalfLat + std::cos(lat) * std::cos(B) * sinHalfLon * sinHalfLon;
  const double angle = 2 * std::asin(std::sqrt(std::fmin(1.0, std::fmax(0.0, h))));
  return axial && angle > kPi / 2 ? kPi - angle : angle;
}

}  // namespace barywalk
