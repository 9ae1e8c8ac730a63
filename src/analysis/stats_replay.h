// Play forward without a display: the flare statistics that the dialog
// collects while it plays a run forward, computed frame by frame with the
// dialog's own clock, visibility window, symbol rule and RecordFlareStat.
#pragma once

#include <cstdint>
#include <functional>

#include "flares/flare_stat.h"
#include "flares/solar_flare.h"
#include "simulation/run_settings.h"

namespace barywalk {

// The dialog's settings that the statistics of a run depend on.
struct PlayForwardRun {
  double startTime = 0;          // Julian day of the start date
  double endTime = 0;            // Julian day of the end date
  double incrementDays = kIncrementSetting.initial;  // days per tick
  // The "Duration [min]" window, else the increment's.
  bool useDuration = kShownAtStart.useDuration;
  double durationMinutes = kDurationSetting.initial;  // width of the duration window
  double scaleFactor = kFlareScaleSetting.initial;    // the flare symbol scale factor
  FlareScaling scaling;                               // clipping and logarithmic scaling
  int panelWidth = kViewSidePixels;  // pixels; sets the Sun's radius and so the symbol sizes
};

// About how many ticks the run takes (for progress reports): its length
// over the increment, at least one.
std::int64_t EstimatedTickCount(const PlayForwardRun& run);

// The statistics the dialog holds after Play forward from the stopped
// state over `run` with `flares` loaded and "Show Flares" ticked: one
// record per flare drawn in any frame, the frame nearest to a planet
// kept. Frames without a flare in their window cost two map lookups;
// only the others evaluate the planets. `progress`, when given, is called
// now and then with the number of ticks done.
FlareStatMap ReplayPlayForwardStats(const FlareMap& flares, const PlayForwardRun& run,
                                    const std::function<void(std::int64_t)>& progress = {});

}  // namespace barywalk
