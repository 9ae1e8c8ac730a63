// The program's one window: every setting as a control, the 30 ms timer,
// the simulation clock with its player, and the square drawing panel.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include <wx/arrstr.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include "ephemeris/planets.h"
#include "flares/flare_file.h"
#include "flares/flare_stat.h"
#include "flares/solar_flare.h"
#include "render/frame_drawing.h"
#include "simulation/player.h"
#include "views/orbit_view.h"

class wxBoxSizer;
class wxButton;
class wxCheckBox;
class wxDC;
class wxDateGenericCtrl;
class wxPanel;
class wxPushButton;
class wxSpinCtrlDbl;
class wxStaticLine;
class wxStaticText;

// Tests and benchmarks reach the simulation state through this class,
// which they define themselves.
class BarywalkDialogTestAccess;

class BarywalkDialog : public wxDialog {
 public:
  explicit BarywalkDialog(wxWindow* parent, wxWindowID id = wxID_ANY);
  ~BarywalkDialog() override;

  // The toolkit's version string; the long form adds the platform and
  // character set ("-Linux-Unicode build").
  static wxString BuildInfo(bool longForm);

  // Control identifiers, allocated in creation order; ID_TIMER1 is last.
  static const long ID_STATICTEXT1;
  static const long ID_STATICTEXT2;
  static const long ID_BUTTON4;
  static const long ID_BUTTON1;
  static const long ID_STATICLINE1;
  static const long ID_BUTTON2;
  static const long ID_STATICTEXT4;
  static const long ID_STATICTEXT5;
  static const long ID_DATEPICKERCTRL1;
  static const long ID_STATICTEXT6;
  static const long ID_DATEPICKERCTRL2;
  static const long ID_STATICTEXT7;
  static const long ID_SPINCTRL2;
  static const long ID_CHECKBOX1;
  static const long ID_CHECKBOX10;
  static const long ID_CHECKBOX14;
  static const long ID_CHECKBOX12;
  static const long ID_CHECKBOX6;
  static const long ID_CHECKBOX7;
  static const long ID_CHECKBOX8;
  static const long ID_CHECKBOX9;
  static const long ID_CHECKBOX2;
  static const long ID_CHECKBOX4;
  static const long ID_CHECKBOX3;
  static const long ID_CHECKBOX5;
  static const long ID_CHECKBOX13;
  static const long ID_BUTTON9;
  static const long ID_CHECKBOX11;
  static const long ID_SPINCTRL4;
  static const long ID_CHECKBOX19;
  static const long ID_CHECKBOX18;
  static const long ID_SPINCTRL5;
  static const long ID_CHECKBOX15;
  static const long ID_SPINCTRL1;
  static const long ID_CHECKBOX17;
  static const long ID_CHECKBOX16;
  static const long ID_SPINCTRL3;
  static const long ID_BUTTON3;
  static const long ID_BUTTON5;
  static const long ID_BUTTON6;
  static const long ID_BUTTON7;
  static const long ID_BUTTON8;
  static const long ID_PANEL2;
  static const long ID_TIMER1;

  // One frame: the clock step, then the whole view drawn into an off-screen
  // buffer and copied onto the panel in one go.
  void UpdateFrame();
  // The view for the current simulation state, w x h pixels, into `dc`.
  // UpdateFrame draws through it; tests and benchmarks may pass their own DC.
  void DrawFrame(wxDC& dc, int w, int h);

 private:
  friend class BarywalkDialogTestAccess;

  // Construction (barywalk_dialog.cpp).
  void CreateControls();
  void ConnectHandlers();
  void InitControls();
  void InitPlayButtons();
  void OnQuit(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);
  void OnDurationClicked(wxCommandEvent& event);

  // Clock and player (player.cpp).
  void ResetSimulation();
  void StepSimulation();
  void OnTimerTick(wxTimerEvent& event);
  void OnRewind(wxCommandEvent& event);
  void OnPlayReverse(wxCommandEvent& event);
  void OnPlayForward(wxCommandEvent& event);
  void OnPause(wxCommandEvent& event);
  void OnStop(wxCommandEvent& event);
  // The play buttons show the clock: the button of the direction that is
  // playing is down, the other up; both are up when the clock stands.
  void ShowPlayerState();
  void LockClippingControls(bool locked);

  // The frame (frame.cpp): the controls' settings and the simulation state
  // for the shared frame drawing, and the frame saved as a picture.
  barywalk::FrameSettings FrameSettingsFromControls() const;
  barywalk::FrameState CurrentFrameState() const;
  // The current frame at the panel's size; records no flare statistics.
  wxImage CurrentFrameImage();
  // Ctrl+S: asks for a file name, then SaveFrameTo.
  void OnSaveFrame(wxCommandEvent& event);

  // Keyboard shortcuts of the player's buttons: Ctrl + key.
  struct PlayerShortcut {
    long button;  // the button's identifier
    char key;
  };
  static const std::vector<PlayerShortcut>& PlayerShortcuts();
  // " (Ctrl+R)": the shortcut as the button's tool tip names it.
  static wxString PlayerShortcutHint(long button);
  void OnPlayerShortcut(wxCommandEvent& event);
  // Writes the current frame as PNG to `path`, complete or not at all;
  // tells the user when it fails.
  bool SaveFrameTo(const wxString& path);

