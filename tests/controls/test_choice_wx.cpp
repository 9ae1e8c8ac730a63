// wxChoiceWx and its drop-down list, driven the way a user drives them:
// key events sent to the combo or to the open list, mouse events on the
// list, and real pointer input for hovering and clicking.
#include <algorithm>
#include <gtest/gtest.h>

#include <wx/dcclient.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "controls/choice_wx.h"
#include "gui_test_support.h"

namespace {

constexpr int kDays = 31;

class ChoiceWxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_choice = new wxChoiceWx(guitest::TopFrame(), wxID_ANY, wxPoint(20, 20), wxSize(90, -1));
    for (int day = 1; day <= kDays; ++day) m_choice->Append(wxString::Format("%02d", day));
    m_choice->SetVisibleRows(35);
    m_choice->Bind(wxEVT_COMMAND_CHOICE_SELECTED, [this](wxCommandEvent& event) {
      ++m_events;
      m_lastEventId = event.GetId();
      event.Skip();
    });
    guitest::PumpEvents();
  }

  void TearDown() override {
    if (m_choice->IsPopupShown()) m_choice->HidePopup();
    m_choice->Destroy();
    guitest::PumpEvents();
  }

  wxListViewComboPopup* List() const { return m_choice->GetListPopup(); }

  // A key press on the closed combo; true when the control consumed it.
  bool PressOnCombo(int keyCode) { return SendKey(m_choice, wxEVT_KEY_DOWN, keyCode); }

  // A full key press (down and up) in the open list; true when the list
  // consumed the key-down.
  bool PressInList(int keyCode) {
    const bool consumed = SendKey(List(), wxEVT_KEY_DOWN, keyCode);
    SendKey(List(), wxEVT_KEY_UP, keyCode);
    return consumed;
  }

  static bool SendKey(wxWindow* target, wxEventType type, int keyCode) {
    wxKeyEvent event(type);
    event.m_keyCode = keyCode;
    event.SetEventObject(target);
    return target->GetEventHandler()->ProcessEvent(event);
  }

  // A mouse event at the middle of `row`, in the list's item coordinates.
  wxMouseEvent MouseOnRow(wxEventType type, long row) const {
    wxRect rect;
    List()->GetItemRect(row, rect);
    wxMouseEvent event(type);
    event.m_x = rect.x + 5;
    event.m_y = rect.y + rect.height / 2;
    event.SetEventObject(List());
    return event;
  }

  void OpenPopup() {
    m_choice->ShowPopup();
    ASSERT_TRUE(guitest::PumpUntil([this] { return m_choice->IsPopupShown(); }));
  }

  // Text height of "X" in the list's font: the unit of the drop-down height.
  int LetterHeight() const {
    wxClientDC dc(List());
    dc.SetFont(List()->GetFont());
    return dc.GetTextExtent("X").GetHeight();
  }

  wxChoiceWx* m_choice = nullptr;
  int m_events = 0;
  int m_lastEventId = wxID_NONE;
};

TEST_F(ChoiceWxTest, FreshControlHasItemsButNoSelection) {
  EXPECT_EQ(m_choice->GetCount(), 31u);
  EXPECT_EQ(m_choice->GetString(0), "01");
  EXPECT_EQ(m_choice->GetString(30), "31");
  EXPECT_EQ(m_choice->GetString(31), "");
  EXPECT_EQ(m_choice->GetSelection(), -1);
  EXPECT_EQ(m_choice->GetStringSelection(), "");
  EXPECT_EQ(m_choice->GetValue(), "");
  EXPECT_TRUE(m_choice->HasFlag(wxCB_READONLY));
}

TEST_F(ChoiceWxTest, ChoicesGivenToTheConstructorAreAppendedInOrder) {
  const wxString months[] = {"Jan", "Feb", "Mar"};
  auto* choice = new wxChoiceWx(guitest::TopFrame(), wxID_ANY, wxPoint(20, 80), wxDefaultSize,
                                3, months);
  EXPECT_EQ(choice->GetCount(), 3u);
  EXPECT_EQ(choice->GetString(2), "Mar");
  choice->Clear();
  EXPECT_EQ(choice->GetCount(), 0u);
  EXPECT_EQ(choice->GetSelection(), -1);
  choice->Destroy();
}

