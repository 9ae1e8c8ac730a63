// The simulation clock and the player, driven through the dialog's
// handlers with the timer stopped: every tick is one UpdateFrame.
#include <cstdlib>
#include <string>

#include "dialog_fixture.h"
#include "ephemeris/barycenter.h"

namespace {

const wxDateTime kDay(1, wxDateTime::Jan, 2000);
const wxDateTime kNextDay(2, wxDateTime::Jan, 2000);
const wxDateTime kFarEnd(1, wxDateTime::Jan, 2040);

// What the user sees of the player, for ExpectPlayer. Any Play locks the
// clipping controls until Stop, also past the end of a run.
enum PlayerState {
  kPlaying = 1, kPaused = 2, kForwardDown = 4, kReverseDown = 8, kClipLocked = 16,
  kStopped = 0,
  kEnded = kClipLocked,
  kHeld = kPaused | kClipLocked,
  kForward = kPlaying | kForwardDown | kClipLocked,
  kBackward = kPlaying | kReverseDown | kClipLocked,
};

class PlayerTest : public DialogTest {
 protected:
  // The state and the simulated time in days after the start.
  void ExpectPlayer(const char* when, int state, double days) {
    SCOPED_TRACE(when);
    EXPECT_EQ(access->Playing(), (state & kPlaying) != 0);
    EXPECT_EQ(access->Paused(), (state & kPaused) != 0);
    EXPECT_EQ(access->PlayForwardButton()->GetValue(), (state & kForwardDown) != 0);
    EXPECT_EQ(access->PlayReverseButton()->GetValue(), (state & kReverseDown) != 0);
    EXPECT_EQ(access->ClipArea()->IsEnabled(), (state & kClipLocked) == 0);
    EXPECT_EQ(access->ClipLimit()->IsEnabled(), (state & kClipLocked) == 0);
    EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + days);
  }
  size_t TrailSize() { return access->SunPath().Points().size(); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) access->Tick();
  }
};

TEST_F(PlayerTest, OneDayRunForwardStopsOnReachingTheEnd) {
  SetRun(kDay, kNextDay, 0.5);
  access->PlayForward();
  const double start = access->StartTime();
  EXPECT_DOUBLE_EQ(access->EndTime(), start + 1);
  ExpectPlayer("play", kForward, 0);

  access->Tick();
  ExpectPlayer("first step", kForward, 0.5);
  ASSERT_EQ(TrailSize(), 1u);  // offered and kept
  EXPECT_DOUBLE_EQ(access->SunPath().LastTime(), start + 0.5);
  EXPECT_DOUBLE_EQ(access->SunPath().Points().back().x, access->SunOffset().x);

  // An emptied trail keeps any point offered to it: nothing is offered on
  // the tick that ends the run.
  access->SunPath().Clear();
  access->Tick();
  ExpectPlayer("end reached", kEnded, 1);
  EXPECT_EQ(TrailSize(), 0u);
  // The frame is drawn for the end time, on the panel as laid out.
  const barywalk::SunState sun = barywalk::ComputeSunState(start + 1, PanelSide());
  EXPECT_DOUBLE_EQ(access->SunOffset().x, sun.offsetX);
  EXPECT_DOUBLE_EQ(access->SunOffset().y, sun.offsetY);

  access->Tick();
  ExpectPlayer("stopped: the same time redrawn", kEnded, 1);

  access->Rewind();
  ExpectPlayer("rewound after the end", kEnded, 0);
  access->LogScale()->Enable(false);
  access->Stop();
  ExpectPlayer("stopped", kStopped, 0);
  EXPECT_TRUE(access->LogScale()->IsEnabled());
}

// Backwards, a step landing exactly on the start goes on and the next one
// ends the run below it; Play reverse from there (stopped) starts over.
TEST_F(PlayerTest, ReverseGoesOneStepBelowTheStart) {
  SetRun(kDay, kFarEnd, 0.5);
  access->PlayForward();
  access->Tick();
  access->Pause();
  access->PlayReverse();
  ExpectPlayer("reverse after pause", kBackward, 0.5);
  EXPECT_EQ(TrailSize(), 1u);
  access->SunPath().Clear();  // an empty trail keeps any point offered to it
  access->Tick();
  ExpectPlayer("on the start", kBackward, 0);
  EXPECT_EQ(TrailSize(), 0u);  // reverse offers nothing
  access->Tick();
  ExpectPlayer("below the start", kEnded, -0.5);

  access->SunPath().AddPoint(2451000, {1, 1});
  access->PlayReverse();
  ExpectPlayer("reverse from stopped", kBackward, 0);
  EXPECT_EQ(TrailSize(), 0u);  // reset clears the trail
  access->Tick();
  ExpectPlayer("below the start again", kEnded, -0.5);
}

