// Numbers of the flare subsystem: units of the flare files, the symbol
// rule and the statistics marker.
#pragma once

#include "common/angles.h"

namespace barywalk {

constexpr double kFlarePi = kPi;
constexpr double kFlareTwoPi = kTwoPi;

// Flare files give durations in minutes; the program counts in days.
constexpr double kMinutesPerDay = 1440.0;

// Number of fields of a flare data line: JD, latitude, longitude,
// duration in minutes, area.
constexpr int kFlareFieldCount = 5;

// Area, in millionths of the solar disk, assumed for a flare whose file
// gives none (0 or negative).
constexpr double kDefaultFlareArea = 100.0;

// The largest flare of a load is drawn with this fraction of the Sun's
// radius (times the user's scale factor).
constexpr double kLargestSymbolFraction = 0.2;

// Symbols whose radius would be this many pixels or fewer are not drawn.
constexpr double kSmallestSymbolRadius = 1.0;

// Without the duration window, flares within (increment + this many days)
// of the simulated time are visible.
constexpr double kWindowExtraDays = 2.0;

// Statistics lines of flares closer than this to their nearest planet's
// direction get an asterisk marker of (10 - angle) asterisks.
constexpr double kMarkerAngleDeg = 5.0;
constexpr double kMarkerMaxAsterisks = 10.0;

}  // namespace barywalk
