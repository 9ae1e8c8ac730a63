// Where a planet direction marker ends: the corner of the planet's label.
#pragma once

namespace barywalk {

struct MarkerPlacement {
  bool visible = false;   // false: the marker is not drawn
  double tx = 0, ty = 0;  // label corner, where the line from the Sun ends
};

// Marker from the Sun's centre (sx, sy) on a w x h panel toward the planet's
// heliocentric vector (dx, dy) in AU, screen orientation, with reference
// distance K (AU): full length 0.315 * w * |(dx, dy)| / K, shortened by 0.5 %
// per step until the label corner lies inside the margins (left 5, right 45,
// top and bottom 15 pixels). The marker is skipped when it cannot fit: the
// Sun's centre outside the margins, no fit within a bounded number of
// steps, K not positive or any input not finite.
MarkerPlacement PlaceMarker(double sx, double sy, int w, int h, double dx, double dy, double K);

}  // namespace barywalk
