// wxChoiceWx and its drop-down list, driven the way a user drives them:
// key events sent to the combo or to the open list, mouse events on the
// list.
#include <algorithm>
#include <gtest/gtest.h>

#include <wx/dcclient.h>

#include "controls/choice_wx.h"
#include "gui_test_support.h"

namespace {

class ChoiceWxTest : public ::testing::Test {
 protected:
  // The date control's day list: "01" to "31".
  void SetUp() override {
    m_choice = new wxChoiceWx(guitest::TopFrame(), wxID_ANY, wxPoint(20, 20), wxSize(90, -1));
    for (int day = 1; day <= 31; ++day) m_choice->Append(wxString::Format("%02d", day));
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

  // A mouse event on the list, at a point in its coordinates.
  void SendMouse(wxEventType type, const wxPoint& point) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetEventObject(List());
    event.SetId(List()->GetId());
    List()->ProcessWindowEventLocally(event);
  }

  static bool SendKey(wxWindow* target, wxEventType type, int keyCode) {
    wxKeyEvent event(type);
    event.m_keyCode = keyCode;
    event.SetEventObject(target);
    return target->GetEventHandler()->ProcessEvent(event);
  }

  void OpenPopup() {
    m_choice->ShowPopup();
    ASSERT_TRUE(guitest::PumpUntil([this] { return m_choice->IsPopupShown(); }));
  }
  bool Closes() {
    return guitest::PumpUntil([this] { return !m_choice->IsPopupShown(); });
  }

