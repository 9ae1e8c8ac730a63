// Are flares nearer to the planets' directions than chance allows? A
// Monte Carlo test of the flare statistics.
//
// Geometry (how a flare's angle to a planet is measured):
// - Plane: the angle the view and the statistics file use, the Earth's
//   heliocentric ecliptic longitude at the flare's time minus the flare's
//   longitude from the central meridian, against the planets' longitudes
//   as the view computes them. It treats every flare as if it sat on the
//   solar equator and the equator lay in the ecliptic.
// - Longitude: the true heliocentric ecliptic longitude of the flare site
//   (of date) against the planets' longitudes in the same frame.
// - Sphere: the 3-D angle between the site's direction from the Sun's
//   centre and the planet's heliocentric direction (longitude and
//   latitude, one frame of date).
// Angles lie in [0, pi]; with `axial` a planet and its opposite count
// alike, so they lie in [0, pi/2].
//
// Statistics: per planet, the number of flares within `within` of it,
// tested in both tails (excess and deficit); the total of these counts
// over the set; and the family-wise (max-statistic, min-p) adjustment
// over the planets for excesses, for deficits, and for both tails.
//
// Null distributions by Monte Carlo, `replicates` draws. Each replicate
// moves the planets in time and keeps every flare's time and direction:
// - ShiftPlanets: one common time shift D, uniform in 1..500 years either
//   way, for all flares. It keeps the catalog as it is, bursts and all,
//   and randomises only the planets' phases; but every planet then has
//   only about 360 / (2 within) distinct phases, and the replicates that
//   put a planet back near its observed phase repeat the observation.
//   The resolution floor counts them.
// - ShiftRegions: one independent shift per unit of RegionGrouping (an
//   active region, or an activity complex): bursts stay together, and a
//   catalog holds hundreds of independent units instead of one. It holds
//   only if the units are truly independent of one another.
//
// p-values are (1 + k) / (N + 1), k the replicates at least as extreme as
// the observation (upper tail: at least as large; lower: at most as
// large).
//
// Draws come from a counter-based generator seeded with (seed, replicate),
// so the result depends on the seed only, never on the thread count.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/flare_geometry.h"
#include "analysis/region_groups.h"
#include "common/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "flares/solar_flare.h"

