// Periodic series of the abridged VSOP87D theory and their evaluation.
#pragma once

#include "ephemeris/planets.h"

namespace barywalk {

// One periodic term: contributes A * cos(B + C * tau), tau in Julian
// millennia from J2000.0. A in 1e-8 rad or 1e-8 au, B in rad, C in rad per
// Julian millennium.
struct SeriesTerm {
  double A;
  double B;
  double C;
};

// Sub-series k of a series (L0, L1, ... or R0, R1, ...): multiplied by tau^k.
struct SubSeries {
  const SeriesTerm* terms;
  int count;
};

// A planet's longitude or radius series: its sub-series in order 0, 1, ...
struct Series {
  const SubSeries* subSeries;
  int count;
};

struct PlanetSeries {
  Series longitude;
  Series radius;
};

// The series of Mercury .. Neptune. `planet` must not be Pluto, which has
// its own theory (ephemeris/pluto.h); Pluto yields an empty series.
const PlanetSeries& Vsop87Series(Planet planet);

// The latitude series of Mercury .. Neptune (sub-series B0, B1, ...; the sum
// divided by 1e8 is the latitude in radians, mean ecliptic of date). Pluto
// yields an empty series.
const Series& Vsop87LatitudeSeries(Planet planet);

// Sum of the series divided by 1e8: (S0 + S1 tau + S2 tau^2 + ...) / 1e8,
// each S_k summed in array order, powers of tau as repeated products.
double EvaluateSeries(const Series& series, double jd);

// Heliocentric longitude in degrees, reduced to 0 <= value <= 360.
double EvaluateLongitude(const Series& longitude, double jd);

// Radius vector in astronomical units.
double EvaluateRadius(const Series& radius, double jd);

// Brings an angle in degrees into [0, 360] by whole turns: while below 0 add
// 360, then while above 360 subtract 360 (so exactly 360 stays 360). Non-
// finite input gives NaN instead of looping for ever.
double ReduceDegrees(double degrees);

// Brings an angle into [0, turn) (turn: 360 for degrees, 2 pi for radians):
// the remainder of whole turns, plus a turn when negative, less a turn when
// that addition rounded up to a whole turn.
double WrapToTurn(double angle, double turn);

}  // namespace barywalk
