#include "calibration.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "analysis/null_catalog.h"
#include "flares/flare_file.h"

namespace barywalk {
namespace {

constexpr double kAlpha05 = 0.05;
constexpr double kAlpha01 = 0.01;
// The real sample is moved by this many years either way: far enough
// that every planet's phase is new, near enough for the theories.
constexpr double kMinSampleShiftYears = 20;
constexpr double kMaxSampleShiftYears = 300;
// The planet of the planted signals.
constexpr Planet kPlantedPlanet = Planet::Jupiter;

std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
  std::uint64_t z = a * 0x9E3779B97F4A7C15ULL + b + 0x632BE59BD9B4E019ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// One catalog and what became of it under each null.
struct Job {
  CatalogKind kind = CatalogKind::Synthetic;
  double plantedFraction = 0;  // > 0: a power catalog
  int index = 0;
  std::vector<std::vector<NamedPValue>> perNull;  // in the plan's null order
};

const FlareMap& Sample(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, FlareMap> loaded;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = loaded.find(path);
  if (it == loaded.end()) {
    FlareMap flares;
    const std::vector<FlareFileReport> reports = LoadFlareFiles({path}, flares);
    if (!reports.front().opened || flares.empty()) throw std::runtime_error("cannot read the sample " + path);
    it = loaded.emplace(path, std::move(flares)).first;
  }
  return it->second;
}

FlareMap SyntheticCatalog(const CalibrationPlan& plan, CatalogKind kind, int index) {
  ActiveRegionModel model;
  model.birthsPerDayAtMaximum *= plan.flareScale;
  if (kind == CatalogKind::SyntheticNoNests) model.nestProbability = 0;
  // The two numberings of one catalog come from one seed, so that they
  // differ in the grouping alone.
  const std::uint64_t seed = Mix(Mix(plan.seed, kind == CatalogKind::SyntheticNoNests ? 2 : 1), index);
  const std::vector<SyntheticFlare> flares = GenerateActiveRegionFlares(model, plan.startJd, plan.endJd, seed);
  return ToFlareMap(flares, kind == CatalogKind::SyntheticComplexes);
}

FlareMap Catalog(const CalibrationPlan& plan, CatalogKind kind, int index) {
  if (kind == CatalogKind::ShiftedSample) {
    const double shift = DrawCatalogShiftDays(Mix(Mix(plan.seed, 3), index), kMinSampleShiftYears,
                                              kMaxSampleShiftYears);
    return ShiftedCatalog(Sample(plan.samplePath), shift);
  }
  return SyntheticCatalog(plan, kind, index);
}

SignificanceOptions TestOptions(const CalibrationPlan& plan, const NullSetup& null, std::uint64_t seed) {
  SignificanceOptions options;
  options.planets = DefaultPlanetSet();
  options.withinRad = plan.withinDeg * kRadiansPerDegree;
  options.null = null.model;
  options.regions.mergeNests = null.mergeNests;
  options.geometry = plan.geometry;
  options.replicates = plan.replicates;
  options.seed = seed;
  options.threads = 1;  // the catalogs run in parallel instead
  options.histogramBins = 0;
  options.maxShiftYears = plan.maxShiftYears;
  return options;
}

void RunJob(const CalibrationPlan& plan, Job& job) {
  FlareMap flares = Catalog(plan, job.kind, job.index);
  if (job.plantedFraction > 0) {
    PlantedSignal signal;
    signal.planet = PlanetInGeometry(plan.geometry, kPlantedPlanet);
    signal.useLatitude = plan.geometry == Geometry::Sphere;
    signal.fraction = job.plantedFraction;
    const std::uint64_t plantSeed = Mix(Mix(plan.seed, 4), Mix(job.index, std::llround(job.plantedFraction * 1e6)));
    flares = PlantSignal(flares, signal, SiteInGeometry(plan.geometry), plantSeed);
  }
  for (std::size_t n = 0; n < plan.nulls.size(); ++n) {
    if (job.plantedFraction > 0 && !plan.nulls[n].inPower) {
      job.perNull.emplace_back();
      continue;
    }
    const SignificanceOptions options =
        TestOptions(plan, plan.nulls[n], Mix(Mix(plan.seed, 5 + n), job.index));
    job.perNull.push_back(PrintedPValues(TestSignificance(flares, options), options));
  }
}

std::vector<Job> PlannedJobs(const CalibrationPlan& plan) {
  std::vector<Job> jobs;
  for (CatalogKind kind : plan.kinds) {
    for (int i = 0; i < plan.catalogs; ++i) jobs.push_back(Job{kind, 0, i, {}});
  }
  for (double f : plan.plantedFractions) {
    for (int i = 0; i < plan.powerCatalogs; ++i) jobs.push_back(Job{plan.powerKind, f, i, {}});
  }
  return jobs;
}

std::string PlantedName(double f) {
  char text[48];
  std::snprintf(text, sizeof text, "planted %g %%", f * 100);
  return text;
}

}  // namespace

const char* CatalogKindName(CatalogKind kind) {
  switch (kind) {
    case CatalogKind::Synthetic: return "synthetic";
    case CatalogKind::SyntheticComplexes: return "synthetic, nests as one region";
    case CatalogKind::SyntheticNoNests: return "synthetic without nests";
    case CatalogKind::ShiftedSample: return "sample shifted 20-300 yr";
  }
  return "?";
}

Interval WilsonInterval(int successes, int trials, double z) {
  if (trials <= 0) return {};
  const double n = trials, p = successes / n, z2 = z * z;
  const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
  const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::vector<NullSetup> CommandNulls() {
  return {{"shift", NullModel::ShiftPlanets, true},
          {"region", NullModel::ShiftRegions, true},
          {"region, nests apart", NullModel::ShiftRegions, false, false}};
}

std::vector<NamedPValue> PrintedPValues(const SignificanceResult& result, const SignificanceOptions& options) {
  auto shown = [&](double p) { return std::max(p, result.resolutionFloor); };
  std::vector<NamedPValue> printed;
  for (std::size_t s = 0; s < result.perPlanet.size(); ++s) {
    const NullSummary& planet = result.perPlanet[s];
    printed.push_back({"per planet, excess", shown(planet.upperP), options.planets[s], true});
    printed.push_back({"per planet, deficit", shown(planet.lowerP), options.planets[s], true});
    printed.push_back({"per planet, family-wise", shown(planet.familyWiseP), options.planets[s], true});
  }
  printed.push_back({"total, excess", shown(result.total.upperP)});
  printed.push_back({"total, deficit", shown(result.total.lowerP)});
  printed.push_back({"total, two-sided", shown(result.total.familyWiseP)});
  printed.push_back({"family-wise, excess", shown(result.familyWiseUpperP)});
  printed.push_back({"family-wise, deficit", shown(result.familyWiseLowerP)});
  printed.push_back({"family-wise, two-sided", shown(result.familyWiseP)});
  return printed;
}

std::vector<RejectionCount> RunCalibration(const CalibrationPlan& plan,
                                           void (*progress)(const std::string&)) {
  std::vector<Job> jobs = PlannedJobs(plan);
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  std::mutex reportMutex;
  std::exception_ptr failure;
  auto work = [&] {
    for (std::size_t j = next++; j < jobs.size(); j = next++) {
      try {
        RunJob(plan, jobs[j]);
      } catch (...) {
        std::lock_guard<std::mutex> lock(reportMutex);
        if (!failure) failure = std::current_exception();
        next = jobs.size();
        return;
      }
      const std::size_t finished = ++done;
      if (progress && (finished % 20 == 0 || finished == jobs.size())) {
        std::lock_guard<std::mutex> lock(reportMutex);
        progress(std::to_string(finished) + " of " + std::to_string(jobs.size()) + " catalogs tested");
      }
    }
  };
  std::vector<std::thread> workers;
  for (int t = 1; t < plan.threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  if (failure) std::rethrow_exception(failure);

  // Tallied in the jobs' order, whichever thread ran them.
  std::vector<RejectionCount> counts;
  std::map<std::string, std::size_t> row;
  for (const Job& job : jobs) {
    const std::string catalogs = job.plantedFraction > 0 ? PlantedName(job.plantedFraction)
                                                         : CatalogKindName(job.kind);
    for (std::size_t n = 0; n < plan.nulls.size(); ++n) {
      for (const NamedPValue& p : job.perNull[n]) {
        if (job.plantedFraction > 0 && p.perPlanet && p.planet != kPlantedPlanet) continue;
        const std::string statistic =
            !p.perPlanet ? p.name : job.plantedFraction > 0 ? p.name + ", " + PlanetName(p.planet) : p.name + " (pooled)";
        const std::string key = catalogs + "|" + plan.nulls[n].name + "|" + statistic;
        auto [it, added] = row.emplace(key, counts.size());
        if (added) counts.push_back({statistic, plan.nulls[n].name, catalogs, job.plantedFraction, 0, 0, 0});
        RejectionCount& c = counts[it->second];
        ++c.trials;
        c.atAlpha05 += p.p <= kAlpha05;
        c.atAlpha01 += p.p <= kAlpha01;
      }
    }
  }
  return counts;
}

std::vector<std::string> MiscalibratedSizes(const std::vector<RejectionCount>& counts, double z) {
  std::vector<std::string> faults;
  for (const RejectionCount& c : counts) {
    if (c.plantedFraction > 0) continue;
    const std::pair<int, double> levels[] = {{c.atAlpha05, kAlpha05}, {c.atAlpha01, kAlpha01}};
    for (const auto& [hits, alpha] : levels) {
      const Interval interval = WilsonInterval(hits, c.trials, z);
      if (interval.low > alpha) {
        char line[256];
        std::snprintf(line, sizeof line, "%s, %s null, %s catalogs: %d of %d at alpha %.2f (%.1f %%, interval %.1f-%.1f %%)",
                      c.statistic.c_str(), c.null.c_str(), c.catalogs.c_str(), hits, c.trials, alpha,
                      100.0 * hits / c.trials, 100 * interval.low, 100 * interval.high);
        faults.push_back(line);
      }
    }
  }
  return faults;
}

namespace {

std::string Rate(int hits, int trials) {
  const Interval ci = WilsonInterval(hits, trials, kZ95);
  char text[64];
  std::snprintf(text, sizeof text, "%.1f %% (%.1f-%.1f)", 100.0 * hits / trials, 100 * ci.low, 100 * ci.high);
  return text;
}

}  // namespace

std::string CalibrationTable(const std::vector<RejectionCount>& counts, const CalibrationPlan& plan) {
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line,
                "Size: share of null catalogs with p <= alpha (95 %% Wilson interval); %d catalogs per kind,\n"
                "%d replicates per test, %s geometry, within %g deg, shifts up to %g years, seed %llu.\n"
                "p-values count as printed (never below the resolution floor). Per-planet rows pool the\n"
                "planets (trials = catalogs x planets, so their intervals are too narrow by the planets'\n"
                "correlation).\n\n",
                plan.catalogs, plan.replicates, GeometryName(plan.geometry), plan.withinDeg, plan.maxShiftYears,
                static_cast<unsigned long long>(plan.seed));
  out += line;
  out += "| statistic | null | catalogs | trials | alpha = 0.05 | alpha = 0.01 |\n|---|---|---|---|---|---|\n";
  for (const RejectionCount& c : counts) {
    if (c.plantedFraction > 0) continue;
    std::snprintf(line, sizeof line, "| %s | %s | %s | %d | %s | %s |\n", c.statistic.c_str(), c.null.c_str(),
                  c.catalogs.c_str(), c.trials, Rate(c.atAlpha05, c.trials).c_str(),
                  Rate(c.atAlpha01, c.trials).c_str());
    out += line;
  }
  if (plan.plantedFractions.empty()) return out;
  std::snprintf(line, sizeof line,
                "\nPower: share of %d %s catalogs per share f with the flares planted within 3 deg\n"
                "of Jupiter that give p <= 0.05 (p <= 0.01 in brackets).\n\n",
                plan.powerCatalogs, CatalogKindName(plan.powerKind));
  out += line;
  out += "| statistic | null |";
  for (double f : plan.plantedFractions) {
    std::snprintf(line, sizeof line, " f = %g %% |", f * 100);
    out += line;
  }
  out += "\n|---|---|";
  for (std::size_t i = 0; i < plan.plantedFractions.size(); ++i) out += "---|";
  out += "\n";
  std::map<std::string, std::map<double, const RejectionCount*>> power;
  std::vector<std::string> order;
  for (const RejectionCount& c : counts) {
    if (c.plantedFraction <= 0) continue;
    const std::string key = c.statistic + "|" + c.null;
    if (power.find(key) == power.end()) order.push_back(key);
    power[key][c.plantedFraction] = &c;
  }
  for (const std::string& key : order) {
    const RejectionCount& first = *power[key].begin()->second;
    out += "| " + first.statistic + " | " + first.null + " |";
    for (double f : plan.plantedFractions) {
      const RejectionCount* c = power[key][f];
      std::snprintf(line, sizeof line, " %.0f %% (%.0f %%) |", 100.0 * c->atAlpha05 / c->trials,
                    100.0 * c->atAlpha01 / c->trials);
      out += line;
    }
    out += "\n";
  }
  return out;
}

}  // namespace barywalk
