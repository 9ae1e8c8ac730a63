#include "analysis/significance.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <numeric>
#include <thread>

#include "analysis/longitude_table.h"
#include "analysis/parallel_for.h"
#include "ephemeris/julian_day.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr double kPi = 3.141592653589793;
// Resolution of the nearest-angle distribution behind Kuiper's V.
constexpr int kKuiperBins = 180;
// The calling thread reports progress after this many of its replicates.
constexpr int kProgressEvery = 64;

// SplitMix64 (Steele, Lea and Flood 2014): a small generator whose output
// depends only on its 64-bit state, the same on every platform.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t state) : m_state(state) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1) with 53 random bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform in [0, n) without bias (rejection of the incomplete last block).
  std::uint64_t Below(std::uint64_t n) {
    const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % n);
    std::uint64_t x = Next();
    while (x >= limit) x = Next();
    return x % n;
  }

 private:
  std::uint64_t m_state;
};

// The generator of one replicate: its state mixes the seed and the
// replicate's number, so replicates are independent of the order in
// which threads take them.
SplitMix64 ReplicateGenerator(std::uint64_t seed, int replicate) {
  SplitMix64 mixer(seed ^ (0xD1B54A32D192ED03ULL * (static_cast<std::uint64_t>(replicate) + 1)));
  return SplitMix64(mixer.Next());
}

int Bin(double angle, double maxAngle, int bins) {
  const int b = static_cast<int>(angle * bins / maxAngle);
  return std::clamp(b, 0, bins - 1);
}

// Bin with a precomputed bins / maxAngle; angles lie in [0, maxAngle].
inline int FastBin(double angle, double binsPerRad, int bins) {
  const int b = static_cast<int>(angle * binsPerRad);
  return b < bins ? b : bins - 1;
}

// What one replicate yields.
struct ReplicateStore {
  ReplicateStore(int replicates, int planets, int panels, int bins)
      : planetCount(planets), panelCount(panels), binCount(bins),
        counts(static_cast<std::size_t>(replicates) * planets),
        anyCounts(replicates),
        kuiper(static_cast<std::size_t>(replicates) * kKuiperBins),
        histograms(static_cast<std::size_t>(replicates) * panels * bins) {}

  int* Counts(int r) { return &counts[static_cast<std::size_t>(r) * planetCount]; }
  std::uint32_t* Kuiper(int r) { return &kuiper[static_cast<std::size_t>(r) * kKuiperBins]; }
  std::uint32_t* Histograms(int r) {
    return histograms.data() + static_cast<std::size_t>(r) * panelCount * binCount;
  }

  int planetCount, panelCount, binCount;
  std::vector<int> counts;
  std::vector<int> anyCounts;
  std::vector<std::uint32_t> kuiper;
  std::vector<std::uint32_t> histograms;
};

// Accumulates one replicate's statistics flare by flare.
class ReplicateTally {
 public:
  ReplicateTally(ReplicateStore& store, int r, const SignificanceOptions& options, double maxAngle)
      : m_counts(store.Counts(r)), m_any(store.anyCounts[r]), m_kuiper(store.Kuiper(r)),
        m_histograms(store.Histograms(r)), m_bins(store.binCount),
        m_binsPerRad(store.binCount / maxAngle), m_kuiperBinsPerRad(kKuiperBins / maxAngle),
        m_within(options.withinRad) {}

  // One flare's angle to planet `s` of the set.
  void Planet(int s, double angle) {
    m_counts[s] += angle < m_within;
    if (m_bins > 0) ++m_histograms[(s + 1) * m_bins + FastBin(angle, m_binsPerRad, m_bins)];
  }
  void Nearest(double angle) {
    m_any += angle < m_within;
    ++m_kuiper[FastBin(angle, m_kuiperBinsPerRad, kKuiperBins)];
    if (m_bins > 0) ++m_histograms[FastBin(angle, m_binsPerRad, m_bins)];
  }

 private:
  int* m_counts;
  int& m_any;
  std::uint32_t* m_kuiper;
  std::uint32_t* m_histograms;
  int m_bins;
  double m_binsPerRad;
  double m_kuiperBinsPerRad;
  double m_within;
};

