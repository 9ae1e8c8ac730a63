#include "analysis/flare_geometry.h"

#include "ephemeris/constants.h"
#include "ephemeris/flare_direction.h"
#include "flares/flare_symbols.h"

namespace barywalk {

SkyDirection TrueFlareSite(double jd, double latitudeDeg, double longitudeEastDeg) {
  const EclipticDirection site = FlareSiteDirection(jd, latitudeDeg, longitudeEastDeg);
  return {site.lonDeg * kRadiansPerDegree, site.latDeg * kRadiansPerDegree};
}

SkyDirection FlareSiteIn(Geometry geometry, double jd, const SolarFlare& flare) {
  if (geometry == Geometry::Plane) return {FlareDirectionAngle(EarthLongitude(jd), flare), 0.0};
  return TrueFlareSite(jd, flare.Latitude(), flare.Longitude());
}

// Mercury .. Neptune's own series already work in the frame of date; only
// Pluto's theory needs the precession, and the tables of the null save the
// radius series that PlanetPositionOfDate would evaluate too.
double PlanetLongitudeIn(Geometry geometry, Planet planet, double jd) {
  if (geometry == Geometry::Plane || planet != Planet::Pluto) return PlanetLongitude(planet, jd);
  return PlanetPositionOfDate(planet, jd).lonRad;
}

double PlanetLatitudeOfDate(Planet planet, double jd) {
  if (planet != Planet::Pluto) return PlanetLatitude(planet, jd);
  return PlanetPositionOfDate(planet, jd).latRad;
}

}  // namespace barywalk
