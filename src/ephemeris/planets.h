// Heliocentric ecliptic positions of the nine planets.
//
// Mercury to Neptune: abridged VSOP87D series (heliocentric, mean ecliptic
// and equinox of date), Meeus, Astronomical Algorithms, 2nd ed., App. III.
// Pluto: Meeus chapter 37, Table 37.A. Longitude L in radians, 0 <= L <= 2pi;
// radius vector R in astronomical units. No latitude is computed.
#pragma once

#include <array>

namespace barywalk {

// The planet order used everywhere (mass table index = order + 1).
enum class Planet { Mercury, Venus, Earth, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto };
constexpr int kPlanetCount = 9;
constexpr std::array<Planet, kPlanetCount> kAllPlanets = {
    Planet::Mercury, Planet::Venus,  Planet::Earth,   Planet::Mars, Planet::Jupiter,
    Planet::Saturn,  Planet::Uranus, Planet::Neptune, Planet::Pluto};

// "Mercury", "Venus", ... "Pluto": the names used in the planet longitude
// table and in the statistics file.
const char* PlanetName(Planet planet);

// Heliocentric position of `planet` at Julian day `jd`:
// L in radians (0 <= L <= 2pi), R in astronomical units.
// An out-of-range `planet` value gives NaN for both.
void PlanetPosition(Planet planet, double jd, double& L, double& R);

// PlanetPosition's L alone, without the radius series: the same value
// at about half the cost, for callers that need only directions.
double PlanetLongitude(Planet planet, double jd);

// The routines behind PlanetPosition, one per planet. Mercury .. Neptune
// evaluate the longitude series, then the radius series; Pluto its own theory.
void MercuryPosition(double jd, double& L, double& R);
void VenusPosition(double jd, double& L, double& R);
void EarthPosition(double jd, double& L, double& R);
void MarsPosition(double jd, double& L, double& R);
void JupiterPosition(double jd, double& L, double& R);
void SaturnPosition(double jd, double& L, double& R);
void UranusPosition(double jd, double& L, double& R);
void NeptunePosition(double jd, double& L, double& R);
void PlutoPosition(double jd, double& L, double& R);

// L (radians) and R (au) of one planet.
struct HeliocentricPosition {
  double L = 0;
  double R = 0;
};

// All nine planets at `jd`, in the planet order (PlanetPosition each).
std::array<HeliocentricPosition, kPlanetCount> AllPlanetPositions(double jd);

}  // namespace barywalk
