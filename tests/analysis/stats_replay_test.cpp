// The replay of Play forward: which frames it draws and what they record.
// (That it writes what the dialog writes is checked against the dialog
// itself in tests/app.)
#include <gtest/gtest.h>

#include "analysis/stats_replay.h"
#include "flares/solar_flare.h"

namespace barywalk {
namespace {

constexpr double kStart = 2455500.5;  // 2010-11-07 00:00 UTC

PlayForwardRun RunOf(double days, double incrementDays) {
  PlayForwardRun run;
  run.startTime = kStart;
  run.endTime = kStart + days;
  run.incrementDays = incrementDays;
  return run;
}

// The run's frames are start + k * increment (accumulated), k >= 1: the
// start frame is drawn before Play forward empties the statistics, and the
// frame at the first time past the end is still drawn.
TEST(StatsReplayTest, RecordsTheFramesPlayForwardDraws) {
  PlayForwardRun run = RunOf(1.0, 0.3);  // frames at +0.3, +0.6, +0.9, +1.2 (ends)
  run.durationMinutes = 10;               // +-5 minutes
  const double fiveMinutes = 5.0 / 1440.0;
  FlareMap flares;
  const double times[] = {kStart,                          // start frame only
                          kStart + 0.3 + 0.3 + fiveMinutes * 0.5,
                          kStart + 0.45,                   // between frames
                          kStart + 1.2 - fiveMinutes * 0.9,  // last frame
                          kStart + 1.5};                   // after the run
  for (int i = 0; i < 5; ++i) flares.emplace(times[i], SolarFlare(10, 20, 0, 100, i + 1));
  const FlareStatMap stats = ReplayPlayForwardStats(flares, run);
  ASSERT_EQ(stats.size(), 2u);
  EXPECT_EQ(stats.count(2), 1u);
  EXPECT_EQ(stats.count(4), 1u);
  // The increment window reaches (increment + 2) days: every flare lies
  // within 2.3 days of some frame.
  run.useDuration = false;
  EXPECT_EQ(ReplayPlayForwardStats(flares, run).size(), 5u);
}

// Symbols of 1 pixel or less are neither drawn nor measured. The largest
// symbol has radius 0.2 * (0.7 * width / 6) pixels, so the panel width
// decides; the small flare's is 1/sqrt(800) of it.
TEST(StatsReplayTest, SmallSymbolsAreNotMeasured) {
  PlayForwardRun run = RunOf(0.5, 0.5);
  run.useDuration = false;
  FlareMap flares;
  flares.emplace(kStart + 0.5, SolarFlare(10, 20, 0, 800, 1));
  flares.emplace(kStart + 0.5, SolarFlare(10, 20, 0, 1, 2));
  const std::pair<int, std::size_t> cases[] = {{1213, 2}, {1212, 1}, {43, 1}, {42, 0}};  // width, recorded
  for (const auto& [width, recorded] : cases) {
    run.panelWidth = width;
    EXPECT_EQ(ReplayPlayForwardStats(flares, run).size(), recorded) << width;
  }
  run.panelWidth = 640;
  run.scaleFactor = 0;
  EXPECT_TRUE(ReplayPlayForwardStats(flares, run).empty());
}

}  // namespace
}  // namespace barywalk
