// wxDateGenericCtrl in a real window, in a time zone with daylight saving
// time so that "local midnight" is not the same as a fixed offset.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

#include <string>

#include "controls/date_generic_ctrl.h"
#include "gui_test_support.h"

namespace {

// Central European time with summer time from the last Sunday of March to
// the last Sunday of October. Set before main so that the toolkit's cached
// zone offset is this one too.
const bool kZoneSet = [] {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  return true;
}();

struct Ymd {
  int year, month, day;  // month 1 to 12
};

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

class DateGenericCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kZoneSet);
    m_ctrl = new wxDateGenericCtrl(guitest::TopFrame(), wxID_ANY, wxDefaultDateTime,
                                   wxPoint(20, 20), wxSize(170, -1), kShowCenturyStyle);
    m_ctrl->Bind(wxEVT_COMMAND_CHOICE_SELECTED, [this](wxCommandEvent&) { ++m_events; });
    // The dialog's year range: 1 January of year 0 to 31 December 2999.
    m_ctrl->SetRange(wxDateTime(1, wxDateTime::Jan, 0), wxDateTime(31, wxDateTime::Dec, 2999));
    guitest::PumpEvents();
  }

  void TearDown() override {
    m_ctrl->Destroy();
    guitest::PumpEvents();
  }

  // What a user does: type the year and pick month and day by their texts.
  void Enter(int year, int month, int day) {
    m_ctrl->GetYearCtrl()->SetValue(year);
    ASSERT_TRUE(m_ctrl->GetMonthCtrl()->SetStringSelection(kMonths[month - 1]));
    ASSERT_TRUE(m_ctrl->GetDayCtrl()->SetStringSelection(wxString::Format("%02d", day)));
  }

  static constexpr long kShowCenturyStyle = 4;
  wxDateGenericCtrl* m_ctrl = nullptr;
  int m_events = 0;
};

::testing::AssertionResult IsLocalMidnightOf(const wxDateTime& value, Ymd expected) {
  if (!value.IsValid()) return ::testing::AssertionFailure() << "invalid date";
  const wxDateTime::Tm tm = value.GetTm(wxDateTime::Local);
  if (tm.year == expected.year && tm.mon + 1 == expected.month && tm.mday == expected.day &&
      tm.hour == 0 && tm.min == 0 && tm.sec == 0 && tm.msec == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << tm.year << "-" << tm.mon + 1 << "-"
                                       << tm.mday << " " << tm.hour << ":" << tm.min << ":"
                                       << tm.sec << "." << tm.msec;
}

TEST_F(DateGenericCtrlTest, StartsAtTodayWithFullListsAndNoEvents) {
  const wxDateTime before = wxDateTime::Today();
  auto* fresh = new wxDateGenericCtrl(guitest::TopFrame(), wxID_ANY);
  const wxDateTime value = fresh->GetValue();
  EXPECT_TRUE(value == before || value == wxDateTime::Today());
  EXPECT_EQ(fresh->GetYearCtrl()->GetMin(), 0);
  EXPECT_EQ(fresh->GetYearCtrl()->GetMax(), 5000);
  EXPECT_GT(fresh->GetDayCtrl()->GetSize().x, 20) << "without a width, parts take their own";
  fresh->Destroy();

  // (Enter() finds each month and day by its text.)
  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetCount(), 12u);
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetCount(), 31u);
  EXPECT_EQ(m_events, 0);
}

// A day beyond the month reads as the month's last day, February following
// the Gregorian leap years.
TEST_F(DateGenericCtrlTest, DayBeyondTheMonthReadsAsItsLastDay) {
  const struct { Ymd entered; int day; } cases[] = {
      {{2001, 4, 31}, 30}, {{2001, 2, 31}, 28}, {{2001, 12, 31}, 31},
      {{1900, 2, 29}, 28}, {{2000, 2, 29}, 29}, {{2004, 2, 29}, 29},
      {{2100, 2, 29}, 28}, {{0, 2, 29}, 29},    {{100, 2, 29}, 28}};
  for (const auto& c : cases) {
    const Ymd& in = c.entered;
    Enter(in.year, in.month, in.day);
    EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {in.year, in.month, c.day}))
        << in.year << "-" << in.month << "-" << in.day;
  }
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetStringSelection(), "28") << "the day read is the day shown";
}

