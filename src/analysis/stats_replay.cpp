#include "analysis/stats_replay.h"

#include <cmath>

#include "ephemeris/planets.h"
#include "flares/flare_symbols.h"
#include "simulation/player.h"
#include "simulation/sim_clock.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

// Progress is reported every this many ticks.
constexpr std::int64_t kProgressTicks = 65536;

// The flare statistics of the frame drawn at `simTime`.
void RecordFrame(FlareStatMap& stats, const FlareMap& flares, const PlayForwardRun& run,
                 double simTime, double sunRadius, double maxFlareSize) {
  const FlareWindow window = FlareVisibilityWindow(simTime, run.useDuration, run.durationMinutes,
                                                   run.incrementDays);
  const FlareRange range = FlaresInWindow(flares, window);
  if (range.first == range.second) return;
  // The Sun's centre moves the symbols, not their size or angle: the
  // statistics do not depend on it.
  const FlareFrame frame =
      MakeFlareFrame(simTime, run.scaleFactor, 0, 0, sunRadius, run.scaling, maxFlareSize);
  PlanetLongitudes longitudes;
  bool filled = false;
  const FlareSymbolVisitor record = FlareStatRecorder(stats, longitudes);
  ForEachFlareSymbol(flares, window, frame,
                     [&](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
                       if (!filled) {
                         FillPlanetLongitudes(AllPlanetPositions(simTime), longitudes);
                         filled = true;
                       }
                       record(jd, flare, symbol);
                     });
}

}  // namespace

std::int64_t EstimatedTickCount(const PlayForwardRun& run) {
  const double ticks = std::ceil((run.endTime - run.startTime) / ClampIncrement(run.incrementDays));
  return ticks >= 1 && ticks < 9e18 ? static_cast<std::int64_t>(ticks) : 1;
}

FlareStatMap ReplayPlayForwardStats(const FlareMap& flares, const PlayForwardRun& run,
                                    const std::function<void(std::int64_t)>& progress) {
  FlareStatMap stats;
  const double maxFlareSize = MaxFlareSize(flares, run.scaling);  // as Play forward computes it
  const double sunRadius = MakeViewGeometry(run.panelWidth, run.panelWidth).scale;
  Player player(run.panelWidth);
  player.Reset(run.startTime, run.endTime);
  player.Play(false);
  for (std::int64_t tick = 1; player.Playing(); ++tick) {
    // The clock alone: the statistics do not depend on the Sun's place.
    player.StepClock(run.incrementDays);
    RecordFrame(stats, flares, run, player.SimTime(), sunRadius, maxFlareSize);
    if (progress && player.Playing() && tick % kProgressTicks == 0) progress(tick);
  }
  return stats;
}

}  // namespace barywalk