// Pause holds; Play goes on from there in either direction without a
// reset; only a Play after Stop starts again at the start date. Rewind
// keeps a running player running.
TEST_F(PlayerTest, PauseTurnStopAndRewind) {
  SetRun(kDay, kFarEnd, 6);
  access->PlayForward();
  Ticks(3);  // 6, 12, 18 days: stored at 6 and 18
  access->Pause();
  Ticks(2);
  ExpectPlayer("paused", kHeld, 18);
  EXPECT_EQ(TrailSize(), 2u);

  access->FlareStats().emplace(1, barywalk::FlareStat(0, 100, 0, "Earth", 0, 0));
  access->PlayForward();
  EXPECT_TRUE(access->FlareStats().empty());  // a forward play measures afresh
  ExpectPlayer("continued", kForward, 18);
  EXPECT_EQ(TrailSize(), 2u);
  access->Tick();
  ExpectPlayer("one step on", kForward, 24);

  access->PlayReverse();
  ExpectPlayer("turned", kBackward, 24);
  access->Tick();
  ExpectPlayer("one step back", kBackward, 18);
  access->PlayForward();
  ExpectPlayer("turned again", kForward, 18);

  access->PlayReverse();
  access->Pause();
  ExpectPlayer("paused backwards", kHeld, 18);
  access->PlayReverse();
  access->Stop();
  ExpectPlayer("stopped", kStopped, 18);
  access->PlayForward();
  ExpectPlayer("restarted", kForward, 0);
  EXPECT_EQ(TrailSize(), 0u);

  Ticks(3);
  access->Rewind();
  // Rewind draws at once, and that frame already advances one step.
  ExpectPlayer("rewound while playing", kForward, 6);
  ASSERT_EQ(TrailSize(), 1u);
  EXPECT_DOUBLE_EQ(access->SunPath().LastTime(), access->StartTime() + 6);
}

// A new increment counts from the next tick (while the user is still
// typing, within the control's range of a minute to a year); new dates
// from the next reset.
TEST_F(PlayerTest, IncrementAtTheNextTickDatesAtTheNextReset) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();
  access->Tick();
  access->Increment()->SetValue(3);
  access->StartDate()->SetValue(wxDateTime(1, wxDateTime::Jan, 2010));
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 4);
  access->Increment()->SetText("-5");
  access->Tick();
  EXPECT_NEAR(access->SimTime(), access->StartTime() + 4 + 1.0 / 1440.0, 1e-9);
  access->Increment()->SetText("9999");
  access->Tick();
  EXPECT_NEAR(access->SimTime(), access->StartTime() + 4 + 1.0 / 1440.0 + 365, 1e-9);
  const double oldStart = access->StartTime();
  access->Rewind();
  EXPECT_NEAR(access->StartTime() - oldStart, 3653, 1e-9);  // 2000 to 2010
}

// A timer event draws only while the timer runs; Quit stops it first, so
// that no late event draws into the closing dialog.
TEST_F(PlayerTest, TimerEventsDrawOnlyWhileTheTimerRuns) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();  // the helper stops the timer again
  access->TimerTick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  access->Timer().Start(100000);  // running, but no event will come in time
  access->TimerTick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 1);
  access->Quit();
  EXPECT_FALSE(access->Timer().IsRunning());
  EXPECT_FALSE(dialog->IsShown());
  access->TimerTick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 1);
}

// At 0.11 days per step the trail keeps the first position and then the
// position of every 91st step (90 steps are 9.9 days, 91 are 10.01).
TEST_F(PlayerTest, TrailKeepsOnePointPerMoreThanTenDays) {
  SetRun(kDay, kFarEnd, 0.11);
  access->PlayForward();
  const double start = access->StartTime();
  access->Tick();
  EXPECT_EQ(TrailSize(), 1u);
  Ticks(90);  // step 91: 9.9 days after the first point
  EXPECT_EQ(TrailSize(), 1u);
  access->Tick();  // step 92
  EXPECT_EQ(TrailSize(), 2u);
  EXPECT_NEAR(access->SunPath().LastTime(), start + 92 * 0.11, 1e-6);
  Ticks(91);  // step 183
  EXPECT_EQ(TrailSize(), 3u);
  EXPECT_NEAR(access->SunPath().LastTime(), start + 183 * 0.11, 1e-6);
}

// The start and end (the default dates) are the Julian day numbers of local
// midnight: with the zone at UTC they end in .5; nine hours east they come
// 9 h earlier.
TEST_F(PlayerTest, StartAndEndFollowTheLocalZone) {
  const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
  if (zone != "UTC" && zone != "JST-9") GTEST_SKIP() << "run with TZ=UTC or TZ=JST-9";
  const double shift = zone == "UTC" ? 0 : -9.0 / 24.0;
  access->ResetSimulation();
  EXPECT_DOUBLE_EQ(access->StartTime(), 2444239.5 + shift);
  EXPECT_DOUBLE_EQ(access->EndTime(), 2466154.5 + shift);
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
}

}  // namespace
