// Speed of the flare analyses on the sample catalog (8,302 flares):
// barywalk-flares stats over the dialog's default run, 1980-2040 at 0.11
// days (about 199,000 ticks; target 1 s, against some 100 minutes of
// playing), and barywalk-flares significance with 10,000 replicates on
// both cores in each geometry and under the region null (target 10 s);
// the fixed cost of one test, and a null catalog of the calibration suite.
#include <algorithm>
#include <thread>

#include <benchmark/benchmark.h>

#include "analysis/null_catalog.h"
#include "analysis/significance.h"
#include "analysis/stats_replay.h"
#include "flares/flare_file.h"

namespace barywalk {
namespace {

constexpr double kJan1980 = 2444239.5;
constexpr double kJan2040 = 2466154.5;

const FlareMap& Sample() {
  static const FlareMap flares = [] {
    FlareMap loaded;
    LoadFlareFiles({FLARE_SAMPLE_FILE}, loaded);
    return loaded;
  }();
  return flares;
}

// Argument: 1 for the duration window (300 minutes, the default), 0 for
// the increment's window of (0.11 + 2) days.
void BM_StatsDefaultRun(benchmark::State& state) {
  PlayForwardRun run;
  run.startTime = kJan1980;
  run.endTime = kJan2040;
  run.useDuration = state.range(0) != 0;
  std::size_t records = 0;
  for (auto _ : state) records = ReplayPlayForwardStats(Sample(), run).size();
  state.counters["flares"] = static_cast<double>(records);
}
BENCHMARK(BM_StatsDefaultRun)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Arguments: the null (0 shift, 1 region) and the geometry (0 plane,
// 1 longitude, 2 sphere). The region null in the sphere geometry is
// refused by the command, so it is not timed.
void BM_Significance10000Replicates(benchmark::State& state) {
  SignificanceOptions options;
  options.planets = DefaultPlanetSet();
  options.replicates = 10000;
  options.histogramBins = 0;  // as without --plot
  options.threads = std::max(1u, std::thread::hardware_concurrency());
  options.null = state.range(0) == 0 ? NullModel::ShiftPlanets : NullModel::ShiftRegions;
  options.geometry = static_cast<Geometry>(state.range(1));
  for (auto _ : state) {
    const SignificanceResult result = TestSignificance(Sample(), options);
    benchmark::DoNotOptimize(result.familyWiseP);
  }
  state.counters["threads"] = options.threads;
}
BENCHMARK(BM_Significance10000Replicates)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// The part of a test that does not depend on the replicates (the planets'
// tables over the flares' span and the shifts, the observed angles), on
// one thread: what each catalog of the calibration pays before its first
// replicate. Argument: the geometry.
void BM_SignificanceFixedCost(benchmark::State& state) {
  SignificanceOptions options;
  options.planets = DefaultPlanetSet();
  options.replicates = 1;
  options.histogramBins = 0;
  options.geometry = static_cast<Geometry>(state.range(0));
  for (auto _ : state) {
    const SignificanceResult result = TestSignificance(Sample(), options);
    benchmark::DoNotOptimize(result.familyWiseP);
  }
}
BENCHMARK(BM_SignificanceFixedCost)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

// One synthetic null catalog of the calibration (2010-2018, the default
// active-region model: some 7,500 flares).
void BM_GenerateNullCatalog(benchmark::State& state) {
  std::uint64_t seed = 1;
  std::size_t flares = 0;
  for (auto _ : state) {
    flares = GenerateActiveRegionFlares(ActiveRegionModel(), 2455197.5, 2458484.5, seed++).size();
  }
  state.counters["flares"] = static_cast<double>(flares);
}
BENCHMARK(BM_GenerateNullCatalog)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace barywalk

BENCHMARK_MAIN();