// Sidereal periods in days (mean values; Astronomical Almanac).
double SiderealPeriodDays(Planet planet) {
  switch (planet) {
    case Planet::Mercury: return 87.9691;
    case Planet::Venus: return 224.701;
    case Planet::Earth: return 365.256;
    case Planet::Mars: return 686.980;
    case Planet::Jupiter: return 4332.59;
    case Planet::Saturn: return 10759.22;
    case Planet::Uranus: return 30688.5;
    case Planet::Neptune: return 60182.0;
    case Planet::Pluto: return 90560.0;
  }
  return 365.256;
}

// Whether a shift of `shiftDays` brings `planet` back near the phase it
// had: within `minPhaseRad` of a whole number of its periods (of half
// periods when `axial`, where opposite directions count alike).
bool ReturnsNearObservedPhase(Planet planet, double shiftDays, double minPhaseRad, bool axial) {
  const double cycles = shiftDays / SiderealPeriodDays(planet) * (axial ? 2 : 1);
  const double offset = std::fabs(cycles - std::round(cycles));  // 0 .. 0.5 of a cycle
  return offset * (axial ? kPi : 2 * kPi) < minPhaseRad;
}

// Draws of a shift before one that repeats a planet's phase is taken
// all the same (only for sets where nearly every shift does).
constexpr int kMaxShiftDraws = 1000;

// The null of moved planets: one common shift per replicate.
class ShiftPlanetsNull {
 public:
  ShiftPlanetsNull(const std::vector<FlareAngles>& flares, const FlareMap& map,
                   const SignificanceOptions& options)
      : m_flares(flares), m_options(options) {
    for (const FlareAngles& flare : flares) {
      m_times.push_back(flare.jd);
      m_directions.push_back(flare.directionRad);
    }
    double first = 0, last = 0;
    NullTimeSpan(map, options, first, last);
    for (Planet planet : options.planets) {
      m_tables.push_back(std::make_unique<LongitudeTable>(planet, first, last, options.threads));
    }
  }

  void Run(int r, ReplicateTally& tally) const {
    SplitMix64 random = ReplicateGenerator(m_options.seed, r);
    const double shift = DrawShift(random);
    // Planet by planet, each table read in time order.
    const std::size_t n = m_flares.size();
    std::vector<double> nearest(n, kPi);
    const bool axial = m_options.axial;
    std::vector<double> angles(n);
    for (std::size_t s = 0; s < m_tables.size(); ++s) {
      const LongitudeTable& table = *m_tables[s];
      // The angles first, free of the counters' stores, so that the
      // processor overlaps the flares' interpolations.
      for (std::size_t i = 0; i < n; ++i) {
        angles[i] = PlanetAngle(m_directions[i], table.Unwrapped(m_times[i] + shift), axial);
      }
      for (std::size_t i = 0; i < n; ++i) {
        tally.Planet(static_cast<int>(s), angles[i]);
        nearest[i] = std::min(nearest[i], angles[i]);
      }
    }
    for (double angle : nearest) tally.Nearest(angle);
  }

 private:
  // A shift that returns a planet of the set near its observed phase
  // repeats the observation instead of sampling the null: a catalog
  // aligned with Jupiter is aligned again after any whole number of
  // Jupiter's years, some 2 % of all shifts, and could then never reach a
  // p-value below that. Such shifts are drawn again.
  double DrawShift(SplitMix64& random) const {
    double shift = 0;
    for (int attempt = 0; attempt < kMaxShiftDraws; ++attempt) {
      const double sign = (random.Next() & 1) != 0 ? 1.0 : -1.0;
      const double years = m_options.minShiftYears +
                           (m_options.maxShiftYears - m_options.minShiftYears) * random.Uniform();
      shift = sign * years * kDaysPerJulianYear;
      const bool repeats =
          std::any_of(m_options.planets.begin(), m_options.planets.end(), [&](Planet planet) {
            return ReturnsNearObservedPhase(planet, shift, m_minPhaseRad, m_options.axial);
          });
      if (!repeats) break;
    }
    return shift;
  }

  const std::vector<FlareAngles>& m_flares;
  const SignificanceOptions& m_options;
  double m_minPhaseRad = ShiftExclusionRad(m_options);
  std::vector<double> m_times;       // the flares' times and directions, packed
  std::vector<double> m_directions;
  std::vector<std::unique_ptr<LongitudeTable>> m_tables;
};

