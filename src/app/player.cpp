// The simulation clock and the player: Rewind, Play reverse, Play forward,
// Pause, Stop and the 30 ms tick.
#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/panel.h>

#include "app/barywalk_dialog.h"
#include "controls/date_generic_ctrl.h"
#include "controls/push_button.h"
#include "controls/spin_ctrl_dbl.h"
#include "simulation/run_settings.h"

void BarywalkDialog::ResetSimulation() {
  m_player.SetViewWidth(m_panel->GetSize().GetWidth());
  m_player.Reset(m_startDate->GetValue().GetJulianDayNumber(),
                 m_endDate->GetValue().GetJulianDayNumber());
}

void BarywalkDialog::UpdateFrame() {
  wxClientDC panelDc(m_panel);
  const wxSize size = m_panel->GetSize();
  StepSimulation();
  if (size.x <= 0 || size.y <= 0) return;  // not laid out: nothing to show
  wxBufferedDC dc(&panelDc, size, wxBUFFER_CLIENT_AREA);
  DrawFrame(dc, size.x, size.y);
  Update();
  // Leaving scope copies the buffer onto the panel in one operation.
}

// Advances the clock when playing, then recomputes the Sun for the
// (possibly unchanged) time and extends the trail when playing forwards.
// The increment is read at every tick, so a change shows at the next one.
void BarywalkDialog::StepSimulation() {
  m_player.SetViewWidth(m_panel->GetSize().GetWidth());
  if (m_player.Step(m_increment->GetValue())) ShowPlayerState();  // the run has ended
}

void BarywalkDialog::OnTimerTick(wxTimerEvent&) {
  if (m_timer.IsRunning()) UpdateFrame();
}

// Keeps the player's state: a running clock goes on from the start date,
// and its button stays down.
void BarywalkDialog::OnRewind(wxCommandEvent&) {
  ResetSimulation();
  UpdateFrame();
  ShowPlayerState();
}

void BarywalkDialog::OnPlayReverse(wxCommandEvent&) {
  if (m_player.Stopped()) ResetSimulation();
  UpdateMaxFlareSize();
  m_player.Play(true);
  m_timer.Start(barywalk::kTickPeriodMs, wxTIMER_CONTINUOUS);
  ShowPlayerState();
  LockClippingControls(true);
}

void BarywalkDialog::OnPlayForward(wxCommandEvent&) {
  if (m_player.Stopped()) ResetSimulation();
  m_flareStats.clear();
  UpdateMaxFlareSize();
  m_player.Play(false);
  m_timer.Start(barywalk::kTickPeriodMs, wxTIMER_CONTINUOUS);
  ShowPlayerState();
  LockClippingControls(true);
}

// The timer keeps running: the held frame goes on being redrawn.
void BarywalkDialog::OnPause(wxCommandEvent&) {
  m_player.Pause();
  ShowPlayerState();
}

void BarywalkDialog::OnStop(wxCommandEvent&) {
  m_player.Stop();
  ShowPlayerState();
  LockClippingControls(false);
  m_logScale->Enable(true);
}

void BarywalkDialog::ShowPlayerState() {
  m_playReverseButton->SetPressed(m_player.Playing() && m_player.Reverse());
  m_playForwardButton->SetPressed(m_player.Playing() && !m_player.Reverse());
}

// The clipping limit must not change while the player runs: the largest
// flare symbol is computed when play starts.
void BarywalkDialog::LockClippingControls(bool locked) {
  m_clipArea->Enable(!locked);
  m_clipLimit->Enable(!locked);
}
