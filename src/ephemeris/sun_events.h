// The Sun's notable moments around the barycenter over a span of time:
// its closest passes and farthest points, the starts and ends of the spells
// when its orbit about the barycenter runs retrograde, and the largest and
// smallest pull of the planets on it.
#pragma once

#include <vector>

#include "ephemeris/sun_motion.h"

namespace barywalk {

enum class SunEventKind {
  ClosestPass,       // a minimum of the distance from the barycenter
  FarthestPoint,     // a maximum of that distance
  RetrogradeBegins,  // the orbital angular momentum turns negative
  RetrogradeEnds,    // ... and positive again
  LargestPull,       // the greatest acceleration in the span
  SmallestPull,      // the least acceleration in the span
};

// "closest pass", "farthest point", ...
const char* SunEventName(SunEventKind kind);

struct SunEvent {
  SunEventKind kind;
  double jd = 0;
  SunMotion motion;  // the Sun's state at jd
};

struct SunEventOptions {
  // Distance extremes count only when the distance changes by at least this
  // much before the next opposite extreme: the inner planets add wiggles of
  // a few hundred km that would otherwise show as extra extremes beside
  // every real one.
  double minDistanceChangeKm = 0.02 * kNominalSolarRadiusKm;
  // Days between the samples that bracket the events; each event is then
  // refined to well under a minute.
  double sampleDays = 5.0;
};

// Every event between Julian days `from` and `to` (from < to), in date
// order. Extremes on the span's ends are not events; a spell running at
// `from` shows only its end. At most kMaxEventSamples samples.
constexpr double kMaxEventSamples = 2e7;
std::vector<SunEvent> FindSunEvents(double from, double to,
                                    const SunEventOptions& options = SunEventOptions());

// Indices of the alternating minima and maxima of `values` that stand out
// by at least `threshold` from the extremes on either side of them (a
// zig-zag filter). Ends of the series are never included. `isMax` tells
// which each one is.
struct Turn {
  std::size_t index;
  bool isMax;
};
std::vector<Turn> ZigZagTurns(const std::vector<double>& values, double threshold);

}  // namespace barywalk