// The null of shuffled times within each calendar year.
class PermuteWithinYearNull {
 public:
  PermuteWithinYearNull(const std::vector<FlareAngles>& flares, const SignificanceOptions& options)
      : m_flares(flares), m_options(options) {
    const std::size_t n = flares.size();
    m_earth.resize(n);
    m_planets.resize(options.planets.size() * n);
    ParallelFor(n, options.threads, [&](std::size_t begin, std::size_t end) {
      for (std::size_t j = begin; j < end; ++j) {
        m_earth[j] = EarthLongitude(flares[j].jd);
        for (std::size_t s = 0; s < options.planets.size(); ++s) {
          m_planets[s * n + j] = PlanetLongitude(options.planets[s], flares[j].jd);
        }
      }
    });
    // Flares are in time order, so each year is one run of indices.
    std::size_t begin = 0;
    while (begin < n) {
      const int year = UtcFromJulianDay(flares[begin].jd).year;
      std::size_t end = begin + 1;
      while (end < n && UtcFromJulianDay(flares[end].jd).year == year) ++end;
      m_years.emplace_back(begin, end);
      begin = end;
    }
  }

  void Run(int r, ReplicateTally& tally) const {
    SplitMix64 random = ReplicateGenerator(m_options.seed, r);
    const std::size_t n = m_flares.size();
    std::vector<std::size_t> time(n);
    std::iota(time.begin(), time.end(), std::size_t{0});
    for (const auto& [begin, end] : m_years) {
      for (std::size_t i = end - 1; i > begin; --i) {
        std::swap(time[i], time[begin + random.Below(i - begin + 1)]);
      }
    }
    const int planets = static_cast<int>(m_options.planets.size());
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j = time[i];
      // Flare i at the time of flare j: the same place on the disc.
      const double direction = m_earth[j] - m_flares[i].longitudeDeg / 180.0 * kPi;
      double nearest = kPi;
      for (int s = 0; s < planets; ++s) {
        const double angle = PlanetAngle(direction, m_planets[s * n + j], m_options.axial);
        tally.Planet(s, angle);
        nearest = std::min(nearest, angle);
      }
      tally.Nearest(nearest);
    }
  }

 private:
  const std::vector<FlareAngles>& m_flares;
  const SignificanceOptions& m_options;
  std::vector<double> m_earth;    // the Earth's longitude at each flare's time
  std::vector<double> m_planets;  // [planet of the set][flare]
  std::vector<std::pair<std::size_t, std::size_t>> m_years;
};

// Runs every replicate on options.threads threads; replicate r always
// writes its own slot of the store, whichever thread runs it.
template <typename Null>
void RunReplicates(const Null& null, ReplicateStore& store, const SignificanceOptions& options,
                   double maxAngle, const std::function<void(int)>& progress) {
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  auto work = [&](bool reports) {
    int mine = 0;
    for (int r = next++; r < options.replicates; r = next++) {
      ReplicateTally tally(store, r, options, maxAngle);
      null.Run(r, tally);
      ++done;
      if (reports && progress && ++mine % kProgressEvery == 0) progress(done.load());
    }
  };
  std::vector<std::thread> workers;
  for (int t = 1; t < options.threads; ++t) workers.emplace_back(work, false);
  work(true);
  for (std::thread& worker : workers) worker.join();
  if (progress) progress(options.replicates);
}

NullSummary Summarise(double observed, std::vector<double> null) {
  NullSummary summary;
  summary.observed = observed;
  std::sort(null.begin(), null.end());
  summary.nullMean = std::accumulate(null.begin(), null.end(), 0.0) / null.size();
  summary.null05 = SortedQuantile(null, 0.05);
  summary.null95 = SortedQuantile(null, 0.95);
  const auto atLeast = null.end() - std::lower_bound(null.begin(), null.end(), observed);
  summary.pValue = (1.0 + atLeast) / (null.size() + 1.0);
  return summary;
}

// Upper-tail probabilities of each replicate's own value within the null
// (the replicate counted among them): #{r': v[r'] >= v[r]} / (N + 1).
std::vector<double> ReplicateTailP(const std::vector<double>& values) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  std::vector<double> p(values.size());
  for (std::size_t r = 0; r < values.size(); ++r) {
    const auto atLeast = sorted.end() - std::lower_bound(sorted.begin(), sorted.end(), values[r]);
    p[r] = static_cast<double>(atLeast) / (values.size() + 1.0);
  }
  return p;
}

