// Cost of the flare geometry for the significance Monte Carlo, which places
// many flares at many times: the Stonyhurst frame (one Earth longitude and
// latitude per instant), a flare direction in a ready frame (a few
// multiplications), the nine planets in the frame of date, and the Sun's
// orientation and the helioprojective conversion that the importer uses.
// Targets (CPU time): a flare direction in a ready frame below 0.2
// microseconds, a frame within 5, the nine planets of date within 60 (they
// evaluate the latitude series besides PlanetPosition's 2006 terms).
#include <benchmark/benchmark.h>

#include "bench_dates.h"
#include "ephemeris/flare_direction.h"
#include "ephemeris/planets.h"
#include "ephemeris/sun_orientation.h"

namespace {

using barywalk::bench::NextJulianDay;

void BM_StonyhurstFrameAt(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) benchmark::DoNotOptimize(barywalk::StonyhurstFrameAt(NextJulianDay(jd)));
}
BENCHMARK(BM_StonyhurstFrameAt)->Unit(benchmark::kMicrosecond);

void BM_FlareSiteDirectionInFrame(benchmark::State& state) {
  const barywalk::StonyhurstFrame frame = barywalk::StonyhurstFrameAt(2455197.5);
  double lon = -90;
  for (auto _ : state) {
    lon = lon > 90 ? -90 : lon + 0.7;
    benchmark::DoNotOptimize(barywalk::FlareSiteDirection(frame, 17.0, lon));
  }
}
BENCHMARK(BM_FlareSiteDirectionInFrame)->Unit(benchmark::kNanosecond);

void BM_AllPlanetPositionsOfDate(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(barywalk::AllPlanetPositionsOfDate(NextJulianDay(jd)));
  }
}
BENCHMARK(BM_AllPlanetPositionsOfDate)->Unit(benchmark::kMicrosecond);

void BM_SolarOrientation(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) benchmark::DoNotOptimize(barywalk::SolarOrientation(NextJulianDay(jd)));
}
BENCHMARK(BM_SolarOrientation)->Unit(benchmark::kMicrosecond);

void BM_HelioprojectiveToStonyhurst(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    double lat = 0, lon = 0;
    benchmark::DoNotOptimize(
        barywalk::HelioprojectiveToStonyhurst(NextJulianDay(jd), -412.5, 233.0, lat, lon));
    benchmark::DoNotOptimize(lat);
  }
}
BENCHMARK(BM_HelioprojectiveToStonyhurst)->Unit(benchmark::kMicrosecond);

}  // namespace