// Summer and winter days, the two switch days and the ends of the 32-bit
// time range, checked against the C library's own local midnight.
TEST_F(DateGenericCtrlTest, ValueIsLocalMidnightInWinterSummerAndOnSwitchDays) {
  ASSERT_TRUE(wxDateTime(15, wxDateTime::Jul, 2001).IsDST());
  ASSERT_FALSE(wxDateTime(15, wxDateTime::Jan, 2001).IsDST());
  const Ymd days[] = {{2001, 1, 15}, {2001, 7, 15}, {2001, 3, 25},
                      {2001, 10, 28}, {1970, 1, 1},  {2037, 12, 31}};
  for (const Ymd& day : days) {
    Enter(day.year, day.month, day.day);
    const wxDateTime value = m_ctrl->GetValue();
    EXPECT_TRUE(IsLocalMidnightOf(value, day)) << day.year << "-" << day.month;
    struct tm local = {};
    local.tm_year = day.year - 1900;
    local.tm_mon = day.month - 1;
    local.tm_mday = day.day;
    local.tm_isdst = -1;
    EXPECT_EQ(value.GetValue().GetValue(), mktime(&local) * 1000LL)
        << day.year << "-" << day.month;
  }
}

// Whatever the time of day given, the control holds the day; it never
// notifies for a value set by the program.
TEST_F(DateGenericCtrlTest, SetValueThenGetValueGivesThatDayAtMidnight) {
  const Ymd days[] = {{0, 2, 29},    {999, 6, 30},  {1582, 10, 10},
                      {1969, 12, 31}, {2001, 3, 25}, {2038, 1, 19}, {2999, 12, 31}};
  for (const Ymd& day : days) {
    const auto month = static_cast<wxDateTime::Month>(day.month - 1);
    // (Not hh:59:59: the toolkit cannot make 1970-01-01 00:59:59 here,
    // as the C library reports that second as its error value -1.)
    for (int hour : {0, 12, 23}) {
      m_ctrl->SetValue(wxDateTime(day.day, month, day.year, hour, 58, 59, 999));
      EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), day))
          << day.year << "-" << day.month << "-" << day.day << " " << hour << "h";
    }
  }
  m_ctrl->SetValue(wxInvalidDateTime);  // ignored
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2999, 12, 31}));
  EXPECT_EQ(m_events, 0);
}

TEST_F(DateGenericCtrlTest, RangeLimitsOnlyTheYear) {
  m_ctrl->SetValue(wxDateTime(10, wxDateTime::May, 3500));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2999, 5, 10})) << "year held at the top";
  m_ctrl->SetValue(wxDateTime(10, wxDateTime::May, -20));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {0, 5, 10})) << "year held at the bottom";

  // Bounds given the wrong way round still mean the same years.
  m_ctrl->SetRange(wxDateTime(1, wxDateTime::Jan, 2100), wxDateTime(1, wxDateTime::Jan, 1800));
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMin(), 1800);
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMax(), 2100);
}

// Year, month and day from left to right, each a third of the width.
TEST_F(DateGenericCtrlTest, WidthIsSharedEquallyByTheThreeParts) {
  const wxWindow* parts[] = {m_ctrl->GetYearCtrl(), m_ctrl->GetMonthCtrl(), m_ctrl->GetDayCtrl()};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(parts[i]->GetSize().x, 56) << i;
    EXPECT_EQ(parts[i]->GetPosition().x, 56 * i) << i;
  }
}