// The min-p family-wise adjustment of the per-planet p-values.
void AdjustFamilyWise(SignificanceResult& result, const std::vector<std::vector<double>>& nullCounts) {
  const std::size_t replicates = nullCounts.front().size();
  std::vector<double> minP(replicates, 1.0);
  for (const std::vector<double>& counts : nullCounts) {
    const std::vector<double> p = ReplicateTailP(counts);
    for (std::size_t r = 0; r < replicates; ++r) minP[r] = std::min(minP[r], p[r]);
  }
  std::sort(minP.begin(), minP.end());
  auto adjusted = [&](double p) {
    const auto atMost = std::upper_bound(minP.begin(), minP.end(), p) - minP.begin();
    return (1.0 + atMost) / (replicates + 1.0);
  };
  double smallest = 1.0;
  for (NullSummary& planet : result.perPlanet) {
    planet.familyWiseP = adjusted(planet.pValue);
    smallest = std::min(smallest, planet.pValue);
  }
  result.familyWiseP = adjusted(smallest);
}

std::vector<double> CumulativeFractions(const std::vector<double>& counts) {
  std::vector<double> cdf(counts.size());
  const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
  double sum = 0;
  for (std::size_t b = 0; b < counts.size(); ++b) {
    sum += counts[b];
    cdf[b] = total > 0 ? sum / total : 0.0;
  }
  return cdf;
}

void SummariseKuiper(SignificanceResult& result, ReplicateStore& store, int replicates) {
  std::vector<double> observed(kKuiperBins, 0.0);
  for (const FlareAngles& flare : result.flares) {
    observed[Bin(flare.nearestRad, result.maxAngleRad, kKuiperBins)] += 1;
  }
  std::vector<double> pooled(kKuiperBins, 0.0);
  for (int r = 0; r < replicates; ++r) {
    const std::uint32_t* h = store.Kuiper(r);
    for (int b = 0; b < kKuiperBins; ++b) pooled[b] += h[b];
  }
  const std::vector<double> reference = CumulativeFractions(pooled);
  std::vector<double> nullV(replicates);
  std::vector<double> counts(kKuiperBins);
  for (int r = 0; r < replicates; ++r) {
    const std::uint32_t* h = store.Kuiper(r);
    std::copy(h, h + kKuiperBins, counts.begin());
    nullV[r] = KuiperV(CumulativeFractions(counts), reference);
  }
  result.kuiper = Summarise(KuiperV(CumulativeFractions(observed), reference), std::move(nullV));
}

void SummariseHistograms(SignificanceResult& result, ReplicateStore& store,
                         const SignificanceOptions& options, int replicates) {
  const int bins = store.binCount;
  if (bins <= 0) return;  // no figure asked for
  for (int panel = 0; panel < store.panelCount; ++panel) {
    AngleHistogram h;
    h.title = panel == 0 ? "nearest planet" : PlanetName(options.planets[panel - 1]);
    h.observed.assign(bins, 0.0);
    for (const FlareAngles& flare : result.flares) {
      const double angle = panel == 0 ? flare.nearestRad : flare.planetRad[panel - 1];
      h.observed[Bin(angle, result.maxAngleRad, bins)] += 1;
    }
    std::vector<double> values(replicates);
    for (int b = 0; b < bins; ++b) {
      for (int r = 0; r < replicates; ++r) values[r] = store.Histograms(r)[panel * bins + b];
      std::sort(values.begin(), values.end());
      h.nullMean.push_back(std::accumulate(values.begin(), values.end(), 0.0) / replicates);
      h.null05.push_back(SortedQuantile(values, 0.05));
      h.null95.push_back(SortedQuantile(values, 0.95));
    }
    result.histograms.push_back(std::move(h));
  }
}

}  // namespace

double ShiftExclusionRad(const SignificanceOptions& options) {
  return std::min(2 * options.withinRad, kMaxShiftExclusionRad);
}

std::vector<Planet> DefaultPlanetSet() {
  std::vector<Planet> planets;
  for (Planet planet : kAllPlanets) {
    if (planet != Planet::Earth) planets.push_back(planet);
  }
  return planets;
}

