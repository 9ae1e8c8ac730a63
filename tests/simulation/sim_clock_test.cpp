// The player's clock step and the player built on it: when a run ends,
// where its time is left, and which ticks feed the trail. The dialog's
// player tests check its buttons and the increment's range.
#include "simulation/sim_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "ephemeris/barycenter.h"
#include "simulation/player.h"

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

// A forward run from a stop, tick by tick: every tick but the last offers
// its point; the 10-day rule of the trail keeps those more than 10 days
// apart. Showing another time afterwards moves the Sun but keeps the trail.
TEST(Player, PlaysForwardsUntilTheEndAndFeedsTheTrailOnTheWay) {
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
    barywalk::Player player(640);
    player.Reset(c.start, c.end);
    player.Play(false);
    EXPECT_EQ(player.SimTime(), c.start);
    EXPECT_TRUE(player.Path().Points().empty());
    double previous = c.start;
    std::size_t offered = 0;
    double lastKept = -1e9;
    std::int64_t ticks = 0;
    while (player.Playing()) {
      const bool ended = player.Step(c.increment);
      ++ticks;
      EXPECT_EQ(ended, !player.Playing());
      EXPECT_GT(player.SimTime(), previous);
      EXPECT_EQ(player.PrevTime(), previous);
      previous = player.SimTime();
      const barywalk::SunState sun = barywalk::ComputeSunState(player.SimTime(), 640);
      EXPECT_EQ(player.SunOffset().x, sun.offsetX);
      EXPECT_EQ(player.SunAccel().y, sun.accelY);
      if (!ended && player.SimTime() - lastKept > 10) {
        ++offered;
        lastKept = player.SimTime();
      }
      EXPECT_EQ(player.Path().Points().size(), offered);
    }
    EXPECT_TRUE(player.Stopped());
    EXPECT_GE(player.SimTime(), c.end);
    EXPECT_LE(player.SimTime() - std::fmax(c.increment, 1.0 / 1440), c.end);  // one step at most
    EXPECT_EQ(ticks, barywalk::CountForwardTicks(c.start, c.end, c.increment));
    EXPECT_FALSE(player.Step(c.increment));  // stopped: the time stands
    EXPECT_EQ(player.SimTime(), previous);
    const std::size_t points = player.Path().Points().size();
    player.ShowAt(c.start + 0.25);
    EXPECT_EQ(player.SimTime(), c.start + 0.25);
    EXPECT_EQ(player.SunOffset().x, barywalk::ComputeSunState(c.start + 0.25, 640).offsetX);
    EXPECT_EQ(player.Path().Points().size(), points);
  }
}

// Paused or playing backwards the time holds or falls and the trail takes
// nothing; a reset keeps the state and empties the trail.
TEST(Player, OnlyForwardPlayFeedsTheTrail) {
  const double start = 2451545.0, end = 2451645.0;
  barywalk::Player player(640);
  player.Reset(start, end);
  player.Play(false);
  player.Step(20);
  ASSERT_EQ(player.Path().Points().size(), 1u);
  player.Pause();
  EXPECT_FALSE(player.Step(20));
  EXPECT_EQ(player.SimTime(), start + 20);
  player.Play(true);
  EXPECT_FALSE(player.Step(20));  // back onto the start: still playing
  EXPECT_EQ(player.SimTime(), start);
  EXPECT_TRUE(player.Step(20));  // below the start: the run ends there
  EXPECT_EQ(player.SimTime(), start - 20);
  EXPECT_EQ(player.Path().Points().size(), 1u);
  player.Play(false);
  player.Reset(start, end);
  EXPECT_TRUE(player.Playing());
  EXPECT_TRUE(player.Path().Points().empty());
}

}  // namespace