TEST_F(ChoiceWxTest, FirstDownSelectsTheFirstRowAndNotifiesOnce) {
  EXPECT_FALSE(PressOnCombo(WXK_DOWN)) << "a step passes the key on";
  EXPECT_EQ(m_choice->GetSelection(), 0);
  EXPECT_EQ(m_choice->GetValue(), "01");
  EXPECT_EQ(m_events, 1);
  EXPECT_EQ(m_lastEventId, m_choice->GetId());
}

TEST_F(ChoiceWxTest, ArrowKeysStepFromTheShownText) {
  m_choice->SetSelection(9);
  EXPECT_FALSE(PressOnCombo(WXK_UP));
  EXPECT_EQ(m_choice->GetValue(), "09");
  EXPECT_FALSE(PressOnCombo(WXK_LEFT));
  EXPECT_EQ(m_choice->GetValue(), "08");
  EXPECT_FALSE(PressOnCombo(WXK_NUMPAD8));
  EXPECT_EQ(m_choice->GetValue(), "07");
  EXPECT_FALSE(PressOnCombo(WXK_RIGHT));
  EXPECT_FALSE(PressOnCombo(WXK_NUMPAD2));
  EXPECT_EQ(m_choice->GetValue(), "09");
  EXPECT_EQ(m_choice->GetSelection(), 8);
  EXPECT_EQ(m_events, 5);

  // A hovered row that was never chosen does not move the starting point.
  List()->Select(20);
  EXPECT_FALSE(PressOnCombo(WXK_DOWN));
  EXPECT_EQ(m_choice->GetValue(), "10");
}

TEST_F(ChoiceWxTest, StepsPastEitherEndChangeNothingAndConsumeTheKey) {
  EXPECT_TRUE(PressOnCombo(WXK_UP)) << "no selection: nothing above";
  EXPECT_EQ(m_choice->GetSelection(), -1);

  m_choice->SetSelection(30);
  EXPECT_TRUE(PressOnCombo(WXK_DOWN));
  EXPECT_TRUE(PressOnCombo(WXK_NUMPAD2));
  EXPECT_EQ(m_choice->GetSelection(), 30);
  EXPECT_EQ(m_choice->GetValue(), "31");

  m_choice->SetSelection(0);
  EXPECT_TRUE(PressOnCombo(WXK_UP));
  EXPECT_EQ(m_choice->GetValue(), "01");
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, TabIsConsumedAndOtherKeysPassThrough) {
  m_choice->SetSelection(3);
  EXPECT_TRUE(PressOnCombo(WXK_TAB));
  EXPECT_FALSE(PressOnCombo('A'));
  EXPECT_FALSE(PressOnCombo(WXK_HOME));
  EXPECT_EQ(m_choice->GetValue(), "04");
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, SetSelectionShowsTheRowWithoutNotifying) {
  m_choice->SetSelection(4);
  EXPECT_EQ(m_choice->GetSelection(), 4);
  EXPECT_EQ(m_choice->GetStringSelection(), "05");
  EXPECT_EQ(m_choice->GetValue(), "05");
  EXPECT_EQ(List()->GetStringValue(), "") << "nothing committed through the list";

  m_choice->SetSelection(-1);
  EXPECT_EQ(m_choice->GetValue(), "");
  EXPECT_EQ(m_choice->GetSelection(), 4) << "the list keeps its selection";

  m_choice->SetSelection(31);
  m_choice->SetSelection(-7);
  EXPECT_EQ(m_choice->GetValue(), "") << "rows that do not exist are ignored";
  EXPECT_EQ(m_choice->GetSelection(), 4);
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, SetStringSelectionNeedsAnExactMatch) {
  EXPECT_TRUE(m_choice->SetStringSelection("12"));
  EXPECT_EQ(m_choice->GetSelection(), 11);
  EXPECT_EQ(m_choice->GetValue(), "12");

  for (const char* text : {"32", "1", "", " 12"}) {
    EXPECT_FALSE(m_choice->SetStringSelection(text)) << text;
    EXPECT_EQ(m_choice->GetSelection(), 11) << text;
    EXPECT_EQ(m_choice->GetValue(), "12") << text;
  }
  EXPECT_EQ(m_events, 0);

  m_choice->Append("Jan");
  EXPECT_FALSE(m_choice->SetStringSelection("jan")) << "case matters";
  EXPECT_EQ(m_choice->GetValue(), "12");
}

