#include "analysis/significance.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <numeric>
#include <thread>

#include "analysis/longitude_table.h"
#include "analysis/parallel_for.h"
#include "analysis/split_mix64.h"

namespace barywalk {
namespace {

// Flares sampled across the catalog to tell whether a replicate put a
// planet back near its observed phase.
constexpr std::size_t kPhaseSamples = 64;
// No planet's heliocentric latitude exceeds this (Pluto's reaches 17.2
// degrees): it bounds the spherical angle from below for the quick test.
constexpr double kMaxPlanetLatitudeRad = 18 * kRadiansPerDegree;
// The calling thread reports progress after this many of its replicates.
constexpr int kProgressEvery = 64;

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

// What the replicates yield: per replicate and planet the count within
// `within`, whether the planet came back near its observed phase, and the
// histogram bins of the figure.
struct ReplicateStore {
  ReplicateStore(int replicates, int planets, int bins)
      : planetCount(planets), binCount(bins),
        counts(static_cast<std::size_t>(replicates) * planets),
        returns(static_cast<std::size_t>(replicates) * planets),
        histograms(static_cast<std::size_t>(replicates) * planets * bins) {}

  int* Counts(int r) { return &counts[static_cast<std::size_t>(r) * planetCount]; }
  char* Returns(int r) { return &returns[static_cast<std::size_t>(r) * planetCount]; }
  std::uint32_t* Histogram(int r, int s) {
    return histograms.data() + (static_cast<std::size_t>(r) * planetCount + s) * binCount;
  }

  int planetCount, binCount;
  std::vector<int> counts;
  std::vector<char> returns;
  std::vector<std::uint32_t> histograms;
};

// The flares as the null reads them: packed by unit (one shift each),
// in time order within a unit.
struct PackedFlares {
  std::vector<double> times, lons, lats, cosLats;
  std::vector<std::size_t> unitBegin;  // unit u: [unitBegin[u], unitBegin[u + 1])
  std::vector<std::size_t> samples;    // packed positions of the phase samples
};

PackedFlares PackByUnit(const std::vector<FlareAngles>& flares, int units) {
  std::vector<std::size_t> order(flares.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return flares[a].unit < flares[b].unit; });
  PackedFlares packed;
  packed.unitBegin.assign(units + 1, 0);
  for (std::size_t i : order) {
    const FlareAngles& f = flares[i];
    packed.times.push_back(f.jd);
    packed.lons.push_back(f.siteLonRad);
    packed.lats.push_back(f.siteLatRad);
    packed.cosLats.push_back(std::cos(f.siteLatRad));
    ++packed.unitBegin[f.unit + 1];
  }
  std::partial_sum(packed.unitBegin.begin(), packed.unitBegin.end(), packed.unitBegin.begin());
  const std::size_t n = flares.size(), step = std::max<std::size_t>(1, n / kPhaseSamples);
  for (std::size_t i = step / 2; i < n && packed.samples.size() < kPhaseSamples; i += step) {
    packed.samples.push_back(i);
  }
  return packed;
}

// The null of moved planets: per replicate one time shift per unit (one
// unit for the common shift), every planet evaluated at the flare's time
// plus its unit's shift, the flares kept as observed.
class ShiftNull {
 public:
  ShiftNull(const std::vector<FlareAngles>& flares, int units, const FlareMap& map,
            const SignificanceOptions& options)
      : m_options(options), m_packed(PackByUnit(flares, units)), m_units(units) {
    double first = 0, last = 0;
    NullTimeSpan(map, options, first, last);
    const Geometry geometry = options.geometry;
    for (Planet planet : options.planets) {
      const double step = LongitudeTableStepDays(planet);
      m_longitudes.push_back(std::make_unique<LongitudeTable>(
          [=](double jd) { return PlanetLongitudeIn(geometry, planet, jd); }, step, first, last,
          options.threads));
      if (geometry == Geometry::Sphere) {
        m_latitudes.push_back(std::make_unique<LongitudeTable>(
            [=](double jd) { return PlanetLatitudeOfDate(planet, jd); }, step, first, last,
            options.threads));
      }
      std::vector<double> observed;
      for (std::size_t i : m_packed.samples) {
        observed.push_back(m_longitudes.back()->Unwrapped(m_packed.times[i]));
      }
      m_samplePhases.push_back(std::move(observed));
    }
    m_binsPerRad = options.histogramBins / (options.axial ? kPi / 2 : kPi);
    const double halfWithin = std::sin(options.withinRad / 2);
    m_quickLimit = halfWithin * halfWithin * kPi * kPi;
  }

