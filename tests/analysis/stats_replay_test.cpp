// The replay of Play forward: which frames it draws and what they record.
// (That it writes what the dialog writes is checked against the dialog
// itself in tests/app.)
#include <gtest/gtest.h>

#include "analysis/stats_replay.h"
#include "flares/solar_flare.h"

namespace barywalk {
namespace {

constexpr double kStart = 2455500.5;  // 2010-11-07 00:00 UTC

// The run's frames are start + k * increment (accumulated), k >= 1: the
// start frame is drawn before Play forward empties the statistics, and the
// frame at the first time past the end is still drawn.
TEST(StatsReplayTest, RecordsTheFramesPlayForwardDraws) {
  PlayForwardRun run;
  run.startTime = kStart;
  run.endTime = kStart + 1.0;
  run.incrementDays = 0.3;  // frames at +0.3, +0.6, +0.9, +1.2 (ends)
  run.durationMinutes = 10;  // +-5 minutes
  const double fiveMinutes = 5.0 / 1440.0;
  FlareMap flares;
  flares.emplace(kStart, SolarFlare(10, 20, 0, 100, 1));                        // start frame only
  flares.emplace(kStart + 0.3 + 0.3 + fiveMinutes * 0.5, SolarFlare(10, 20, 0, 100, 2));
  flares.emplace(kStart + 0.45, SolarFlare(10, 20, 0, 100, 3));                 // between frames
  flares.emplace(kStart + 1.2 - fiveMinutes * 0.9, SolarFlare(10, 20, 0, 100, 4));  // last frame
  flares.emplace(kStart + 1.5, SolarFlare(10, 20, 0, 100, 5));                  // after the run
  const FlareStatMap stats = ReplayPlayForwardStats(flares, run);
  ASSERT_EQ(stats.size(), 2u);
  EXPECT_EQ(stats.count(2), 1u);
  EXPECT_EQ(stats.count(4), 1u);

  // The increment window reaches (increment + 2) days: every flare lies
  // within 2.3 days of some frame.
  run.useDuration = false;
  EXPECT_EQ(ReplayPlayForwardStats(flares, run).size(), 5u);
}

// Symbols of 1 pixel or less are neither drawn nor measured: the panel
// width sets the Sun's radius and so the symbols' size.
TEST(StatsReplayTest, SmallSymbolsAreNotMeasured) {
  PlayForwardRun run;
  run.startTime = kStart;
  run.endTime = kStart + 0.5;
  run.incrementDays = 0.5;
  run.useDuration = false;
  FlareMap flares;
  flares.emplace(kStart + 0.5, SolarFlare(10, 20, 0, 800, 1));  // the largest symbol
  flares.emplace(kStart + 0.5, SolarFlare(10, 20, 0, 1, 2));    // 1/sqrt(800) of it
  // The largest symbol has radius 0.2 * (0.7 * width / 6) pixels; the
  // small flare's is 1/sqrt(800) of it.
  const struct {
    int width;
    std::size_t recorded;
  } cases[] = {{1213, 2}, {1212, 1}, {43, 1}, {42, 0}};
  for (const auto& c : cases) {
    run.panelWidth = c.width;
    EXPECT_EQ(ReplayPlayForwardStats(flares, run).size(), c.recorded) << c.width;
  }
  run.panelWidth = 640;
  run.scaleFactor = 0;
  EXPECT_TRUE(ReplayPlayForwardStats(flares, run).empty());
}

}  // namespace
}  // namespace barywalk
