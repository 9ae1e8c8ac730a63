// What the shown dialog shows: the player's buttons as the user sees and
// clicks them (real pointer clicks through the X server, the timer
// running) and the value fields' texts.
#include "dialog_fixture.h"

namespace {

class DialogShowsTest : public DialogTest {
 protected:
  wxWindow* Button(long id) const { return dialog->FindWindow(id); }

  void Click(long id) {
    wxWindow* button = Button(id);
    guitest::ClickAt(button, wxPoint(button->GetSize().x / 2, button->GetSize().y / 2));
  }

  // The pressed play button is the direction that is playing; both are
  // up while the clock stands.
  void ExpectButtonsShowTheClock(const char* when) {
    SCOPED_TRACE(when);
    const bool playing = access->Playing();
    EXPECT_EQ(access->PlayForwardButton()->GetValue(), playing && !access->Reverse());
    EXPECT_EQ(access->PlayReverseButton()->GetValue(), playing && access->Reverse());
  }
};

// Every transition of the player, Rewind while playing either way
// included, and the stops at the end and below the start of a run.
TEST_F(DialogShowsTest, PlayButtonsAlwaysShowTheClock) {
  SetRun(wxDateTime(1, wxDateTime::Jan, 2000), wxDateTime(1, wxDateTime::Jan, 2040), 5);
  access->Timer().Start(repeatingTimerMs);

  Click(BarywalkDialog::ID_BUTTON6);
  ASSERT_TRUE(access->Playing());
  ExpectButtonsShowTheClock("play forward");
  Click(BarywalkDialog::ID_BUTTON3);
  EXPECT_TRUE(access->Playing()) << "Rewind keeps the clock running";
  EXPECT_TRUE(access->PlayForwardButton()->GetValue());
  ExpectButtonsShowTheClock("rewound while playing forward");

  // Far enough from the start that reverse play goes on for a while.
  guitest::PumpUntil([this] { return access->SimTime() > access->StartTime() + 200; });
  Click(BarywalkDialog::ID_BUTTON5);
  ASSERT_TRUE(access->Playing() && access->Reverse());
  ExpectButtonsShowTheClock("turned to reverse");
  Click(BarywalkDialog::ID_BUTTON7);
  ExpectButtonsShowTheClock("paused");
  Click(BarywalkDialog::ID_BUTTON5);
  ExpectButtonsShowTheClock("reverse after pause");
  Click(BarywalkDialog::ID_BUTTON6);
  ExpectButtonsShowTheClock("turned to forward");
  Click(BarywalkDialog::ID_BUTTON5);
  Click(BarywalkDialog::ID_BUTTON3);  // one step back from the start ends the run
  EXPECT_FALSE(access->Playing());
  ExpectButtonsShowTheClock("rewound while playing backwards");
  Click(BarywalkDialog::ID_BUTTON6);
  Click(BarywalkDialog::ID_BUTTON8);
  ExpectButtonsShowTheClock("stopped");
  Click(BarywalkDialog::ID_BUTTON5);  // from the start: below it at once
  guitest::PumpUntil([this] { return !access->Playing(); });
  ExpectButtonsShowTheClock("reverse from stopped");

  SetRun(wxDateTime(1, wxDateTime::Jan, 2000), wxDateTime(2, wxDateTime::Jan, 2000), 0.5);
  Click(BarywalkDialog::ID_BUTTON8);
  Click(BarywalkDialog::ID_BUTTON6);
  EXPECT_TRUE(guitest::PumpUntil([this] { return !access->Playing(); }));
  ExpectButtonsShowTheClock("end of the run reached");
}

// The play buttons keep their whole face, the label line under the
// picture included.
TEST_F(DialogShowsTest, PlayButtonsKeepTheirWholeFace) {
  for (wxPushButton* button : {access->PlayReverseButton(), access->PlayForwardButton()}) {
    EXPECT_EQ(button->GetBestSize(), wxSize(32, 44));
    EXPECT_EQ(button->GetSize(), wxSize(32, 44)) << button->GetName();
  }
}

// Each value field shows the bounds of its range whole, among them the
// increment's one minute, 0.000694444 days.
TEST_F(DialogShowsTest, ValueFieldsShowTheirBoundsWhole) {
  if (guitest::TextScrollOffset(access->Increment()->GetTextCtrl()) < 0)
    GTEST_SKIP() << "not a GTK build";
  for (wxSpinCtrlDbl* spin : {access->Increment(), access->Duration(), access->AccelFactor(),
                              access->ClipLimit(), access->FlareScale()}) {
    const double initial = spin->GetValue();
    for (double bound : {spin->GetMin(), spin->GetMax()}) {
      spin->SetValue(bound);
      wxTextCtrl* field = spin->GetTextCtrl();
      field->SetInsertionPointEnd();
      EXPECT_TRUE(guitest::PumpUntil([field] { return guitest::TextScrollOffset(field) == 0; }))
          << spin->GetName() << " \"" << field->GetValue() << "\" scrolled by "
          << guitest::TextScrollOffset(field);
    }
    spin->SetValue(initial);
  }
  EXPECT_EQ(access->Increment()->GetMin(), 1.0 / 1440.0);
}

}  // namespace
