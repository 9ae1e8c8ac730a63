// wxSpinCtrlDbl in a real window. User input is delivered as the events the
// toolkit produces for it (keys to the text field, arrow-button spin events,
// Enter, focus loss), so the tests do not depend on the shared pointer and
// keyboard focus of the X display.
#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <wx/panel.h>
#include <wx/spinbutt.h>

#include "controls/spin_ctrl_dbl.h"
#include "gui_test_support.h"

namespace {

// A GTK function looked up at run time; null in other builds.
template <typename Function>
Function Gtk(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}

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

  // Returns true when the window's handlers consumed the event.
  static bool Send(wxWindow* target, wxEvent& event) {
    event.SetEventObject(target);
    return target->GetEventHandler()->ProcessEvent(event);
  }

  // Returns true when the key was consumed before reaching the field itself.
  static bool Key(wxSpinCtrlDbl* spin, int code, int modifiers = wxMOD_NONE) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = code;
    event.m_uniChar = code < WXK_START ? code : WXK_NONE;
    event.SetShiftDown(modifiers & wxMOD_SHIFT);
    event.SetControlDown(modifiers & wxMOD_CONTROL);
    event.SetAltDown(modifiers & wxMOD_ALT);
    return Send(spin->GetTextCtrl(), event);
  }

  static void Arrow(wxSpinCtrlDbl* spin, bool up) {
    wxSpinEvent event(up ? wxEVT_SCROLL_LINEUP : wxEVT_SCROLL_LINEDOWN,
                      spin->GetSpinButton()->GetId());
    Send(spin->GetSpinButton(), event);
  }

  // Return in the field, or the focus leaving it.
  static void Confirm(wxSpinCtrlDbl* spin, bool withEnter) {
    wxTextCtrl* field = spin->GetTextCtrl();
    wxCommandEvent enter(wxEVT_COMMAND_TEXT_ENTER, field->GetId());
    enter.SetString(field->GetValue());
    wxFocusEvent leave(wxEVT_KILL_FOCUS, field->GetId());
    Send(field, withEnter ? static_cast<wxEvent&>(enter) : leave);
  }

  static std::string Text(wxSpinCtrlDbl* spin) {
    return std::string(spin->GetTextCtrl()->GetValue().utf8_str());
  }

  wxPanel* panel = nullptr;
  int updates = 0;
  int textEvents = 0;
  int lastInt = 0;
  wxString lastString;
  wxObject* lastObject = nullptr;
};

TEST_F(SpinCtrlDblTest, OneMinuteIncrementStoresWhatTheTextShows) {
  wxSpinCtrlDbl* spin = Make(0, 100, 1);
  spin->SetRange(1.0 / 1440.0, 365.0);
  spin->SetValue(1.0 / 1440.0);
  EXPECT_EQ(Text(spin), "0.000694444");
  EXPECT_EQ(spin->GetValue(), 0.000694444);

  // The dialog's settings: 0.11 less a step of 0.1 shows as 0.01; the next
  // step would fall below the minimum.
  spin->SetValue(0.11);
  spin->SetIncrement(0.1);
  Arrow(spin, false);
  EXPECT_EQ(Text(spin), "0.01");
  Arrow(spin, false);
  EXPECT_EQ(Text(spin), "0.01");
  EXPECT_EQ(updates, 1);
}

TEST_F(SpinCtrlDblTest, ArrowButtonsStepFromTheTextAndStopSilentlyAtTheBounds) {
  wxSpinCtrlDbl* spin = Make(0, 365, 365);
  spin->SetIncrement(0.1);
  Arrow(spin, true);
  EXPECT_EQ(spin->GetValue(), 365.0);
  EXPECT_EQ(updates, 0);

  Arrow(spin, false);
  EXPECT_EQ(spin->GetValue(), 364.9);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(lastInt, 365);  // rounded half up
  EXPECT_EQ(lastString, "364.9");
  EXPECT_EQ(lastObject, spin);
  EXPECT_EQ(spin->GetTextCtrl()->GetInsertionPoint(), spin->GetTextCtrl()->GetLastPosition());

  // Typed text is the starting point, clamped into the range first.
  spin->SetIncrement(1);
  Type(spin, "50");
  Arrow(spin, true);
  EXPECT_EQ(Text(spin), "51");
  Type(spin, "500");
  Arrow(spin, true);
  EXPECT_EQ(Text(spin), "365");
}

