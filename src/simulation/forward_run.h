// A forward run of the player from a stop, tick by tick: what the dialog
// shows after pressing Play forwards with the same dates and increment.
#pragma once

#include <array>
#include <cstdint>

#include "ephemeris/barycenter.h"
#include "views/solar_path.h"

namespace barywalk {

class ForwardRun {
 public:
  // The stopped state at `startTime` (Julian day): the Sun computed for a
  // square panel `panelWidth` pixels wide, an empty trail, no tick made.
  ForwardRun(double startTime, double endTime, double incrementDays, int panelWidth);

  // One tick: advance the clock, recompute the Sun, offer its centre to the
  // trail while the run goes on. Returns false, changing nothing, once the
  // run has ended; the tick that reaches the end is made and returns true.
  bool Tick();

  bool Ended() const { return m_ended; }
  std::int64_t Ticks() const { return m_ticks; }
  double SimTime() const { return m_simTime; }
  PixelPoint SunOffset() const { return {m_sun.offsetX, m_sun.offsetY}; }
  PixelPoint SunAccel() const { return {m_sun.accelX, m_sun.accelY}; }
  const SolarPath& Path() const { return m_path; }
  // The planets at SimTime() (planet order) that the Sun was computed from.
  const std::array<HeliocentricPosition, kPlanetCount>& Positions() const { return m_positions; }

  // Moves the clock to `jd` without a tick and recomputes the Sun there;
  // the trail stays as it is (a picture at a chosen instant).
  void ShowAt(double jd);

 private:
  // The planets and the Sun at `jd`.
  void ComputeSunAt(double jd);

  double m_startTime, m_endTime, m_increment;
  int m_panelWidth;
  double m_simTime;
  std::array<HeliocentricPosition, kPlanetCount> m_positions;
  SunState m_sun;
  SolarPath m_path;
  bool m_ended = false;
  std::int64_t m_ticks = 0;
};

// The number of ticks a forward run from `startTime` to `endTime` makes:
// the last one is the first to reach or pass the end, so a run always has
// at least one tick.
std::int64_t CountForwardTicks(double startTime, double endTime, double incrementDays);

}  // namespace barywalk
