// wxChoiceWx: a read-only choice control made of a combo control and a
// drop-down list (wxListViewComboPopup). The drop-down shows at most
// m_visibleRows rows without scrolling, and the arrow keys step through the
// items without opening the list.
#pragma once

#include <wx/combo.h>
#include <wx/listctrl.h>
#include <wx/string.h>
#include <wx/validate.h>

// The single-column list shown in the combo's popup window.
//
// The selected row (hover, arrow steps) and the committed row m_value
// (click, Return, Escape, the popup's own arrow keys) are kept apart.
class wxListViewComboPopup : public wxListView, public wxComboPopup {
 public:
  wxListViewComboPopup() = default;
  ~wxListViewComboPopup() override = default;

  void Init() override;
  bool Create(wxWindow* parent) override;
  wxWindow* GetControl() override;
  void SetStringValue(const wxString& text) override;
  wxString GetStringValue() const override;
  wxSize GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) override;
  // Closing the list without a choice (a click outside it, Escape) leaves
  // the row the combo shows as the selected one.
  void OnDismiss() override;

  // The first selected row, -1 when none is selected.
  long GetSelectedItem() const;
  // The row whose text equals `text` exactly, -1 when there is none
  // (always -1 for the empty text, which stands for "no choice").
  long FindExactItem(const wxString& text) const;
  bool IsValidRow(long row) const { return row >= 0 && row < GetItemCount(); }
  // Height of one row of the drop-down, in pixels.
  int RowHeight();
  // Height of the drop-down showing m_visibleRows rows (or all rows, when
  // there are fewer), in pixels.
  int HeightForVisibleRows();

 protected:
  void OnMouseMove(wxMouseEvent& event);
  void OnMouseClick(wxMouseEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);

 private:
  void SelectRow(long row);
  void FocusRow(long row);
  // Selects the row whose text the combo shows; none when no row has it.
  void SelectComboTextRow();
  // The row under a point of the list's window, -1 when there is none.
  long RowAt(const wxPoint& point);
  // Takes the selected row as m_value, shows it in the combo, tells the
  // combo's handlers and closes the list.
  void CommitSelection();
  void CancelToComboText();
  void StepFocusedRow(int delta);
  void SendChoiceSelected();

  friend class wxChoiceWx;
  int m_visibleRows = 10;  // rows the drop-down shows without scrolling
  int m_value = -1;        // committed row; -1 = none

  wxDECLARE_EVENT_TABLE();
};

class wxChoiceWx : public wxComboCtrl {
 public:
  wxChoiceWx(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxDefaultSize, int n = 0, const wxString choices[] = nullptr,
             long style = 0, const wxValidator& validator = wxDefaultValidator,
             const wxString& name = wxComboBoxNameStr);
  ~wxChoiceWx() override = default;

  // The combo's text-range operations keep their names next to the item ones.
  using wxComboCtrl::GetSelection;
  using wxComboCtrl::SetSelection;

  void SetVisibleRows(int n);
  // Opens the list m_visibleRows rows high, as far as the screen allows.
  void ShowPopup() override;
  void Append(const wxString& text);
  void Clear() override;
  unsigned int GetCount() const;
  wxString GetString(unsigned int n) const;
  int GetSelection() const;
  wxString GetStringSelection() const override;
  void SetSelection(int n);
  bool SetStringSelection(const wxString& text);

  // The drop-down list (owned by the combo).
  wxListViewComboPopup* GetListPopup() const { return m_popup; }

 protected:
  void OnKeyDown(wxKeyEvent& event);

 private:
  // Moves the selection one row up (-1) or down (+1) and shows it; nothing
  // when there is no row in that direction.
  void StepSelection(int delta);
  void SendChoiceSelected();

  wxListViewComboPopup* m_popup;

  wxDECLARE_EVENT_TABLE();
};
