#include "simulation/sim_clock.h"

namespace barywalk {

double ClampIncrement(double days) {
  if (!(days >= kMinIncrementDays)) return kMinIncrementDays;  // also NaN
  if (days > kMaxIncrementDays) return kMaxIncrementDays;
  return days;
}

bool AdvanceClock(double& simTime, double incrementDays, bool reverse, double startTime,
                  double endTime) {
  const double increment = ClampIncrement(incrementDays);
  if (!reverse) {
    simTime += increment;
    return simTime >= endTime;
  }
  simTime -= increment;
  return simTime < startTime;
}

bool TrailTakesPoint(bool playing, bool paused, bool reverse) {
  return playing && !paused && !reverse;
}

}  // namespace barywalk
