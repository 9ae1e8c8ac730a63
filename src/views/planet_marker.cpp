#include "views/planet_marker.h"

#include <cmath>

#include "views/view_constants.h"

namespace barywalk {
namespace {

bool OutsideMargins(double x, double y, int w, int h) {
  return x > w - kMarkerMarginRight || x < kMarkerMarginLeft || y > h - kMarkerMarginBottom ||
         y < kMarkerMarginTop;
}

bool AllFinite(double a, double b, double c, double d, double e) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
         std::isfinite(e);
}

}  // namespace

MarkerPlacement PlaceMarker(double sx, double sy, int w, int h, double dx, double dy, double K) {
  MarkerPlacement placement;
  if (!AllFinite(sx, sy, dx, dy, K) || !(K > 0)) return placement;
  // Shortening pulls the label corner toward the Sun's centre; when that
  // centre is outside the margins the corner can never get inside.
  if (OutsideMargins(sx, sy, w, h)) return placement;

  const double fullLength = kViewScaleFactor * w * kMarkerLengthFraction;
  double ex = fullLength * dx / K;
  double ey = fullLength * dy / K;
  double tx = sx + ex;
  double ty = sy + ey;
  for (int step = 0; OutsideMargins(tx, ty, w, h); ++step) {
    if (step == kMarkerMaxShrinkSteps) return placement;
    ex *= kMarkerShrinkFactor;
    ey *= kMarkerShrinkFactor;
    tx = sx + ex;
    ty = sy + ey;
  }
  placement.visible = true;
  placement.tx = tx;
  placement.ty = ty;
  return placement;
}

}  // namespace barywalk
