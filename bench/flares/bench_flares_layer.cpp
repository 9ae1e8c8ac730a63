// Speed of drawing the flare layer with 10,000 visible flares into a
// 640 x 640 memory bitmap, statistics included: the flare share of a tick.
#include <benchmark/benchmark.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "flares/flare_layer.h"
#include "flares/flare_stat.h"

namespace barywalk {
namespace {

void BM_DrawFlareLayer10000Visible(benchmark::State& state) {
  const double simTime = 2456000.0;
  const FlareWindow window = FlareVisibilityWindow(simTime, true, 300.0, 0.11);
  FlareMap flares;
  const double spacing = (window.to - window.from) / 10000.0;
  for (int i = 0; i < 10000; ++i) {
    flares.emplace_hint(flares.end(), window.from + i * spacing,
                        SolarFlare((i % 61) - 30.0, (i % 181) - 90.0, 0.01, 50 + i % 900, i + 1));
  }
  FlareFrame frame;
  frame.centreX = 320.0;
  frame.centreY = 320.0;
  frame.sunRadius = 0.7 * 640 / 6;
  frame.maxFlareSize = MaxFlareSize(flares, frame.scaling);
  const PlanetLongitudes planets = {{"Earth", 1.0},   {"Jupiter", 2.0}, {"Mars", 3.0},
                                    {"Mercury", 4.0}, {"Neptune", 5.0}, {"Pluto", 6.0},
                                    {"Saturn", 0.5},  {"Uranus", 1.5},  {"Venus", 2.5}};
  FlareStatMap stats;
  wxBitmap bitmap(640, 640, 24);
  wxMemoryDC dc(bitmap);
  int drawn = 0;
  for (auto _ : state) {
    frame.earthLongitude = EarthLongitude(simTime);
    drawn = DrawFlareLayer(dc, 640, flares, window, frame,
                           [&](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
                             RecordFlareStat(stats, planets, flare, jd, symbol.angle);
                           });
  }
  state.counters["drawn"] = drawn;
}
BENCHMARK(BM_DrawFlareLayer10000Visible)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace barywalk
