// wxSpinCtrlDbl in a real window. User input is delivered as the events the
// toolkit produces for it (keys to the text field, arrow-button spin events,
// Enter, focus loss), so the tests do not depend on the shared pointer and
// keyboard focus of the X display.
#include <climits>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <wx/panel.h>
#include <wx/spinbutt.h>

#include "controls/spin_ctrl_dbl.h"
#include "gui_test_support.h"

namespace {

class SpinCtrlDblTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel = new wxPanel(guitest::TopFrame(), wxID_ANY, wxPoint(0, 0), wxSize(600, 400));
    panel->Bind(wxEVT_COMMAND_SPINCTRL_UPDATED, [this](wxCommandEvent& event) {
      ++updates;
      lastInt = event.GetInt();
      lastString = event.GetString();
      lastObject = event.GetEventObject();
    });
    panel->Bind(wxEVT_COMMAND_TEXT_UPDATED, [this](wxCommandEvent&) { ++textEvents; });
  }
  void TearDown() override { panel->Destroy(); }

  // As the dialog creates them: integer bounds and initial value.
  wxSpinCtrlDbl* Make(int min, int max, int initial, const wxSize& size = wxDefaultSize) {
    return new wxSpinCtrlDbl(panel, wxID_ANY, wxEmptyString, wxPoint(10, 10), size, 0, min, max,
                             initial, "ID_SPINCTRL2");
  }

  // What GTK does for typed text: mark the field modified, then report it.
  static void Type(wxSpinCtrlDbl* spin, const wxString& text) {
    wxTextCtrl* field = spin->GetTextCtrl();
    field->MarkDirty();
    field->SelectAll();
    field->WriteText(text);
  }

  // Returns true when the key was consumed before reaching the field itself.
  static bool Key(wxSpinCtrlDbl* spin, int code, int modifiers = wxMOD_NONE) {
    wxTextCtrl* field = spin->GetTextCtrl();
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = code;
    event.m_uniChar = code < WXK_START ? code : WXK_NONE;
    event.SetShiftDown(modifiers & wxMOD_SHIFT);
    event.SetControlDown(modifiers & wxMOD_CONTROL);
    event.SetAltDown(modifiers & wxMOD_ALT);
    event.SetEventObject(field);
    return field->GetEventHandler()->ProcessEvent(event);
  }

  static void Arrow(wxSpinCtrlDbl* spin, bool up) {
    wxSpinButton* arrows = spin->GetSpinButton();
    wxSpinEvent event(up ? wxEVT_SCROLL_LINEUP : wxEVT_SCROLL_LINEDOWN, arrows->GetId());
    event.SetEventObject(arrows);
    arrows->GetEventHandler()->ProcessEvent(event);
  }

  static void Enter(wxSpinCtrlDbl* spin) {
    wxTextCtrl* field = spin->GetTextCtrl();
    wxCommandEvent event(wxEVT_COMMAND_TEXT_ENTER, field->GetId());
    event.SetEventObject(field);
    event.SetString(field->GetValue());
    field->GetEventHandler()->ProcessEvent(event);
  }

  static void LeaveField(wxSpinCtrlDbl* spin) {
    wxTextCtrl* field = spin->GetTextCtrl();
    wxFocusEvent event(wxEVT_KILL_FOCUS, field->GetId());
    event.SetEventObject(field);
    field->GetEventHandler()->ProcessEvent(event);
  }

  static wxString Text(wxSpinCtrlDbl* spin) { return spin->GetTextCtrl()->GetValue(); }

  wxPanel* panel = nullptr;
  int updates = 0;
  int textEvents = 0;
  int lastInt = 0;
  wxString lastString;
  wxObject* lastObject = nullptr;
};

