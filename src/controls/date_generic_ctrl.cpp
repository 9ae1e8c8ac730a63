#include "controls/date_generic_ctrl.h"

#include <algorithm>

#include <wx/intl.h>

namespace {

constexpr int kYearMin = 0;
constexpr int kYearMax = 5000;
constexpr int kMonthCount = 12;
constexpr int kDayCount = 31;  // the day list never depends on the month
constexpr int kMonthVisibleRows = 12;
constexpr int kDayVisibleRows = 35;  // all 31 days at once

// Each of the three parts gets a third of the requested width; without a
// requested width they take their own best width.
int PartWidth(const wxSize& requested) {
  return requested.x > 0 ? requested.x / 3 : wxDefaultCoord;
}

}  // namespace

wxDateGenericCtrl::wxDateGenericCtrl(wxWindow* parent, wxWindowID id,
                                     const wxDateTime& WXUNUSED(date), const wxPoint& pos,
                                     const wxSize& size, long style,
                                     const wxValidator& WXUNUSED(validator),
                                     const wxString& name)
    : wxPanel(parent, id, pos, size, style, name) {
  m_sizer = new wxBoxSizer(wxHORIZONTAL);
  m_partWidth = PartWidth(size);
  const wxSize partSize(m_partWidth, wxDefaultCoord);
  m_yearCtrl = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, partSize,
                              wxSP_ARROW_KEYS, 0, 100, 0, "wxSpinCtrl");
  m_monthCtrl = new wxChoiceWx(this, wxID_ANY, wxDefaultPosition, partSize, 0, nullptr, 0,
                               wxDefaultValidator, wxComboBoxNameStr);
  m_dayCtrl = new wxChoiceWx(this, wxID_ANY, wxDefaultPosition, partSize, 0, nullptr, 0,
                             wxDefaultValidator, wxComboBoxNameStr);
  m_yearCtrl->SetRange(kYearMin, kYearMax);
  FitYearWidth();
  FillMonths();
  FillDays();
  m_sizer->Add(m_yearCtrl, 0, wxEXPAND, 0);
  m_sizer->Add(m_monthCtrl, 0, wxEXPAND, 0);
  m_sizer->Add(m_dayCtrl, 0, wxEXPAND, 0);
  SetValue(wxDateTime::Now());
  // A date that the month cannot hold (31 April, 29 February 2001) is shown
  // corrected as soon as it arises.
  m_monthCtrl->Bind(wxEVT_COMMAND_CHOICE_SELECTED, &wxDateGenericCtrl::OnPartChanged, this);
  m_dayCtrl->Bind(wxEVT_COMMAND_CHOICE_SELECTED, &wxDateGenericCtrl::OnPartChanged, this);
  m_yearCtrl->Bind(wxEVT_SPINCTRL, &wxDateGenericCtrl::OnPartChanged, this);
  SetSizer(m_sizer);
  m_sizer->Fit(this);
  m_sizer->SetSizeHints(this);
  Layout();
}

// The toolkit's spin control shows its digits and both step buttons side
// by side, and cannot be drawn narrower than that (GTK then cuts the
// buttons off and complains): a third of the width is too little for it,
// so the year takes the width its digits and buttons need. Its need follows
// the digits of its range.
void wxDateGenericCtrl::FitYearWidth() {
  m_yearCtrl->InvalidateBestSize();
  const int width = std::max(m_partWidth, m_yearCtrl->GetBestSize().x);
  m_yearCtrl->SetMinSize(wxSize(width, wxDefaultCoord));
  m_yearCtrl->SetSize(wxSize(width, wxDefaultCoord));
}

void wxDateGenericCtrl::FillMonths() {
  const wxString names[kMonthCount] = {_("Jan"), _("Feb"), _("Mar"), _("Apr"),
                                       _("May"), _("Jun"), _("Jul"), _("Aug"),
                                       _("Sep"), _("Oct"), _("Nov"), _("Dec")};
  for (const wxString& month : names) m_monthCtrl->Append(month);
  m_monthCtrl->SetVisibleRows(kMonthVisibleRows);
  m_monthCtrl->SetSelection(0);
}

void wxDateGenericCtrl::FillDays() {
  for (int day = 1; day <= kDayCount; ++day) m_dayCtrl->Append(wxString::Format("%02d", day));
  m_dayCtrl->SetVisibleRows(kDayVisibleRows);
  m_monthCtrl->SetSelection(0);
}

void wxDateGenericCtrl::SetValue(const wxDateTime& date) {
  if (!date.IsValid()) return;
  const wxDateTime::Tm local = date.GetTm(wxDateTime::Local);
  m_yearCtrl->SetValue(local.year);
  m_monthCtrl->SetSelection(local.mon);
  m_dayCtrl->SetSelection(local.mday - 1);
}

namespace {

// No selection reads as January.
wxDateTime::Month ShownMonth(const wxChoiceWx* monthCtrl) {
  return static_cast<wxDateTime::Month>(std::max(monthCtrl->GetSelection(), 0));
}

}  // namespace

int wxDateGenericCtrl::DayWithinMonth() const {
  const int lastDay = wxDateTime::GetNumberOfDays(ShownMonth(m_monthCtrl), m_yearCtrl->GetValue());
  // No selection reads as the 1st.
  return std::clamp(m_dayCtrl->GetSelection() + 1, 1, lastDay);
}

void wxDateGenericCtrl::ShowDayWithinMonth() const {
  const int day = DayWithinMonth();
  if (m_dayCtrl->GetSelection() + 1 > day) m_dayCtrl->SetSelection(day - 1);
}

void wxDateGenericCtrl::OnPartChanged(wxEvent& event) {
  ShowDayWithinMonth();
  event.Skip();
}

wxDateTime wxDateGenericCtrl::GetValue() const {
  // The date read is always the date shown.
  ShowDayWithinMonth();
  const int day = DayWithinMonth();
  return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day), ShownMonth(m_monthCtrl),
                    m_yearCtrl->GetValue());
}

void wxDateGenericCtrl::SetRange(const wxDateTime& lower, const wxDateTime& upper) {
  if (!lower.IsValid() || !upper.IsValid()) return;
  const int lowerYear = lower.GetTm(wxDateTime::Local).year;
  const int upperYear = upper.GetTm(wxDateTime::Local).year;
  m_yearCtrl->SetRange(std::min(lowerYear, upperYear), std::max(lowerYear, upperYear));
  const int widthBefore = m_yearCtrl->GetMinSize().x;
  FitYearWidth();
  if (m_yearCtrl->GetMinSize().x != widthBefore) {
    m_sizer->SetSizeHints(this);
    Layout();
  }
}