TEST_F(ChoiceWxTest, DropDownHeightFollowsTheVisibleRows) {
  const int rowHeight = List()->RowHeight();
  // A row is never lower than the text height plus 4, nor lower than the
  // rows the list really draws.
  wxRect row;
  ASSERT_TRUE(List()->GetItemRect(0, row));
  EXPECT_EQ(rowHeight, std::max(LetterHeight() + 4, row.height));
  const int noLimit = 100000;
  // 31 items, 35 visible rows: every item counts.
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, noLimit), wxSize(90, 31 * rowHeight + 3));
  // The smaller of the combo's preferred height and the screen's limit wins.
  EXPECT_EQ(List()->GetAdjustedSize(90, 200, noLimit).y, 200);
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, 150).y, 150);
  EXPECT_EQ(List()->GetAdjustedSize(90, -1, 150).y, 150) << "no preferred height";

  m_choice->SetVisibleRows(12);
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, noLimit).y, 12 * rowHeight + 3);
}

TEST_F(ChoiceWxTest, OpenDropDownHasTheComputedHeight) {
  const int full = 31 * List()->RowHeight() + 3;
  m_choice->SetPopupMaxHeight(full + 100);
  OpenPopup();
  EXPECT_EQ(m_choice->GetPopupWindow()->GetSize().y, full);
  EXPECT_EQ(m_choice->GetPopupWindow()->GetSize().x, m_choice->GetSize().x);
}

TEST_F(ChoiceWxTest, ListArrowsMoveOneRowPerPressWithoutNotifying) {
  m_choice->SetSelection(4);
  OpenPopup();
  EXPECT_TRUE(PressInList(WXK_DOWN));
  EXPECT_EQ(m_choice->GetSelection(), 5) << "key down and key up are one press";
  EXPECT_EQ(List()->GetStringValue(), "06");
  EXPECT_TRUE(PressInList(WXK_NUMPAD_DOWN));
  EXPECT_TRUE(PressInList(WXK_UP));
  EXPECT_TRUE(PressInList(WXK_NUMPAD_LEFT));
  EXPECT_EQ(m_choice->GetSelection(), 4);
  EXPECT_EQ(m_choice->GetValue(), "05") << "the combo shows the old choice until committed";
  EXPECT_EQ(m_events, 0);
  EXPECT_TRUE(m_choice->IsPopupShown());
}

TEST_F(ChoiceWxTest, ListArrowsStopAtTheEnds) {
  m_choice->SetSelection(0);
  OpenPopup();
  EXPECT_TRUE(PressInList(WXK_UP));
  EXPECT_EQ(m_choice->GetSelection(), 0);
  m_choice->HidePopup();

  m_choice->SetSelection(30);
  OpenPopup();
  EXPECT_TRUE(PressInList(WXK_RIGHT));
  EXPECT_EQ(m_choice->GetSelection(), 30);
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, ReturnCommitsTheSelectedRow) {
  m_choice->SetSelection(2);
  OpenPopup();
  PressInList(WXK_DOWN);
  PressInList(WXK_DOWN);
  EXPECT_FALSE(SendKey(List(), wxEVT_KEY_DOWN, WXK_RETURN)) << "Return is passed on";
  EXPECT_EQ(m_choice->GetValue(), "05");
  EXPECT_EQ(List()->GetStringValue(), "05");
  EXPECT_EQ(m_events, 1);
  EXPECT_TRUE(guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); }));
  SendKey(List(), wxEVT_KEY_UP, WXK_RETURN);
  EXPECT_EQ(m_events, 1) << "the release does not commit again";
}

TEST_F(ChoiceWxTest, ReturnWithNothingSelectedOnlyCloses) {
  OpenPopup();
  SendKey(List(), wxEVT_KEY_DOWN, WXK_NUMPAD_ENTER);
  EXPECT_EQ(m_choice->GetValue(), "");
  EXPECT_EQ(m_events, 0);
  EXPECT_TRUE(guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); }));
}

