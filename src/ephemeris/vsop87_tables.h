// The abridged VSOP87D series of Mercury to Neptune, one PlanetSeries per
// planet (data in vsop87_tables.cpp, generated from the committed tables by
// tools/gen-series/gen_series.py).
#pragma once

#include "ephemeris/series.h"

namespace barywalk {

extern const PlanetSeries kMercurySeries;
extern const PlanetSeries kVenusSeries;
extern const PlanetSeries kEarthSeries;
extern const PlanetSeries kMarsSeries;
extern const PlanetSeries kJupiterSeries;
extern const PlanetSeries kSaturnSeries;
extern const PlanetSeries kUranusSeries;
extern const PlanetSeries kNeptuneSeries;

}  // namespace barywalk
