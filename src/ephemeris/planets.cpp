#include "ephemeris/planets.h"

#include <limits>

#include "ephemeris/constants.h"
#include "ephemeris/pluto.h"
#include "ephemeris/series.h"
#include "ephemeris/vsop87_tables.h"

namespace barywalk {
namespace {

double SeriesLongitude(const PlanetSeries& series, double jd) {
  return EvaluateLongitude(series.longitude, jd) * kRadiansPerDegree;
}

void SeriesPosition(const PlanetSeries& series, double jd, double& L, double& R) {
  L = SeriesLongitude(series, jd);
  R = EvaluateRadius(series.radius, jd);
}

}  // namespace

const char* PlanetName(Planet planet) {
  switch (planet) {
    case Planet::Mercury: return "Mercury";
    case Planet::Venus: return "Venus";
    case Planet::Earth: return "Earth";
    case Planet::Mars: return "Mars";
    case Planet::Jupiter: return "Jupiter";
    case Planet::Saturn: return "Saturn";
    case Planet::Uranus: return "Uranus";
    case Planet::Neptune: return "Neptune";
    case Planet::Pluto: return "Pluto";
  }
  return "";
}

void MercuryPosition(double jd, double& L, double& R) { SeriesPosition(kMercurySeries, jd, L, R); }
void VenusPosition(double jd, double& L, double& R) { SeriesPosition(kVenusSeries, jd, L, R); }
void EarthPosition(double jd, double& L, double& R) { SeriesPosition(kEarthSeries, jd, L, R); }
void MarsPosition(double jd, double& L, double& R) { SeriesPosition(kMarsSeries, jd, L, R); }
void JupiterPosition(double jd, double& L, double& R) { SeriesPosition(kJupiterSeries, jd, L, R); }
void SaturnPosition(double jd, double& L, double& R) { SeriesPosition(kSaturnSeries, jd, L, R); }
void UranusPosition(double jd, double& L, double& R) { SeriesPosition(kUranusSeries, jd, L, R); }
void NeptunePosition(double jd, double& L, double& R) { SeriesPosition(kNeptuneSeries, jd, L, R); }

void PlutoPosition(double jd, double& L, double& R) {
  L = PlutoLongitude(jd) * kRadiansPerDegree;
  R = PlutoRadius(jd);
}

void PlanetPosition(Planet planet, double jd, double& L, double& R) {
  switch (planet) {
    case Planet::Mercury: return MercuryPosition(jd, L, R);
    case Planet::Venus: return VenusPosition(jd, L, R);
    case Planet::Earth: return EarthPosition(jd, L, R);
    case Planet::Mars: return MarsPosition(jd, L, R);
    case Planet::Jupiter: return JupiterPosition(jd, L, R);
    case Planet::Saturn: return SaturnPosition(jd, L, R);
    case Planet::Uranus: return UranusPosition(jd, L, R);
    case Planet::Neptune: return NeptunePosition(jd, L, R);
    case Planet::Pluto: return PlutoPosition(jd, L, R);
  }
  L = R = std::numeric_limits<double>::quiet_NaN();
}

std::array<HeliocentricPosition, kPlanetCount> AllPlanetPositions(double jd) {
  std::array<HeliocentricPosition, kPlanetCount> positions;
  for (int i = 0; i < kPlanetCount; ++i) {
    PlanetPosition(kAllPlanets[i], jd, positions[i].L, positions[i].R);
  }
  return positions;
}

double PlanetLongitude(Planet planet, double jd) {
  switch (planet) {
    case Planet::Mercury: return SeriesLongitude(kMercurySeries, jd);
    case Planet::Venus: return SeriesLongitude(kVenusSeries, jd);
    case Planet::Earth: return SeriesLongitude(kEarthSeries, jd);
    case Planet::Mars: return SeriesLongitude(kMarsSeries, jd);
    case Planet::Jupiter: return SeriesLongitude(kJupiterSeries, jd);
    case Planet::Saturn: return SeriesLongitude(kSaturnSeries, jd);
    case Planet::Uranus: return SeriesLongitude(kUranusSeries, jd);
    case Planet::Neptune: return SeriesLongitude(kNeptuneSeries, jd);
    case Planet::Pluto: break;
  }
  double L = 0, R = 0;
  PlanetPosition(planet, jd, L, R);  // Pluto's theory gives both at once
  return L;
}

}  // namespace barywalk
