// wxDateGenericCtrl in a real window, in a time zone with daylight saving
// time so that "local midnight" is not the same as a fixed offset.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <vector>

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
  int year;
  int month;  // 1 to 12
  int day;
};

class DateGenericCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kZoneSet);
    m_ctrl = new wxDateGenericCtrl(guitest::TopFrame(), wxID_ANY, wxDefaultDateTime,
                                   wxPoint(20, 20), wxSize(170, -1), kShowCenturyStyle);
    m_ctrl->Bind(wxEVT_COMMAND_CHOICE_SELECTED, [this](wxCommandEvent&) { ++m_events; });
    guitest::PumpEvents();
  }

  void TearDown() override {
    m_ctrl->Destroy();
    guitest::PumpEvents();
  }

  // What a user does: type the year and pick month and day by their texts.
  void Enter(int year, const char* month, const char* day) {
    m_ctrl->GetYearCtrl()->SetValue(year);
    ASSERT_TRUE(m_ctrl->GetMonthCtrl()->SetStringSelection(month)) << month;
    ASSERT_TRUE(m_ctrl->GetDayCtrl()->SetStringSelection(day)) << day;
  }

  // The dialog's year range: 1 January of year 0 to 31 December 2999.
  void SetDialogRange() {
    m_ctrl->SetRange(wxDateTime(1, wxDateTime::Jan, 0), wxDateTime(31, wxDateTime::Dec, 2999));
  }

  static constexpr long kShowCenturyStyle = 4;
  wxDateGenericCtrl* m_ctrl = nullptr;
  int m_events = 0;
};

::testing::AssertionResult IsLocalMidnightOf(const wxDateTime& value, Ymd expected) {
  if (!value.IsValid()) return ::testing::AssertionFailure() << "invalid date";
  const wxDateTime::Tm tm = value.GetTm(wxDateTime::Local);
  if (tm.year != expected.year || tm.mon + 1 != expected.month || tm.mday != expected.day ||
      tm.hour != 0 || tm.min != 0 || tm.sec != 0 || tm.msec != 0) {
    return ::testing::AssertionFailure()
           << "got " << tm.year << "-" << tm.mon + 1 << "-" << tm.mday << " " << tm.hour << ":"
           << tm.min << ":" << tm.sec << "." << tm.msec;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(DateGenericCtrlTest, TheZoneHasSummerTime) {
  EXPECT_TRUE(wxDateTime(15, wxDateTime::Jul, 2001).IsDST());
  EXPECT_FALSE(wxDateTime(15, wxDateTime::Jan, 2001).IsDST());
}

TEST_F(DateGenericCtrlTest, StartsAtTodayWithFullListsAndNoEvents) {
  const wxDateTime before = wxDateTime::Today();
  const wxDateTime value = m_ctrl->GetValue();
  EXPECT_TRUE(value == before || value == wxDateTime::Today());
  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetCount(), 12u);
  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetString(0), "Jan");
  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetString(11), "Dec");
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetCount(), 31u);
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetString(0), "01");
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetString(30), "31");
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMin(), 0);
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMax(), 5000);
  EXPECT_EQ(m_ctrl->GetWindowStyleFlag() & kShowCenturyStyle, kShowCenturyStyle);
  EXPECT_EQ(m_events, 0);
}

TEST_F(DateGenericCtrlTest, DayBeyondTheMonthReadsAsItsLastDay) {
  Enter(2001, "Apr", "31");
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2001, 4, 30}));
  Enter(2001, "Feb", "31");
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2001, 2, 28}));
  Enter(2001, "Dec", "31");
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2001, 12, 31}));
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetStringSelection(), "31") << "reading does not change the list";
}

TEST_F(DateGenericCtrlTest, FebruaryFollowsTheGregorianLeapYears) {
  SetDialogRange();
  const std::vector<Ymd> cases = {{1900, 2, 28}, {2000, 2, 29}, {2004, 2, 29}, {2100, 2, 28},
                                  {0, 2, 29},    {100, 2, 28},  {400, 2, 29},  {1, 2, 28}};
  for (const Ymd& expected : cases) {
    Enter(expected.year, "Feb", "29");
    EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), expected)) << expected.year;
  }
}