// What the user sees of the control: "year Mon dd".
std::string Shown(wxDateGenericCtrl* ctrl) {
  return std::string(wxString::Format("%d %s %s", ctrl->GetYearCtrl()->GetValue(),
                                      ctrl->GetMonthCtrl()->GetValue(),
                                      ctrl->GetDayCtrl()->GetValue())
                         .utf8_str());
}

bool SendComboKey(wxWindow* combo, int keyCode) {
  wxKeyEvent event(wxEVT_KEY_DOWN);
  event.m_keyCode = keyCode;
  event.SetEventObject(combo);
  return combo->GetEventHandler()->ProcessEvent(event);
}

// A day that the month cannot hold is shown corrected as soon as the month,
// the day or the year makes it so, not only when the value is read.
TEST_F(DateGenericCtrlTest, CorrectedDayIsShownAtOnce) {
  Enter(2001, 1, 31);
  SendComboKey(m_ctrl->GetMonthCtrl(), WXK_DOWN);  // Jan -> Feb
  EXPECT_EQ(Shown(m_ctrl), "2001 Feb 28");
  SendComboKey(m_ctrl->GetMonthCtrl(), WXK_DOWN);  // Mar: the 28th stays
  EXPECT_EQ(Shown(m_ctrl), "2001 Mar 28");

  Enter(2001, 3, 31);
  SendComboKey(m_ctrl->GetMonthCtrl(), WXK_DOWN);
  EXPECT_EQ(Shown(m_ctrl), "2001 Apr 30");
  SendComboKey(m_ctrl->GetDayCtrl(), WXK_DOWN);  // to "31", which April lacks
  EXPECT_EQ(Shown(m_ctrl), "2001 Apr 30");

  // The year through the arrows of the toolkit's own spin widget.
  auto spin = reinterpret_cast<void (*)(void*, int, double)>(
      dlsym(RTLD_DEFAULT, "gtk_spin_button_spin"));
  if (!spin) GTEST_SKIP() << "not a GTK build";
  Enter(2000, 2, 29);
  const int stepForward = 0;
  spin(m_ctrl->GetYearCtrl()->GetHandle(), stepForward, 1.0);
  guitest::PumpEvents();
  EXPECT_EQ(Shown(m_ctrl), "2001 Feb 28");
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2001, 2, 28}));
}

// Real pointer and keyboard input. The month and day boxes take the focus
// by click and by Tab, show it, and step with the arrow keys while closed,
// so that an arrow key never reaches a control the user has left.
TEST_F(DateGenericCtrlTest, MonthAndDayTakeTheFocusAndStepWithTheArrows) {
  m_ctrl->SetValue(wxDateTime(10, wxDateTime::May, 2001));
  wxChoiceWx* month = m_ctrl->GetMonthCtrl();
  wxChoiceWx* day = m_ctrl->GetDayCtrl();
  wxSpinCtrl* year = m_ctrl->GetYearCtrl();
  guitest::PumpEvents();
  const wxImage unfocused = guitest::GrabWindow(month);

  year->SetFocus();
  guitest::PumpEvents();
  ASSERT_TRUE(guitest::HasKeyboardFocus(year));
  guitest::ClickAt(month, wxPoint(8, month->GetSize().y / 2));
  ASSERT_TRUE(guitest::PumpUntil([month] { return month->IsPopupShown(); }));
  guitest::PressKey(WXK_ESCAPE);
  ASSERT_TRUE(guitest::PumpUntil([month] { return !month->IsPopupShown(); }));
  EXPECT_TRUE(guitest::HasKeyboardFocus(month)) << "the clicked box keeps the focus";

  guitest::PressKey(WXK_DOWN);
  EXPECT_EQ(Shown(m_ctrl), "2001 Jun 10") << "the month steps, the year stays";
  EXPECT_FALSE(month->IsPopupShown());
  guitest::PumpUntil([month, &unfocused] {
    const wxImage now = guitest::GrabWindow(month);
    return now.IsOk() && !now.IsSameAs(unfocused);
  }, 500);
  wxImage focused = guitest::GrabWindow(month);
  EXPECT_FALSE(focused.IsSameAs(unfocused)) << "the focused box looks different";

  guitest::PressKey(WXK_TAB);
  EXPECT_TRUE(guitest::HasKeyboardFocus(day)) << "Tab goes on to the day";
  guitest::PressKey(WXK_UP);
  EXPECT_EQ(Shown(m_ctrl), "2001 Jun 09");
  guitest::PressKey(WXK_TAB, wxMOD_SHIFT);
  EXPECT_TRUE(guitest::HasKeyboardFocus(month)) << "Shift+Tab comes back";

  // A row chosen by click: the day box has the focus afterwards.
  guitest::ClickAt(day, wxPoint(8, day->GetSize().y / 2));
  ASSERT_TRUE(guitest::PumpUntil([day] { return day->IsPopupShown(); }));
  wxRect row;
  ASSERT_TRUE(day->GetListPopup()->GetItemRect(19, row));
  guitest::ClickAt(day->GetListPopup(), row.GetPosition() + wxPoint(6, row.height / 2));
  ASSERT_TRUE(guitest::PumpUntil([day] { return !day->IsPopupShown(); }));
  EXPECT_EQ(Shown(m_ctrl), "2001 Jun 20");
  EXPECT_TRUE(guitest::HasKeyboardFocus(day));
  guitest::PressKey(WXK_DOWN);
  EXPECT_EQ(Shown(m_ctrl), "2001 Jun 21");
}

