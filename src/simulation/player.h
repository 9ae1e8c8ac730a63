// The player without a display: the clock between a start and an end, the
// direction of play, the Sun's place and its trail. The dialog's buttons
// and timer, barywalk-render's runs and the statistics replay all step
// through it, so they see the same times and the same trail.
#pragma once

#include <array>
#include <cstdint>

#include "ephemeris/barycenter.h"
#include "views/solar_path.h"

namespace barywalk {

class Player {
 public:
  // Stopped at Julian day 0; the Sun is computed for a square view
  // `viewWidth` pixels wide.
  explicit Player(int viewWidth);

  // The view's width for the Sun's next computations (the dialog's panel
  // can be resized between ticks).
  void SetViewWidth(int viewWidth) { m_viewWidth = viewWidth; }

  // Back to `startTime` for a run that ends at `endTime` (Julian days): the
  // Sun recomputed there, the trail emptied. Playing, paused or stopped
  // stays as it was.
  void Reset(double startTime, double endTime);

  // Play, Pause and Stop change only the state; the time moves at Step.
  void Play(bool reverse);
  void Pause();
  void Stop();

  // One tick: the clock when playing, then the Sun for the (possibly
  // unchanged) time, then the trail while playing forwards. Returns true
  // when this tick ended the run.
  bool Step(double incrementDays);
  // The clock part of a tick alone, for callers that need only the time:
  // when playing, moves by the increment and stops at the end of the run.
  // Returns true when this tick ended the run.
  bool StepClock(double incrementDays);

  // Moves to `jd` without a tick and recomputes the Sun there; the trail
  // stays as it is (a picture at a chosen instant).
  void ShowAt(double jd);

  bool Playing() const { return m_playing; }
  bool Paused() const { return m_paused; }
  bool Reverse() const { return m_reverse; }
  bool Stopped() const { return !m_playing && !m_paused; }

  double SimTime() const { return m_simTime; }
  double PrevTime() const { return m_prevTime; }  // the time of the tick before
  double StartTime() const { return m_startTime; }
  double EndTime() const { return m_endTime; }
  PixelPoint SunOffset() const { return m_sunOffset; }  // the Sun's centre, view pixels
  PixelPoint SunAccel() const { return m_sunAccel; }  // display units, screen orientation
  // The planets at SimTime() (planet order) that the Sun was computed from.
  const std::array<HeliocentricPosition, kPlanetCount>& Positions() const { return m_positions; }
  const SolarPath& Path() const { return m_path; }
  SolarPath& Path() { return m_path; }

 private:
  void ComputeSunAt(double jd);

  int m_viewWidth;
  double m_startTime = 0, m_endTime = 0;
  double m_simTime = 0, m_prevTime = 0;
  bool m_playing = false, m_paused = false, m_reverse = false;
  std::array<HeliocentricPosition, kPlanetCount> m_positions{};
  PixelPoint m_sunOffset, m_sunAccel;
  SolarPath m_path;
};

// The number of ticks a forward run from `startTime` to `endTime` makes:
// the last one is the first to reach or pass the end, so a run always has
// at least one tick.
std::int64_t CountForwardTicks(double startTime, double endTime, double incrementDays);

}  // namespace barywalk
