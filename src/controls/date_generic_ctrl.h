// wxDateGenericCtrl: a calendar date entered as a year spin control, a
// month choice and a day choice side by side. It is created like a date
// picker but has no calendar pop-up and sends no events of its own.
#pragma once

#include <wx/datetime.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/validate.h>

#include "controls/choice_wx.h"

class wxDateGenericCtrl : public wxPanel {
 public:
  // `date` and `validator` are accepted for a date picker's argument list
  // but not used: the control starts at today's date. `style` goes to the
  // panel as it is.
  wxDateGenericCtrl(wxWindow* parent, wxWindowID id, const wxDateTime& date = wxDefaultDateTime,
                    const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                    long style = wxTAB_TRAVERSAL,
                    const wxValidator& validator = wxDefaultValidator,
                    const wxString& name = wxPanelNameStr);
  ~wxDateGenericCtrl() override = default;

  // Shows the date's local calendar day; the time of day is ignored.
  // An invalid date leaves the control as it is.
  void SetValue(const wxDateTime& date);
  // The shown day at 00:00:00.000 local time. A day beyond the end of the
  // chosen month reads as the month's last day, and the day list then
  // shows that day too.
  wxDateTime GetValue() const;
  // Limits the year to the years of `lower` and `upper` (in either order).
  void SetRange(const wxDateTime& lower, const wxDateTime& upper);

  wxSpinCtrl* GetYearCtrl() const { return m_yearCtrl; }
  wxChoiceWx* GetMonthCtrl() const { return m_monthCtrl; }
  wxChoiceWx* GetDayCtrl() const { return m_dayCtrl; }

 private:
  // Sizes the year to the larger of its part of the width and its need.
  void FitYearWidth();
  void FillMonths();
  void FillDays();
  // The day the fields stand for: the chosen day, limited to the month.
  int DayWithinMonth() const;
  // Shows DayWithinMonth() in the day list when the chosen day is beyond
  // the month's end. Only the display changes, never the value.
  void ShowDayWithinMonth() const;
  void OnPartChanged(wxEvent& event);

  int m_partWidth;  // the width of each part, or wxDefaultCoord for their own
  wxBoxSizer* m_sizer;
  wxSpinCtrl* m_yearCtrl;
  wxChoiceWx* m_monthCtrl;
  wxChoiceWx* m_dayCtrl;
};
