#include "analysis/play_clock.h"

namespace barywalk {

double ClampPlayIncrement(double days) {
  if (!(days >= kMinPlayIncrementDays)) return kMinPlayIncrementDays;  // also NaN
  if (days > kMaxPlayIncrementDays) return kMaxPlayIncrementDays;
  return days;
}

PlayClockStep StepPlayClock(double simTime, double incrementDays, bool reverse, double startTime,
                            double endTime) {
  PlayClockStep step;
  if (!reverse) {
    step.time = simTime + incrementDays;
    step.runEnds = step.time >= endTime;
  } else {
    step.time = simTime - incrementDays;
    step.runEnds = step.time < startTime;
  }
  return step;
}

}  // namespace barywalk
