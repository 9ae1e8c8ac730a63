// Construction of the main dialog: controls, layout, handlers, defaults;
// About and Quit.
#include "app/barywalk_dialog.h"
#include "app/flare_settings.h"
#include "common/version.h"

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/font.h>
#include <wx/icon.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/version.h>

#include "app/play_button_art.h"
#include "controls/date_generic_ctrl.h"
#include "controls/push_button.h"
#include "controls/spin_ctrl_dbl.h"
#include "simulation/run_settings.h"

// Allocated here, in creation order: static members of one translation
// unit are initialised in the order of their definitions.
const long BarywalkDialog::ID_STATICTEXT1 = wxNewId();
const long BarywalkDialog::ID_STATICTEXT2 = wxNewId();
const long BarywalkDialog::ID_BUTTON4 = wxNewId();
const long BarywalkDialog::ID_BUTTON1 = wxNewId();
const long BarywalkDialog::ID_STATICLINE1 = wxNewId();
const long BarywalkDialog::ID_BUTTON2 = wxNewId();
const long BarywalkDialog::ID_STATICTEXT4 = wxNewId();
const long BarywalkDialog::ID_STATICTEXT5 = wxNewId();
const long BarywalkDialog::ID_DATEPICKERCTRL1 = wxNewId();
const long BarywalkDialog::ID_STATICTEXT6 = wxNewId();
const long BarywalkDialog::ID_DATEPICKERCTRL2 = wxNewId();
const long BarywalkDialog::ID_STATICTEXT7 = wxNewId();
const long BarywalkDialog::ID_SPINCTRL2 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX1 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX10 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX14 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX12 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX6 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX7 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX8 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX9 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX2 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX4 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX3 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX5 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX13 = wxNewId();
const long BarywalkDialog::ID_BUTTON9 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX11 = wxNewId();
const long BarywalkDialog::ID_SPINCTRL4 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX19 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX18 = wxNewId();
const long BarywalkDialog::ID_SPINCTRL5 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX15 = wxNewId();
const long BarywalkDialog::ID_SPINCTRL1 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX17 = wxNewId();
const long BarywalkDialog::ID_CHECKBOX16 = wxNewId();
const long BarywalkDialog::ID_SPINCTRL3 = wxNewId();
const long BarywalkDialog::ID_BUTTON3 = wxNewId();
const long BarywalkDialog::ID_BUTTON5 = wxNewId();
const long BarywalkDialog::ID_BUTTON6 = wxNewId();
const long BarywalkDialog::ID_BUTTON7 = wxNewId();
const long BarywalkDialog::ID_BUTTON8 = wxNewId();
const long BarywalkDialog::ID_PANEL2 = wxNewId();
const long BarywalkDialog::ID_TIMER1 = wxNewId();

namespace {

constexpr int kPanelBorder = 5;
// wxDateGenericCtrl receives the date picker's "show century" style.
constexpr long kDateStyle = wxDP_SHOWCENTURY;

wxFont SwissFont(int points, wxFontWeight weight, const wxString& face) {
  return wxFont(points, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, weight, false, face,
                wxFONTENCODING_DEFAULT);
}

wxCheckBox* NewCheckBox(wxWindow* parent, long id, const wxString& label, const wxString& name,
                        bool checked) {
  auto* box = new wxCheckBox(parent, id, label, wxDefaultPosition, wxDefaultSize, 0,
                             wxDefaultValidator, name);
  box->SetValue(checked);
  return box;
}

// `textWidth` is the width of the value's text field. The arrow pair is
// added beside it: under GTK 3 it is a wide horizontal "- +" pair that would
// otherwise take the whole width and leave no room to show the value.
wxSpinCtrlDbl* NewSpinCtrl(wxWindow* parent, long id, int textWidth, const wxString& name) {
  auto* spin = new wxSpinCtrlDbl(parent, id, _T("0"), wxDefaultPosition, wxSize(textWidth, -1), 0,
                                 0, 100, 0, name);
  const wxSpinButton* arrows = spin->GetSpinButton();
  const int arrowWidth = arrows ? arrows->GetSize().x : 0;
  spin->SetInitialSize(wxSize(textWidth + arrowWidth, spin->GetSize().y));
  return spin;
}

// Range, value at start and step, in the order the control needs them.
void ApplySetting(wxSpinCtrlDbl* spin, const barywalk::NumberSetting& setting) {
  spin->SetRange(setting.low, setting.high);
  spin->SetValue(setting.initial);
  spin->SetIncrement(setting.step);
}

wxDateTime DateOf(const barywalk::CalendarDate& date) {
  return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(date.day),
                    static_cast<wxDateTime::Month>(date.month - 1), date.year);
}

