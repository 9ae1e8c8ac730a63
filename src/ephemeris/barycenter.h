// The Sun's place around the solar system barycenter, in view pixels.
#pragma once

#include <array>

#include "ephemeris/planets.h"

namespace barywalk {

struct SunState {
  double offsetX = 0, offsetY = 0;  // the Sun's centre in panel pixels
  double accelX = 0, accelY = 0;    // acceleration, display units, screen orientation
};

// The Sun's centre relative to the barycenter of the Sun and the nine
// planets, for Julian day `jd`, drawn on a square panel `panelWidth` pixels
// wide with the barycenter at (panelWidth / 2, panelWidth / 2) (integer
// division) and 0.7 * panelWidth / 6 pixels per solar radius; plus the
// planets' pull on the Sun in display units. Screen orientation: the
// ecliptic vector (X, Y) is drawn as (-X, +Y).
SunState ComputeSunState(double jd, int panelWidth);

// The same from the planets' positions already computed for one instant
// (in the planet order): ComputeSunState(jd, w) is
// SunStateFromPositions(AllPlanetPositions(jd), w).
SunState SunStateFromPositions(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                               int panelWidth);

}  // namespace barywalk
