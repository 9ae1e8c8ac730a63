// The simulation clock of Play: one tick moves the simulated time by the
// increment, forwards or backwards, and ends the run at its end. The
// dialog's player and the statistics replay step through the same code,
// so a replayed run visits exactly the times the dialog draws.
#pragma once

namespace barywalk {

// Range of the increment, in days per tick: one minute to one year.
constexpr double kMinPlayIncrementDays = 1.0 / 1440.0;
constexpr double kMaxPlayIncrementDays = 365.0;

// The increment kept to its range; NaN gives the smallest increment.
double ClampPlayIncrement(double days);

struct PlayClockStep {
  double time = 0;       // the new simulated time, Julian day
  bool runEnds = false;  // the run stops at this tick; its frame is still drawn
};

// One tick of the running clock. Forwards: time = simTime + increment (so
// a run accumulates its steps, with their rounding), ending at the first
// time >= endTime. Backwards: time = simTime - increment, ending at the
// first time < startTime. The time is never clamped to the run's ends.
PlayClockStep StepPlayClock(double simTime, double incrementDays, bool reverse, double startTime,
                            double endTime);

}  // namespace barywalk