namespace barywalk {

enum class NullModel { ShiftPlanets, ShiftRegions };

// "shift"/"region" and "plane"/"longitude"/"sphere": the names the
// command line and the outputs use.
const char* NullName(NullModel null);
const char* GeometryName(Geometry geometry);

struct SignificanceOptions {
  std::vector<Planet> planets;  // the set tested, in planet order, not empty
  double withinRad = 5.0 * kRadiansPerDegree;
  bool axial = false;
  Geometry geometry = Geometry::Longitude;
  NullModel null = NullModel::ShiftPlanets;
  RegionGrouping regions;      // the units of ShiftRegions
  int replicates = 10000;
  std::uint64_t seed = 1;
  int threads = 1;
  double minShiftYears = 1;    // |D| from this ...
  double maxShiftYears = 500;  // ... to this, in Julian years
  int histogramBins = 36;      // bins of the per-planet histograms (figure); 0: none
};

// The default planet set: all but the Earth, whose angle to a flare is
// only the flare's distance from the central meridian.
std::vector<Planet> DefaultPlanetSet();

// One observed flare.
struct FlareAngles {
  int index = 0;          // running index of the load
  double jd = 0;          // its time (the key)
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  double flux = 0;        // peak X-ray flux, W/m^2, 0 unknown
  int region = 0;         // NOAA active region, 0 unknown
  int unit = 0;           // its unit under the region null (0 for all otherwise)
  double siteLonRad = 0;  // its direction in the geometry's frame
  double siteLatRad = 0;  // (0 in the plane geometry)
  double eclipticLonDeg = 0;  // the site's true direction, ecliptic of date,
  double eclipticLatDeg = 0;  // whatever the geometry
  std::vector<double> planetRad;  // angle to each planet of the set
};

// A count against its Monte Carlo null.
struct NullSummary {
  double observed = 0;
  double nullMean = 0;
  double nullVariance = 0;
  double null05 = 0;  // 5 % and 95 % quantiles of the null
  double null95 = 0;
  double upperP = 1;  // (1 + k) / (N + 1): excess
  double lowerP = 1;  // deficit
  // Per planet: both tails, adjusted for the whole set; for the total:
  // two-sided, twice the smaller tail.
  double familyWiseP = 1;
};

// Histogram of angles over [0, MaxAngle], observed against the null: per
// bin the observed count and the null's mean and 5-95 % range.
struct AngleHistogram {
  std::string title;  // the planet's name
  std::vector<double> observed, nullMean, null05, null95;
};

struct SignificanceResult {
  std::vector<FlareAngles> flares;     // in time order
  std::vector<NullSummary> perPlanet;  // in the order of options.planets
  NullSummary total;                   // the sum of the per-planet counts
  // Family-wise p-values over the set (max-statistic method) for the
  // most extreme excess, the most extreme deficit, and either.
  double familyWiseUpperP = 1;
  double familyWiseLowerP = 1;
  double familyWiseP = 1;
  // The smallest p-value the null can give on this catalog: (1 + m) /
  // (N + 1), m the most replicates in which one planet of the set came
  // back within `within` of its observed phase (of its phase or the
  // opposite when axial) for most of the flares. Such a replicate repeats
  // the observation rather than sampling the null.
  double resolutionFloor = 1;
  // The catalog's size over the null's variance inflation: the mean over
  // the planets of the null's variance of a count divided by the
  // binomial variance for as many flares at the null's mean rate.
  double varianceInflation = 1;
  double effectiveFlares = 0;
  int units = 1;            // independent units of the null
  double maxAngleRad = 0;   // pi, or pi / 2 when axial
  // One per planet of the set. Empty when options.histogramBins is 0.
  std::vector<AngleHistogram> histograms;
};

// The flares' angles at their own times, evaluating the theories directly.
std::vector<FlareAngles> ObservedFlareAngles(const FlareMap& flares,
                                             const SignificanceOptions& options);

// The number of units of the region null for `flares` (time order): see
// RegionGrouping.
int CountRegionUnits(const FlareMap& flares, const RegionGrouping& rule);

// The earliest and the latest time at which the null evaluates a planet
// for `flares`.
void NullTimeSpan(const FlareMap& flares, const SignificanceOptions& options, double& first,
                  double& last);

// The whole test. Expects at least one flare, at least one replicate and
// a null time span within the theories' range (callers check and tell
// the user). `progress`, when given, is called on the calling thread with
// the number of replicates done.
SignificanceResult TestSignificance(const FlareMap& flares, const SignificanceOptions& options,
                                    const std::function<void(int)>& progress = {});

// Linear-interpolation quantile (q in [0, 1]) of sorted values.
double SortedQuantile(const std::vector<double>& sorted, double q);

// The angle between direction `a` and longitude `L` (radians, any size),
// wrapped to [0, pi]; folded to [0, pi/2] when `axial`. Inline: the Monte
// Carlo calls it some hundred million times.
inline double PlanetAngle(double a, double L, bool axial) {
  constexpr double kMaxFastTurns = 1e9;
  const double x = (a - L) * (1.0 / kTwoPi);
  double d = 0;
  if (std::fabs(x) < kMaxFastTurns) {
    // Nearest whole turn by truncation (one instruction, unlike floor).
    const double turns = static_cast<double>(static_cast<long long>(x + (x >= 0 ? 0.5 : -0.5)));
    d = std::fabs((x - turns) * kTwoPi);
  } else {
    // Absurd flare longitudes in a file: slower, but defined; NaN as far as can be.
    d = std::isnan(x) ? kPi : std::fabs(std::remainder(a - L, kTwoPi));
  }
  if (d > kPi) d = kPi;
  if (axial && d > kPi / 2) d = kPi - d;
  return d;
}

}  // namespace barywalk
