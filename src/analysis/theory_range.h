// The span of time over which the analyses evaluate the planetary
// theories: J2000 +- 2000 Julian years (about the years 0 to 4000). Over
// this span the VSOP87 series of all eight major planets hold. Pluto's
// periodic theory is fitted to 1885..2099; outside that span it still
// moves Pluto smoothly along its mean orbit, which is what a randomised
// phase needs, but its positions there are not accurate.
#pragma once

#include "ephemeris/constants.h"

namespace barywalk {

constexpr double kTheoryCentreJd = kJ2000;
constexpr double kTheoryHalfSpanDays = 2000 * 365.25;  // 2000 Julian years
constexpr double kTheoryFirstJd = kTheoryCentreJd - kTheoryHalfSpanDays;
constexpr double kTheoryLastJd = kTheoryCentreJd + kTheoryHalfSpanDays;

inline bool WithinTheoryRange(double jd) { return jd >= kTheoryFirstJd && jd <= kTheoryLastJd; }

}  // namespace barywalk