// The arrows of the native widget, driven through GTK itself: the pair
// wraps at its own limits, which must not turn a step down into a step up.
TEST_F(SpinCtrlDblTest, NativeArrowWidgetStepsTheValue) {
  auto spinNative = Gtk<void (*)(void*, int, double)>("gtk_spin_button_spin");
  if (!spinNative) GTEST_SKIP() << "not a GTK build";
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  const int forward = 0, backward = 1;
  for (int direction : {backward, forward, forward})
    spinNative(spin->GetSpinButton()->GetHandle(), direction, 1.0);
  EXPECT_EQ(spin->GetValue(), 51.0);
  EXPECT_EQ(updates, 3);
}

// Typed text is read at once but never outside the range; Return or the
// focus leaving fixes the text too. Numbers in range keep their spelling.
TEST_F(SpinCtrlDblTest, ConfirmedTextIsClampedOrReplaced) {
  wxSpinCtrlDbl* spin = Make(20, 365, 30);
  Type(spin, "500");
  EXPECT_EQ(spin->GetValue(), 365.0);
  EXPECT_EQ(lastInt, 365);
  EXPECT_EQ(lastString, "500");
  EXPECT_EQ(Text(spin), "500");

  // "100e" counts as the number it begins with; "1e" as 1, below the range.
  const struct { const char* typed; bool withEnter; double value; const char* shown; } cases[] = {
      {"500", true, 365, "365"},     {"-3", false, 20, "20"},     {"365.0", true, 365, "365.0"},
      {"100e", true, 100, "100"},    {"", false, 100, "100"},     {"1e", true, 20, "20"}};
  for (const auto& c : cases) {
    Type(spin, c.typed);
    Confirm(spin, c.withEnter);
    EXPECT_EQ(spin->GetValue(), c.value) << '"' << c.typed << '"';
    EXPECT_EQ(Text(spin), c.shown) << '"' << c.typed << '"';
  }
}

TEST_F(SpinCtrlDblTest, ModifierKeysMultiplyTheStep) {
  wxSpinCtrlDbl* spin = Make(1000, 100000, 2000);
  const struct { int key, modifiers; double value; } steps[] = {
      {WXK_UP, wxMOD_NONE, 2001},      {WXK_UP, wxMOD_SHIFT | wxMOD_CONTROL, 2021},
      {WXK_PAGEUP, wxMOD_NONE, 2031},  {WXK_DOWN, wxMOD_CONTROL, 2021},
      {WXK_PAGEDOWN, wxMOD_ALT, 1021}, {WXK_PAGEDOWN, wxMOD_ALT, 1021}};
  for (const auto& step : steps) {
    EXPECT_TRUE(Key(spin, step.key, step.modifiers));
    EXPECT_EQ(spin->GetValue(), step.value) << step.key << " " << step.modifiers;
  }
  // Unlike the arrow buttons, the refused last step is still reported.
  EXPECT_EQ(updates, 6);
  EXPECT_EQ(lastInt, 1021);
}

