// barywalk-controls-demo: one of each of Barywalk's own controls in a
// small frame, set up the way the main dialog sets them up.
//
//   barywalk-controls-demo                     shows the frame
//   barywalk-controls-demo --screenshot FILE   saves a PNG of it and exits
#include <cstdio>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/cmdline.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include "controls/choice_wx.h"
#include "controls/date_generic_ctrl.h"
#include "controls/push_button.h"
#include "controls/spin_ctrl_dbl.h"
#include "simulation/run_settings.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kDateWidth = 170;
constexpr int kIncrementWidth = 50;
// Time given to the window system to map and paint the frame before a
// screenshot is taken.
constexpr int kScreenshotDelayMs = 700;

// A play triangle pointing right on a transparent 32 x 32 background.
wxIcon* PlayIcon(const wxColour& colour) {
  wxBitmap bitmap(kIconSize, kIconSize, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetPen(wxPen(colour));
    dc.SetBrush(wxBrush(colour));
    const wxPoint triangle[] = {{9, 6}, {26, 16}, {9, 26}};
    dc.DrawPolygon(3, triangle);
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
  }
  bitmap.SetMask(new wxMask(bitmap, *wxWHITE));
  auto* icon = new wxIcon;
  icon->CopyFromBitmap(bitmap);
  return icon;
}

class ControlsDemoFrame : public wxFrame {
 public:
  ControlsDemoFrame() : wxFrame(nullptr, wxID_ANY, "Barywalk controls") {
    auto* panel = new wxPanel(this);
    auto* grid = new wxFlexGridSizer(2, 8, 12);

    AddRow(panel, grid, "Increment [days]", CreateIncrement(panel));
    AddRow(panel, grid, "Play (sticky)", CreatePlayButton(panel));
    AddRow(panel, grid, "Planet", CreatePlanetChoice(panel));
    AddRow(panel, grid, "Start date", CreateDate(panel));

    m_status = new wxStaticText(panel, wxID_ANY, "Change a control to see its value here.");
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(grid, 0, wxALL, 12);
    column->Add(m_status, 0, wxLEFT | wxRIGHT | wxBOTTOM, 12);
    panel->SetSizer(column);
    column->SetSizeHints(this);
  }

 private:
  static void AddRow(wxWindow* parent, wxFlexGridSizer* grid, const wxString& caption,
                     wxWindow* control) {
    grid->Add(new wxStaticText(parent, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxALIGN_CENTER_VERTICAL);
  }

  // The increment control with the dialog's range, value and step, a text
  // field 50 pixels wide.
  wxWindow* CreateIncrement(wxWindow* parent) {
    auto* spin = new wxSpinCtrlDbl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                   wxSize(kIncrementWidth, -1), 0, 0, 100, 0);
    // Under GTK 3 the arrow pair alone is wider than 50 pixels: give the
    // value's text field its 50 pixels beside it, as the main dialog does.
    const wxSpinButton* arrows = spin->GetSpinButton();
    const int arrowWidth = arrows ? arrows->GetSize().x : 0;
    spin->SetInitialSize(wxSize(kIncrementWidth + arrowWidth, spin->GetSize().y));
    const barywalk::NumberSetting& increment = barywalk::kIncrementSetting;
    spin->SetRange(increment.low, increment.high);
    spin->SetValue(increment.initial);
    spin->SetIncrement(increment.step);
    spin->Bind(wxEVT_COMMAND_SPINCTRL_UPDATED, [this, spin](wxCommandEvent& event) {
      ShowStatus(wxString::Format("Increment: %g days", spin->GetValue()));
      event.Skip();
    });
    return spin;
  }

  // The forward play button: label " ", sticky, blue released and orange
  // pressed pictures.
  wxWindow* CreatePlayButton(wxWindow* parent) {
    auto* button = new wxPushButton(parent, wxID_ANY, ">", wxDefaultPosition, wxSize(32, 32));
    button->SetLabel(" ");
    button->SetSticky(true);
    button->SetBitmaps(PlayIcon(wxColour(0, 0, 255)), PlayIcon(wxColour(255, 140, 0)));
    button->SetToolTip("Play simulation (forward)");
    // The button tells its parent; the notice carries its value.
    Bind(wxEVT_BUTTON, [this, button](wxCommandEvent& event) {
      if (event.GetId() == button->GetId())
        ShowStatus(event.GetInt() != 0 ? "Play: down (sticky)" : "Play: up");
      event.Skip();
    });
    return button;
  }