  void Run(int r, ReplicateStore& store) const {
    SplitMix64 random = ReplicateGenerator(m_options.seed, r);
    std::vector<double> shifts(m_units);
    for (double& shift : shifts) shift = DrawShift(random);
    std::vector<double> unitShift(m_packed.times.size());
    for (int u = 0; u < m_units; ++u) {
      std::fill(unitShift.begin() + m_packed.unitBegin[u], unitShift.begin() + m_packed.unitBegin[u + 1],
                shifts[u]);
    }
    for (std::size_t s = 0; s < m_longitudes.size(); ++s) {
      store.Counts(r)[s] = CountWithin(s, unitShift, store.binCount > 0 ? store.Histogram(r, s) : nullptr);
      store.Returns(r)[s] = ReturnsNearObservedPhase(s, unitShift);
    }
  }

 private:
  double DrawShift(SplitMix64& random) const {
    const double sign = (random.Next() & 1) != 0 ? 1.0 : -1.0;
    const double years = m_options.minShiftYears +
                         (m_options.maxShiftYears - m_options.minShiftYears) * random.Uniform();
    return sign * years * kDaysPerJulianYear;
  }

  // Planet s's count within `within` for one replicate; with `histogram`,
  // every angle also goes into its bin.
  int CountWithin(std::size_t s, const std::vector<double>& shift, std::uint32_t* histogram) const {
    const LongitudeTable& table = *m_longitudes[s];
    const std::vector<double>& t = m_packed.times;
    const std::vector<double>& lon = m_packed.lons;
    const std::size_t n = t.size();
    const bool axial = m_options.axial;
    const double within = m_options.withinRad;
    int count = 0;
    if (m_options.geometry != Geometry::Sphere) {
      for (std::size_t i = 0; i < n; ++i) {
        const double angle = PlanetAngle(lon[i], table.Unwrapped(t[i] + shift[i]), axial);
        count += angle < within;
        if (histogram != nullptr) ++histogram[HistogramBin(angle)];
      }
      return count;
    }
    const LongitudeTable& latitude = *m_latitudes[s];
    const double cosMaxLat = std::cos(kMaxPlanetLatitudeRad);
    for (std::size_t i = 0; i < n; ++i) {
      const double L = table.Unwrapped(t[i] + shift[i]);
      const double dl = PlanetAngle(lon[i], L, axial);
      // hav(angle) >= cos b cos B hav(dl) >= cos b cos B (dl / pi)^2:
      // most pairs lie too far apart in longitude to need the latitude.
      if (histogram == nullptr && m_packed.cosLats[i] * cosMaxLat * dl * dl >= m_quickLimit) continue;
      const double angle =
          SphereAngle(lon[i], m_packed.lats[i], L, latitude.Unwrapped(t[i] + shift[i]), axial);
      count += angle < within;
      if (histogram != nullptr) ++histogram[HistogramBin(angle)];
    }
    return count;
  }

  int HistogramBin(double angle) const {
    const int b = static_cast<int>(angle * m_binsPerRad);
    return b < m_options.histogramBins ? b : m_options.histogramBins - 1;
  }

