// Heliocentric ecliptic positions of the nine planets.
//
// Mercury to Neptune: abridged VSOP87D series (heliocentric, mean ecliptic
// and equinox of date), Meeus, Astronomical Algorithms, 2nd ed., App. III.
// Pluto: Meeus chapter 37, Table 37.A. Longitude L in radians, 0 <= L <= 2pi;
// radius vector R in astronomical units. PlanetPosition projects on the
// ecliptic, as the dialog draws; the latitudes and the 3-D positions in one
// frame of date are separate routines below.
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

// Heliocentric ecliptic latitude in radians, in the frame of the planet's
// own theory, the same as its PlanetLongitude: Mercury .. Neptune the VSOP87D
// latitude series (mean ecliptic of date), Pluto its periodic theory
// (ecliptic of J2000). For all nine in one frame use PlanetPositionOfDate.
// An out-of-range `planet` value gives NaN.
double PlanetLatitude(Planet planet, double jd);

// A heliocentric position in space, in the mean ecliptic and equinox of date:
// longitude (radians, [0, 2pi)), latitude (radians), radius vector (au) and
// the rectangular coordinates (au; x toward the equinox, z toward the
// ecliptic's north pole).
struct EclipticPosition {
  double lonRad = 0;
  double latRad = 0;
  double radiusAu = 0;
  double x = 0, y = 0, z = 0;
};

// `planet` at Julian day `jd` (TT) in the mean ecliptic and equinox of date.
// Mercury .. Neptune: the VSOP87D series as they are (longitude, latitude,
// radius). Pluto: its theory's J2000 position precessed to the date (1.4 deg
// per century in longitude), so that all nine share one frame. The
// longitudes differ from PlanetPosition's for Pluto away from J2000 only.
EclipticPosition PlanetPositionOfDate(Planet planet, double jd);

// All nine planets at `jd` in the planet order, in the frame of date.
std::array<EclipticPosition, kPlanetCount> AllPlanetPositionsOfDate(double jd);

}  // namespace barywalk
