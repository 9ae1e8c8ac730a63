#include "flares/solar_flare.h"

#include <cmath>

#include "flares/flare_constants.h"

namespace barywalk {


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

double SolarFlare::ApparentArea(const FlareScaling& scaling) const {
  double a = m_area;
  if (!(a > 0)) a = kDefaultFlareArea;
  if (scaling.areaClip > 0 && a > scaling.areaClip) a = scaling.areaClip;
  if (scaling.logScale) a = std::log(a + 1.0);
  return a;
}

double SolarFlare::SymbolSize(const FlareScaling& scaling) const {
  return std::sqrt(ApparentArea(scaling));
}

double MaxFlareSize(const FlareMap& flares, const FlareScaling& scaling) {
  double maxSize = 0.0;
  for (const auto& entry : flares) {
    const double size = entry.second.SymbolSize(scaling);
    if (size >= maxSize) maxSize = size;  // a NaN size never becomes the maximum
  }
  return maxSize;
}

}  // namespace barywalk
