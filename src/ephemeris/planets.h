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
void PlanetPosition(Planet planet, double jd, double& L, double& R);

}  // namespace barywalk