  wxChoiceWx* m_choice = nullptr;
  int m_events = 0;
  int m_lastEventId = wxID_NONE;
};

// On the closed combo the arrow keys step from the row shown; a step is
// notified. An arrow key is consumed, stepped or not, so that the toolkit
// does not move the focus with it as well.
TEST_F(ChoiceWxTest, ArrowKeysOnTheClosedComboStepOneRow) {
  EXPECT_TRUE(m_choice->HasFlag(wxCB_READONLY));
  EXPECT_EQ(m_choice->GetSelection(), -1);
  EXPECT_TRUE(PressOnCombo(WXK_UP)) << "no selection: nothing above";
  EXPECT_EQ(m_choice->GetSelection(), -1);
  EXPECT_TRUE(PressOnCombo(WXK_DOWN));
  EXPECT_EQ(m_choice->GetValue(), "01");
  EXPECT_EQ(m_events, 1);
  EXPECT_EQ(m_lastEventId, m_choice->GetId());

  const struct { int from, key; bool consumed; int to; } presses[] = {
      {9, WXK_UP, true, 8},        {9, WXK_LEFT, true, 8},     {9, WXK_NUMPAD8, true, 8},
      {9, WXK_RIGHT, true, 10},    {9, WXK_NUMPAD2, true, 10}, {30, WXK_DOWN, true, 30},
      {30, WXK_NUMPAD2, true, 30}, {0, WXK_UP, true, 0},        {3, WXK_TAB, true, 3},
      {3, 'A', false, 3},          {3, WXK_HOME, false, 3}};
  for (const auto& press : presses) {
    SCOPED_TRACE(testing::Message() << "key " << press.key << " from row " << press.from);
    m_choice->SetSelection(press.from);
    m_events = 0;
    EXPECT_EQ(PressOnCombo(press.key), press.consumed);
    EXPECT_EQ(m_choice->GetValue(), m_choice->GetString(press.to));
    EXPECT_EQ(m_events, press.from != press.to ? 1 : 0);
  }

  // A hovered row that was never chosen does not move the starting point.
  m_choice->SetSelection(9);
  List()->Select(20);
  PressOnCombo(WXK_DOWN);
  EXPECT_EQ(m_choice->GetValue(), "11");
}

TEST_F(ChoiceWxTest, SelectingFromTheProgramNeedsAnExactRowAndNeverNotifies) {
  m_choice->SetSelection(4);
  EXPECT_EQ(m_choice->GetStringSelection(), "05");
  EXPECT_EQ(List()->GetStringValue(), "") << "nothing committed through the list";
  m_choice->SetSelection(-1);
  m_choice->SetSelection(31);  // rows that do not exist are ignored
  EXPECT_EQ(m_choice->GetValue(), "");
  EXPECT_EQ(m_choice->GetSelection(), 4) << "the list keeps its selection";
  EXPECT_EQ(m_choice->GetString(31), "");

  EXPECT_TRUE(m_choice->SetStringSelection("12"));
  EXPECT_EQ(m_choice->GetSelection(), 11);
  m_choice->Append("Jan");
  for (const char* text : {"32", "1", "", " 12", "jan"}) {
    EXPECT_FALSE(m_choice->SetStringSelection(text)) << text;
    EXPECT_EQ(m_choice->GetValue(), "12") << text;
  }
  EXPECT_EQ(m_events, 0);
}

TEST_F(ChoiceWxTest, DropDownHeightFollowsTheVisibleRows) {
  // A row is the text height plus 4, or the row the list really draws if
  // that is taller.
  wxClientDC dc(List());
  dc.SetFont(List()->GetFont());
  wxRect row;
  ASSERT_TRUE(List()->GetItemRect(0, row));
  const int rowHeight = std::max(dc.GetTextExtent("X").GetHeight() + 4, row.height);
  EXPECT_EQ(List()->RowHeight(), rowHeight);

  const int noLimit = 100000;
  // 31 items, 35 visible rows: every item counts.
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, noLimit), wxSize(90, 31 * rowHeight + 3));
  // The smaller of the combo's preferred height and the screen's limit wins.
  EXPECT_EQ(List()->GetAdjustedSize(90, 200, noLimit).y, 200);
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, 150).y, 150);
  EXPECT_EQ(List()->GetAdjustedSize(90, -1, 150).y, 150) << "no preferred height";
  m_choice->SetVisibleRows(12);
  EXPECT_EQ(List()->GetAdjustedSize(90, noLimit, noLimit).y, 12 * rowHeight + 3);

  // The open drop-down really has that size.
  m_choice->SetPopupMaxHeight(12 * rowHeight + 100);
  OpenPopup();
  const wxSize expected(m_choice->GetSize().x, 12 * rowHeight + 3);
  EXPECT_EQ(m_choice->GetPopupWindow()->GetSize(), expected);
}

// In the open list the arrows move the selection one row per press (key
// down and up together), stopping at the ends; nothing is committed.
TEST_F(ChoiceWxTest, ListArrowsMoveOneRowPerPressWithoutNotifying) {
  m_choice->SetSelection(1);
  OpenPopup();
  EXPECT_TRUE(PressInList(WXK_UP));
  EXPECT_EQ(m_choice->GetSelection(), 0);
  EXPECT_TRUE(PressInList(WXK_NUMPAD_LEFT));
  EXPECT_EQ(m_choice->GetSelection(), 0);
  for (int key : {WXK_DOWN, WXK_NUMPAD_DOWN, WXK_RIGHT}) EXPECT_TRUE(PressInList(key));
  EXPECT_EQ(m_choice->GetSelection(), 3);
  EXPECT_FALSE(PressInList('x'));
  EXPECT_TRUE(PressInList(WXK_TAB));
  EXPECT_EQ(m_choice->GetSelection(), 3);
  EXPECT_EQ(m_choice->GetValue(), "02") << "the combo shows the old choice until committed";
  EXPECT_EQ(m_events, 0);
  EXPECT_TRUE(m_choice->IsPopupShown());
}

