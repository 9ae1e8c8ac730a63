#include "views/view_geometry.h"

#include <algorithm>
#include <cmath>

#include "views/view_constants.h"

namespace barywalk {

ViewGeometry MakeViewGeometry(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  ViewGeometry g;
  g.w = w;
  g.h = h;
  g.cx = w / 2;
  g.cy = h / 2;
  g.scale = kViewScaleFactor * w / kViewScaleDivisor;
  g.refRadius = ToPixel(w * kViewScaleFactor / kSolarDiametersPerPanel);
  return g;
}

int ToPixel(double v) {
  constexpr double kLimit = 1e9;
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

}  // namespace barywalk