TEST_F(SpinCtrlDblTest, CreationShowsInitialValueAndIsCreatableByName) {
  wxSpinCtrlDbl* spin = Make(0, 100, 5);
  EXPECT_EQ(spin->GetValue(), 5.0);
  EXPECT_EQ(Text(spin), "5");
  EXPECT_EQ(spin->GetTextFormat(), "%lg");
  EXPECT_EQ(spin->GetName(), "ID_SPINCTRL2");
  EXPECT_EQ(spin->GetLabel(), "ID_SPINCTRL2");
  EXPECT_EQ(spin->GetIncrement(), 1.0);
  EXPECT_TRUE(dynamic_cast<wxSpinCtrlDblTextCtrl*>(spin->GetTextCtrl()));

  auto* given = new wxSpinCtrlDbl(panel, wxID_ANY, "7.50", wxDefaultPosition, wxDefaultSize, 0,
                                  0.0, 10.0, 7.5);
  EXPECT_EQ(Text(given), "7.50");  // the caller's text is shown as given

  wxObject* byName = wxCreateDynamicObject("wxSpinCtrlDbl");
  ASSERT_TRUE(byName);
  EXPECT_TRUE(byName->IsKindOf(wxCLASSINFO(wxControl)));
  delete byName;
  EXPECT_EQ(updates + textEvents, 0);
}

TEST_F(SpinCtrlDblTest, OneMinuteIncrementStoresWhatTheTextShows) {
  wxSpinCtrlDbl* spin = Make(0, 100, 1);
  const double oneMinute = 1.0 / 1440.0;
  spin->SetRange(oneMinute, 365.0);
  spin->SetValue(oneMinute);
  EXPECT_EQ(Text(spin), "0.000694444");
  EXPECT_EQ(spin->GetValue(), 0.000694444);
  EXPECT_LT(spin->GetValue(), oneMinute);

  // The dialog's settings: value 0.11, step 0.1; one step down, then the floor.
  spin->SetValue(0.11);
  spin->SetIncrement(0.1);
  Arrow(spin, false);
  EXPECT_EQ(Text(spin), "0.01");
  Arrow(spin, false);
  EXPECT_EQ(Text(spin), "0.01");
  EXPECT_EQ(updates, 1);
}

TEST_F(SpinCtrlDblTest, ArrowButtonsStopSilentlyAtTheBounds) {
  wxSpinCtrlDbl* spin = Make(0, 365, 365);
  spin->SetIncrement(0.1);
  Arrow(spin, true);
  EXPECT_EQ(spin->GetValue(), 365.0);
  EXPECT_EQ(updates, 0);

  Arrow(spin, false);
  EXPECT_EQ(Text(spin), "364.9");
  EXPECT_EQ(spin->GetValue(), 364.9);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(lastInt, 365);  // rounded half up
  EXPECT_EQ(lastString, "364.9");
  EXPECT_EQ(lastObject, spin);
  EXPECT_EQ(spin->GetTextCtrl()->GetInsertionPoint(), spin->GetTextCtrl()->GetLastPosition());
}

TEST_F(SpinCtrlDblTest, ArrowButtonStartsFromTypedTextClampedIntoRange) {
  wxSpinCtrlDbl* spin = Make(0, 100, 5);
  Type(spin, "50");
  Arrow(spin, true);
  EXPECT_EQ(Text(spin), "51");

  Type(spin, "500");
  Arrow(spin, true);  // 500 becomes 100; 101 is out of range
  EXPECT_EQ(Text(spin), "100");
  EXPECT_EQ(spin->GetValue(), 100.0);
}

// The arrows of the native widget, driven through GTK itself: the pair
// wraps at its own limits, which must not turn a step down into a step up.
TEST_F(SpinCtrlDblTest, NativeArrowWidgetStepsTheValue) {
  using SpinFunction = void (*)(void*, int, double);
  auto spinNative = reinterpret_cast<SpinFunction>(dlsym(RTLD_DEFAULT, "gtk_spin_button_spin"));
  if (!spinNative) GTEST_SKIP() << "not a GTK build";
  const int stepForward = 0, stepBackward = 1;
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  spinNative(spin->GetSpinButton()->GetHandle(), stepBackward, 1.0);
  EXPECT_EQ(spin->GetValue(), 49.0);
  spinNative(spin->GetSpinButton()->GetHandle(), stepForward, 1.0);
  spinNative(spin->GetSpinButton()->GetHandle(), stepForward, 1.0);
  EXPECT_EQ(spin->GetValue(), 51.0);
  EXPECT_EQ(updates, 3);
}