  // Whether planet s lies within `within` of its observed phase (or, when
  // axial, of the opposite phase) at most of the sampled flares.
  bool ReturnsNearObservedPhase(std::size_t s, const std::vector<double>& shift) const {
    const std::vector<std::size_t>& samples = m_packed.samples;
    std::size_t near = 0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
      const std::size_t i = samples[k];
      const double moved = m_longitudes[s]->Unwrapped(m_packed.times[i] + shift[i]);
      near += PlanetAngle(moved, m_samplePhases[s][k], m_options.axial) < m_options.withinRad;
    }
    return 2 * near > samples.size();
  }

  const SignificanceOptions& m_options;
  PackedFlares m_packed;
  int m_units;
  std::vector<std::unique_ptr<LongitudeTable>> m_longitudes;
  std::vector<std::unique_ptr<LongitudeTable>> m_latitudes;  // Sphere only
  std::vector<std::vector<double>> m_samplePhases;  // [planet][sample]: observed L
  double m_binsPerRad = 0;
  double m_quickLimit = 0;  // pi^2 hav(within)
};

// Runs every replicate on options.threads threads; replicate r always
// writes its own slot of the store, whichever thread runs it.
void RunReplicates(const ShiftNull& null, ReplicateStore& store, const SignificanceOptions& options,
                   const std::function<void(int)>& progress) {
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  auto work = [&](bool reports) {
    int mine = 0;
    for (int r = next++; r < options.replicates; r = next++) {
      null.Run(r, store);
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
  const double n = static_cast<double>(null.size());
  summary.nullMean = std::accumulate(null.begin(), null.end(), 0.0) / n;
  double squares = 0;
  for (double v : null) squares += (v - summary.nullMean) * (v - summary.nullMean);
  summary.nullVariance = null.size() > 1 ? squares / (n - 1) : 0.0;
  summary.null05 = SortedQuantile(null, 0.05);
  summary.null95 = SortedQuantile(null, 0.95);
  const auto atLeast = null.end() - std::lower_bound(null.begin(), null.end(), observed);
  const auto atMost = std::upper_bound(null.begin(), null.end(), observed) - null.begin();
  summary.upperP = (1.0 + atLeast) / (n + 1.0);
  summary.lowerP = (1.0 + atMost) / (n + 1.0);
  return summary;
}

// Tail probabilities of each replicate's own value within the null (the
// replicate counted among them): #{r': v[r'] >= v[r]} / (N + 1) for the
// upper tail, with <= for the lower.
std::vector<double> ReplicateTailP(const std::vector<double>& values, bool upper) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  std::vector<double> p(values.size());
  for (std::size_t r = 0; r < values.size(); ++r) {
    const auto extreme =
        upper ? sorted.end() - std::lower_bound(sorted.begin(), sorted.end(), values[r])
              : std::upper_bound(sorted.begin(), sorted.end(), values[r]) - sorted.begin();
    p[r] = static_cast<double>(extreme) / (values.size() + 1.0);
  }
  return p;
}

// The share (1 + k) / (N + 1) of replicates whose smallest p lies at or
// below `p`; `minP` sorted.
double MinPAdjusted(const std::vector<double>& minP, double p) {
  const auto atMost = std::upper_bound(minP.begin(), minP.end(), p) - minP.begin();
  return (1.0 + atMost) / (minP.size() + 1.0);
}

// The min-p family-wise adjustments: over the planets' excesses, their
// deficits, and both tails together.
void AdjustFamilyWise(SignificanceResult& result, const std::vector<std::vector<double>>& nullCounts) {
  const std::size_t replicates = nullCounts.front().size();
  std::vector<double> minUpper(replicates, 1.0), minLower(replicates, 1.0), minBoth(replicates);
  for (const std::vector<double>& counts : nullCounts) {
    const std::vector<double> upper = ReplicateTailP(counts, true);
    const std::vector<double> lower = ReplicateTailP(counts, false);
    for (std::size_t r = 0; r < replicates; ++r) {
      minUpper[r] = std::min(minUpper[r], upper[r]);
      minLower[r] = std::min(minLower[r], lower[r]);
    }
  }
  for (std::size_t r = 0; r < replicates; ++r) minBoth[r] = std::min(minUpper[r], minLower[r]);
  for (std::vector<double>* minP : {&minUpper, &minLower, &minBoth}) std::sort(minP->begin(), minP->end());
  double smallestUpper = 1.0, smallestLower = 1.0;
  for (NullSummary& planet : result.perPlanet) {
    planet.familyWiseP = MinPAdjusted(minBoth, std::min(planet.upperP, planet.lowerP));
    smallestUpper = std::min(smallestUpper, planet.upperP);
    smallestLower = std::min(smallestLower, planet.lowerP);
  }
  result.familyWiseUpperP = MinPAdjusted(minUpper, smallestUpper);
  result.familyWiseLowerP = MinPAdjusted(minLower, smallestLower);
  result.familyWiseP = MinPAdjusted(minBoth, std::min(smallestUpper, smallestLower));
}

// The null's variance of a count over the binomial variance of as many
// independent flares at its mean rate, averaged over the planets.
double VarianceInflation(const std::vector<NullSummary>& planets, std::size_t flares) {
  double sum = 0;
  int terms = 0;
  for (const NullSummary& planet : planets) {
    const double rate = planet.nullMean / flares;
    const double binomial = flares * rate * (1 - rate);
    if (binomial <= 0) continue;
    sum += planet.nullVariance / binomial;
    ++terms;
  }
  return terms > 0 ? sum / terms : 1.0;
}

double ResolutionFloor(ReplicateStore& store, int replicates) {
  int most = 0;
  for (int s = 0; s < store.planetCount; ++s) {
    int returns = 0;
    for (int r = 0; r < replicates; ++r) returns += store.Returns(r)[s] != 0;
    most = std::max(most, returns);
  }
  return (1.0 + most) / (replicates + 1.0);
}

void SummariseHistograms(SignificanceResult& result, ReplicateStore& store,
                         const SignificanceOptions& options, int replicates) {
  const int bins = store.binCount;
  if (bins <= 0) return;  // no figure asked for
  for (int s = 0; s < store.planetCount; ++s) {
    AngleHistogram h;
    h.title = PlanetName(options.planets[s]);
    h.observed.assign(bins, 0.0);
    for (const FlareAngles& flare : result.flares) {
      h.observed[Bin(flare.planetRad[s], result.maxAngleRad, bins)] += 1;
    }
    std::vector<double> values(replicates);
    for (int b = 0; b < bins; ++b) {
      for (int r = 0; r < replicates; ++r) values[r] = store.Histogram(r, s)[b];
      std::sort(values.begin(), values.end());
      h.nullMean.push_back(std::accumulate(values.begin(), values.end(), 0.0) / replicates);
      h.null05.push_back(SortedQuantile(values, 0.05));
      h.null95.push_back(SortedQuantile(values, 0.95));
    }
    result.histograms.push_back(std::move(h));
  }
}

// The unit of each flare of `flares` (time order) under the region null.
std::vector<int> RegionUnits(const FlareMap& flares, const RegionGrouping& rule) {
  std::vector<GroupedFlare> grouped;
  grouped.reserve(flares.size());
  for (const auto& [jd, flare] : flares) {
    grouped.push_back({jd, flare.Latitude(), flare.Longitude(), flare.Region()});
  }
  return GroupFlaresByRegion(grouped, rule);
}

int UnitCount(const std::vector<int>& unit) {
  return unit.empty() ? 0 : *std::max_element(unit.begin(), unit.end()) + 1;
}

// Numbers the units of `angles`, the observed angles of `flares`, for the
// chosen null; returns their count.
int AssignUnits(std::vector<FlareAngles>& angles, const FlareMap& flares,
                const SignificanceOptions& options) {
  if (options.null == NullModel::ShiftPlanets) return 1;
  const std::vector<int> unit = RegionUnits(flares, options.regions);
  for (std::size_t i = 0; i < angles.size(); ++i) angles[i].unit = unit[i];
  return UnitCount(unit);
}

}  // namespace

