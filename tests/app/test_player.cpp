// The simulation clock and the player, driven through the dialog's
// handlers with the timer stopped: every tick is one UpdateFrame.
#include <cstdlib>
#include <cstring>

#include "dialog_fixture.h"
#include "ephemeris/barycenter.h"

namespace {

const wxDateTime kDay(1, wxDateTime::Jan, 2000);
const wxDateTime kNextDay(2, wxDateTime::Jan, 2000);
const wxDateTime kFarEnd(1, wxDateTime::Jan, 2040);

class PlayerTest : public DialogTest {
 protected:
  bool ForwardPressed() const { return access->PlayForwardButton()->GetValue(); }
  bool ReversePressed() const { return access->PlayReverseButton()->GetValue(); }
  bool ClippingEnabled() const {
    EXPECT_EQ(access->ClipArea()->IsEnabled(), access->ClipLimit()->IsEnabled());
    return access->ClipArea()->IsEnabled();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) access->Tick();
  }
};

TEST_F(PlayerTest, OneDayRunForwardStopsOnReachingTheEnd) {
  SetRun(kDay, kNextDay, 0.5);
  access->PlayForward();
  const double start = access->StartTime();
  EXPECT_DOUBLE_EQ(access->EndTime(), start + 1);
  EXPECT_DOUBLE_EQ(access->SimTime(), start);
  EXPECT_TRUE(access->Playing());
  EXPECT_TRUE(ForwardPressed());
  EXPECT_FALSE(ReversePressed());

  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), start + 0.5);
  EXPECT_DOUBLE_EQ(access->PrevTime(), start);
  ASSERT_EQ(access->SunPath().Points().size(), 1u);  // offered and kept
  EXPECT_DOUBLE_EQ(access->SunPath().LastTime(), start + 0.5);
  EXPECT_DOUBLE_EQ(access->SunPath().Points().back().x, access->SunOffset().x);

  // An emptied trail keeps any point offered to it: nothing is offered on
  // the tick that ends the run.
  access->SunPath().Clear();
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), start + 1);
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(access->Paused());
  EXPECT_TRUE(access->SunPath().Points().empty());
  EXPECT_FALSE(ForwardPressed());
  EXPECT_FALSE(ReversePressed());
  // The frame is drawn for the end time.
  const barywalk::SunState sun = barywalk::ComputeSunState(start + 1, 640);
  EXPECT_DOUBLE_EQ(access->SunOffset().x, sun.offsetX);
  EXPECT_DOUBLE_EQ(access->SunOffset().y, sun.offsetY);

  // Stopped: further ticks redraw the same time.
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), start + 1);
  EXPECT_DOUBLE_EQ(access->PrevSunOffset().x, access->SunOffset().x);
}

TEST_F(PlayerTest, ReverseFromStoppedDrawsOneFrameBelowTheStart) {
  SetRun(kDay, kFarEnd, 0.25);
  access->SunPath().AddPoint(2451000, {1, 1});
  access->PlayReverse();
  EXPECT_TRUE(access->Playing());
  EXPECT_TRUE(access->Reverse());
  EXPECT_TRUE(access->SunPath().Points().empty());  // reset clears the trail

  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() - 0.25);
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(access->Paused());
  EXPECT_TRUE(access->SunPath().Points().empty());  // reverse offers nothing
  EXPECT_FALSE(ReversePressed());
}

TEST_F(PlayerTest, BackwardStepLandingOnTheStartGoesOn) {
  SetRun(kDay, kFarEnd, 0.5);
  access->PlayForward();
  access->Tick();
  access->Pause();
  access->PlayReverse();  // continues from start + 0.5
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 0.5);
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  EXPECT_TRUE(access->Playing());
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() - 0.5);
  EXPECT_FALSE(access->Playing());
}

TEST_F(PlayerTest, RewindWhilePlayingKeepsPlayingWithButtonsReleased) {
  SetRun(kDay, kFarEnd, 2);
  access->PlayForward();
  Ticks(3);
  access->Rewind();
  EXPECT_TRUE(access->Playing());
  EXPECT_FALSE(access->Reverse());
  EXPECT_FALSE(ForwardPressed());
  EXPECT_FALSE(ReversePressed());
  // Rewind draws at once, and that frame already advances one step.
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 2);
  ASSERT_EQ(access->SunPath().Points().size(), 1u);
  EXPECT_DOUBLE_EQ(access->SunPath().LastTime(), access->StartTime() + 2);
}

TEST_F(PlayerTest, PauseHoldsThenPlayContinuesWithTrailAndTime) {
  SetRun(kDay, kFarEnd, 6);
  access->PlayForward();
  Ticks(3);  // 6, 12, 18 days: stored at 6 and 18
  access->Pause();
  EXPECT_FALSE(access->Playing());
  EXPECT_TRUE(access->Paused());
  EXPECT_FALSE(ForwardPressed());
  const double held = access->SimTime();
  Ticks(2);
  EXPECT_DOUBLE_EQ(access->SimTime(), held);
  EXPECT_EQ(access->SunPath().Points().size(), 2u);

  access->FlareStats().emplace(1, barywalk::FlareStat(held, 100, 0, "Earth", 0, 0));
  access->PlayForward();
  EXPECT_TRUE(access->FlareStats().empty());
  EXPECT_DOUBLE_EQ(access->SimTime(), held);
  EXPECT_EQ(access->SunPath().Points().size(), 2u);
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), held + 6);
}