TEST_F(SpinCtrlDblTest, TypedValueIsLiveWithinTheRangeAndTheTextFixedWhenConfirmed) {
  wxSpinCtrlDbl* spin = Make(0, 365, 10);
  Type(spin, "500");
  EXPECT_EQ(spin->GetValue(), 365.0);  // read at once, never outside the range
  EXPECT_EQ(lastInt, 365);
  EXPECT_EQ(lastString, "500");
  EXPECT_EQ(Text(spin), "500");
  Enter(spin);
  EXPECT_EQ(Text(spin), "365");
  EXPECT_EQ(updates, 2);

  Type(spin, "-3");
  EXPECT_EQ(spin->GetValue(), 0.0);
  LeaveField(spin);
  EXPECT_EQ(Text(spin), "0");

  Type(spin, "365.0");  // a number in range keeps the user's spelling
  Enter(spin);
  EXPECT_EQ(Text(spin), "365.0");
}

TEST_F(SpinCtrlDblTest, TextThatIsNoNumberIsReplacedOnConfirmation) {
  wxSpinCtrlDbl* spin = Make(0, 100, 10);
  Type(spin, "12e");  // the value follows the number the text begins with
  EXPECT_EQ(spin->GetValue(), 12.0);
  Enter(spin);
  EXPECT_EQ(Text(spin), "12");

  Type(spin, "");
  LeaveField(spin);
  EXPECT_EQ(Text(spin), "12");

  // A number prefix beyond the range is clamped rather than left standing.
  spin->SetRange(20, 30);
  Type(spin, "1e");
  Enter(spin);
  EXPECT_EQ(Text(spin), "20");
  EXPECT_EQ(spin->GetValue(), 20.0);
}

TEST_F(SpinCtrlDblTest, ModifierKeysMultiplyTheStep) {
  wxSpinCtrlDbl* spin = Make(1000, 100000, 2000);
  EXPECT_TRUE(Key(spin, WXK_UP));
  EXPECT_EQ(spin->GetValue(), 2001.0);
  Key(spin, WXK_UP, wxMOD_SHIFT | wxMOD_CONTROL);
  EXPECT_EQ(spin->GetValue(), 2021.0);
  Key(spin, WXK_PAGEUP);
  EXPECT_EQ(spin->GetValue(), 2031.0);
  Key(spin, WXK_DOWN, wxMOD_CONTROL);
  EXPECT_EQ(spin->GetValue(), 2021.0);
  Key(spin, WXK_PAGEDOWN, wxMOD_ALT);
  EXPECT_EQ(spin->GetValue(), 1021.0);
  EXPECT_EQ(updates, 5);

  // Unlike the arrow buttons, a refused step is still reported.
  Key(spin, WXK_PAGEDOWN, wxMOD_ALT);
  EXPECT_EQ(spin->GetValue(), 1021.0);
  EXPECT_EQ(updates, 6);
  EXPECT_EQ(lastInt, 1021);
}

TEST_F(SpinCtrlDblTest, EscapeRestoresTheConstructionValue) {
  wxSpinCtrlDbl* spin = Make(0, 100, 5);
  Key(spin, WXK_PAGEUP);
  Key(spin, WXK_ESCAPE);
  EXPECT_EQ(spin->GetValue(), 5.0);
  EXPECT_EQ(Text(spin), "5");
  EXPECT_EQ(updates, 2);

  spin->SetRange(10, 20);  // the construction value is now out of range
  Key(spin, WXK_ESCAPE);
  EXPECT_EQ(spin->GetValue(), 10.0);
  EXPECT_EQ(updates, 3);
}

TEST_F(SpinCtrlDblTest, SpaceReshowsTheValueAndOtherKeysAreFiltered) {
  wxSpinCtrlDbl* spin = Make(0, 100, 5);
  Type(spin, "4.20");
  EXPECT_TRUE(Key(spin, ' '));
  EXPECT_EQ(Text(spin), "4.2");

  for (const char* c = "0123456789+-.eE"; *c; ++c)
    EXPECT_FALSE(Key(spin, *c)) << "'" << *c << "' should reach the field";
  for (const char* c = "a,x/"; *c; ++c)
    EXPECT_TRUE(Key(spin, *c)) << "'" << *c << "' should be refused";
}

