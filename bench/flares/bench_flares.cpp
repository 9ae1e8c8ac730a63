// Speed of the flare subsystem: loading a large flare file, and one
// frame's flare work with 10,000 flares inside the visibility window.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "ephemeris/planets.h"
#include "flares/flare_file.h"
#include "flares/flare_stat.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr int kMillion = 1000000;

// A flare file of `lines` data lines in the converted sample's style, one
// flare every 8 minutes from 2010 on.
std::string WriteFlareFile(int lines) {
  const std::string path = "/tmp/bench_flares_" + std::to_string(getpid()) + ".flr";
  FILE* file = std::fopen(path.c_str(), "w");
  std::fprintf(file, "JD latitude longitude duration_min area\n");
  for (int i = 0; i < lines; ++i) {
    std::fprintf(file, "%.8f %.1f %.1f %d 0\n", 2455197.5 + i / 180.0, (i % 61) - 30.0,
                 (i % 181) - 90.0, 5 + i % 40);
  }
  std::fclose(file);
  return path;
}

void BM_LoadMillionLineFlareFile(benchmark::State& state) {
  const std::string path = WriteFlareFile(kMillion);
  FlareMap flares;
  for (auto _ : state) {
    const auto reports = LoadFlareFiles({path}, flares);
    benchmark::DoNotOptimize(reports.data());
    if (flares.size() != static_cast<std::size_t>(kMillion)) state.SkipWithError("lost lines");
  }
  std::remove(path.c_str());
  state.counters["lines/s"] =
      benchmark::Counter(static_cast<double>(kMillion), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadMillionLineFlareFile)->Unit(benchmark::kMillisecond)->Iterations(3);

PlanetLongitudes PlanetLongitudesAt(double jd) {
  PlanetLongitudes longitudes;
  for (Planet planet : kAllPlanets) {
    double L = 0.0;
    double R = 0.0;
    PlanetPosition(planet, jd, L, R);
    longitudes[PlanetName(planet)] = L;
  }
  return longitudes;
}

// 100,000 flares loaded, 10,000 of them inside the 300-minute window; the
// statistics already hold every visible flare, as after the first frame.
void BM_FlareFrame10000Visible(benchmark::State& state) {
  const double simTime = 2456000.0;
  const FlareWindow window = FlareVisibilityWindow(simTime, true, 300.0, 0.11);
  FlareMap flares;
  const int total = 100000;
  const double spacing = (window.to - window.from) / 10000.0;
  for (int i = 0; i < total; ++i) {
    const double key = window.from + (i - 45000) * spacing;
    flares.emplace_hint(flares.end(), key,
                        SolarFlare((i % 61) - 30.0, (i % 181) - 90.0, 0.01, 50 + i % 900, i + 1));
  }
  FlareFrame frame;
  frame.scaleFactor = 1.0;
  frame.centreX = 320.0;
  frame.centreY = 320.0;
  frame.sunRadius = 0.7 * 640 / 6;
  frame.maxFlareSize = MaxFlareSize(flares, frame.scaling);
  const PlanetLongitudes planets = PlanetLongitudesAt(simTime);
  FlareStatMap stats;
  int drawn = 0;
  for (auto _ : state) {
    frame.earthLongitude = EarthLongitude(simTime);
    drawn = ForEachFlareSymbol(flares, window, frame,
                               [&](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
                                 RecordFlareStat(stats, planets, flare, jd, symbol.angle);
                               });
    benchmark::DoNotOptimize(drawn);
  }
  state.counters["drawn"] = drawn;
}
BENCHMARK(BM_FlareFrame10000Visible)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace barywalk

BENCHMARK_MAIN();
