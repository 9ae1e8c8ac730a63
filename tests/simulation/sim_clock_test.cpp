// The player's clock step and the forward run built on it: when a run
// ends, where its time is left, and which ticks feed the trail. The
// dialog's player tests check the increment's range and that only forward
// play feeds the trail.
#include "simulation/sim_clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ephemeris/barycenter.h"
#include "simulation/forward_run.h"

namespace {

using barywalk::AdvanceClock;

TEST(SimClock, AStepEndsTheRunOnlyAtOrPastItsEnd) {
  struct Case {
    const char* what;
    double time, increment;
    bool reverse;
    double expectedTime;
    bool ends;
  };
  const double start = 100, end = 101;
  const Case cases[] = {
      {"forwards inside", 100, 0.5, false, 100.5, false},
      {"forwards onto the end", 100.5, 0.5, false, 101, true},
      {"forwards past the end, not clamped", 100.9, 0.5, false, 101.4, true},
      {"backwards onto the start", 100.5, 0.5, true, 100, false},
      {"backwards below the start", 100, 0.5, true, 99.5, true},
      {"a NaN increment takes one minute", 100, NAN, false, 100 + 1.0 / 1440, false},
      {"too large an increment takes a year", 100, 1000, false, 465, true},
  };
  for (const Case& c : cases) {
    double time = c.time;
    EXPECT_EQ(AdvanceClock(time, c.increment, c.reverse, start, end), c.ends) << c.what;
    EXPECT_DOUBLE_EQ(time, c.expectedTime) << c.what;
  }
}

// A run of whole ticks: every tick but the last offers its point; the
// 10-day rule of the trail keeps those more than 10 days apart. Showing
// another time afterwards moves the Sun but keeps the trail.
TEST(ForwardRun, TicksUntilTheEndAndFeedsTheTrailOnTheWay) {
  struct Case {
    double start, end, increment;
  };
  const Case cases[] = {
      {2451545.0, 2451546.0, 0.5},   // ends exactly on the end
      {2451545.0, 2451645.0, 7.3},   // passes the end
      {2451545.0, 2451545.0, 1.0},   // start = end: one tick
      {2444239.5, 2444339.5, 0.11},  // the dialog's increment
  };
  for (const Case& c : cases) {
    barywalk::ForwardRun run(c.start, c.end, c.increment, 640);
    EXPECT_EQ(run.SimTime(), c.start);
    EXPECT_TRUE(run.Path().Points().empty());
    double previous = c.start;
    std::size_t offered = 0;
    double lastKept = -1e9;
    while (run.Tick()) {
      EXPECT_GT(run.SimTime(), previous);
      previous = run.SimTime();
      const barywalk::SunState sun = barywalk::ComputeSunState(run.SimTime(), 640);
      EXPECT_EQ(run.SunOffset().x, sun.offsetX);
      EXPECT_EQ(run.SunAccel().y, sun.accelY);
      if (!run.Ended() && run.SimTime() - lastKept > 10) {
        ++offered;
        lastKept = run.SimTime();
      }
      EXPECT_EQ(run.Path().Points().size(), offered);
    }
    EXPECT_GE(run.SimTime(), c.end);
    EXPECT_LE(run.SimTime() - std::fmax(c.increment, 1.0 / 1440), c.end);  // one step at most
    EXPECT_EQ(run.Ticks(), barywalk::CountForwardTicks(c.start, c.end, c.increment));
    EXPECT_FALSE(run.Tick());  // nothing after the end
    const std::size_t points = run.Path().Points().size();
    run.ShowAt(c.start + 0.25);
    EXPECT_EQ(run.SimTime(), c.start + 0.25);
    EXPECT_EQ(run.SunOffset().x, barywalk::ComputeSunState(c.start + 0.25, 640).offsetX);
    EXPECT_EQ(run.Path().Points().size(), points);
  }
}

}  // namespace