TEST_F(DateGenericCtrlTest, ValueIsLocalMidnightInWinterSummerAndOnSwitchDays) {
  const std::vector<Ymd> days = {{2001, 1, 15}, {2001, 7, 15}, {2001, 3, 25}, {2001, 10, 28},
                                 {1970, 1, 1},  {2037, 12, 31}};
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (const Ymd& day : days) {
    Enter(day.year, months[day.month - 1], wxString::Format("%02d", day.day).c_str());
    const wxDateTime value = m_ctrl->GetValue();
    EXPECT_TRUE(IsLocalMidnightOf(value, day)) << day.year << "-" << day.month;
    // The C library's own idea of that local midnight.
    struct tm local = {};
    local.tm_year = day.year - 1900;
    local.tm_mon = day.month - 1;
    local.tm_mday = day.day;
    local.tm_isdst = -1;
    const wxLongLong millisecondsFromEpoch = value.GetValue();
    EXPECT_EQ(millisecondsFromEpoch.GetValue(), mktime(&local) * 1000LL)
        << day.year << "-" << day.month;
  }
}

TEST_F(DateGenericCtrlTest, SetValueThenGetValueGivesThatDayAtMidnight) {
  SetDialogRange();
  const std::vector<Ymd> days = {{0, 1, 1},     {0, 2, 29},    {0, 12, 31},  {1, 1, 1},
                                 {999, 6, 30},  {1582, 10, 10}, {1899, 12, 31}, {1969, 12, 31},
                                 {1970, 1, 1},  {2001, 3, 25},  {2001, 7, 15}, {2038, 1, 19},
                                 {2038, 6, 15}, {2999, 12, 31}};
  for (const Ymd& day : days) {
    const auto month = static_cast<wxDateTime::Month>(day.month - 1);
    // (Not hh:59:59: the toolkit cannot make 1970-01-01 00:59:59 here,
    // as the C library reports that second as its error value -1.)
    for (int hour : {0, 1, 12, 23}) {
      m_ctrl->SetValue(wxDateTime(day.day, month, day.year, hour, 58, 59, 999));
      EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), day))
          << day.year << "-" << day.month << "-" << day.day << " " << hour << "h";
    }
  }
  EXPECT_EQ(m_events, 0);
}

TEST_F(DateGenericCtrlTest, InvalidDateLeavesTheValue) {
  m_ctrl->SetValue(wxDateTime(4, wxDateTime::Jul, 1990));
  m_ctrl->SetValue(wxInvalidDateTime);
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {1990, 7, 4}));
}

TEST_F(DateGenericCtrlTest, RangeLimitsOnlyTheYear) {
  SetDialogRange();
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMin(), 0);
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMax(), 2999);

  m_ctrl->SetValue(wxDateTime(31, wxDateTime::Dec, 2999));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2999, 12, 31}));
  m_ctrl->SetValue(wxDateTime(1, wxDateTime::Jan, 0));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {0, 1, 1}));

  m_ctrl->SetValue(wxDateTime(10, wxDateTime::May, 3500));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {2999, 5, 10})) << "year held at the top";
  m_ctrl->SetValue(wxDateTime(10, wxDateTime::May, -20));
  EXPECT_TRUE(IsLocalMidnightOf(m_ctrl->GetValue(), {0, 5, 10})) << "year held at the bottom";

  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetCount(), 12u);
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetCount(), 31u);

  // Bounds given the wrong way round still mean the same years.
  m_ctrl->SetRange(wxDateTime(1, wxDateTime::Jan, 2100), wxDateTime(1, wxDateTime::Jan, 1800));
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMin(), 1800);
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetMax(), 2100);
}

TEST_F(DateGenericCtrlTest, WidthIsSharedEquallyByTheThreeParts) {
  EXPECT_EQ(m_ctrl->GetYearCtrl()->GetSize().x, 56);
  EXPECT_EQ(m_ctrl->GetMonthCtrl()->GetSize().x, 56);
  EXPECT_EQ(m_ctrl->GetDayCtrl()->GetSize().x, 56);
  // Left to right: year, month, day.
  EXPECT_LT(m_ctrl->GetYearCtrl()->GetPosition().x, m_ctrl->GetMonthCtrl()->GetPosition().x);
  EXPECT_LT(m_ctrl->GetMonthCtrl()->GetPosition().x, m_ctrl->GetDayCtrl()->GetPosition().x);
}

TEST_F(DateGenericCtrlTest, DefaultSizeGivesEachPartItsOwnWidth) {
  auto* ctrl = new wxDateGenericCtrl(guitest::TopFrame(), wxID_ANY);
  guitest::PumpEvents();
  EXPECT_GT(ctrl->GetYearCtrl()->GetSize().x, 20);
  EXPECT_GT(ctrl->GetMonthCtrl()->GetSize().x, 20);
  EXPECT_GT(ctrl->GetDayCtrl()->GetSize().x, 20);
  ctrl->Destroy();
}

}  // namespace