TEST_F(ChoiceWxTest, ReturnCommitsTheSelectedRowOrOnlyCloses) {
  OpenPopup();
  SendKey(List(), wxEVT_KEY_DOWN, WXK_NUMPAD_ENTER);
  EXPECT_TRUE(Closes());
  EXPECT_EQ(m_choice->GetValue(), "");
  EXPECT_EQ(m_events, 0);

  m_choice->SetSelection(2);
  OpenPopup();
  PressInList(WXK_DOWN);
  PressInList(WXK_DOWN);
  EXPECT_FALSE(SendKey(List(), wxEVT_KEY_DOWN, WXK_RETURN)) << "Return is passed on";
  EXPECT_EQ(m_choice->GetValue(), "05");
  EXPECT_EQ(List()->GetStringValue(), "05");
  EXPECT_EQ(m_events, 1);
  EXPECT_TRUE(Closes());
  SendKey(List(), wxEVT_KEY_UP, WXK_RETURN);
  EXPECT_EQ(m_events, 1) << "the release does not commit again";
}

TEST_F(ChoiceWxTest, EscapeAfterHoveringRestoresTheShownRow) {
  m_choice->SetSelection(6);
  OpenPopup();
  for (long row : {10, 15}) {
    wxRect rect;
    List()->GetItemRect(row, rect);
    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(rect.GetPosition() + wxPoint(5, rect.height / 2));
    List()->ProcessWindowEventLocally(move);
    EXPECT_EQ(m_choice->GetSelection(), row) << "hover selects";
  }
  EXPECT_TRUE(PressInList(WXK_ESCAPE));
  EXPECT_EQ(m_choice->GetSelection(), 6);
  EXPECT_EQ(m_choice->GetValue(), "07");
  EXPECT_EQ(List()->GetStringValue(), "07");
  EXPECT_EQ(m_events, 0);
  EXPECT_TRUE(Closes());
}

// Hovering selects the row under the pointer; a click commits it, tells
// the combo's handlers once and closes the list. The mouse events go to the
// list itself: real pointer input through a display shared by the test
// programs was not reliable enough to test with.
TEST_F(ChoiceWxTest, HoverThenClickCommitsTheRowUnderThePointer) {
  OpenPopup();
  wxRect rect;
  List()->GetItemRect(7, rect);
  const wxPoint onRow = rect.GetPosition() + wxPoint(6, rect.height / 2);

  SendMouse(wxEVT_MOTION, onRow);
  EXPECT_EQ(m_choice->GetSelection(), 7);
  EXPECT_EQ(m_events, 0) << "hovering does not commit";

  SendMouse(wxEVT_LEFT_DOWN, onRow);
  EXPECT_TRUE(Closes());
  EXPECT_EQ(m_choice->GetValue(), "08");
  EXPECT_EQ(List()->GetStringValue(), "08");
  EXPECT_EQ(m_events, 1);
}

// The point in the middle of a row, in the list's coordinates.
wxPoint RowCentre(wxListViewComboPopup* list, long row) {
  wxRect rect;
  list->GetItemRect(row, rect);
  return rect.GetPosition() + wxPoint(6, rect.height / 2);
}

// Real pointer input: the list opens at a click on the combo; hovering a
// row and then clicking beside the list closes it without a choice, and
// the row hovered must not become the value the program reads.
TEST_F(ChoiceWxTest, ClosingTheListWithoutAChoiceKeepsTheShownRow) {
  m_choice->SetSelection(2);
  guitest::ClickAt(m_choice, wxPoint(8, m_choice->GetSize().y / 2));
  ASSERT_TRUE(guitest::PumpUntil([this] { return m_choice->IsPopupShown(); }));
  guitest::MovePointerTo(List(), RowCentre(List(), 9));
  EXPECT_EQ(m_choice->GetSelection(), 9) << "hover selects while the list is open";

  wxWindow* outside = guitest::TopFrame();
  guitest::ClickAt(outside, outside->ScreenToClient(m_choice->GetScreenRect().GetTopRight() +
                                                    wxPoint(150, 5)));
  ASSERT_TRUE(Closes());
  EXPECT_EQ(m_choice->GetValue(), "03");
  EXPECT_EQ(m_choice->GetSelection(), 2);
  EXPECT_EQ(m_choice->GetStringSelection(), "03");
  EXPECT_EQ(m_events, 0);

  // Nothing shown (nothing chosen yet): nothing stays selected either.
  m_choice->SetSelection(-1);
  m_choice->GetListPopup()->Select(2, false);
  OpenPopup();
  guitest::MovePointerTo(List(), RowCentre(List(), 5));
  m_choice->HidePopup();
  EXPECT_EQ(m_choice->GetSelection(), -1);
}

