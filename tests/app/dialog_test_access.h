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
 public:
  explicit BarywalkDialogTestAccess(BarywalkDialog& dialog) : d(dialog) {}

  // The handlers, called as their buttons would. The timer that Play
  // restarts is stopped again so that no tick races the test.
  void PlayForward() { Call(&BarywalkDialog::OnPlayForward, BarywalkDialog::ID_BUTTON6); }
  void PlayReverse() { Call(&BarywalkDialog::OnPlayReverse, BarywalkDialog::ID_BUTTON5); }
  void Pause() { Call(&BarywalkDialog::OnPause, BarywalkDialog::ID_BUTTON7); }
  void Stop() { Call(&BarywalkDialog::OnStop, BarywalkDialog::ID_BUTTON8); }
  void Rewind() { Call(&BarywalkDialog::OnRewind, BarywalkDialog::ID_BUTTON3); }
  void Quit() { Call(&BarywalkDialog::OnQuit, BarywalkDialog::ID_BUTTON2, false); }
  void DurationClicked() {
    Call(&BarywalkDialog::OnDurationClicked, BarywalkDialog::ID_CHECKBOX15, false);
  }
  void ReadFlaresClicked() {
    Call(&BarywalkDialog::OnReadFlares, BarywalkDialog::ID_BUTTON9, false);
  }
  void DumpStatsClicked() { Call(&BarywalkDialog::OnDumpStats, BarywalkDialog::ID_BUTTON4, false); }
  void LogScaleClicked() {
    Call(&BarywalkDialog::OnLogScaleClicked, BarywalkDialog::ID_CHECKBOX19, false);
  }
  void ClipClicked() { Call(&BarywalkDialog::OnClipClicked, BarywalkDialog::ID_CHECKBOX18, false); }
  bool ReadFlareFiles(const wxArrayString& paths) { return d.ReadFlareFiles(paths); }
  static wxString FlareFileLine(const wxString& name, const barywalk::FlareFileReport& report) {
    return BarywalkDialog::FlareFileLine(name, report);
  }
  bool DumpStatsTo(const wxString& path) { return d.DumpStatsTo(path); }
  // Replaces the message boxes of the flare side.
  void SetShowMessage(BarywalkDialog::MessageFunction show) { d.m_showMessage = std::move(show); }
  void TimerTick() {
    wxTimerEvent event(d.m_timer);
    d.OnTimerTick(event);
  }
  // One tick as the running timer would make it.
  void Tick() { d.UpdateFrame(); }
  void ResetSimulation() { d.ResetSimulation(); }

  wxTimer& Timer() { return d.m_timer; }
  double SimTime() const { return d.m_simTime; }
  double StartTime() const { return d.m_startTime; }
  double EndTime() const { return d.m_endTime; }
  double PrevTime() const { return d.m_prevTime; }
  bool Playing() const { return d.m_playing; }
  bool Paused() const { return d.m_paused; }
  bool Reverse() const { return d.m_reverse; }
  barywalk::PixelPoint SunOffset() const { return d.m_sunOffset; }
  barywalk::PixelPoint PrevSunOffset() const { return d.m_prevSunOffset; }
  barywalk::PixelPoint SunAccel() const { return d.m_sunAccel; }
  barywalk::SolarPath& SunPath() { return d.m_sunPath; }
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
  void Call(void (BarywalkDialog::*handler)(wxCommandEvent&), long id, bool stopTimer = true) {
    wxCommandEvent event(wxEVT_BUTTON, static_cast<int>(id));
    (d.*handler)(event);
    if (stopTimer) d.m_timer.Stop();
  }

  BarywalkDialog& d;
};