// A step consumes its arrow key: after it, the toolkit's arrow-key focus
// navigation must not move on to a neighbouring control, which the next
// arrow would step instead. A second date control stands right below,
// where GTK's navigation would go, as the end date does in the dialog.
TEST_F(DateGenericCtrlTest, ArrowStepsKeepTheFocusInTheirBox) {
  auto* below = new wxDateGenericCtrl(guitest::TopFrame(), wxID_ANY, wxDefaultDateTime,
                                      wxPoint(20, 70), wxSize(170, -1), kShowCenturyStyle);
  below->SetValue(wxDateTime(1, wxDateTime::Jan, 2040));
  m_ctrl->SetValue(wxDateTime(1, wxDateTime::Jan, 1980));
  wxChoiceWx* day = m_ctrl->GetDayCtrl();
  guitest::PumpEvents();
  // Choose the 10th in the day's list, as a user does.
  guitest::ClickAt(day, wxPoint(8, day->GetSize().y / 2));
  ASSERT_TRUE(guitest::PumpUntil([day] { return day->IsPopupShown(); }));
  wxRect row;
  ASSERT_TRUE(day->GetListPopup()->GetItemRect(9, row));
  guitest::ClickAt(day->GetListPopup(), row.GetPosition() + wxPoint(6, row.height / 2));
  ASSERT_TRUE(guitest::PumpUntil([day] { return !day->IsPopupShown(); }));
  ASSERT_EQ(Shown(m_ctrl), "1980 Jan 10");

  const struct { int key; const char* shown; } steps[] = {
      {WXK_DOWN, "1980 Jan 11"},  {WXK_DOWN, "1980 Jan 12"}, {WXK_DOWN, "1980 Jan 13"},
      {WXK_UP, "1980 Jan 12"},    {WXK_UP, "1980 Jan 11"},   {WXK_RIGHT, "1980 Jan 12"},
      {WXK_RIGHT, "1980 Jan 13"}, {WXK_LEFT, "1980 Jan 12"}, {WXK_LEFT, "1980 Jan 11"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << "key " << step.key << " to " << step.shown);
    guitest::PressKey(step.key);
    EXPECT_EQ(Shown(m_ctrl), step.shown);
    EXPECT_TRUE(guitest::HasKeyboardFocus(day)) << "the focus left the day box";
    EXPECT_EQ(Shown(below), "2040 Jan 01") << "the key reached the control below";
  }
  below->Destroy();
}

}  // namespace
