#include "simulation/forward_run.h"

#include "simulation/sim_clock.h"

namespace barywalk {

ForwardRun::ForwardRun(double startTime, double endTime, double incrementDays, int panelWidth)
    : m_startTime(startTime),
      m_endTime(endTime),
      m_increment(incrementDays),
      m_panelWidth(panelWidth),
      m_simTime(startTime),
      m_positions(AllPlanetPositions(startTime)),
      m_sun(SunStateFromPositions(m_positions, panelWidth)) {}

bool ForwardRun::Tick() {
  if (m_ended) return false;
  m_ended = AdvanceClock(m_simTime, m_increment, false, m_startTime, m_endTime);
  ++m_ticks;
  ComputeSunAt(m_simTime);
  if (TrailTakesPoint(!m_ended, false, false)) m_path.AddPoint(m_simTime, SunOffset());
  return true;
}

void ForwardRun::ShowAt(double jd) {
  m_simTime = jd;
  ComputeSunAt(jd);
}

void ForwardRun::ComputeSunAt(double jd) {
  m_positions = AllPlanetPositions(jd);
  m_sun = SunStateFromPositions(m_positions, m_panelWidth);
}

std::int64_t CountForwardTicks(double startTime, double endTime, double incrementDays) {
  double simTime = startTime;
  std::int64_t ticks = 1;
  while (!AdvanceClock(simTime, incrementDays, false, startTime, endTime)) ++ticks;
  return ticks;
}

}  // namespace barywalk