// Escape cancels the edit in progress: back to the value last set or
// confirmed, never to the value the control was created with (the dialog
// creates every control at 0 and sets its ranges and values afterwards).
TEST_F(SpinCtrlDblTest, EscapeCancelsTheEditAndKeepsTheConfirmedValue) {
  wxSpinCtrlDbl* spin = Make(0, 100, 0);
  spin->SetRange(0, 10000);
  spin->SetValue(800);
  const struct { const char* typed; bool confirm; double kept; const char* shown; } edits[] = {
      {"12", false, 800, "800"},  // typed, then cancelled
      {"", false, 800, "800"},    // field emptied, then cancelled
      {"abc", false, 800, "800"}, // no number at all
      {"35", true, 35, "35"},     // confirmed with Enter: the new value stays
      {"9", false, 35, "35"}};
  for (const auto& edit : edits) {
    SCOPED_TRACE(edit.typed);
    Type(spin, edit.typed);
    if (edit.confirm) Confirm(spin, true);
    updates = 0;
    EXPECT_TRUE(Key(spin, WXK_ESCAPE));
    EXPECT_EQ(spin->GetValue(), edit.kept);
    EXPECT_EQ(Text(spin), edit.shown);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(lastInt, static_cast<int>(edit.kept));
  }
  // A step confirms too.
  Key(spin, WXK_PAGEUP);
  Type(spin, "1");
  Key(spin, WXK_ESCAPE);
  EXPECT_EQ(Text(spin), "45");
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

// Where the focus goes, as GTK sees it (the display's own keyboard focus is
// shared with other test programs and not ours to rely on).
TEST_F(SpinCtrlDblTest, TabMovesTheFocusAndTheFieldIsTheOnlyStop) {
  auto isFocus = Gtk<int (*)(void*)>("gtk_widget_is_focus");
  if (!isFocus) GTEST_SKIP() << "not a GTK build";
  wxSpinCtrlDbl* first = Make(0, 100, 1);
  wxSpinCtrlDbl* second = new wxSpinCtrlDbl(panel, wxID_ANY, "", wxPoint(10, 80));
  first->GetTextCtrl()->SetFocus();
  EXPECT_TRUE(Key(first, WXK_TAB));
  EXPECT_TRUE(isFocus(second->GetTextCtrl()->GetHandle()));
  Key(second, WXK_TAB, wxMOD_SHIFT);
  EXPECT_TRUE(isFocus(first->GetTextCtrl()->GetHandle()));
  second->SetFocus();
  EXPECT_TRUE(isFocus(second->GetTextCtrl()->GetHandle()));
}

TEST_F(SpinCtrlDblTest, ProgrammaticChangesSendNoEvents) {
  auto* given = new wxSpinCtrlDbl(panel, wxID_ANY, "7.50", wxDefaultPosition, wxDefaultSize, 0,
                                  0.0, 10.0, 7.5);
  EXPECT_EQ(Text(given), "7.50");  // the creator's text is shown as given
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  spin->SetValue(42.5);
  spin->SetRange(0, 10);  // clamps to 10
  spin->SetIncrement(0.5);
  spin->SetDigits(2, wxSpinCtrlDbl::FormatFixed);
  spin->SetValueFromString("3.254", false);
  spin->ResetToDefault();  // 50 is out of range now: ignored
  spin->SetDigits(-5, wxSpinCtrlDbl::FormatExponential);  // ignored
  spin->SetValueFromString("abc", false);
  EXPECT_EQ(Text(spin), "3.25");
  EXPECT_EQ(spin->GetValue(), 3.25);
  EXPECT_EQ(updates + textEvents, 0);

  spin->SetText("7");
  spin->SetText("7");  // unchanged text: nothing
  EXPECT_EQ(spin->GetValue(), 7.0);
  EXPECT_EQ(updates, 1);

  spin->SetValueFromString("abc", true);
  EXPECT_EQ(Text(spin), "abc");
  EXPECT_EQ(spin->GetValue(), 7.0);
}

TEST_F(SpinCtrlDblTest, ReversedBoundsMeanNoRangeAndHugeValuesArePinnedInTheEvent) {
  wxSpinCtrlDbl* spin = Make(0, 100, 50);
  spin->SetRange(10, 0);  // max below min: no range at all
  EXPECT_FALSE(spin->HasRange());
  spin->SetValue(-1e12);
  EXPECT_EQ(Text(spin), "-1e+12");
  Arrow(spin, false);
  EXPECT_EQ(lastInt, INT_MIN);  // beyond int: pinned, not wrapped
}

TEST_F(SpinCtrlDblTest, BestSizeIsTheToolkitSpinControlsAndChildrenShareTheWidth) {
  auto* reference = new wxSpinCtrl(panel, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, 0, 100, 0);
  const wxSize expected = reference->GetBestSize();
  reference->Destroy();
  EXPECT_EQ(Make(0, 100, 0)->GetSize(), expected);

  // The arrows keep their width at the right; the field takes the rest.
  wxSpinCtrlDbl* wide = Make(0, 100, 0, wxSize(200, -1));
  const wxSize arrows = wide->GetSpinButton()->GetSize();
  EXPECT_EQ(wide->GetTextCtrl()->GetRect(), wxRect(0, 0, 200 - arrows.x, expected.y));

  // Narrower than the arrows: the field gets no room but no negative size.
  wxSpinCtrlDbl* narrow = Make(0, 100, 0);
  narrow->SetSize(arrows.x - 10, -1);
  EXPECT_EQ(narrow->GetTextCtrl()->GetSize().x, 0);
}

TEST_F(SpinCtrlDblTest, DisablingReachesBothParts) {
  wxSpinCtrlDbl* spin = Make(0, 100, 0);
  spin->Enable(false);
  EXPECT_FALSE(spin->GetTextCtrl()->IsEnabled());
  EXPECT_FALSE(spin->GetSpinButton()->IsEnabled());
}

// The dialog's five value fields, made as the dialog makes them: created
// with the given field width, range, value and step set afterwards. Each
// field shows its bounds whole, the cursor behind the last digit.
TEST_F(SpinCtrlDblTest, FieldShowsTheLongestTextOfItsRangeWhole) {
  if (!Gtk<void*>("g_object_get")) GTEST_SKIP() << "not a GTK build";
  const struct { int fieldWidth; double min, max, step; } dialogFields[] = {
      {60, 1, 1440, 1}, {50, 1.0 / 1440.0, 365, 0.1}, {60, 0, 1000000, 0.1},
      {60, 0, 10000, 5}, {60, 0, 100, 0.05}};
  for (const auto& field : dialogFields) {
    SCOPED_TRACE(testing::Message() << field.min << " to " << field.max);
    auto* spin = new wxSpinCtrlDbl(panel, wxID_ANY, "0", wxPoint(10, 10),
                                   wxSize(field.fieldWidth, -1), 0, 0, 100, 0, "ID_SPINCTRL");
    spin->SetInitialSize(
        wxSize(field.fieldWidth + spin->GetSpinButton()->GetSize().x, spin->GetSize().y));
    spin->SetRange(field.min, field.max);
    spin->SetIncrement(field.step);
    EXPECT_GE(spin->GetTextCtrl()->GetSize().x, field.fieldWidth) << "never narrower";
    EXPECT_EQ(spin->GetMinSize(), spin->GetSize()) << "a sizer keeps the width";
    for (double value : {field.min, field.max, field.max - field.step}) {
      spin->SetValue(value);
      spin->GetTextCtrl()->SetInsertionPointEnd();
      // The toolkit places the text when it lays the field out.
      wxTextCtrl* text = spin->GetTextCtrl();
      EXPECT_TRUE(guitest::PumpUntil([text] { return guitest::TextScrollOffset(text) == 0; }, 1000))
          << '"' << Text(spin) << "\" scrolled by " << guitest::TextScrollOffset(text);
    }
    spin->Destroy();
  }
}

// Real keyboard input into the field (a US keyboard, as the X server's
// default): a character no number has is refused before it touches the
// text, also where it would replace a selection. A key is judged by the
// character it types with the modifiers held, not by the key: Shift+3
// types '#', Shift+= types '+'.
TEST_F(SpinCtrlDblTest, RefusedCharacterLeavesTheSelectedText) {
  wxSpinCtrlDbl* spin = Make(0, 10000, 0, wxSize(200, -1));
  spin->SetValue(0.11);
  guitest::PumpEvents();
  wxTextCtrl* field = spin->GetTextCtrl();
  guitest::ClickAt(field, wxPoint(10, field->GetSize().y / 2));
  ASSERT_TRUE(guitest::HasKeyboardFocus(field));
  const struct { int key, modifiers; const char* typed; } refused[] = {
      {'A', 0, "a"},          {'X', 0, "x"},           {'X', wxMOD_SHIFT, "X"},
      {',', 0, ","},          {'/', 0, "/"},           {'1', wxMOD_SHIFT, "!"},
      {'2', wxMOD_SHIFT, "@"}, {'3', wxMOD_SHIFT, "#"}, {'4', wxMOD_SHIFT, "$"},
      {'5', wxMOD_SHIFT, "%"}, {'6', wxMOD_SHIFT, "^"}, {'7', wxMOD_SHIFT, "&"},
      {'8', wxMOD_SHIFT, "*"}, {'-', wxMOD_SHIFT, "_"}, {'.', wxMOD_SHIFT, ">"},
      {',', wxMOD_SHIFT, "<"}, {'/', wxMOD_SHIFT, "?"}, {'9', wxMOD_SHIFT, "("},
      {WXK_NUMPAD_MULTIPLY, 0, "keypad *"}};
  for (const auto& key : refused) {
    SCOPED_TRACE(key.typed);
    field->SetSelection(2, 4);  // "11" of "0.11"
    guitest::PressKey(key.key, key.modifiers);
    EXPECT_EQ(Text(spin), "0.11");
    EXPECT_EQ(spin->GetValue(), 0.11);
  }

  // Every character of a number goes in, '+' from the main keyboard too.
  const struct { int key, modifiers; } number[] = {
      {'1', 0}, {'E', 0}, {'=', wxMOD_SHIFT}, {'3', 0}};
  field->SelectAll();
  for (const auto& key : number) guitest::PressKey(key.key, key.modifiers);
  EXPECT_EQ(Text(spin), "1e+3");
  EXPECT_EQ(spin->GetValue(), 1000.0);
}

// The grey level of the darkest pixel: the arrows' symbols.
int DarkestLevel(const wxImage& image) {
  int level = 255;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const wxColour c = guitest::PixelAt(image, x, y);
      level = std::min(level, (c.Red() + c.Green() + c.Blue()) / 3);
    }
  }
  return level;
}

