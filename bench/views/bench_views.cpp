// The orbit view's layers one by one, drawn into an off-screen bitmap at
// 640 and 1280 pixels: where a frame's drawing time goes. Needs an X display.
#include <benchmark/benchmark.h>

#include <cstdio>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "ephemeris/barycenter.h"
#include "views/orbit_view.h"

namespace {

using namespace barywalk;

constexpr double kJan1980 = 2444239.5;
constexpr int kTrailPoints = 2200;

// The Sun's trail over 2,200 points 11 days apart, as a forward run stores it.
SolarPath MakeTrail(int size) {
  SolarPath path;
  for (int i = 0; i < kTrailPoints; ++i) {
    const double jd = kJan1980 + i * 11.0;
    const SunState sun = ComputeSunState(jd, size);
    path.AddPoint(jd, {sun.offsetX, sun.offsetY});
  }
  return path;
}

// Runs `draw` (dc, size, sun state) against an off-screen buffer.
template <typename Draw>
void RunLayer(benchmark::State& state, Draw draw) {
  const int size = static_cast<int>(state.range(0));
  wxBitmap buffer(size, size, 24);
  wxMemoryDC dc(buffer);
  const SunState sun = ComputeSunState(kJan1980, size);
  for (auto _ : state) draw(dc, size, sun);
  dc.SelectObject(wxNullBitmap);
}

void BM_Background(benchmark::State& state) {
  RunLayer(state, [](wxDC& dc, int size, const SunState&) { DrawBackground(dc, size, size); });
}

void BM_AllPlanetDirections(benchmark::State& state) {
  std::array<bool, kPlanetCount> shown;
  shown.fill(true);
  PlanetLongitudes longitudes;
  RunLayer(state, [&](wxDC& dc, int size, const SunState& sun) {
    DrawPlanetDirections(dc, size, size, {sun.offsetX, sun.offsetY}, kJan1980, shown, longitudes);
  });
}

void BM_Trail2200(benchmark::State& state) {
  const SolarPath path = MakeTrail(static_cast<int>(state.range(0)));
  RunLayer(state, [&](wxDC& dc, int, const SunState&) { DrawSolarPath(dc, path); });
}

void BM_SunLayerEverythingOn(benchmark::State& state) {
  const SolarPath path = MakeTrail(static_cast<int>(state.range(0)));
  SunLayerOptions options;
  options.orbit = options.acceleration = true;
  RunLayer(state, [&](wxDC& dc, int size, const SunState& sun) {
    DrawSunLayer(dc, size, {sun.offsetX, sun.offsetY}, {sun.accelX, sun.accelY}, kJan1980, options,
                 path);
  });
}

BENCHMARK(BM_Background)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AllPlanetDirections)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trail2200)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SunLayerEverythingOn)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);

}  // namespace
