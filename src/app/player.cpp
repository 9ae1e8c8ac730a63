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
#include "ephemeris/barycenter.h"
#include "simulation/run_settings.h"
#include "simulation/sim_clock.h"

void BarywalkDialog::ResetSimulation() {
  m_startTime = m_startDate->GetValue().GetJulianDayNumber();
  m_endTime = m_endDate->GetValue().GetJulianDayNumber();
  m_prevSunOffset = m_sunOffset;
  m_simTime = m_startTime;
  m_prevTime = m_startTime;
  UpdateEphemeris(m_simTime);
  m_sunPath.Clear();
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
void BarywalkDialog::StepSimulation() {
  if (m_playing) {
    m_prevTime = m_simTime;
    const bool runEnds = barywalk::AdvanceClock(m_simTime, m_increment->GetValue(), m_reverse,
                                                m_startTime, m_endTime);
    if (runEnds) {
      // The time is left at the first value past the end; not clamped.
      m_playing = false;
      m_paused = false;
      ShowPlayerState();
    }
  }
  m_prevSunOffset = m_sunOffset;
  UpdateEphemeris(m_simTime);
  if (barywalk::TrailTakesPoint(m_playing, m_paused, m_reverse)) {
    m_sunPath.AddPoint(m_simTime, m_sunOffset);
  }
}

void BarywalkDialog::UpdateEphemeris(double jd) {
  m_planetPositions = barywalk::AllPlanetPositions(jd);
  const barywalk::SunState sun =
      barywalk::SunStateFromPositions(m_planetPositions, m_panel->GetSize().GetWidth());
  m_sunOffset = {sun.offsetX, sun.offsetY};
  m_sunAccel = {sun.accelX, sun.accelY};
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
  if (!m_playing && !m_paused) ResetSimulation();
  UpdateMaxFlareSize();
  m_playing = true;
  m_paused = false;
  m_reverse = true;
  m_timer.Start(barywalk::kTickPeriodMs, wxTIMER_CONTINUOUS);
  ShowPlayerState();
  LockClippingControls(true);
}

void BarywalkDialog::OnPlayForward(wxCommandEvent&) {
  if (!m_playing && !m_paused) ResetSimulation();
  m_flareStats.clear();
  UpdateMaxFlareSize();
  m_playing = true;
  m_paused = false;
  m_reverse = false;
  m_timer.Start(barywalk::kTickPeriodMs, wxTIMER_CONTINUOUS);
  ShowPlayerState();
  LockClippingControls(true);
}

// The timer keeps running: the held frame goes on being redrawn.
void BarywalkDialog::OnPause(wxCommandEvent&) {
  m_playing = false;
  m_paused = true;
  ShowPlayerState();
}

void BarywalkDialog::OnStop(wxCommandEvent&) {
  m_playing = false;
  m_paused = false;
  ShowPlayerState();
  LockClippingControls(false);
  m_logScale->Enable(true);
}

void BarywalkDialog::ShowPlayerState() {
  m_playReverseButton->SetPressed(m_playing && m_reverse);
  m_playForwardButton->SetPressed(m_playing && !m_reverse);
}

// The clipping limit must not change while the player runs: the largest
// flare symbol is computed when play starts.
void BarywalkDialog::LockClippingControls(bool locked) {
  m_clipArea->Enable(!locked);
  m_clipLimit->Enable(!locked);
}