// 32 x 32 with a big symbol. The button's own padding is dropped: with the
// GTK theme's padding the symbol would not fit and the face would stay blank.
wxButton* NewPlayerButton(wxWindow* parent, long id, const wxString& label,
                          const wxString& name) {
  auto* button = new wxButton(parent, id, label, wxDefaultPosition, wxSize(32, 32),
                              wxBU_EXACTFIT, wxDefaultValidator, name);
  button->SetFont(SwissFont(12, wxFONTWEIGHT_BOLD, _T("Arial Black")));
  return button;
}

}  // namespace

BarywalkDialog::BarywalkDialog(wxWindow* parent, wxWindowID) {
  // The window always takes wxID_ANY, whatever the caller passes.
  Create(parent, wxID_ANY, _("Barywalk - by the Barywalk developers"), wxDefaultPosition,
         wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxMINIMIZE_BOX, _T("wxID_ANY"));
  CreateControls();
  SetSizer(m_topSizer);
  m_timer.SetOwner(this, ID_TIMER1);
  m_topSizer->Fit(this);
  m_topSizer->SetSizeHints(this);
  ConnectHandlers();
  InitControls();
}

BarywalkDialog::~BarywalkDialog() { m_timer.Stop(); }

// Each control is created, given its font and tooltip and added to its
// sizer before the next one. Some item flags have no effect in their sizer
// (the layout keeps them as designed); the toolkit's consistency check for
// such flags is switched off so that it does not interrupt the program.
void BarywalkDialog::CreateControls() {
  wxSizerFlags::DisableConsistencyChecks();
  const long centre = wxALIGN_CENTER;
  const barywalk::ShownParts& shown = barywalk::kShownAtStart;

  m_topSizer = new wxBoxSizer(wxVERTICAL);

  // Header: title, subtitle, the hidden "dump stats", About | Quit.
  auto* headerRow = new wxBoxSizer(wxHORIZONTAL);
  m_titleText = new wxStaticText(this, ID_STATICTEXT1, _("Barywalk:"), wxDefaultPosition,
                                 wxDefaultSize, 0, _T("ID_STATICTEXT1"));
  m_titleText->SetFont(SwissFont(18, wxFONTWEIGHT_BOLD, _T("Tahoma")));
  headerRow->Add(m_titleText, 0, wxLEFT | wxRIGHT | centre, 6);
  m_subtitleText = new wxStaticText(this, ID_STATICTEXT2,
                                    _("Solar orbit, directions to planets, solar flares"),
                                    wxDefaultPosition, wxDefaultSize, 0, _T("ID_STATICTEXT2"));
  m_subtitleText->SetFont(SwissFont(12, wxFONTWEIGHT_BOLD, _T("Arial")));
  headerRow->Add(m_subtitleText, 1, wxLEFT | wxRIGHT | wxTOP | centre, 8);
  m_dumpStatsButton = new wxButton(this, ID_BUTTON4, _("dump stats"), wxDefaultPosition,
                                   wxDefaultSize, 0, wxDefaultValidator, _T("ID_BUTTON4"));
  m_dumpStatsButton->Hide();
  headerRow->Add(m_dumpStatsButton, 0, wxALL | centre, 5);
  m_buttonSizer = new wxBoxSizer(wxHORIZONTAL);
  m_aboutButton = new wxButton(this, ID_BUTTON1, _("About"), wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator, _T("ID_BUTTON1"));
  m_buttonSizer->Add(m_aboutButton, 1, wxALL | centre, 4);
  m_headerLine = new wxStaticLine(this, ID_STATICLINE1, wxDefaultPosition, wxDefaultSize,
                                  wxLI_VERTICAL, _T("ID_STATICLINE1"));
  m_buttonSizer->Add(m_headerLine, 0, wxALL | wxEXPAND | centre, 4);
  m_quitButton = new wxButton(this, ID_BUTTON2, _("Quit"), wxDefaultPosition, wxDefaultSize, 0,
                              wxDefaultValidator, _T("ID_BUTTON2"));
  m_buttonSizer->Add(m_quitButton, 1, wxALL | centre, 4);
  headerRow->Add(m_buttonSizer, 0, centre, 4);
  m_topSizer->Add(headerRow, 0, wxEXPAND | centre, 5);

  // Caption over the view.
  auto* captionRow = new wxBoxSizer(wxHORIZONTAL);
  m_captionText = new wxStaticText(
      this, ID_STATICTEXT4,
      _("Looking down on Sun's north pole. Crosshair marks solar system centre of mass. Sun's "
        "size and movements to actual scale."),
      wxDefaultPosition, wxDefaultSize, 0, _T("ID_STATICTEXT4"));
  m_captionText->SetFont(SwissFont(11, wxFONTWEIGHT_NORMAL, _T("Arial")));
  captionRow->Add(m_captionText, 1, wxALL | centre, 5);
  m_topSizer->Add(captionRow, 0, wxLEFT | wxEXPAND | centre, 5);

  auto* mainRow = new wxBoxSizer(wxHORIZONTAL);
  auto* settingsColumn = new wxBoxSizer(wxVERTICAL);

  // Simulation time range.
  auto* timeBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Simulation time range"));
  auto* startColumn = new wxBoxSizer(wxVERTICAL);
  m_startLabel = new wxStaticText(this, ID_STATICTEXT5, _("Start date"), wxDefaultPosition,
                                  wxDefaultSize, 0, _T("ID_STATICTEXT5"));
  m_startLabel->SetToolTip(_("Defines start date for simulation"));
  startColumn->Add(m_startLabel, 0, wxTOP | wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  m_startDate = new wxDateGenericCtrl(this, ID_DATEPICKERCTRL1, wxDefaultDateTime,
                                      wxDefaultPosition, wxSize(170, -1), kDateStyle,
                                      wxDefaultValidator, _T("ID_DATEPICKERCTRL1"));
  startColumn->Add(m_startDate, 0, wxLEFT | wxRIGHT | wxBOTTOM | centre, 5);
  timeBox->Add(startColumn, 0, wxEXPAND | centre, 5);
  auto* endColumn = new wxBoxSizer(wxVERTICAL);
  m_endLabel = new wxStaticText(this, ID_STATICTEXT6, _("End date"), wxDefaultPosition,
                                wxDefaultSize, 0, _T("ID_STATICTEXT6"));
  m_endLabel->SetToolTip(_("Simulation stops on end date"));
  endColumn->Add(m_endLabel, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  m_endDate = new wxDateGenericCtrl(this, ID_DATEPICKERCTRL2, wxDefaultDateTime,
                                    wxDefaultPosition, wxSize(170, -1), kDateStyle,
                                    wxDefaultValidator, _T("ID_DATEPICKERCTRL2"));
  endColumn->Add(m_endDate, 0, wxLEFT | wxRIGHT | wxBOTTOM | centre, 5);
  auto* incrementRow = new wxBoxSizer(wxHORIZONTAL);
  m_incrementLabel = new wxStaticText(this, ID_STATICTEXT7, _("Increment [days]"),
                                      wxDefaultPosition, wxDefaultSize, wxALIGN_RIGHT,
                                      _T("ID_STATICTEXT7"));
  m_incrementLabel->SetToolTip(
      _("Simulation increment defines\nhow many days each step takes.\nUse 0.05 when studying "
        "flares,\nhigher values for solar movements."));
  const long incrementFlags = wxTOP | wxLEFT | wxRIGHT | wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL;
  incrementRow->Add(m_incrementLabel, 0, incrementFlags, 5);
  m_increment = NewSpinCtrl(this, ID_SPINCTRL2, 50, _T("ID_SPINCTRL2"));
  incrementRow->Add(m_increment, 0, incrementFlags, 5);
  endColumn->Add(incrementRow, 0, wxEXPAND | centre, 5);
  timeBox->Add(endColumn, 0, wxEXPAND | centre, 5);
  settingsColumn->Add(timeBox, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND | centre, 5);

  // Visible elements: date, planets, flares, other.
  auto* elementsBox = new wxStaticBoxSizer(wxHORIZONTAL, this, _("Visible elements"));
  auto* elementsColumn = new wxBoxSizer(wxVERTICAL);
  auto* dateRow = new wxBoxSizer(wxHORIZONTAL);
  m_showYear = NewCheckBox(this, ID_CHECKBOX1, _("Year"), _T("ID_CHECKBOX1"), shown.year);
  m_showYear->SetToolTip(_("Show simulation year"));
  dateRow->Add(m_showYear, 1, wxALL | centre, 5);
  m_showMonth = NewCheckBox(this, ID_CHECKBOX10, _("Month"), _T("ID_CHECKBOX10"), shown.month);
  m_showMonth->SetToolTip(_("Show simulation month"));
  dateRow->Add(m_showMonth, 1, wxALL | wxALIGN_CENTER_VERTICAL, 4);
  m_showDay = NewCheckBox(this, ID_CHECKBOX14, _("Day"), _T("ID_CHECKBOX14"), shown.day);
  m_showDay->SetToolTip(_("Show simulation day"));
  dateRow->Add(m_showDay, 1, wxTOP | wxBOTTOM | wxLEFT | centre, 5);
  elementsColumn->Add(dateRow, 0, wxEXPAND | centre, 5);

  auto* planetsBox = new wxStaticBoxSizer(wxHORIZONTAL, this, _("Planetary objects"));
  auto* planetsRow = new wxBoxSizer(wxHORIZONTAL);
  auto* innerColumn = new wxBoxSizer(wxVERTICAL);
  m_showSun = NewCheckBox(this, ID_CHECKBOX12, _("Sun"), _T("ID_CHECKBOX12"), shown.sun);
  innerColumn->Add(m_showSun, 1, wxTOP | wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  auto& planet = m_planetBoxes;
  planet[0] = NewCheckBox(this, ID_CHECKBOX6, _("Mercury"), _T("ID_CHECKBOX6"), shown.planets[0]);
  innerColumn->Add(planet[0], 1, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  planet[1] = NewCheckBox(this, ID_CHECKBOX7, _("Venus"), _T("ID_CHECKBOX7"), shown.planets[1]);
  innerColumn->Add(planet[1], 1, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planet[2] = NewCheckBox(this, ID_CHECKBOX8, _("Earth"), _T("ID_CHECKBOX8"), shown.planets[2]);
  innerColumn->Add(planet[2], 1, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planet[3] = NewCheckBox(this, ID_CHECKBOX9, _("Mars"), _T("ID_CHECKBOX9"), shown.planets[3]);
  innerColumn->Add(planet[3], 1, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planetsRow->Add(innerColumn, 1, centre, 5);
  auto* outerColumn = new wxBoxSizer(wxVERTICAL);
  planet[4] = NewCheckBox(this, ID_CHECKBOX2, _("Jupiter"), _T("ID_CHECKBOX2"), shown.planets[4]);
  outerColumn->Add(planet[4], 1, wxTOP | wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  planet[5] = NewCheckBox(this, ID_CHECKBOX4, _("Saturn"), _T("ID_CHECKBOX4"), shown.planets[5]);
  outerColumn->Add(planet[5], 1, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
  planet[6] = NewCheckBox(this, ID_CHECKBOX3, _("Uranus"), _T("ID_CHECKBOX3"), shown.planets[6]);
  outerColumn->Add(planet[6], 1, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planet[7] = NewCheckBox(this, ID_CHECKBOX5, _("Neptune"), _T("ID_CHECKBOX5"), shown.planets[7]);
  outerColumn->Add(planet[7], 1, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planet[8] = NewCheckBox(this, ID_CHECKBOX13, _("Pluto"), _T("ID_CHECKBOX13"), shown.planets[8]);
  outerColumn->Add(planet[8], 0, wxLEFT | wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  planetsRow->Add(outerColumn, 0, wxEXPAND | centre, 5);
  planetsBox->Add(planetsRow, 1, wxBOTTOM | centre, 5);
  elementsColumn->Add(planetsBox, 0, wxEXPAND | centre, 5);

  auto* flaresBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Solar flares"));
  m_readFlaresButton = new wxButton(this, ID_BUTTON9, _("Read flares data..."), wxDefaultPosition,
                                    wxDefaultSize, 0, wxDefaultValidator, _T("ID_BUTTON9"));
  m_readFlaresButton->SetToolTip(_("Click to read in solar flare files"));
  flaresBox->Add(m_readFlaresButton, 1, wxBOTTOM | wxEXPAND | centre, 5);
  auto* showRow = new wxBoxSizer(wxHORIZONTAL);
  m_showFlares =
      NewCheckBox(this, ID_CHECKBOX11, _("Show Flares"), _T("ID_CHECKBOX11"), shown.flares);
  m_showFlares->SetToolTip(
      _("Defines whether flares are shown at all.\nValue defines scale factor for flare "
        "symbols."));
  showRow->Add(m_showFlares, 1, wxBOTTOM | wxALIGN_CENTER_VERTICAL, 3);
  m_flareScale = NewSpinCtrl(this, ID_SPINCTRL4, 60, _T("ID_SPINCTRL4"));
  m_flareScale->SetToolTip(_("Scale factor for flares symbols"));
  showRow->Add(m_flareScale, 0, wxBOTTOM | centre, 3);
  flaresBox->Add(showRow, 0, wxEXPAND | centre, 5);
  auto* logRow = new wxBoxSizer(wxHORIZONTAL);
  m_logScale = NewCheckBox(this, ID_CHECKBOX19, _("Show logartithmic"), _T("ID_CHECKBOX19"),
                           barywalk::GetFlareLogScale());
  m_logScale->SetToolTip(
      _("Logarithmic scaling of flare's apparent area.\nChecking this exaggerates smaller "
        "flares."));
  logRow->Add(m_logScale, 1, wxRIGHT | wxBOTTOM | centre, 5);
  flaresBox->Add(logRow, 0, wxEXPAND | centre, 5);
  auto* clipRow = new wxBoxSizer(wxHORIZONTAL);
  m_clipArea =
      NewCheckBox(this, ID_CHECKBOX18, _("Max app. area"), _T("ID_CHECKBOX18"), shown.clip);
  m_clipArea->SetToolTip(
      _("Clip flare apparent area to given value,\nspecified in millionths of solar disk area"));
  clipRow->Add(m_clipArea, 1, wxTOP | wxRIGHT | wxBOTTOM | centre, 5);
  m_clipLimit = NewSpinCtrl(this, ID_SPINCTRL5, 60, _T("ID_SPINCTRL5"));
  m_clipLimit->SetToolTip(_("Flare apparent area in millionths of solar disk"));
  clipRow->Add(m_clipLimit, 0, wxLEFT | wxBOTTOM | centre, 3);
  flaresBox->Add(clipRow, 1, wxEXPAND | centre, 5);
  auto* durationRow = new wxBoxSizer(wxHORIZONTAL);
  m_useDuration =
      NewCheckBox(this, ID_CHECKBOX15, _("Duration [min]"), _T("ID_CHECKBOX15"), shown.useDuration);
  m_useDuration->SetToolTip(
      _("Check to use specified flare duration.\nIncrease value with simulation speed."));
  durationRow->Add(m_useDuration, 1, wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  m_duration = NewSpinCtrl(this, ID_SPINCTRL1, 60, _T("ID_SPINCTRL1"));
  m_duration->SetToolTip(_("Flare duration in simulation, increase with simulation speed"));
  durationRow->Add(m_duration, 0, centre, 5);
  flaresBox->Add(durationRow, 0, wxEXPAND | centre, 5);
  elementsColumn->Add(flaresBox, 0, wxTOP | wxEXPAND | centre, 5);

  auto* otherBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Other"));
  auto* orbitRow = new wxBoxSizer(wxHORIZONTAL);
  m_showOrbit =
      NewCheckBox(this, ID_CHECKBOX17, _("Solar orbit"), _T("ID_CHECKBOX17"), shown.trail);
  m_showOrbit->SetToolTip(_("Show suns orbit around \nsolar system barycenter."));
  orbitRow->Add(m_showOrbit, 1, wxRIGHT | wxBOTTOM | wxALIGN_CENTER_VERTICAL, 5);
  otherBox->Add(orbitRow, 1, wxTOP | wxEXPAND | centre, 5);
  auto* accelRow = new wxBoxSizer(wxHORIZONTAL);
  m_showAcceleration =
      NewCheckBox(this, ID_CHECKBOX16, _("Acceleration"), _T("ID_CHECKBOX16"), shown.acceleration);
  m_showAcceleration->SetToolTip(_("Show suns acceleration vector"));
  accelRow->Add(m_showAcceleration, 1, wxRIGHT | wxALIGN_CENTER_VERTICAL, 5);
  m_accelFactor = NewSpinCtrl(this, ID_SPINCTRL3, 60, _T("ID_SPINCTRL3"));
  m_accelFactor->SetToolTip(_("Display factor for acceleration vector"));
  accelRow->Add(m_accelFactor, 0, centre, 5);
  otherBox->Add(accelRow, 0, wxBOTTOM | wxEXPAND | centre, 5);
  elementsColumn->Add(otherBox, 0, wxTOP | wxEXPAND | centre, 5);
  elementsBox->Add(elementsColumn, 0, wxEXPAND | centre, 5);
  settingsColumn->Add(elementsBox, 0, wxTOP | centre, 5);

  // The player.
  auto* playerBox = new wxStaticBoxSizer(wxHORIZONTAL, this, _("Sim Player"));
  m_rewindButton = NewPlayerButton(this, ID_BUTTON3, _("<<"), _T("ID_BUTTON3"));
  m_rewindButton->SetToolTip(_("Rewind simulation to start date") + PlayerShortcutHint(ID_BUTTON3));
  playerBox->Add(m_rewindButton, 0, wxLEFT | wxALIGN_CENTER_HORIZONTAL, 5);
  m_playReverseButton = new wxPushButton(this, ID_BUTTON5, _("<"), wxDefaultPosition,
                                         wxSize(32, 32), 0, wxDefaultValidator, _T("ID_BUTTON5"),
                                         nullptr, nullptr, nullptr, nullptr);
  m_playReverseButton->SetToolTip(_("Play simulation (reverse)") + PlayerShortcutHint(ID_BUTTON5));
  playerBox->Add(m_playReverseButton, 0, wxLEFT | centre, 5);
  m_playForwardButton = new wxPushButton(this, ID_BUTTON6, _(">"), wxDefaultPosition,
                                         wxSize(32, 32), 0, wxDefaultValidator, _T("ID_BUTTON6"),
                                         nullptr, nullptr, nullptr, nullptr);
  m_playForwardButton->SetToolTip(_("Play simulation (forward)") + PlayerShortcutHint(ID_BUTTON6));
  playerBox->Add(m_playForwardButton, 0, centre, 5);
  m_pauseButton = NewPlayerButton(this, ID_BUTTON7, _("II"), _T("ID_BUTTON7"));
  m_pauseButton->SetToolTip(_("Pause simulation") + PlayerShortcutHint(ID_BUTTON7));
  playerBox->Add(m_pauseButton, 0, wxLEFT | wxALIGN_CENTER_HORIZONTAL, 5);
  m_stopButton = NewPlayerButton(this, ID_BUTTON8, _("[]"), _T("ID_BUTTON8"));
  m_stopButton->SetToolTip(_("Stop simulation") + PlayerShortcutHint(ID_BUTTON8));
  playerBox->Add(m_stopButton, 0, wxLEFT | wxALIGN_CENTER_HORIZONTAL, 5);
  // GTK draws a group box's frame line on the box's last pixel row and
  // gives the sizer no room for it: every player button keeps its border
  // below as well, or the tall play buttons would stand on the line and
  // cut it.
  for (wxSizerItem* button : playerBox->GetChildren())
    button->SetFlag(button->GetFlag() | wxBOTTOM);
  settingsColumn->Add(playerBox, 0, wxLEFT | wxRIGHT | wxEXPAND | centre, 5);
  mainRow->Add(settingsColumn, 0, wxEXPAND | centre, 5);

  // The drawing surface: square, at least 640 pixels wide, as large as the
  // room beside the settings column allows (the room follows the fonts
  // installed). Its minimum height is pinned too (a panel without children
  // reports a best height of 1 pixel). A shaped item keeps its ratio with
  // its borders included, so the panel's item has none: the gaps above and
  // below it are the row's.
  const wxSize smallestPanel(barywalk::kViewSidePixels, barywalk::kViewSidePixels);
  m_panel = new wxPanel(this, ID_PANEL2, wxDefaultPosition, smallestPanel, wxTAB_TRAVERSAL,
                        _T("ID_PANEL2"));
  m_panel->SetMinSize(smallestPanel);
  m_panel->SetToolTip(
      _("The sun, optionally with flares\nand directions to the planets.\nThe red circle has a "
        "radius of \none solar diameter."));
  wxSizerItem* panelItem =
      mainRow->Add(m_panel, 0, wxEXPAND | wxSHAPED | wxALIGN_CENTER_HORIZONTAL, 0);
  panelItem->SetRatio(1.0f);
  m_topSizer->Add(mainRow, 1, wxTOP | wxBOTTOM | wxEXPAND | centre, kPanelBorder);
}

// Every handler is attached at run time; the static event table is empty.
void BarywalkDialog::ConnectHandlers() {
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnDumpStats, this, ID_BUTTON4);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnAbout, this, ID_BUTTON1);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnQuit, this, ID_BUTTON2);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnReadFlares, this, ID_BUTTON9);
  Bind(wxEVT_CHECKBOX, &BarywalkDialog::OnLogScaleClicked, this, ID_CHECKBOX19);
  Bind(wxEVT_CHECKBOX, &BarywalkDialog::OnClipClicked, this, ID_CHECKBOX18);
  Bind(wxEVT_CHECKBOX, &BarywalkDialog::OnDurationClicked, this, ID_CHECKBOX15);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnRewind, this, ID_BUTTON3);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnPlayReverse, this, ID_BUTTON5);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnPlayForward, this, ID_BUTTON6);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnPause, this, ID_BUTTON7);
  Bind(wxEVT_BUTTON, &BarywalkDialog::OnStop, this, ID_BUTTON8);
  Bind(wxEVT_TIMER, &BarywalkDialog::OnTimerTick, this, ID_TIMER1);
  // Ctrl+S saves the current frame as a picture; it has no control of its own.
  Bind(wxEVT_MENU, &BarywalkDialog::OnSaveFrame, this, wxID_SAVE);
  std::vector<wxAcceleratorEntry> keys = {wxAcceleratorEntry(wxACCEL_CTRL, 'S', wxID_SAVE)};
  for (const PlayerShortcut& shortcut : PlayerShortcuts()) {
    keys.emplace_back(wxACCEL_CTRL, shortcut.key, shortcut.button);
    Bind(wxEVT_MENU, &BarywalkDialog::OnPlayerShortcut, this, shortcut.button);
  }
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(keys.size()), keys.data()));
}

// The player from the keyboard, for a screen too low to show the player's
// buttons: Ctrl and the first letter of what the key does (T for sTop, as
// Ctrl+S saves the frame).
const std::vector<BarywalkDialog::PlayerShortcut>& BarywalkDialog::PlayerShortcuts() {
  static const std::vector<PlayerShortcut> shortcuts = {
      {ID_BUTTON3, 'R'}, {ID_BUTTON5, 'B'}, {ID_BUTTON6, 'F'}, {ID_BUTTON7, 'P'}, {ID_BUTTON8, 'T'}};
  return shortcuts;
}

wxString BarywalkDialog::PlayerShortcutHint(long button) {
  for (const PlayerShortcut& shortcut : PlayerShortcuts()) {
    if (shortcut.button == button) return wxString::Format(" (Ctrl+%c)", shortcut.key);
  }
  return wxString();
}

// A shortcut is a click on its button: the same handler with the same
// event, and nothing while the button is disabled.
void BarywalkDialog::OnPlayerShortcut(wxCommandEvent& event) {
  wxWindow* button = FindWindow(event.GetId());
  if (button == nullptr || !button->IsEnabled()) return;
  wxCommandEvent click(wxEVT_BUTTON, event.GetId());
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
}

void BarywalkDialog::InitPlayButtons() {
  m_playReverseButton->SetLabel(_T(" "));
  m_playReverseButton->SetSticky(true);
  m_playReverseButton->SetBitmaps(NewPlayReverseReleasedIcon(), NewPlayReversePressedIcon(),
                                  nullptr, nullptr);
  m_playForwardButton->SetLabel(_T(" "));
  m_playForwardButton->SetSticky(true);
  m_playForwardButton->SetBitmaps(NewPlayForwardReleasedIcon(), NewPlayForwardPressedIcon(),
                                  nullptr, nullptr);
  // The size given at creation became the buttons' minimum, which would cut
  // the label line off the face: the minimum is the whole face.
  for (wxPushButton* button : {m_playReverseButton, m_playForwardButton})
    button->SetMinSize(button->GetBestSize());
}

void BarywalkDialog::InitControls() {
  InitPlayButtons();
  Move(20, 20);

  const wxDateTime firstDay(1, wxDateTime::Jan, 0);
  const wxDateTime lastDay(31, wxDateTime::Dec, 2999);
  m_startDate->SetRange(firstDay, lastDay);
  m_endDate->SetRange(firstDay, lastDay);
  m_startDate->SetValue(DateOf(barywalk::kRunStartDate));
  m_endDate->SetValue(DateOf(barywalk::kRunEndDate));

  ApplySetting(m_duration, barywalk::kDurationSetting);
  ApplySetting(m_increment, barywalk::kIncrementSetting);
  ApplySetting(m_accelFactor, barywalk::kAccelFactorSetting);
  ApplySetting(m_clipLimit, barywalk::kClipLimitSetting);
  m_clipLimit->SetValue(barywalk::GetFlareAreaClip());
  ApplySetting(m_flareScale, barywalk::kFlareScaleSetting);
  m_logScale->SetValue(barywalk::GetFlareLogScale());

  // The value fields and the play buttons have grown to what they show; the
  // layout follows before the view's size is taken.
  m_topSizer->SetSizeHints(this);

  ResetSimulation();
  m_timer.Start(barywalk::kTickPeriodMs, wxTIMER_CONTINUOUS);
}

// Stops the clock first so that no frame is drawn after the click, then
// closes like the close box: the modal loop ends as a cancel.
void BarywalkDialog::OnQuit(wxCommandEvent&) {
  m_timer.Stop();
  Close(false);
}

void BarywalkDialog::OnAbout(wxCommandEvent&) {
  wxString text = _("Barywalk - build ") + wxString(barywalk::kBarywalkBuild) + _T("\n");
  text += _("Written by the Barywalk developers.") + _T("\n");
  text += _("Questions and reports: the Barywalk project.") + _T("\n\n");
  text += BuildInfo(true);
  wxMessageBox(text, _("Welcome to..."));
}

wxString BarywalkDialog::BuildInfo(bool longForm) {
  wxString info = wxVERSION_STRING;
  if (longForm) info << _T("-Linux") << _T("-Unicode build");
  return info;
}

void BarywalkDialog::OnDurationClicked(wxCommandEvent&) {
  m_duration->Enable(m_useDuration->GetValue());
}