TEST_F(SpinCtrlDblTest, TabMovesTheFocusOnAndTheFieldIsTheOnlyStop) {
  wxSpinCtrlDbl* first = Make(0, 100, 1);
  wxSpinCtrlDbl* second = new wxSpinCtrlDbl(panel, wxID_ANY, "", wxPoint(10, 80));
  std::vector<wxNavigationKeyEvent> seen;
  panel->Bind(wxEVT_NAVIGATION_KEY, [&](wxNavigationKeyEvent& event) {
    seen.push_back(event);
    event.Skip();
  });
  EXPECT_TRUE(Key(first, WXK_TAB));
  Key(first, WXK_TAB, wxMOD_SHIFT);
  Key(first, WXK_TAB, wxMOD_CONTROL);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[0].IsFromTab());
  EXPECT_TRUE(seen[0].GetDirection());
  EXPECT_FALSE(seen[0].IsWindowChange());
  EXPECT_EQ(seen[0].GetEventObject(), first);
  EXPECT_FALSE(seen[1].GetDirection());
  EXPECT_TRUE(seen[2].IsWindowChange());

  // Where the focus went, as GTK sees it (the display's own keyboard focus
  // is shared with other test programs and not ours to rely on).
  using IsFocusFunction = int (*)(void*);
  auto isFocus = reinterpret_cast<IsFocusFunction>(dlsym(RTLD_DEFAULT, "gtk_widget_is_focus"));
  if (!isFocus) GTEST_SKIP() << "not a GTK build";
  first->GetTextCtrl()->SetFocus();
  Key(first, WXK_TAB);
  EXPECT_TRUE(isFocus(second->GetTextCtrl()->GetHandle()));
  Key(second, WXK_TAB, wxMOD_SHIFT);
  EXPECT_TRUE(isFocus(first->GetTextCtrl()->GetHandle()));
  second->SetFocus();
  EXPECT_TRUE(isFocus(second->GetTextCtrl()->GetHandle()));
}

TEST_F(SpinCtrlDblTest, ProgrammaticChangesSendNoEvents) {
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  spin->SetValue(42.5);
  spin->SetRange(0, 10);  // clamps to 10
  spin->SetIncrement(0.5);
  spin->SetDigits(2, wxSpinCtrlDbl::FormatFixed);
  spin->SetValueFromString("3.25", false);
  spin->ResetToDefault();  // 50 is out of range now: ignored
  EXPECT_EQ(Text(spin), "3.25");
  EXPECT_EQ(updates + textEvents, 0);

  spin->SetText("7");
  EXPECT_EQ(spin->GetValue(), 7.0);
  EXPECT_EQ(updates, 1);
  spin->SetText("7");  // unchanged text: nothing
  EXPECT_EQ(updates, 1);

  spin->SetValueFromString("abc", false);
  EXPECT_EQ(Text(spin), "7");
  spin->SetValueFromString("abc", true);
  EXPECT_EQ(Text(spin), "abc");
  EXPECT_EQ(spin->GetValue(), 7.0);
}

TEST_F(SpinCtrlDblTest, EqualBoundsAndReversedBounds) {
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  spin->SetRange(5, 5);
  EXPECT_EQ(spin->GetValue(), 5.0);
  EXPECT_TRUE(spin->HasRange());
  spin->SetValue(6);
  Arrow(spin, true);
  Arrow(spin, false);
  EXPECT_EQ(spin->GetValue(), 5.0);
  EXPECT_EQ(updates, 0);

  spin->SetRange(10, 0);  // max below min: no range at all
  EXPECT_FALSE(spin->HasRange());
  EXPECT_TRUE(spin->IsInRange(-1e9));
  spin->SetValue(-1e12);
  EXPECT_EQ(Text(spin), "-1e+12");
  Arrow(spin, false);
  EXPECT_EQ(lastInt, INT_MIN);  // beyond int: pinned, not wrapped
}