TEST_F(ChoiceWxTest, EscapeAfterHoveringRestoresTheShownRow) {
  m_choice->SetSelection(6);
  OpenPopup();
  for (long row : {10, 11, 15}) {
    wxMouseEvent move = MouseOnRow(wxEVT_MOTION, row);
    List()->ProcessWindowEventLocally(move);
    EXPECT_EQ(m_choice->GetSelection(), row) << "hover selects";
  }
  EXPECT_TRUE(PressInList(WXK_ESCAPE));
  EXPECT_EQ(m_choice->GetSelection(), 6);
  EXPECT_EQ(m_choice->GetValue(), "07");
  EXPECT_EQ(List()->GetStringValue(), "07");
  EXPECT_EQ(m_events, 0);
  EXPECT_TRUE(guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); }));
}

TEST_F(ChoiceWxTest, OtherKeysInTheListPassThrough) {
  m_choice->SetSelection(1);
  OpenPopup();
  EXPECT_FALSE(PressInList('x'));
  EXPECT_TRUE(PressInList(WXK_TAB));
  EXPECT_EQ(m_choice->GetSelection(), 1);
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, ClickCommitsTheHoveredRow) {
  OpenPopup();
  wxMouseEvent move = MouseOnRow(wxEVT_MOTION, 12);
  List()->ProcessWindowEventLocally(move);
  wxMouseEvent click = MouseOnRow(wxEVT_LEFT_DOWN, 12);
  EXPECT_TRUE(List()->ProcessWindowEventLocally(click)) << "the click is not passed on";
  EXPECT_EQ(m_choice->GetValue(), "13");
  EXPECT_EQ(List()->GetStringValue(), "13");
  EXPECT_EQ(m_events, 1);
  EXPECT_TRUE(guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); }));
}

TEST_F(ChoiceWxTest, WheelScrollsWithoutChangingTheChoice) {
  m_choice->SetSelection(3);
  OpenPopup();  // the default height shows only part of the 31 rows
  ASSERT_LT(List()->GetCountPerPage(), 31);
  ASSERT_FALSE(List()->IsVisible(30));

  // One notch down over row 20: 3 lines x (-120 x 3 / 120) = -9 steps.
  wxMouseEvent wheel = MouseOnRow(wxEVT_MOUSEWHEEL, 20);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelDelta = 120;
  wheel.m_linesPerAction = 3;
  EXPECT_TRUE(List()->ProcessWindowEventLocally(wheel));
  guitest::PumpEvents();
  EXPECT_TRUE(List()->IsVisible(29));
  EXPECT_EQ(m_choice->GetSelection(), 3);
  EXPECT_EQ(m_choice->GetValue(), "04");
  EXPECT_EQ(List()->GetStringValue(), "");
  EXPECT_EQ(m_events, 0);
}

// Real pointer input through the X server: hovering selects, and a click
// commits and closes. Button presses reach the program only with the
// next pointer motion under Xvfb, hence the small nudges.
TEST_F(ChoiceWxTest, PointerHoverAndClickWithRealInput) {
  OpenPopup();
  wxWindow* rows = List()->GetMainWindowOfCompositeControl();
  if (!List()->GetChildren().empty()) rows = List()->GetChildren().front();
  wxRect rect;
  List()->GetItemRect(7, rect);
  const wxPoint onRow = rows->ClientToScreen(rect.GetPosition() + wxPoint(6, rect.height / 2));

  wxUIActionSimulator sim;
  sim.MouseMove(onRow);
  ASSERT_TRUE(guitest::PumpUntil([this] { return m_choice->GetSelection() == 7; }));
  sim.MouseClick();
  sim.MouseMove(onRow + wxPoint(1, 0));
  EXPECT_TRUE(guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); }));
  EXPECT_EQ(m_choice->GetValue(), "08");
  EXPECT_EQ(m_events, 1);
  // Move the pointer out of the way of the next tests.
  sim.MouseMove(guitest::TopFrame()->ClientToScreen(wxPoint(600, 600)));
  guitest::PumpEvents();
}

}  // namespace