  // Flares (flare_handlers.cpp).
  void OnReadFlares(wxCommandEvent& event);
  // Replaces the loaded flares with those of `paths`, in order; writes one
  // "%s : %d flares" line per file on the panel and tells the user in one
  // message box about files that were not read completely. True when any
  // flare is loaded.
  bool ReadFlareFiles(const wxArrayString& paths);
  // The panel line of one file: "name : N flares", then its problems in
  // parentheses, if any.
  static wxString FlareFileLine(const wxString& displayName,
                                const barywalk::FlareFileReport& report);
  void OnDumpStats(wxCommandEvent& event);
  // Writes the statistics to `path`; empties them only after a complete
  // write, otherwise tells the user why and keeps them.
  bool DumpStatsTo(const wxString& path);
  void OnLogScaleClicked(wxCommandEvent& event);
  void OnClipClicked(wxCommandEvent& event);
  void UpdateMaxFlareSize();
  // The flare side's message boxes, all through m_showMessage when set.
  int ShowMessage(const wxString& text, const wxString& caption, long style, wxWindow* parent);

  // Controls, in creation order (identifier in the comment); all are child
  // windows of the dialog, which destroys them.
  wxStaticText* m_titleText = nullptr;         // ID_STATICTEXT1
  wxStaticText* m_subtitleText = nullptr;      // ID_STATICTEXT2
  wxButton* m_dumpStatsButton = nullptr;       // ID_BUTTON4, hidden
  wxButton* m_aboutButton = nullptr;           // ID_BUTTON1
  wxStaticLine* m_headerLine = nullptr;        // ID_STATICLINE1
  wxButton* m_quitButton = nullptr;            // ID_BUTTON2
  wxStaticText* m_captionText = nullptr;       // ID_STATICTEXT4
  wxStaticText* m_startLabel = nullptr;        // ID_STATICTEXT5
  wxDateGenericCtrl* m_startDate = nullptr;    // ID_DATEPICKERCTRL1
  wxStaticText* m_endLabel = nullptr;          // ID_STATICTEXT6
  wxDateGenericCtrl* m_endDate = nullptr;      // ID_DATEPICKERCTRL2
  wxStaticText* m_incrementLabel = nullptr;    // ID_STATICTEXT7
  wxSpinCtrlDbl* m_increment = nullptr;        // ID_SPINCTRL2, days per step
  wxCheckBox* m_showYear = nullptr;            // ID_CHECKBOX1
  wxCheckBox* m_showMonth = nullptr;           // ID_CHECKBOX10
  wxCheckBox* m_showDay = nullptr;             // ID_CHECKBOX14
  wxCheckBox* m_showSun = nullptr;             // ID_CHECKBOX12
  // ID_CHECKBOX6, 7, 8, 9, 2, 4, 3, 5, 13: Mercury ... Pluto, planet order.
  std::array<wxCheckBox*, barywalk::kPlanetCount> m_planetBoxes{};
  wxButton* m_readFlaresButton = nullptr;      // ID_BUTTON9
  wxCheckBox* m_showFlares = nullptr;          // ID_CHECKBOX11
  wxSpinCtrlDbl* m_flareScale = nullptr;       // ID_SPINCTRL4
  wxCheckBox* m_logScale = nullptr;            // ID_CHECKBOX19
  wxCheckBox* m_clipArea = nullptr;            // ID_CHECKBOX18
  wxSpinCtrlDbl* m_clipLimit = nullptr;        // ID_SPINCTRL5
  wxCheckBox* m_useDuration = nullptr;         // ID_CHECKBOX15
  wxSpinCtrlDbl* m_duration = nullptr;         // ID_SPINCTRL1, minutes
  wxCheckBox* m_showOrbit = nullptr;           // ID_CHECKBOX17
  wxCheckBox* m_showAcceleration = nullptr;    // ID_CHECKBOX16
  wxSpinCtrlDbl* m_accelFactor = nullptr;      // ID_SPINCTRL3
  wxButton* m_rewindButton = nullptr;          // ID_BUTTON3
  wxPushButton* m_playReverseButton = nullptr; // ID_BUTTON5
  wxPushButton* m_playForwardButton = nullptr; // ID_BUTTON6
  wxButton* m_pauseButton = nullptr;           // ID_BUTTON7
  wxButton* m_stopButton = nullptr;            // ID_BUTTON8
  wxPanel* m_panel = nullptr;                  // ID_PANEL2, the drawing surface
  wxBoxSizer* m_topSizer = nullptr;
  wxBoxSizer* m_buttonSizer = nullptr;

  wxTimer m_timer;

  // The clock, the direction of play, the Sun and its trail; the Sun is
  // computed for the panel's width at each tick.
  barywalk::Player m_player{barywalk::kViewSidePixels};

  barywalk::FlareMap m_flares;        // loaded flares by Julian day
  double m_maxFlareSize = 0;          // largest SymbolSize of m_flares
  barywalk::PlanetLongitudes m_planetLongitudes;
  barywalk::FlareStatMap m_flareStats;

  // Shows a message box and returns the button pressed; empty means the
  // toolkit's wxMessageBox. Tests put their own here.
  using MessageFunction =
      std::function<int(const wxString& text, const wxString& caption, long style)>;
  MessageFunction m_showMessage;
};
