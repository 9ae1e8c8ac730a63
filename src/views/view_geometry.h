// The orbit view's geometry, recomputed for every frame from the panel size.
#pragma once

namespace barywalk {

struct ViewGeometry {
  int w, h;        // panel size in pixels
  int cx, cy;      // the barycenter: (w / 2, h / 2), integer division
  double scale;    // pixels per solar radius, 0.7 * w / 6; also the Sun disc's radius
  int refRadius;   // reference circle radius, trunc(0.7 * w / 3): one solar diameter
};

// Geometry of a w x h panel; negative sizes count as 0.
ViewGeometry MakeViewGeometry(int w, int h);

// A real coordinate as an integer pixel: truncation toward zero. Values
// beyond what a drawing surface can address are clamped to +-1e9 and NaN
// becomes 0, so no conversion overflows.
int ToPixel(double v);

}  // namespace barywalk
