#include "flares/solar_flare.h"

#include <cmath>

#include "flares/flare_constants.h"

namespace barywalk {

double g_flareAreaClip = kDefaultFlareAreaClip;
bool g_flareLogScale = false;

double GetFlareAreaClip() { return g_flareAreaClip; }
void SetFlareAreaClip(double clip) { g_flareAreaClip = clip; }
bool GetFlareLogScale() { return g_flareLogScale; }
void SetFlareLogScale(bool logScale) { g_flareLogScale = logScale; }

SolarFlare::SolarFlare(double latitude, double longitude, double durationDays, double area,
                       int index, double flux, int region)
    : m_latitude(latitude),
      m_longitude(longitude),
      m_duration(durationDays),
      m_area(area),
      m_index(index),
      m_flux(flux),
      m_region(region) {}

double SolarFlare::LatitudeRad() const { return m_latitude / 180.0 * kFlarePi; }

double SolarFlare::LongitudeRad() const { return m_longitude / 180.0 * kFlarePi; }

double SolarFlare::ApparentArea() const {
  double a = m_area;
  if (!(a > 0)) a = kDefaultFlareArea;
  if (g_flareAreaClip > 0 && a > g_flareAreaClip) a = g_flareAreaClip;
  if (g_flareLogScale) a = std::log(a + 1.0);
  return a;
}

double SolarFlare::SymbolSize() const { return std::sqrt(ApparentArea()); }

double MaxFlareSize(const FlareMap& flares) {
  double maxSize = 0.0;
  for (const auto& entry : flares) {
    const double size = entry.second.SymbolSize();
    if (size >= maxSize) maxSize = size;  // a NaN size never becomes the maximum
  }
  return maxSize;
}

}  // namespace barywalk