  wxWindow* CreatePlanetChoice(wxWindow* parent) {
    const wxString planets[] = {"Mercury", "Venus",  "Earth",   "Mars", "Jupiter",
                                "Saturn",  "Uranus", "Neptune", "Pluto"};
    auto* choice = new wxChoiceWx(parent, wxID_ANY, wxDefaultPosition, wxSize(120, -1),
                                  WXSIZEOF(planets), planets);
    choice->SetSelection(2);
    choice->Bind(wxEVT_COMMAND_CHOICE_SELECTED, [this, choice](wxCommandEvent& event) {
      ShowStatus("Planet: " + choice->GetStringSelection());
      event.Skip();
    });
    return choice;
  }

  // A start date as the main dialog has it: width 170, years 0 to 2999.
  wxWindow* CreateDate(wxWindow* parent) {
    const long showCentury = 4;
    m_date = new wxDateGenericCtrl(parent, wxID_ANY, wxDefaultDateTime, wxDefaultPosition,
                                   wxSize(kDateWidth, -1), showCentury);
    m_date->SetRange(wxDateTime(1, wxDateTime::Jan, 0), wxDateTime(31, wxDateTime::Dec, 2999));
    m_date->SetValue(wxDateTime(1, wxDateTime::Jan, 1980));
    // The date control sends nothing itself; its month and day lists do.
    m_date->Bind(wxEVT_COMMAND_CHOICE_SELECTED, [this](wxCommandEvent& event) {
      ShowStatus("Start date: " + m_date->GetValue().Format("%d %b %Y"));
      event.Skip();
    });
    return m_date;
  }

  void ShowStatus(const wxString& text) { m_status->SetLabel(text); }

  wxStaticText* m_status = nullptr;
  wxDateGenericCtrl* m_date = nullptr;
};

// Copies what `window` shows on screen into a PNG file.
bool SaveWindowPng(wxWindow* window, const wxString& path) {
  const wxSize size = window->GetClientSize();
  if (size.x <= 0 || size.y <= 0) return false;
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxClientDC screen(window);
    wxMemoryDC target(bitmap);
    target.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  }
  return bitmap.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG);
}

}  // namespace

class ControlsDemoApp : public wxApp {
 public:
  bool OnInit() override {
    if (!wxApp::OnInit()) return false;
    wxImage::AddHandler(new wxPNGHandler);
    m_frame = new ControlsDemoFrame;
    m_frame->Show();
    if (!m_screenshotPath.empty()) {
      // Unattended: problems go to stderr, not into message boxes.
      delete wxLog::SetActiveTarget(new wxLogStderr);
      m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { TakeScreenshotAndQuit(); });
      m_timer.StartOnce(kScreenshotDelayMs);
    }
    return true;
  }

  void OnInitCmdLine(wxCmdLineParser& parser) override {
    wxApp::OnInitCmdLine(parser);
    parser.AddOption("", "screenshot", "save a PNG of the window to FILE and exit",
                     wxCMD_LINE_VAL_STRING);
  }

  bool OnCmdLineParsed(wxCmdLineParser& parser) override {
    parser.Found("screenshot", &m_screenshotPath);
    return wxApp::OnCmdLineParsed(parser);
  }

  int OnRun() override {
    const int status = wxApp::OnRun();
    return m_screenshotFailed ? 1 : status;
  }

 private:
  void TakeScreenshotAndQuit() {
    m_frame->Update();
    if (!SaveWindowPng(m_frame, m_screenshotPath)) {
      m_screenshotFailed = true;
      fprintf(stderr, "could not save a screenshot to %s\n",
              static_cast<const char*>(m_screenshotPath.utf8_str()));
    }
    m_frame->Close(true);
  }

  ControlsDemoFrame* m_frame = nullptr;
  wxString m_screenshotPath;
  bool m_screenshotFailed = false;
  wxTimer m_timer;
};

wxIMPLEMENT_APP(ControlsDemoApp);