const char* NullName(NullModel null) { return null == NullModel::ShiftPlanets ? "shift" : "region"; }

const char* GeometryName(Geometry geometry) {
  switch (geometry) {
    case Geometry::Plane: return "plane";
    case Geometry::Longitude: return "longitude";
    case Geometry::Sphere: return "sphere";
  }
  return "longitude";
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
      a.flux = flare.Flux();
      a.region = flare.Region();
      const SkyDirection site = FlareSiteIn(options.geometry, jd, flare);
      a.siteLonRad = site.lonRad;
      a.siteLatRad = site.latRad;
      // Outside Plane the site in the geometry's frame is the true site.
      const SkyDirection truth = options.geometry == Geometry::Plane
                                     ? TrueFlareSite(jd, flare.Latitude(), flare.Longitude())
                                     : site;
      a.eclipticLonDeg = truth.lonRad * kDegreesPerRadian;
      a.eclipticLatDeg = truth.latRad * kDegreesPerRadian;
      for (Planet planet : options.planets) {
        const double L = PlanetLongitudeIn(options.geometry, planet, jd);
        a.planetRad.push_back(
            options.geometry == Geometry::Sphere
                ? SphereAngle(site.lonRad, site.latRad, L, PlanetLatitudeOfDate(planet, jd), options.axial)
                : PlanetAngle(site.lonRad, L, options.axial));
      }
    }
  });
  return angles;
}

