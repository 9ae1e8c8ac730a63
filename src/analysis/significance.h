// Are flares nearer to the planets' directions than chance allows? A
// Monte Carlo test of the flare statistics.
//
// A flare's direction is the angle the view and the statistics file use:
// the Earth's heliocentric ecliptic longitude at the flare's time minus
// the flare's longitude from the central meridian (radians). Its angle to
// a planet is the wrapped difference to the planet's heliocentric
// longitude, in [0, pi]; with `axial` a planet and its opposite count
// alike, so the angle lies in [0, pi/2].
//
// Statistics: per planet, the number of flares within `within` of it; for
// "any planet", the number whose nearest planet lies within `within`; and
// Kuiper's V of the nearest-planet angles against the null's distribution.
//
// Null distributions by Monte Carlo, `replicates` draws:
// - ShiftPlanets (default): per replicate one common time shift D, uniform
//   in 1..500 years either way; every planet is evaluated at t + D for all
//   flares, while the flares keep their observed directions. This keeps
//   the catalog's bursts and its Earth-facing geometry and randomises every
//   planet's phase. Shifts that bring a planet of the set back near its
//   observed phase (ShiftExclusionRad) are drawn again.
// - PermuteWithinYear: the flares' times are shuffled within each calendar
//   year (UTC); each flare keeps its place on the disc and takes another
//   flare's time, direction and planets then following from that time.
//
// p-values are (1 + k) / (N + 1), k the replicates at least as extreme as
// the observation. The family-wise p-value over the planets uses the
// max-statistic (min-p) method: each planet's count is turned into its
// Monte Carlo tail probability, and the smallest of them is compared with
// the smallest in each replicate.
//
// Draws come from a counter-based generator seeded with (seed, replicate),
// so the result depends on the seed only, never on the thread count.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "flares/solar_flare.h"

namespace barywalk {

enum class NullModel { ShiftPlanets, PermuteWithinYear };

constexpr double kDaysPerJulianYear = 365.25;

struct SignificanceOptions {
  std::vector<Planet> planets;  // the set tested, in planet order, not empty
  double withinRad = 5.0 * kRadiansPerDegree;
  bool axial = false;
  NullModel null = NullModel::ShiftPlanets;
  int replicates = 10000;
  std::uint64_t seed = 1;
  int threads = 1;
  double minShiftYears = 1;    // ShiftPlanets: |D| from this ...
  double maxShiftYears = 500;  // ... to this, in Julian years
  int histogramBins = 36;      // bins of the per-panel histograms (figure); 0: none
};

// The shift null takes no shift that brings a planet of the set within
// this phase of where it was observed (2 x within, at most 30 degrees),
// radians: such a replicate would repeat the observation.
double ShiftExclusionRad(const SignificanceOptions& options);
constexpr double kMaxShiftExclusionRad = 30 * kRadiansPerDegree;

// The default planet set: all but the Earth, whose angle to a flare is
// only the flare's distance from the central meridian.
std::vector<Planet> DefaultPlanetSet();

// One observed flare.
struct FlareAngles {
  int index = 0;          // running index of the load
  double jd = 0;          // its time (the key)
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  double directionRad = 0;          // Earth's longitude minus the flare's longitude
  std::vector<double> planetRad;    // angle to each planet of the set
  int nearest = -1;                 // position in the set of the nearest planet
  double nearestRad = 0;
};

// A count or statistic against its Monte Carlo null.
struct NullSummary {
  double observed = 0;
  double nullMean = 0;
  double null05 = 0;  // 5 % and 95 % quantiles of the null
  double null95 = 0;
  double pValue = 1;       // (1 + k) / (N + 1), upper tail
  double familyWiseP = 1;  // per planet: adjusted for the whole set
};

// Histogram of angles over [0, MaxAngle], observed against the null: per
// bin the observed count and the null's mean and 5-95 % range.
struct AngleHistogram {
  std::string title;  // "nearest planet" or the planet's name
  std::vector<double> observed, nullMean, null05, null95;
};

struct SignificanceResult {
  std::vector<FlareAngles> flares;     // in time order
  std::vector<NullSummary> perPlanet;  // in the order of options.planets
  NullSummary anyPlanet;
  NullSummary kuiper;       // Kuiper's V of the nearest-planet angles
  double familyWiseP = 1;   // for "some planet of the set"
  double maxAngleRad = 0;   // pi, or pi / 2 when axial
  // [0]: nearest-planet angles; then one per planet of the set. Empty
  // when options.histogramBins is 0.
  std::vector<AngleHistogram> histograms;
};

// The flares' angles at their own times, evaluating the theories directly.
std::vector<FlareAngles> ObservedFlareAngles(const FlareMap& flares,
                                             const SignificanceOptions& options);

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

// Kuiper's V of a binned sample against a reference distribution, both as
// cumulative fractions at the bins' upper edges (the last is 1):
// max(F - G) + max(G - F), each maximum at least 0.
double KuiperV(const std::vector<double>& sampleCdf, const std::vector<double>& referenceCdf);

// Linear-interpolation quantile (q in [0, 1]) of sorted values.
double SortedQuantile(const std::vector<double>& sorted, double q);

// The angle between direction `a` and longitude `L` (radians, any size),
// wrapped to [0, pi]; folded to [0, pi/2] when `axial`. Inline: the Monte
// Carlo calls it some hundred million times.
inline double PlanetAngle(double a, double L, bool axial) {
  constexpr double kTwoPi = 6.283185307179586;
  constexpr double kPi = 3.141592653589793;
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