// Disabled, the arrows' symbols are greyed as the toolkit greys its own.
TEST_F(SpinCtrlDblTest, DisabledControlShowsDisabledArrows) {
  wxSpinCtrlDbl* spin = Make(0, 100, 50, wxSize(200, -1));
  auto* reference = new wxSpinButton(panel, wxID_ANY, wxPoint(10, 200),
                                     spin->GetSpinButton()->GetSize(),
                                     wxSP_VERTICAL | wxSP_ARROW_KEYS | wxSP_WRAP);
  auto symbolLevel = [](wxWindow* window) { return DarkestLevel(guitest::GrabWindow(window)); };
  // Repainting follows the state change in the toolkit's own time.
  auto becomes = [&symbolLevel](wxWindow* window, const std::function<bool(int)>& wanted) {
    return guitest::PumpUntil([&] { return wanted(symbolLevel(window)); }, 1000);
  };
  guitest::PumpUntil([] { return false; }, 100);
  const int enabledLevel = symbolLevel(spin->GetSpinButton());
  const int referenceLevel = symbolLevel(reference);
  spin->Enable(false);
  reference->Enable(false);
  ASSERT_TRUE(becomes(reference, [=](int level) { return level > referenceLevel; }))
      << "the toolkit greys disabled arrows";
  EXPECT_TRUE(becomes(spin->GetSpinButton(), [=](int level) { return level > enabledLevel; }))
      << "symbols at grey level " << symbolLevel(spin->GetSpinButton()) << ", enabled "
      << enabledLevel;
  spin->Enable(true);
  EXPECT_TRUE(becomes(spin->GetSpinButton(), [=](int level) { return level == enabledLevel; }))
      << "and shows them again";
}

}  // namespace
