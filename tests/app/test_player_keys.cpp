// The player from the keyboard: each shortcut, typed as real keys through
// the X server while a number field has the focus, leaves the player as a
// real click on its button does, and the buttons' tool tips name the keys.
#include <string>
#include <vector>

#include "dialog_fixture.h"

namespace {

struct Shortcut {
  long button;  // the button's identifier
  char key;            // with Ctrl
};

// A run through the player's states from a held player well past the
// start: turn round, play on, hold, rewind while held, stop, play from the
// stop, stop. Ticks of the running timer may fall between the action and
// the look, so no step looks at where a running clock stands. Built on
// first use: the identifiers are allocated when the program starts.
const std::vector<Shortcut>& Steps() {
  static const std::vector<Shortcut> steps = {
      {BarywalkDialog::ID_BUTTON5, 'B'}, {BarywalkDialog::ID_BUTTON6, 'F'},
      {BarywalkDialog::ID_BUTTON7, 'P'}, {BarywalkDialog::ID_BUTTON3, 'R'},
      {BarywalkDialog::ID_BUTTON8, 'T'}, {BarywalkDialog::ID_BUTTON6, 'F'},
      {BarywalkDialog::ID_BUTTON8, 'T'},
  };
  return steps;
}

// What the user sees of the player and whether it would refuse to read
// flare files ("Simulation ongoing, stop it first.").
struct Seen {
  bool playing, paused, reverse, forwardDown, reverseDown, clipEnabled, atStart;
  bool operator==(const Seen& o) const {
    return playing == o.playing && paused == o.paused && reverse == o.reverse &&
           forwardDown == o.forwardDown && reverseDown == o.reverseDown &&
           clipEnabled == o.clipEnabled && atStart == o.atStart;
  }
};

class PlayerKeysTest : public DialogTest {
 protected:
  wxWindow* Button(long id) {
    wxWindow* button = dialog->FindWindow(id);
    EXPECT_NE(button, nullptr);
    return button;
  }

  Seen Look(bool rewound) {
    access->Timer().Stop();  // no more ticks until the next action
    return Seen{access->Playing(),
                access->Paused(),
                access->Reverse(),
                access->PlayForwardButton()->GetValue(),
                access->PlayReverseButton()->GetValue(),
                access->ClipArea()->IsEnabled(),
                rewound && access->SimTime() == access->StartTime()};
  }

  // A player held 100 days after the start, the number field focused and
  // the pointer on the dialog, as a user who has just typed an increment.
  void Restart() {
    access->Stop();
    access->Rewind();
    access->PlayForward();
    for (int i = 0; i < 20; ++i) access->Tick();
    access->Pause();
    access->Increment()->SetFocus();
    guitest::MovePointerTo(dialog, wxPoint(10, 10));
    guitest::PumpEvents();
  }

  std::vector<Seen> Run(bool byKeys) {
    Restart();
    std::vector<Seen> seen;
    for (const Shortcut& step : Steps()) {
      if (byKeys) {
        guitest::PressKey(step.key, wxMOD_CONTROL);
      } else {
        wxWindow* button = Button(step.button);
        guitest::ClickAt(button, wxPoint(button->GetSize().x / 2, button->GetSize().y / 2));
      }
      seen.push_back(Look(step.key == 'R'));
    }
    return seen;
  }
};

TEST_F(PlayerKeysTest, EachShortcutDoesWhatItsButtonDoes) {
  SetRun(wxDateTime(1, wxDateTime::Jan, 1990), wxDateTime(1, wxDateTime::Jan, 2030), 5);
  const std::vector<Seen> clicked = Run(false);
  const std::vector<Seen> typed = Run(true);
  ASSERT_EQ(typed.size(), Steps().size());
  for (std::size_t i = 0; i < Steps().size(); ++i) {
    EXPECT_TRUE(typed[i] == clicked[i]) << "step " << i << ": Ctrl+" << Steps()[i].key;
  }
  // The run did go through its states: a real check, not two idle players.
  EXPECT_TRUE(clicked[0].playing && clicked[0].reverse && clicked[0].reverseDown);
  EXPECT_TRUE(clicked[1].playing && !clicked[1].reverse && clicked[1].forwardDown);
  EXPECT_TRUE(clicked[2].paused && !clicked[2].clipEnabled);
  EXPECT_TRUE(clicked[3].paused && clicked[3].atStart);
  EXPECT_TRUE(!clicked[4].playing && !clicked[4].paused && clicked[4].clipEnabled);
  EXPECT_TRUE(clicked[5].playing && clicked[5].forwardDown);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PlayerKeysTest, ToolTipsNameTheKeys) {
  for (const Shortcut& step : Steps()) {
    const wxString tip = Button(step.button)->GetToolTipText();
    EXPECT_TRUE(tip.EndsWith(wxString::Format(" (Ctrl+%c)", step.key))) << tip;
  }
}

}  // namespace