TEST_F(PlayerTest, PauseStopPlayRestartsAtTheStartWithAnEmptyTrail) {
  SetRun(kDay, kFarEnd, 11);
  access->PlayForward();
  Ticks(3);
  access->Pause();
  access->Stop();
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(access->Paused());
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 33);  // held
  access->PlayForward();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  EXPECT_TRUE(access->SunPath().Points().empty());
}

TEST_F(PlayerTest, PlayTurnsTheDirectionWithoutReset) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();
  Ticks(3);
  access->PlayReverse();
  EXPECT_TRUE(access->Reverse());
  EXPECT_FALSE(ForwardPressed());
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 3);
  const size_t stored = access->SunPath().Points().size();
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 2);
  EXPECT_EQ(access->SunPath().Points().size(), stored);  // reverse leaves the trail
  access->PlayForward();
  EXPECT_FALSE(access->Reverse());
  EXPECT_TRUE(ForwardPressed());
  EXPECT_FALSE(ReversePressed());
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 2);
}

TEST_F(PlayerTest, OnlyStopEnablesTheClippingControlsAgain) {
  SetRun(kDay, kNextDay, 0.5);
  EXPECT_TRUE(ClippingEnabled());
  access->PlayForward();
  EXPECT_FALSE(ClippingEnabled());
  access->Pause();
  EXPECT_FALSE(ClippingEnabled());
  access->PlayReverse();
  EXPECT_FALSE(ClippingEnabled());
  access->PlayForward();
  Ticks(3);  // the run ends by itself
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(ClippingEnabled());
  access->Rewind();
  EXPECT_FALSE(ClippingEnabled());
  access->LogScale()->Enable(false);
  access->Stop();
  EXPECT_TRUE(ClippingEnabled());
  EXPECT_TRUE(access->LogScale()->IsEnabled());
}

TEST_F(PlayerTest, IncrementChangesAtTheNextTickDatesAtTheNextReset) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();
  access->Tick();
  access->Increment()->SetValue(3);
  access->StartDate()->SetValue(wxDateTime(1, wxDateTime::Jan, 2010));
  access->Tick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 4);
  const double oldStart = access->StartTime();
  access->Rewind();
  EXPECT_NEAR(access->StartTime() - oldStart, 3653, 1e-9);  // 2000 to 2010
}

TEST_F(PlayerTest, TimerTickDoesNothingWhileTheTimerIsStopped) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();  // the helper stops the timer again
  access->TimerTick();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  access->Timer().Start(100000);  // running, but no event will come in time
  access->TimerTick();
  access->Timer().Stop();
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime() + 1);
}

// At 0.11 days per step the trail keeps the first position and then the
// position of every 91st step (90 steps are 9.9 days, 91 are 10.01).
TEST_F(PlayerTest, TrailKeepsOnePointPerMoreThanTenDays) {
  SetRun(kDay, kFarEnd, 0.11);
  access->PlayForward();
  const double start = access->StartTime();
  access->Tick();
  EXPECT_EQ(access->SunPath().Points().size(), 1u);
  Ticks(90);  // step 91: 9.9 days after the first point
  EXPECT_EQ(access->SunPath().Points().size(), 1u);
  access->Tick();  // step 92
  EXPECT_EQ(access->SunPath().Points().size(), 2u);
  EXPECT_NEAR(access->SunPath().LastTime(), start + 92 * 0.11, 1e-6);
  Ticks(91);  // step 183
  EXPECT_EQ(access->SunPath().Points().size(), 3u);
  EXPECT_NEAR(access->SunPath().LastTime(), start + 183 * 0.11, 1e-6);
}

// A confirmed entry stays inside the control's range; while the user is
// still typing the clock keeps to that range itself.
TEST_F(PlayerTest, UnconfirmedIncrementStaysInsideItsRange) {
  SetRun(kDay, kFarEnd, 1);
  access->PlayForward();
  access->Increment()->SetText("-5");
  access->Tick();
  EXPECT_NEAR(access->SimTime(), access->StartTime() + 1.0 / 1440.0, 1e-9);
  access->Increment()->SetText("9999");
  access->Tick();
  EXPECT_NEAR(access->SimTime(), access->StartTime() + 1.0 / 1440.0 + 365, 1e-9);
}

// The start and end are the Julian day numbers of local midnight: with
// the zone at UTC they end in .5; nine hours east they come 9 h earlier.
TEST_F(PlayerTest, StartAndEndFollowTheLocalZone) {
  const char* zone = std::getenv("TZ");
  double shift = 0;
  if (zone && std::strcmp(zone, "UTC") == 0) {
    shift = 0;
  } else if (zone && std::strcmp(zone, "JST-9") == 0) {
    shift = -9.0 / 24.0;
  } else {
    GTEST_SKIP() << "run with TZ=UTC or TZ=JST-9";
  }
  access->StartDate()->SetValue(wxDateTime(1, wxDateTime::Jan, 1980));
  access->EndDate()->SetValue(wxDateTime(1, wxDateTime::Jan, 2040));
  access->ResetSimulation();
  EXPECT_DOUBLE_EQ(access->StartTime(), 2444239.5 + shift);
  EXPECT_DOUBLE_EQ(access->EndTime(), 2466154.5 + shift);
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
}

}  // namespace