std::vector<FlareAngles> ObservedFlareAngles(const FlareMap& flares,
                                             const SignificanceOptions& options) {
  std::vector<const std::pair<const double, SolarFlare>*> entries;
  entries.reserve(flares.size());
  for (const auto& entry : flares) entries.push_back(&entry);
  std::vector<FlareAngles> angles(entries.size());
  ParallelFor(entries.size(), options.threads, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      const double jd = entries[i]->first;
      const SolarFlare& flare = entries[i]->second;
      FlareAngles& a = angles[i];
      a.index = flare.Index();
      a.jd = jd;
      a.latitudeDeg = flare.Latitude();
      a.longitudeDeg = flare.Longitude();
      a.directionRad = FlareDirectionAngle(EarthLongitude(jd), flare);
      a.nearestRad = kPi;
      for (std::size_t s = 0; s < options.planets.size(); ++s) {
        const double angle = PlanetAngle(a.directionRad, PlanetLongitude(options.planets[s], jd), options.axial);
        a.planetRad.push_back(angle);
        if (angle < a.nearestRad || a.nearest < 0) {
          a.nearest = static_cast<int>(s);
          a.nearestRad = angle;
        }
      }
    }
  });
  return angles;
}

void NullTimeSpan(const FlareMap& flares, const SignificanceOptions& options, double& first,
                  double& last) {
  first = flares.empty() ? 0 : flares.begin()->first;
  last = flares.empty() ? 0 : flares.rbegin()->first;
  if (options.null == NullModel::ShiftPlanets) {
    first -= options.maxShiftYears * kDaysPerJulianYear;
    last += options.maxShiftYears * kDaysPerJulianYear;
  }
}

SignificanceResult TestSignificance(const FlareMap& flares, const SignificanceOptions& options,
                                    const std::function<void(int)>& progress) {
  SignificanceResult result;
  result.maxAngleRad = options.axial ? kPi / 2 : kPi;
  result.flares = ObservedFlareAngles(flares, options);
  const int planets = static_cast<int>(options.planets.size());
  const int replicates = options.replicates;
  ReplicateStore store(replicates, planets, planets + 1, options.histogramBins);
  if (options.null == NullModel::ShiftPlanets) {
    const ShiftPlanetsNull null(result.flares, flares, options);
    RunReplicates(null, store, options, result.maxAngleRad, progress);
  } else {
    const PermuteWithinYearNull null(result.flares, options);
    RunReplicates(null, store, options, result.maxAngleRad, progress);
  }

  std::vector<std::vector<double>> nullCounts(planets, std::vector<double>(replicates));
  for (int r = 0; r < replicates; ++r) {
    for (int s = 0; s < planets; ++s) nullCounts[s][r] = store.Counts(r)[s];
  }
  for (int s = 0; s < planets; ++s) {
    double observed = 0;
    for (const FlareAngles& flare : result.flares) observed += flare.planetRad[s] < options.withinRad;
    result.perPlanet.push_back(Summarise(observed, nullCounts[s]));
  }
  double anyObserved = 0;
  for (const FlareAngles& flare : result.flares) anyObserved += flare.nearestRad < options.withinRad;
  result.anyPlanet = Summarise(anyObserved, std::vector<double>(store.anyCounts.begin(), store.anyCounts.end()));
  AdjustFamilyWise(result, nullCounts);
  result.anyPlanet.familyWiseP = result.anyPlanet.pValue;  // one test: nothing to adjust
  SummariseKuiper(result, store, replicates);
  result.kuiper.familyWiseP = result.kuiper.pValue;
  SummariseHistograms(result, store, options, replicates);
  return result;
}

double KuiperV(const std::vector<double>& sampleCdf, const std::vector<double>& referenceCdf) {
  double above = 0, below = 0;
  for (std::size_t b = 0; b < sampleCdf.size(); ++b) {
    above = std::max(above, sampleCdf[b] - referenceCdf[b]);
    below = std::max(below, referenceCdf[b] - sampleCdf[b]);
  }
  return above + below;
}

double SortedQuantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  const double position = q * (sorted.size() - 1);
  const std::size_t low = static_cast<std::size_t>(position);
  if (low + 1 >= sorted.size()) return sorted.back();
  const double fraction = position - low;
  return sorted[low] + fraction * (sorted[low + 1] - sorted[low]);
}

}  // namespace barywalk
