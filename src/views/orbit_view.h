// The layers of the orbit view, drawn into the frame's device context.
// Each layer sets the brush, pen and text colour it needs and leaves brush
// and pen null when it ends; real coordinates are truncated toward zero.
#pragma once

#include <array>
#include <map>
#include <string>

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/string.h>

#include "ephemeris/planets.h"
#include "flares/flare_stat.h"
#include "simulation/run_settings.h"
#include "views/solar_path.h"

namespace barywalk {

// Black background, red crosshair through the barycenter (w / 2, h / 2)
// and the red reference circle of one solar diameter around it.
void DrawBackground(wxDC& dc, int w, int h);

// One row of the planet table: drawing order, colour, reference distance (AU).
struct PlanetStyle {
  Planet planet;
  wxColour colour;
  double K;
};
const std::array<PlanetStyle, kPlanetCount>& PlanetStyles();


// One direction marker: the name at the label corner of PlaceMarker, then a
// 2-pixel line from the Sun's centre to that corner. Nothing when skipped.
void DrawPlanetMarker(wxDC& dc, PixelPoint sun, int w, int h, double dx, double dy, double K,
                      const wxString& name, const wxColour& colour);

// Refills `longitudes` with all nine planets from their `positions` at one
// instant (planet order) and draws the markers of the planets whose `shown`
// flag (planet order) is set.
void DrawPlanetDirections(wxDC& dc, int w, int h, PixelPoint sun,
                          const std::array<HeliocentricPosition, kPlanetCount>& positions,
                          const std::array<bool, kPlanetCount>& shown,
                          PlanetLongitudes& longitudes);
// The same for the planets at Julian day `jd`.
void DrawPlanetDirections(wxDC& dc, int w, int h, PixelPoint sun, double jd,
                          const std::array<bool, kPlanetCount>& shown,
                          PlanetLongitudes& longitudes);

// The trail as a light grey polyline; fewer than two points draw nothing.
void DrawSolarPath(wxDC& dc, const SolarPath& path);

// What the Sun layer shows, as ticked in the dialog.
struct SunLayerOptions {
  bool orbit = kShownAtStart.trail, sun = kShownAtStart.sun, year = kShownAtStart.year,
       month = kShownAtStart.month, day = kShownAtStart.day,
       acceleration = kShownAtStart.acceleration;
  double accelFactor = kAccelFactorSetting.initial;  // display factor of the acceleration vector
};

// Trail, Sun disc, date label and acceleration vector (70 * factor * accel
// pixels from the Sun's centre). The flare layer is drawn separately after it.
void DrawSunLayer(wxDC& dc, int w, PixelPoint sun, PixelPoint accel, double jd,
                  const SunLayerOptions& options, const SolarPath& path);

// The date label for Julian day `jd` in the local time zone: "%i " year,
// then "%s " abbreviated month name and "%i " day of month when asked.
// Empty for a Julian day that is not finite or lies beyond +-1e9 days.
wxString DateLabelText(double jd, bool withMonth, bool withDay);

}  // namespace barywalk
