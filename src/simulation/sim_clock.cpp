#include "simulation/sim_clock.h"

#include "simulation/run_settings.h"

namespace barywalk {

double ClampIncrement(double days) {
  if (!(days >= kIncrementSetting.low)) return kIncrementSetting.low;  // also NaN
  if (days > kIncrementSetting.high) return kIncrementSetting.high;
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
