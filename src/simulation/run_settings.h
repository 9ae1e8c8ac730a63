// The settings of a run and of the view: their values at start and their
// ranges. The dialog's controls start from these and keep to them, and the
// commands take them as their defaults and limits, so that a command run
// without options shows what the dialog shows when it opens.
#pragma once

#include <array>
#include <string>

#include "ephemeris/planets.h"

namespace barywalk {

// A number the user sets: its range, its value at start and the step of
// the dialog's arrows.
struct NumberSetting {
  double low, high, initial, step;

  constexpr bool Contains(double value) const { return value >= low && value <= high; }
};

// Days per tick, one minute to one year, so always positive.
constexpr NumberSetting kIncrementSetting{1.0 / 1440.0, 365.0, 0.11, 0.1};
// Width of the flare visibility window in minutes ("Duration [min]").
constexpr NumberSetting kDurationSetting{1, 1440, 300, 1};
// Display factor of the acceleration vector.
constexpr NumberSetting kAccelFactorSetting{0, 1000000, 1, 0.1};
// Upper limit of a flare's apparent area, millionths of the solar disk.
constexpr NumberSetting kClipLimitSetting{0, 10000, 800, 5};
// Scale factor of the flare symbols.
constexpr NumberSetting kFlareScaleSetting{0, 100, 1, 0.05};

// A day of the Gregorian calendar; month 1 to 12.
struct CalendarDate {
  int year, month, day;
};

// The run's start and end, each taken at midnight.
constexpr CalendarDate kRunStartDate{1980, 1, 1};
constexpr CalendarDate kRunEndDate{2040, 1, 1};

// Which parts of the view are shown at start.
struct ShownParts {
  // Planet direction markers, in planet order (Mercury ... Pluto).
  std::array<bool, kPlanetCount> planets{false, false, true, false, true, true, true, true, false};
  bool year = true, month = true, day = true;  // the date label's parts
  bool sun = true;                             // the Sun's disc
  bool trail = false;                          // the Sun's trail ("Solar orbit")
  bool acceleration = false;                   // the acceleration vector
  bool flares = true;                          // the flare layer
  bool useDuration = true;  // the flare window by "Duration [min]", else by the increment
  bool clip = true;         // the apparent area clipped at the limit
  bool logScale = false;    // the apparent area scaled logarithmically
};
inline constexpr ShownParts kShownAtStart{};

// Side of the square view in pixels: the dialog's panel is never smaller,
// and the commands draw and measure at this size unless told otherwise.
constexpr int kViewSidePixels = 640;

// Period of the player's tick in milliseconds: one step per tick.
constexpr int kTickPeriodMs = 30;

// "1980-01-01".
std::string IsoDate(const CalendarDate& date);
// A setting's number as help texts show it: "0.11", "1000000".
std::string SettingNumber(double value);
// A setting's lower limit as help texts show it: a fraction below 1 as
// "1/1440", which says one minute where 0.0006944444444 would not.
std::string SettingLow(const NumberSetting& setting);

}  // namespace barywalk
