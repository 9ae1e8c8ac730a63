// Which flares the view shows at a simulated time, and where and how large
// their symbols are on the Sun's disc. Pure computations: the drawing
// itself (flare_layer.h) and the dialog call these.
#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "flares/solar_flare.h"

namespace barywalk {

// The closed interval of Julian days [from, to] whose flares are visible.
struct FlareWindow {
  double from = 0.0;
  double to = 0.0;
};

// With `useDuration` the window is `durationMinutes` wide, centred on
// `simTime`; otherwise it reaches (incrementDays + 2) days to both sides.
FlareWindow FlareVisibilityWindow(double simTime, bool useDuration, double durationMinutes,
                                  double incrementDays);

// The flares with from <= key <= to, in key order. Empty when to < from.
using FlareRange = std::pair<FlareMap::const_iterator, FlareMap::const_iterator>;
FlareRange FlaresInWindow(const FlareMap& flares, const FlareWindow& window);

// The Earth's heliocentric ecliptic longitude in radians at Julian day
// `jd`. Compute it once per frame and share it between all flares.
double EarthLongitude(double jd);

// A flare's direction angle in radians, in the frame of the planets'
// heliocentric longitudes: the Earth's longitude minus the flare's
// longitude (which is counted from the Earth's direction).
double FlareDirectionAngle(double earthLongitude, const SolarFlare& flare);

// Everything a frame's flare symbols depend on besides the flare itself.
struct FlareFrame {
  double earthLongitude = 0.0;  // radians, at the simulated time
  double scaleFactor = 1.0;     // the user's symbol scale factor
  double centreX = 0.0;         // the Sun's centre in panel pixels
  double centreY = 0.0;
  double sunRadius = 0.0;       // pixels
  double maxFlareSize = 0.0;    // MaxFlareSize of the loaded flares with `scaling`
  FlareScaling scaling;         // area to symbol size
};

// The frame of the view at `simTime`: the Earth's longitude at that time,
// the user's symbol scale, the Sun's centre and radius in pixels, the
// flare scaling and the largest symbol size of the loaded flares with it.
FlareFrame MakeFlareFrame(double simTime, double scaleFactor, double centreX, double centreY,
                          double sunRadius, const FlareScaling& scaling, double maxFlareSize);

// One symbol: a filled circle of `radius` pixels around (x, y); red for
// northern flares (latitude > 0), blue otherwise (equator included).
// Pixel values are clamped to +-16777216, far outside any panel, so
// arithmetic on them cannot overflow.
struct FlareSymbol {
  int x = 0;
  int y = 0;
  int radius = 0;
  bool north = false;
  double angle = 0.0;  // the flare's direction angle, radians
};

// The symbol of one flare, or nothing when its radius would be 1 pixel or
// less (also for a scale factor 0 or a maximum size that is not positive).
// The flare with the largest SymbolSize gets radius
// scaleFactor * 0.2 * sunRadius; a flare sits sunRadius * |cos latitude|
// from the centre in the direction (-cos angle, +sin angle). The disc is
// seen from above the Sun's north pole and the angle is the flare's own
// heliocentric direction, so a far-side flare (|longitude| > 90, as the
// STIX list gives them) lies on the half turned away from the Earth; it is
// never folded onto the Earth-facing half.
std::optional<FlareSymbol> ComputeFlareSymbol(const SolarFlare& flare, const FlareFrame& frame);

// Called once for every symbol to draw: the flare's key (Julian day), the
// flare and its symbol.
using FlareSymbolVisitor =
    std::function<void(double jd, const SolarFlare& flare, const FlareSymbol& symbol)>;

// Visits the symbols of all flares inside `window`, in key order, skipping
// those too small to draw. Returns the number of symbols visited.
int ForEachFlareSymbol(const FlareMap& flares, const FlareWindow& window, const FlareFrame& frame,
                       const FlareSymbolVisitor& visit);

}  // namespace barywalk
