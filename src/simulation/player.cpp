#include "simulation/player.h"

#include "simulation/sim_clock.h"

namespace barywalk {

Player::Player(int viewWidth) : m_viewWidth(viewWidth) {}

void Player::Reset(double startTime, double endTime) {
  m_startTime = startTime;
  m_endTime = endTime;
  m_simTime = startTime;
  m_prevTime = startTime;
  ComputeSunAt(m_simTime);
  m_path.Clear();
}

void Player::Play(bool reverse) {
  m_playing = true;
  m_paused = false;
  m_reverse = reverse;
}

void Player::Pause() {
  m_playing = false;
  m_paused = true;
}

void Player::Stop() {
  m_playing = false;
  m_paused = false;
}

bool Player::StepClock(double incrementDays) {
  if (!m_playing) return false;
  m_prevTime = m_simTime;
  if (!AdvanceClock(m_simTime, incrementDays, m_reverse, m_startTime, m_endTime)) return false;
  // The time is left at the first value past the end; not clamped.
  Stop();
  return true;
}

bool Player::Step(double incrementDays) {
  const bool ended = StepClock(incrementDays);
  ComputeSunAt(m_simTime);
  if (TrailTakesPoint(m_playing, m_paused, m_reverse)) m_path.AddPoint(m_simTime, m_sunOffset);
  return ended;
}

void Player::ShowAt(double jd) {
  m_simTime = jd;
  ComputeSunAt(jd);
}

void Player::ComputeSunAt(double jd) {
  m_positions = AllPlanetPositions(jd);
  const SunState sun = SunStateFromPositions(m_positions, m_viewWidth);
  m_sunOffset = {sun.offsetX, sun.offsetY};
  m_sunAccel = {sun.accelX, sun.accelY};
}

std::int64_t CountForwardTicks(double startTime, double endTime, double incrementDays) {
  double simTime = startTime;
  std::int64_t ticks = 1;
  while (!AdvanceClock(simTime, incrementDays, false, startTime, endTime)) ++ticks;
  return ticks;
}

}  // namespace barywalk
