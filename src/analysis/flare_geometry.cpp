#include "analysis/flare_geometry.h"

#include "ephemeris/constants.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr double kSolarAxisInclinationDeg = 7.25;
constexpr double kPi = 3.141592653589793;

// Longitude of the ascending node of the solar equator on the ecliptic of
// date, radians (Carrington's elements as Meeus gives them).
double SolarAxisNodeRad(double jd) {
  return (73.6667 + 1.3958333 * (jd - 2396758.0) / 36525.0) * kRadiansPerDegree;
}

struct Vector3 {
  double x, y, z;
};

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

SkyDirection TrueFlareSite(double jd, double latitudeDeg, double longitudeEastDeg) {
  // The Sun's north pole, the Earth's direction as seen from the Sun, and
  // the west direction on the disc: a site's east longitude is counted
  // from the central meridian towards the east limb.
  const double inclination = kSolarAxisInclinationDeg * kRadiansPerDegree;
  const double node = SolarAxisNodeRad(jd);
  const Vector3 pole = {std::sin(inclination) * std::sin(node),
                        -std::sin(inclination) * std::cos(node), std::cos(inclination)};
  const double earth = EarthLongitude(jd);
  const Vector3 toEarth = {std::cos(earth), std::sin(earth), 0};
  const double along = toEarth.x * pole.x + toEarth.y * pole.y;
  Vector3 meridian = {toEarth.x - along * pole.x, toEarth.y - along * pole.y, -along * pole.z};
  const double norm = std::sqrt(meridian.x * meridian.x + meridian.y * meridian.y + meridian.z * meridian.z);
  meridian = {meridian.x / norm, meridian.y / norm, meridian.z / norm};
  const Vector3 west = Cross(pole, meridian);
  const double lat = latitudeDeg * kRadiansPerDegree, lon = longitudeEastDeg * kRadiansPerDegree;
  const double c = std::cos(lat) * std::cos(lon), w = -std::cos(lat) * std::sin(lon), s = std::sin(lat);
  const Vector3 site = {c * meridian.x + w * west.x + s * pole.x, c * meridian.y + w * west.y + s * pole.y,
                        c * meridian.z + w * west.z + s * pole.z};
  SkyDirection direction;
  direction.lonRad = std::atan2(site.y, site.x);
  if (direction.lonRad < 0) direction.lonRad += 2 * kPi;
  direction.latRad = std::asin(std::fmax(-1.0, std::fmin(1.0, site.z)));
  return direction;
}

SkyDirection FlareSiteIn(Geometry geometry, double jd, const SolarFlare& flare) {
  if (geometry == Geometry::Plane) return {FlareDirectionAngle(EarthLongitude(jd), flare), 0.0};
  return TrueFlareSite(jd, flare.Latitude(), flare.Longitude());
}

double PlanetLongitudeIn(Geometry /*geometry*/, Planet planet, double jd) {
  return PlanetLongitude(planet, jd);
}

double PlanetLatitudeOfDate(Planet /*planet*/, double /*jd*/) { return 0.0; }

}  // namespace barywalk
