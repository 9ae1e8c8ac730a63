// The planets' latitudes and their 3-D positions in one frame, the mean
// ecliptic and equinox of date (planets.h).
#include <cmath>
#include <limits>

#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "ephemeris/pluto.h"
#include "ephemeris/precession.h"
#include "ephemeris/series.h"

namespace barywalk {
namespace {

EclipticPosition FromSpherical(double lon, double lat, double radius) {
  EclipticPosition p;
  p.lonRad = lon;
  p.latRad = lat;
  p.radiusAu = radius;
  p.x = radius * std::cos(lat) * std::cos(lon);
  p.y = radius * std::cos(lat) * std::sin(lon);
  p.z = radius * std::sin(lat);
  return p;
}

}  // namespace

double PlanetLatitude(Planet planet, double jd) {
  if (planet == Planet::Pluto) return PlutoLatitude(jd) * kRadiansPerDegree;
  const Series& latitude = Vsop87LatitudeSeries(planet);
  if (latitude.count == 0) return std::numeric_limits<double>::quiet_NaN();
  return EvaluateSeries(latitude, jd);
}

EclipticPosition PlanetPositionOfDate(Planet planet, double jd) {
  double lon = 0, radius = 0;
  PlanetPosition(planet, jd, lon, radius);
  double lat = PlanetLatitude(planet, jd);
  if (planet == Planet::Pluto) PrecessEclipticFromJ2000(jd, lon, lat);
  // PlanetPosition's L is in [0, 2pi]; the frame of date keeps [0, 2pi).
  return FromSpherical(WrapToTurn(lon, kDegreesPerTurn * kRadiansPerDegree), lat, radius);
}

std::array<EclipticPosition, kPlanetCount> AllPlanetPositionsOfDate(double jd) {
  std::array<EclipticPosition, kPlanetCount> positions;
  for (int i = 0; i < kPlanetCount; ++i) positions[i] = PlanetPositionOfDate(kAllPlanets[i], jd);
  return positions;
}

}  // namespace barywalk
