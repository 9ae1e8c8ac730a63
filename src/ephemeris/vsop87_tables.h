// The abridged VSOP87D series of Mercury to Neptune, one PlanetSeries per
// planet and one latitude Series per planet (data in vsop87_tables.cpp and
// vsop87_latitude_tables.cpp, generated from the committed tables by
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

// The latitude series B (vsop87_latitude_tables.cpp, generated the same way).
extern const Series kMercuryLatitudeSeries;
extern const Series kVenusLatitudeSeries;
extern const Series kEarthLatitudeSeries;
extern const Series kMarsLatitudeSeries;
extern const Series kJupiterLatitudeSeries;
extern const Series kSaturnLatitudeSeries;
extern const Series kUranusLatitudeSeries;
extern const Series kNeptuneLatitudeSeries;

}  // namespace barywalk