// A list shorter than its rows: the wheel scrolls under a pointer that
// stays put, and a click then commits the row under the pointer, not the
// row hovered last. Wheel and keys reach the last row and the first.
TEST_F(ChoiceWxTest, WheelAndKeysReachEveryRowAndAClickTakesTheRowUnderThePointer) {
  m_choice->SetVisibleRows(10);
  OpenPopup();
  ASSERT_LT(List()->GetCountPerPage(), 31);
  const wxPoint pointer = RowCentre(List(), 8);
  SendMouse(wxEVT_MOTION, pointer);

  auto wheel = [this, pointer](int rotation) {
    wxMouseEvent event(wxEVT_MOUSEWHEEL);
    event.SetPosition(pointer);
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = 120;
    event.m_linesPerAction = 3;
    List()->ProcessWindowEventLocally(event);
    guitest::PumpEvents();
  };
  auto lastShownRow = [this] { return List()->GetTopItem() + List()->GetCountPerPage() - 1; };

  wheel(-120);
  const long top = List()->GetTopItem();
  EXPECT_GT(top, 0) << "one notch down scrolls";
  int flags = 0;
  const long underPointer = List()->HitTest(pointer, flags);
  EXPECT_EQ(m_choice->GetSelection(), underPointer) << "the hover follows the scrolled rows";

  for (int notch = 0; notch < 10; ++notch) wheel(-120);
  EXPECT_EQ(lastShownRow(), 30) << "the wheel reaches the last row";
  for (int notch = 0; notch < 10; ++notch) wheel(120);
  EXPECT_EQ(List()->GetTopItem(), 0) << "and the first";
  wheel(-120);

  // The selection stays on an earlier row, as it would after the wheel
  // with a pointer that has not moved since.
  List()->Select(3);
  const long target = List()->HitTest(pointer, flags);
  ASSERT_GT(target, 3);
  SendMouse(wxEVT_LEFT_DOWN, pointer);
  EXPECT_TRUE(Closes());
  EXPECT_EQ(m_choice->GetValue(), m_choice->GetString(target));
  EXPECT_EQ(m_choice->GetSelection(), target);
  EXPECT_EQ(m_events, 1);

  m_choice->SetSelection(0);
  OpenPopup();
  for (int press = 0; press < 40; ++press) PressInList(WXK_DOWN);
  EXPECT_EQ(m_choice->GetSelection(), 30);
  EXPECT_EQ(lastShownRow(), 30) << "the keys reach the last row";
  PressInList(WXK_RETURN);
  EXPECT_EQ(m_choice->GetValue(), "31");
}

// The visible-row count decides the height of the open list; only the
// screen limits it (the combo's own default would cut it at 400 pixels).
TEST_F(ChoiceWxTest, OpenListShowsAllItsVisibleRows) {
  OpenPopup();
  const int rowHeight = List()->RowHeight();
  const wxRect screen = wxGetClientDisplayRect();
  const wxRect combo = m_choice->GetScreenRect();
  const int room = std::max(combo.GetTop() - screen.GetTop(), screen.GetBottom() - combo.GetBottom());
  EXPECT_EQ(m_choice->GetPopupWindow()->GetSize().y, std::min(31 * rowHeight + 3, room));
  EXPECT_EQ(List()->GetCountPerPage(), 31) << "all days at once on this screen";
}

}  // namespace