int CountRegionUnits(const FlareMap& flares, const RegionGrouping& rule) {
  return UnitCount(RegionUnits(flares, rule));
}

void NullTimeSpan(const FlareMap& flares, const SignificanceOptions& options, double& first,
                  double& last) {
  first = flares.empty() ? 0 : flares.begin()->first;
  last = flares.empty() ? 0 : flares.rbegin()->first;
  first -= options.maxShiftYears * kDaysPerJulianYear;
  last += options.maxShiftYears * kDaysPerJulianYear;
}

SignificanceResult TestSignificance(const FlareMap& flares, const SignificanceOptions& options,
                                    const std::function<void(int)>& progress) {
  SignificanceResult result;
  result.maxAngleRad = options.axial ? kPi / 2 : kPi;
  result.flares = ObservedFlareAngles(flares, options);
  result.units = AssignUnits(result.flares, flares, options);
  const int planets = static_cast<int>(options.planets.size());
  const int replicates = options.replicates;
  ReplicateStore store(replicates, planets, options.histogramBins);
  {
    const ShiftNull null(result.flares, result.units, flares, options);
    RunReplicates(null, store, options, progress);
  }

  std::vector<std::vector<double>> nullCounts(planets, std::vector<double>(replicates));
  std::vector<double> nullTotals(replicates, 0.0);
  for (int r = 0; r < replicates; ++r) {
    for (int s = 0; s < planets; ++s) {
      nullCounts[s][r] = store.Counts(r)[s];
      nullTotals[r] += store.Counts(r)[s];
    }
  }
  double totalObserved = 0;
  for (int s = 0; s < planets; ++s) {
    double observed = 0;
    for (const FlareAngles& flare : result.flares) observed += flare.planetRad[s] < options.withinRad;
    totalObserved += observed;
    result.perPlanet.push_back(Summarise(observed, nullCounts[s]));
  }
  result.total = Summarise(totalObserved, std::move(nullTotals));
  AdjustFamilyWise(result, nullCounts);
  result.total.familyWiseP = std::min(1.0, 2 * std::min(result.total.upperP, result.total.lowerP));
  result.resolutionFloor = ResolutionFloor(store, replicates);
  result.varianceInflation = VarianceInflation(result.perPlanet, result.flares.size());
  result.effectiveFlares = result.flares.size() / std::max(result.varianceInflation, 1e-12);
  SummariseHistograms(result, store, options, replicates);
  return result;
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