TEST_F(SpinCtrlDblTest, DigitsChooseTheDisplayFormat) {
  wxSpinCtrlDbl* spin = Make(-100000, 100000, 0);
  spin->SetValue(1.0 / 3.0);
  EXPECT_EQ(Text(spin), "0.333333");
  spin->SetDigits(3, wxSpinCtrlDbl::FormatFixed);
  EXPECT_EQ(spin->GetTextFormat(), "%.3lf");
  EXPECT_EQ(Text(spin), "0.333");
  EXPECT_EQ(spin->GetValue(), 0.333);
  spin->SetValue(12345);
  spin->SetDigits(2, wxSpinCtrlDbl::FormatExponential);
  EXPECT_EQ(Text(spin), "1.23e+04");
  EXPECT_EQ(spin->GetValue(), 12300.0);
  spin->SetDigits(-5, wxSpinCtrlDbl::FormatFixed);  // ignored
  EXPECT_EQ(spin->GetDigits(), 2);
  spin->SetDigits(-1, wxSpinCtrlDbl::FormatFixed);
  EXPECT_EQ(Text(spin), "12300.000000");
}

TEST_F(SpinCtrlDblTest, BestSizeIsTheToolkitSpinControlsAndChildrenShareTheWidth) {
  auto* reference = new wxSpinCtrl(panel, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, 0, 100, 0);
  wxSize expected = reference->GetBestSize();
  reference->Destroy();
  if (expected.x < 20) expected.x = 95;
  if (expected.y <= 9) expected.y = 22;

  wxSpinCtrlDbl* spin = Make(0, 100, 0);
  EXPECT_EQ(spin->GetSize(), expected);
  EXPECT_EQ(spin->GetBestSize(), expected);

  wxSpinCtrlDbl* wide = Make(0, 100, 0, wxSize(200, -1));
  EXPECT_EQ(wide->GetSize(), wxSize(200, expected.y));
  const wxSize arrows = wide->GetSpinButton()->GetSize();
  EXPECT_EQ(wide->GetTextCtrl()->GetRect(), wxRect(0, 0, 200 - arrows.x, expected.y));
  EXPECT_EQ(wide->GetSpinButton()->GetPosition(), wxPoint(200 - arrows.x, 0));
  EXPECT_EQ(arrows.y, expected.y);

  wide->Move(30, 40);  // moving keeps the size
  EXPECT_EQ(wide->GetRect(), wxRect(30, 40, 200, expected.y));

  // Narrower than the arrows: the field gets no room but no negative size.
  wxSpinCtrlDbl* narrow = Make(0, 100, 0, wxSize(arrows.x - 10, -1));
  EXPECT_EQ(narrow->GetTextCtrl()->GetSize().x, 0);
}

TEST_F(SpinCtrlDblTest, AppearanceGoesToTheFieldAndDisablingReachesIt) {
  wxSpinCtrlDbl* spin = Make(0, 100, 0);
  spin->SetBackgroundColour(*wxRED);
  spin->SetForegroundColour(*wxBLUE);
  EXPECT_EQ(spin->GetTextCtrl()->GetBackgroundColour(), *wxRED);
  EXPECT_EQ(spin->GetTextCtrl()->GetForegroundColour(), *wxBLUE);
  wxFont big = spin->GetTextCtrl()->GetFont().Scaled(2.0f);
  EXPECT_TRUE(spin->SetFont(big));
  EXPECT_EQ(spin->GetTextCtrl()->GetFont(), big);

  spin->Enable(false);
  EXPECT_FALSE(spin->GetTextCtrl()->IsEnabled());
  EXPECT_FALSE(spin->GetSpinButton()->IsEnabled());
}

TEST_F(SpinCtrlDblTest, ControlOutlivingItsFieldStaysSafe) {
  wxSpinCtrlDbl* spin = Make(0, 100, 5);
  delete spin->GetTextCtrl();
  EXPECT_EQ(spin->GetTextCtrl(), nullptr);
  spin->SetValue(9);
  spin->SyncFromText(true, true);
  spin->SendUpdateEvent();
  Arrow(spin, true);
  EXPECT_EQ(spin->GetValue(), 5.0);
  EXPECT_EQ(updates, 0);
  EXPECT_FALSE(spin->SetFont(*wxNORMAL_FONT));
  EXPECT_TRUE(spin->SetBackgroundColour(*wxGREEN));
  EXPECT_EQ(spin->GetBackgroundColour(), *wxGREEN);
  spin->Destroy();
}

}  // namespace
