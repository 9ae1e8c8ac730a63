// Test access to BarywalkDialog: the simulation state, the handlers and the
// controls, so that tests drive the player without a user or a timer.
#pragma once

#include <utility>

#include <wx/checkbox.h>
#include <wx/panel.h>

#include "app/barywalk_dialog.h"
#include "controls/date_generic_ctrl.h"
#include "controls/push_button.h"
#include "controls/spin_ctrl_dbl.h"

class BarywalkDialogTestAccess {
  using D = BarywalkDialog;

 public:
  explicit BarywalkDialogTestAccess(BarywalkDialog& dialog) : d(dialog) {}

  // The handlers, called as their buttons would. The timer that Play
  // restarts is stopped again so that no tick races the test.
  void PlayForward() { Call(&D::OnPlayForward, D::ID_BUTTON6); }
  // The sticky reverse button shows the user's click itself.
  void PlayReverse() {
    d.m_playReverseButton->SetPressed(true);
    Call(&D::OnPlayReverse, D::ID_BUTTON5);
  }
  void Pause() { Call(&D::OnPause, D::ID_BUTTON7); }
  void Stop() { Call(&D::OnStop, D::ID_BUTTON8); }
  void Rewind() { Call(&D::OnRewind, D::ID_BUTTON3); }
  void Quit() { Call(&D::OnQuit, D::ID_BUTTON2, false); }
  void DurationClicked() { Call(&D::OnDurationClicked, D::ID_CHECKBOX15, false); }
  void ReadFlaresClicked() { Call(&D::OnReadFlares, D::ID_BUTTON9, false); }
  void DumpStatsClicked() { Call(&D::OnDumpStats, D::ID_BUTTON4, false); }
  void LogScaleClicked() { Call(&D::OnLogScaleClicked, D::ID_CHECKBOX19, false); }
  void ClipClicked() { Call(&D::OnClipClicked, D::ID_CHECKBOX18, false); }
  bool ReadFlareFiles(const wxArrayString& paths) { return d.ReadFlareFiles(paths); }
  static wxString FlareFileLine(const wxString& name, const barywalk::FlareFileReport& report) {
    return D::FlareFileLine(name, report);
  }
  bool DumpStatsTo(const wxString& path) { return d.DumpStatsTo(path); }
  bool SaveFrameTo(const wxString& path) { return d.SaveFrameTo(path); }
  barywalk::FrameSettings FrameSettings() const { return d.FrameSettingsFromControls(); }
  // Replaces the message boxes of the flare side.
  void SetShowMessage(D::MessageFunction show) { d.m_showMessage = std::move(show); }
  void TimerTick() {
    wxTimerEvent event(d.m_timer);
    d.OnTimerTick(event);
  }
  // One tick as the running timer makes it.
  void Tick() { d.UpdateFrame(); }
  void ResetSimulation() { d.ResetSimulation(); }

  wxTimer& Timer() { return d.m_timer; }
  double SimTime() const { return d.m_player.SimTime(); }
  double StartTime() const { return d.m_player.StartTime(); }
  double EndTime() const { return d.m_player.EndTime(); }
  bool Playing() const { return d.m_player.Playing(); }
  bool Paused() const { return d.m_player.Paused(); }
  bool Reverse() const { return d.m_player.Reverse(); }
  barywalk::PixelPoint SunOffset() const { return d.m_player.SunOffset(); }
  barywalk::PixelPoint SunAccel() const { return d.m_player.SunAccel(); }
  barywalk::SolarPath& SunPath() { return d.m_player.Path(); }
  barywalk::FlareStatMap& FlareStats() { return d.m_flareStats; }
  barywalk::FlareMap& Flares() { return d.m_flares; }
  double MaxFlareSize() const { return d.m_maxFlareSize; }
  const barywalk::PlanetLongitudes& PlanetLongitudes() const { return d.m_planetLongitudes; }

  wxDateGenericCtrl* StartDate() const { return d.m_startDate; }
  wxDateGenericCtrl* EndDate() const { return d.m_endDate; }
  wxSpinCtrlDbl* Increment() const { return d.m_increment; }
  wxSpinCtrlDbl* Duration() const { return d.m_duration; }
  wxSpinCtrlDbl* AccelFactor() const { return d.m_accelFactor; }
  wxSpinCtrlDbl* ClipLimit() const { return d.m_clipLimit; }
  wxSpinCtrlDbl* FlareScale() const { return d.m_flareScale; }
  wxPushButton* PlayReverseButton() const { return d.m_playReverseButton; }
  wxPushButton* PlayForwardButton() const { return d.m_playForwardButton; }
  wxCheckBox* ShowYear() const { return d.m_showYear; }
  wxCheckBox* ShowMonth() const { return d.m_showMonth; }
  wxCheckBox* ShowDay() const { return d.m_showDay; }
  wxCheckBox* ShowSun() const { return d.m_showSun; }
  wxCheckBox* PlanetBox(int i) const { return d.m_planetBoxes[i]; }
  wxCheckBox* ShowFlares() const { return d.m_showFlares; }
  wxCheckBox* LogScale() const { return d.m_logScale; }
  wxCheckBox* ClipArea() const { return d.m_clipArea; }
  wxCheckBox* UseDuration() const { return d.m_useDuration; }
  wxCheckBox* ShowOrbit() const { return d.m_showOrbit; }
  wxCheckBox* ShowAcceleration() const { return d.m_showAcceleration; }
  wxPanel* Panel() const { return d.m_panel; }

 private:
  void Call(void (D::*handler)(wxCommandEvent&), long id, bool stopTimer = true) {
    wxCommandEvent event(wxEVT_BUTTON, static_cast<int>(id));
    (d.*handler)(event);
    if (stopTimer) d.m_timer.Stop();
  }

  BarywalkDialog& d;
};
