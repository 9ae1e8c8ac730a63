// The keyboard paths of a value field and a date control, pressed as a
// user presses them (real key events through the X server, a US keyboard),
// one key after another. After each key the values the program would read
// are checked, together with the text shown and where the focus is.
#include <string>

#include <gtest/gtest.h>

#include <wx/panel.h>

#include "controls/date_generic_ctrl.h"
#include "controls/spin_ctrl_dbl.h"
#include "gui_test_support.h"

namespace {

enum Part { kField, kYear, kMonth, kDay, kAfter };

struct Form {
  wxPanel* panel;
  wxSpinCtrlDbl* spin;
  wxDateGenericCtrl* date;
  wxSpinCtrlDbl* after;  // the next stop behind the date

  wxWindow* Window(Part part) const {
    switch (part) {
      case kField: return spin->GetTextCtrl();
      case kYear: return date->GetYearCtrl();
      case kMonth: return date->GetMonthCtrl();
      case kDay: return date->GetDayCtrl();
      case kAfter: return after->GetTextCtrl();
    }
    return nullptr;
  }
};

std::string DateRead(const wxDateGenericCtrl* date) {
  return std::string(date->GetValue().FormatISODate().utf8_str());
}

TEST(Keyboard, EveryKeyPathGivesTheValueRead) {
  Form form;
  form.panel = new wxPanel(guitest::TopFrame(), wxID_ANY, wxPoint(0, 0), wxSize(600, 400));
  form.spin = new wxSpinCtrlDbl(form.panel, wxID_ANY, wxEmptyString, wxPoint(10, 10),
                                wxSize(200, -1), 0, -1000.0, 1000.0, 5.0, 0.5);
  form.date = new wxDateGenericCtrl(form.panel, wxID_ANY, wxDefaultDateTime, wxPoint(10, 60),
                                    wxSize(170, -1));
  form.date->SetRange(wxDateTime(1, wxDateTime::Jan, 0), wxDateTime(31, wxDateTime::Dec, 2999));
  form.date->SetValue(wxDateTime(30, wxDateTime::Jan, 2001));
  form.after = new wxSpinCtrlDbl(form.panel, wxID_ANY, wxEmptyString, wxPoint(10, 110));
  guitest::PumpEvents();
  wxTextCtrl* field = form.spin->GetTextCtrl();
  guitest::ClickAt(field, wxPoint(10, field->GetSize().y / 2));
  ASSERT_TRUE(guitest::PumpUntil([field] { return guitest::HasKeyboardFocus(field); }));

  const int shift = wxMOD_SHIFT, ctrl = wxMOD_CONTROL, alt = wxMOD_ALT;
  const struct Press {
    int key, modifiers;
    double value;       // the field's value read
    const char* text;   // the field's text shown
    const char* date;   // the date read
    Part focus;
  } presses[] = {
      // Typing: the value follows each character; an unfinished number
      // reads as far as it goes.
      {WXK_END, 0, 5, "5", "2001-01-30", kField},
      {'2', 0, 52, "52", "2001-01-30", kField},
      {'.', 0, 52, "52.", "2001-01-30", kField},
      {'5', 0, 52.5, "52.5", "2001-01-30", kField},
      {'E', 0, 52.5, "52.5e", "2001-01-30", kField},
      {'=', shift, 52.5, "52.5e+", "2001-01-30", kField},
      {'1', 0, 525, "52.5e+1", "2001-01-30", kField},
      {WXK_RETURN, 0, 525, "52.5e+1", "2001-01-30", kField},  // confirmed as typed
      {WXK_HOME, 0, 525, "52.5e+1", "2001-01-30", kField},
      {'-', 0, -525, "-52.5e+1", "2001-01-30", kField},
      {WXK_ESCAPE, 0, 525, "525", "2001-01-30", kField},  // back to the confirmed value
      {WXK_HOME, 0, 525, "525", "2001-01-30", kField},
      {WXK_NUMPAD_SUBTRACT, 0, -525, "-525", "2001-01-30", kField},
      {WXK_NUMPAD_ENTER, 0, -525, "-525", "2001-01-30", kField},
      {'A', ctrl, -525, "-525", "2001-01-30", kField},  // selects all
      {'9', 0, 9, "9", "2001-01-30", kField},
      {WXK_NUMLOCK, 0, 9, "9", "2001-01-30", kField},  // the keypad types digits now
      {WXK_NUMPAD_DECIMAL, 0, 9, "9.", "2001-01-30", kField},
      {WXK_HOME, shift, 9, "9.", "2001-01-30", kField},  // selects it
      {'3', shift, 9, "9.", "2001-01-30", kField},       // '#' is refused with Num Lock too
      {WXK_END, 0, 9, "9.", "2001-01-30", kField},
      {WXK_NUMPAD7, 0, 9.7, "9.7", "2001-01-30", kField},
      {WXK_NUMLOCK, 0, 9.7, "9.7", "2001-01-30", kField},
      // Steps of 0.5: Shift doubles, Control gives ten, Alt a hundred.
      {WXK_UP, 0, 10.2, "10.2", "2001-01-30", kField},
      {WXK_UP, shift, 11.2, "11.2", "2001-01-30", kField},
      {WXK_DOWN, ctrl, 6.2, "6.2", "2001-01-30", kField},
      {WXK_UP, alt, 56.2, "56.2", "2001-01-30", kField},
      {WXK_DOWN, shift | ctrl, 46.2, "46.2", "2001-01-30", kField},
      {WXK_UP, ctrl | alt, 546.2, "546.2", "2001-01-30", kField},
      {WXK_UP, ctrl | alt, 546.2, "546.2", "2001-01-30", kField},  // beyond 1000: refused
      {WXK_ESCAPE, 0, 546.2, "546.2", "2001-01-30", kField},       // a step is confirmed
      // Into the date: Tab stops at year, month and day in turn; the
      // arrows step the box with the focus and keep it there.
      {WXK_TAB, 0, 546.2, "546.2", "2001-01-30", kYear},
      {WXK_TAB, 0, 546.2, "546.2", "2001-01-30", kMonth},
      {WXK_DOWN, 0, 546.2, "546.2", "2001-02-28", kMonth},
      {WXK_RIGHT, 0, 546.2, "546.2", "2001-03-28", kMonth},
      {WXK_UP, 0, 546.2, "546.2", "2001-02-28", kMonth},
      {WXK_LEFT, 0, 546.2, "546.2", "2001-01-28", kMonth},
      {WXK_LEFT, 0, 546.2, "546.2", "2001-01-28", kMonth},  // no month before January
      {WXK_TAB, 0, 546.2, "546.2", "2001-01-28", kDay},
      {WXK_DOWN, 0, 546.2, "546.2", "2001-01-29", kDay},
      {WXK_RIGHT, 0, 546.2, "546.2", "2001-01-30", kDay},
      {WXK_UP, 0, 546.2, "546.2", "2001-01-29", kDay},
      {WXK_TAB, shift, 546.2, "546.2", "2001-01-29", kMonth},
      {WXK_RETURN, 0, 546.2, "546.2", "2001-01-29", kMonth},
      {WXK_TAB, 0, 546.2, "546.2", "2001-01-29", kDay},
      {WXK_RETURN, 0, 546.2, "546.2", "2001-01-29", kDay},
      {WXK_TAB, 0, 546.2, "546.2", "2001-01-29", kAfter},
      {WXK_TAB, shift, 546.2, "546.2", "2001-01-29", kDay},
  };
  for (const Press& press : presses) {
    SCOPED_TRACE(testing::Message() << "key " << press.key << " modifiers " << press.modifiers
                                    << ", then " << press.text << " / " << press.date);
    guitest::PressKey(press.key, press.modifiers);
    EXPECT_DOUBLE_EQ(form.spin->GetValue(), press.value);
    EXPECT_EQ(std::string(field->GetValue().utf8_str()), press.text);
    EXPECT_EQ(DateRead(form.date), press.date);
    EXPECT_TRUE(guitest::HasKeyboardFocus(form.Window(press.focus)));
  }
  form.panel->Destroy();
  guitest::PumpEvents();
}

}  // namespace
