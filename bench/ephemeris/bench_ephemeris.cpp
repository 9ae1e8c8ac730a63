// Cost of the ephemeris per frame: one PlanetPosition pass over the nine
// planets (2006 series terms plus twice Pluto's 43), and the whole Sun state.
// Target: a nine-planet pass within 25 microseconds.
#include <benchmark/benchmark.h>

#include "bench_dates.h"
#include "ephemeris/barycenter.h"
#include "ephemeris/planets.h"

namespace {

using barywalk::bench::NextJulianDay;

void BM_NinePlanetPass(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    const double now = NextJulianDay(jd);
    for (barywalk::Planet planet : barywalk::kAllPlanets) {
      double L = 0, R = 0;
      barywalk::PlanetPosition(planet, now, L, R);
      benchmark::DoNotOptimize(L);
      benchmark::DoNotOptimize(R);
    }
  }
}
BENCHMARK(BM_NinePlanetPass)->Unit(benchmark::kMicrosecond);

void BM_ComputeSunState(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(barywalk::ComputeSunState(NextJulianDay(jd), 640));
  }
}
BENCHMARK(BM_ComputeSunState)->Unit(benchmark::kMicrosecond);

// Far from J2000 the longitude reduction has thousands of turns to remove.
void BM_NinePlanetPassYearZero(benchmark::State& state) {
  for (auto _ : state) {
    for (barywalk::Planet planet : barywalk::kAllPlanets) {
      double L = 0, R = 0;
      barywalk::PlanetPosition(planet, 1721059.5, L, R);
      benchmark::DoNotOptimize(L);
      benchmark::DoNotOptimize(R);
    }
  }
}
BENCHMARK(BM_NinePlanetPassYearZero)->Unit(benchmark::kMicrosecond);

}  // namespace
