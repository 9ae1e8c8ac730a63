#include "flares/flare_symbols.h"

#include <cmath>

#include "ephemeris/planets.h"
#include "flares/flare_constants.h"

namespace barywalk {
namespace {

constexpr double kPixelLimit = 16777216.0;

// Truncation toward zero, as the toolkit's integer coordinates need, but
// defined for every double: NaN gives 0, huge values are clamped.
int TruncToPixel(double value) {
  if (std::isnan(value)) return 0;
  if (value > kPixelLimit) return static_cast<int>(kPixelLimit);
  if (value < -kPixelLimit) return -static_cast<int>(kPixelLimit);
  return static_cast<int>(value);
}

}  // namespace

FlareWindow FlareVisibilityWindow(double simTime, bool useDuration, double durationMinutes,
                                  double incrementDays) {
  FlareWindow window;
  if (useDuration) {
    const double half = durationMinutes * 0.5;
    window.from = simTime - half / kMinutesPerDay;
    window.to = simTime + half / kMinutesPerDay;
  } else {
    const double reach = incrementDays + kWindowExtraDays;
    window.from = simTime - reach;
    window.to = simTime + reach;
  }
  return window;
}

FlareRange FlaresInWindow(const FlareMap& flares, const FlareWindow& window) {
  // An inverted (or NaN) window would put the lower bound behind the upper
  // one, and walking from one to the other would run off the map.
  if (!(window.from <= window.to)) return {flares.end(), flares.end()};
  return {flares.lower_bound(window.from), flares.upper_bound(window.to)};
}

double EarthLongitude(double jd) { return PlanetLongitude(Planet::Earth, jd); }

double FlareDirectionAngle(double earthLongitude, const SolarFlare& flare) {
  return earthLongitude - flare.LongitudeRad();
}

FlareFrame MakeFlareFrame(double simTime, double scaleFactor, double centreX, double centreY,
                          double sunRadius, const FlareScaling& scaling, double maxFlareSize) {
  FlareFrame frame;
  frame.earthLongitude = EarthLongitude(simTime);  // once for all flares
  frame.scaleFactor = scaleFactor;
  frame.centreX = centreX;
  frame.centreY = centreY;
  frame.sunRadius = sunRadius;
  frame.scaling = scaling;
  frame.maxFlareSize = maxFlareSize;
  return frame;
}

std::optional<FlareSymbol> ComputeFlareSymbol(const SolarFlare& flare, const FlareFrame& frame) {
  if (!(frame.maxFlareSize > 0)) return std::nullopt;
  const double size = frame.scaleFactor * kLargestSymbolFraction * frame.sunRadius *
                      flare.SymbolSize(frame.scaling) / frame.maxFlareSize;
  if (!(size > kSmallestSymbolRadius)) return std::nullopt;

  const double lat = flare.LatitudeRad();
  const double angle = FlareDirectionAngle(frame.earthLongitude, flare);
  const double q = std::fabs(std::cos(lat));
  FlareSymbol symbol;
  symbol.north = lat > 0;
  symbol.angle = angle;
  symbol.radius = TruncToPixel(size);
  symbol.x = TruncToPixel(frame.centreX - frame.sunRadius * std::cos(angle) * q);
  symbol.y = TruncToPixel(frame.centreY + frame.sunRadius * std::sin(angle) * q);
  return symbol;
}

int ForEachFlareSymbol(const FlareMap& flares, const FlareWindow& window, const FlareFrame& frame,
                       const FlareSymbolVisitor& visit) {
  int drawn = 0;
  const FlareRange range = FlaresInWindow(flares, window);
  for (auto it = range.first; it != range.second; ++it) {
    const std::optional<FlareSymbol> symbol = ComputeFlareSymbol(it->second, frame);
    if (!symbol) continue;
    visit(it->first, it->second, *symbol);
    ++drawn;
  }
  return drawn;
}

}  // namespace barywalk
