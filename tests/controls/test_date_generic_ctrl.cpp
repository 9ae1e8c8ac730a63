// wxDateGenericCtrl in a real window, in a time zone with daylight saving
// time so that "local midnight" is not the same as a fixed offset.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

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
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetStringSelection(), "29") << "reading leaves the list";
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

}  // namespace
