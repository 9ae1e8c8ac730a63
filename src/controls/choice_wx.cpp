#include "controls/choice_wx.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/settings.h>

namespace {

// Extra pixels per row above the text height, and for the list's border.
constexpr int kRowPadding = 4;
constexpr int kListBorder = 3;

// Height of the text "X" in `window`'s font.
int LetterHeight(wxWindow* window) {
  wxClientDC dc(window);
  dc.SetFont(window->GetFont());
  return dc.GetTextExtent("X").GetHeight();
}

int LetterWidth(wxWindow* window) {
  wxClientDC dc(window);
  dc.SetFont(window->GetFont());
  return dc.GetTextExtent("X").GetWidth();
}

// Choice notifications carry only the event type and the combo's id.
void SendChoiceSelectedFrom(wxWindow* combo) {
  wxCommandEvent event(wxEVT_COMMAND_CHOICE_SELECTED, combo->GetId());
  combo->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

// ---------------------------------------------------------------------------
// wxListViewComboPopup

wxBEGIN_EVENT_TABLE(wxListViewComboPopup, wxListView)
  EVT_MOTION(wxListViewComboPopup::OnMouseMove)
  EVT_LEFT_DOWN(wxListViewComboPopup::OnMouseClick)
  EVT_MOUSEWHEEL(wxListViewComboPopup::OnMouseWheel)
  EVT_KEY_UP(wxListViewComboPopup::OnKey)
  EVT_KEY_DOWN(wxListViewComboPopup::OnKey)
wxEND_EVENT_TABLE()

void wxListViewComboPopup::Init() { m_value = -1; }

bool wxListViewComboPopup::Create(wxWindow* parent) {
  const bool created =
      wxListView::Create(parent, 1, wxPoint(0, 0), wxDefaultSize,
                         wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL | wxSIMPLE_BORDER,
                         wxDefaultValidator, wxListCtrlNameStr);
  if (!created) return false;
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  // The one column spans the combo, less about a letter for the border.
  const int comboWidth = GetComboCtrl()->GetClientSize().x;
  // A negative width would be read as one of the list's auto-size codes.
  const int columnWidth = std::max(comboWidth - LetterWidth(this), 0);
  InsertColumn(0, wxEmptyString, wxLIST_FORMAT_LEFT, columnWidth);
  return true;
}

wxWindow* wxListViewComboPopup::GetControl() { return this; }

void wxListViewComboPopup::SetStringValue(const wxString& text) {
  const long row = FindExactItem(text);
  if (IsValidRow(row)) SelectRow(row);
}

wxString wxListViewComboPopup::GetStringValue() const {
  // m_value may outlive its row when the list is cleared.
  if (!IsValidRow(m_value)) return wxEmptyString;
  return GetItemText(m_value);
}

// A row is the text height plus padding; where the toolkit draws its rows
// taller than that (GTK does), the real row height counts, so that the
// visible rows are really visible and the last of them is not cut off.
int wxListViewComboPopup::RowHeight() {
  int height = LetterHeight(this) + kRowPadding;
  wxRect row;
  if (GetItemCount() > 0 && GetItemRect(0, row)) height = std::max(height, row.height);
  return height;
}

int wxListViewComboPopup::HeightForVisibleRows() {
  const int rows = std::min(m_visibleRows, GetItemCount());
  return rows * RowHeight() + kListBorder;
}

wxSize wxListViewComboPopup::GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) {
  // The combo passes no preferred height as zero or less; only the
  // screen's limit applies then.
  const int limit = prefHeight > 0 ? std::min(prefHeight, maxHeight) : maxHeight;
  return wxSize(minWidth, std::min(HeightForVisibleRows(), limit));
}

void wxListViewComboPopup::OnDismiss() { SelectComboTextRow(); }

long wxListViewComboPopup::GetSelectedItem() const {
  return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

long wxListViewComboPopup::FindExactItem(const wxString& text) const {
  if (text.empty()) return -1;
  const int count = GetItemCount();
  for (long row = 0; row < count; ++row) {
    if (GetItemText(row) == text) return row;
  }
  return -1;
}

void wxListViewComboPopup::SelectRow(long row) {
  SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
}

// A row hovered but never chosen must not stay selected: the selection is
// what the program reads as the choice, and it has to be the one shown.
void wxListViewComboPopup::SelectComboTextRow() {
  const long row = FindExactItem(GetComboCtrl()->GetValue());
  if (IsValidRow(row)) {
    SelectRow(row);
    return;
  }
  const long selected = GetSelectedItem();
  if (IsValidRow(selected)) SetItemState(selected, 0, wxLIST_STATE_SELECTED);
}

long wxListViewComboPopup::RowAt(const wxPoint& point) {
  int flags = 0;
  const long row = HitTest(point, flags);
  return IsValidRow(row) ? row : -1;
}

void wxListViewComboPopup::FocusRow(long row) {
  const long selected = GetSelectedItem();
  SetItemState(row, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  EnsureVisible(row);
  // In a single-selection list the toolkit drops the selection when the
  // focus moves to another row; the selection must stay where it was.
  if (IsValidRow(selected) && GetSelectedItem() != selected) SelectRow(selected);
}

void wxListViewComboPopup::SendChoiceSelected() { SendChoiceSelectedFrom(GetComboCtrl()); }

void wxListViewComboPopup::OnMouseMove(wxMouseEvent& event) {
  const long row = RowAt(event.GetPosition());
  if (row >= 0) SelectRow(row);
  event.Skip();
}

// The row under the pointer is committed, whatever was hovered last: the
// list may have scrolled under a still pointer. A click beside the rows
// chooses nothing and leaves the list open.
void wxListViewComboPopup::OnMouseClick(wxMouseEvent& event) {
  const long row = RowAt(event.GetPosition());
  if (row < 0) return;
  SelectRow(row);
  CommitSelection();
}

// Scrolls the rows by three lines per notch (as the desktop sets it), to
// the first and the last row at most; the hover selection then follows
// the row now under the still pointer.
void wxListViewComboPopup::OnMouseWheel(wxMouseEvent& event) {
  if (RowAt(event.GetPosition()) < 0 || event.GetWheelDelta() == 0) return;
  const int steps =
      event.GetLinesPerAction() * (event.GetWheelRotation() * 3 / event.GetWheelDelta());
  const long count = GetItemCount();
  const long page = std::max(GetCountPerPage(), 1);
  const long top = std::clamp<long>(GetTopItem() - steps, 0, std::max(count - page, 0L));
  // The row that comes into view at the edge the rows move from.
  const long edge = std::min(steps < 0 ? top + page - 1 : top, count - 1);
  FocusRow(edge);
  const long underPointer = RowAt(event.GetPosition());
  if (underPointer >= 0) SelectRow(underPointer);
}

void wxListViewComboPopup::CommitSelection() {
  m_value = GetSelectedItem();
  // Nothing hovered or selected yet: there is no row to commit.
  if (IsValidRow(m_value)) {
    FocusRow(m_value);
    GetComboCtrl()->SetValue(GetItemText(m_value));
    SendChoiceSelected();
  }
  Dismiss();
}

void wxListViewComboPopup::CancelToComboText() {
  SetStringValue(GetComboCtrl()->GetValue());
  m_value = GetSelectedItem();
  if (GetItemCount() > 0) FocusRow(0);
  Dismiss();
}

void wxListViewComboPopup::StepFocusedRow(int delta) {
  m_value = GetSelectedItem();
  const long target = m_value + delta;
  // Up from the first row (or from no selection) and down from the last
  // row go nowhere.
  if (!IsValidRow(target)) return;
  m_value = target;
  SelectRow(m_value);
  FocusRow(m_value);
}

void wxListViewComboPopup::OnKey(wxKeyEvent& event) {
  // Key down and key up come here alike, but one key press must act only
  // once (an arrow would otherwise move two rows): the release only gets
  // the same consumed-or-skipped answer as the press.
  const bool act = event.GetEventType() != wxEVT_KEY_UP;
  switch (event.GetKeyCode()) {
    case WXK_TAB:
      if (act) Navigate();
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (act) CommitSelection();
      event.Skip();
      return;
    case WXK_ESCAPE:
      if (act) CancelToComboText();
      return;
    case WXK_LEFT:
    case WXK_UP:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_UP:
      if (act) StepFocusedRow(-1);
      return;
    case WXK_RIGHT:
    case WXK_DOWN:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_DOWN:
      if (act) StepFocusedRow(+1);
      return;
    default:
      event.Skip();
  }
}

// ---------------------------------------------------------------------------
// wxChoiceWx

wxBEGIN_EVENT_TABLE(wxChoiceWx, wxComboCtrl)
  EVT_KEY_DOWN(wxChoiceWx::OnKeyDown)
wxEND_EVENT_TABLE()

wxChoiceWx::wxChoiceWx(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       int n, const wxString choices[], long style,
                       const wxValidator& validator, const wxString& name)
    : wxComboCtrl(parent, id, wxEmptyString, pos, size, style | wxCB_READONLY, validator, name),
      m_popup(new wxListViewComboPopup) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
  SetPopupControl(m_popup);
  // Without a text field the combo itself must take the keyboard focus (by
  // Tab and by click), or its arrow keys would reach the control before it.
  // Installing the popup resets this, so it comes after.
  SetCanFocus(true);
  for (int i = 0; choices != nullptr && i < n; ++i) Append(choices[i]);
}

void wxChoiceWx::SetVisibleRows(int n) { m_popup->m_visibleRows = n; }

// The combo's own default would cut the list at 400 pixels, some 17 rows.
void wxChoiceWx::ShowPopup() {
  SetPopupMaxHeight(m_popup->HeightForVisibleRows());
  wxComboCtrl::ShowPopup();
}

void wxChoiceWx::Append(const wxString& text) {
  m_popup->InsertItem(m_popup->GetItemCount(), text);
}

void wxChoiceWx::Clear() { m_popup->DeleteAllItems(); }

unsigned int wxChoiceWx::GetCount() const {
  return static_cast<unsigned int>(m_popup->GetItemCount());
}

wxString wxChoiceWx::GetString(unsigned int n) const {
  if (n >= GetCount()) return wxEmptyString;
  return m_popup->GetItemText(n);
}

int wxChoiceWx::GetSelection() const { return static_cast<int>(m_popup->GetSelectedItem()); }

wxString wxChoiceWx::GetStringSelection() const {
  const int selection = GetSelection();
  if (selection < 0) return wxEmptyString;
  return GetString(selection);
}

void wxChoiceWx::SetSelection(int n) {
  // Rows that do not exist are ignored rather than shown as some text.
  if (n != -1 && !m_popup->IsValidRow(n)) return;
  const wxString text = n == -1 ? wxString() : GetString(n);
  m_popup->SetStringValue(text);
  SetValue(text);
}

bool wxChoiceWx::SetStringSelection(const wxString& text) {
  const long row = m_popup->FindExactItem(text);
  if (row < 0) return false;
  m_popup->SelectRow(row);
  SetValue(text);
  return true;
}

void wxChoiceWx::SendChoiceSelected() { SendChoiceSelectedFrom(this); }

void wxChoiceWx::StepSelection(int delta) {
  // Line the selection up with what the combo shows before stepping.
  m_popup->SetStringValue(GetValue());
  const long target = m_popup->GetSelectedItem() + delta;
  if (!m_popup->IsValidRow(target)) return;
  const wxString text = m_popup->GetItemText(target);
  m_popup->SetStringValue(text);
  SetValue(text);
  SendChoiceSelected();
}

// An arrow key is consumed whether it stepped or not: passed on, it would
// reach the toolkit's arrow-key focus navigation, which moves the focus to
// a neighbouring control that the next arrow key would then change.
void wxChoiceWx::OnKeyDown(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_TAB:
      // Shift+Tab goes back, as everywhere else in the dialog.
      Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                 : wxNavigationKeyEvent::IsForward);
      return;
    case WXK_RIGHT:
    case WXK_DOWN:
    case WXK_NUMPAD2:
      StepSelection(+1);
      return;
    case WXK_LEFT:
    case WXK_UP:
    case WXK_NUMPAD8:
      StepSelection(-1);
      return;
    default:
      event.Skip();
  }
}
