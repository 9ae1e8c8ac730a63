// One observed solar flare and the process-wide settings that turn its
// area into the size of its symbol on the Sun's disc.
#pragma once

#include <map>

namespace barywalk {

// Upper limit of the apparent area in millionths of the solar disk; 0 or
// below switches clipping off. Starts at 800.
extern double g_flareAreaClip;
// Whether the apparent area is scaled logarithmically. Starts false.
extern bool g_flareLogScale;

double GetFlareAreaClip();
void SetFlareAreaClip(double clip);
bool GetFlareLogScale();
void SetFlareLogScale(bool logScale);

// A flare as read from a flare file. Its time (Julian day) is not stored
// here: it is the key under which the flare is kept in a FlareMap.
class SolarFlare {
 public:
  SolarFlare(double latitude, double longitude, double durationDays, double area, int index,
             double flux = 0.0, int region = 0);
  virtual ~SolarFlare() = default;

  // Heliographic latitude in degrees, north positive.
  double Latitude() const { return m_latitude; }
  // Distance from the central meridian as seen from the Earth, degrees,
  // east positive.
  double Longitude() const { return m_longitude; }
  double LatitudeRad() const;
  double LongitudeRad() const;
  double Duration() const { return m_duration; }  // days
  // Area in millionths of the solar disk; 0 or below: not given.
  double Area() const { return m_area; }
  // Running number within one load, from 1.
  int Index() const { return m_index; }
  // Peak soft X-ray flux in W/m^2, the value of the GOES class (M1.2 is
  // 1.2e-5); 0: unknown.
  double Flux() const { return m_flux; }
  // NOAA active-region number; 0: unknown.
  int Region() const { return m_region; }

  // The area used for the symbol: a missing area counts as 100, then the
  // clipping limit and the logarithmic scaling apply.
  double ApparentArea() const;
  // Square root of ApparentArea: proportional to the symbol's radius.
  double SymbolSize() const;

 private:
  double m_latitude;
  double m_longitude;
  double m_duration;
  double m_area;
  int m_index;
  double m_flux;
  int m_region;
};

// The loaded flares keyed by Julian day. Equal keys keep reading order.
using FlareMap = std::multimap<double, SolarFlare>;

// The largest SymbolSize of all flares; 0 for an empty map. Depends on the
// current clipping and scaling settings, so recompute after changing them.
double MaxFlareSize(const FlareMap& flares);

}  // namespace barywalk
