#include "views/orbit_view.h"

#include <cmath>
#include <vector>

#include <wx/brush.h>
#include <wx/datetime.h>
#include <wx/gdicmn.h>
#include <wx/pen.h>

#include "flares/flare_stat.h"
#include "views/planet_marker.h"
#include "views/view_constants.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

const wxColour kSunColour(255, 150, 30);
const wxColour kAccelColour(200, 50, 150);

// Brush and pen back to null: the layer leaves nothing set behind it.
void ResetBrushAndPen(wxDC& dc) {
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

void DrawSunDisc(wxDC& dc, PixelPoint sun, double sunRadius) {
  const int ri = ToPixel(sunRadius);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawEllipse(ToPixel(sun.x) - ri, ToPixel(sun.y) - ri, 2 * ri, 2 * ri);
}

void DrawAccelerationVector(wxDC& dc, PixelPoint sun, PixelPoint accel, double factor) {
  const double k = kAccelLengthFactor * factor;
  const double ex = sun.x + k * accel.x;
  const double ey = sun.y + k * accel.y;
  dc.SetPen(wxPen(kAccelColour, kAccelPenWidth, wxPENSTYLE_SOLID));
  dc.DrawLine(ToPixel(sun.x), ToPixel(sun.y), ToPixel(ex), ToPixel(ey));
  dc.SetPen(wxNullPen);
}

}  // namespace

void DrawBackground(wxDC& dc, int w, int h) {
  const ViewGeometry g = MakeViewGeometry(w, h);
  dc.SetBrush(*wxBLACK_BRUSH);
  dc.DrawRectangle(0, 0, g.w, g.h);
  dc.SetPen(*wxRED_PEN);
  dc.DrawLine(0, g.cy, g.w, g.cy);
  dc.DrawLine(g.cx, 0, g.cx, g.h);
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  const int r = g.refRadius;
  dc.DrawEllipse(g.cx - r, g.cy - r, 2 * r, 2 * r);
  ResetBrushAndPen(dc);
}

const std::array<PlanetStyle, kPlanetCount>& PlanetStyles() {
  // Built on first use: the stock green colour exists only once the toolkit runs.
  static const std::array<PlanetStyle, kPlanetCount> styles = {{
      {Planet::Mercury, wxColour(150, 150, 150), 0.4},
      {Planet::Venus, wxColour(255, 255, 255), 0.72},
      {Planet::Earth, wxColour(255, 0, 255), 1.0},
      {Planet::Mars, wxColour(250, 40, 20), 1.48},
      {Planet::Jupiter, *wxGREEN, 5.3},
      {Planet::Saturn, wxColour(255, 255, 0), 10},
      {Planet::Uranus, wxColour(0, 255, 255), 19},
      {Planet::Neptune, wxColour(0, 0, 255), 30},
      {Planet::Pluto, wxColour(130, 150, 190), 33},
  }};
  return styles;
}

void DrawPlanetMarker(wxDC& dc, PixelPoint sun, int w, int h, double dx, double dy, double K,
                      const wxString& name, const wxColour& colour) {
  const MarkerPlacement m = PlaceMarker(sun.x, sun.y, w, h, dx, dy, K);
  if (!m.visible) return;
  // The name first; the line ends at the name's top-left corner.
  dc.SetTextForeground(colour);
  dc.DrawText(name, ToPixel(m.tx), ToPixel(m.ty));
  dc.SetPen(wxPen(colour, kMarkerPenWidth, wxPENSTYLE_SOLID));
  dc.DrawLine(ToPixel(sun.x), ToPixel(sun.y), ToPixel(m.tx), ToPixel(m.ty));
  dc.SetPen(wxNullPen);
}

void DrawPlanetDirections(wxDC& dc, int w, int h, PixelPoint sun,
                          const std::array<HeliocentricPosition, kPlanetCount>& positions,
                          const std::array<bool, kPlanetCount>& shown,
                          PlanetLongitudes& longitudes) {
  FillPlanetLongitudes(positions, longitudes);
  const auto& styles = PlanetStyles();
  for (int i = 0; i < kPlanetCount; ++i) {
    if (!shown[i]) continue;
    const PlanetStyle& style = styles[i];
    const double L = positions[static_cast<int>(style.planet)].L;
    const double R = positions[static_cast<int>(style.planet)].R;
    // Ecliptic (X, Y) is drawn as (-X, +Y): longitude 0 points left.
    DrawPlanetMarker(dc, sun, w, h, -R * std::cos(L), R * std::sin(L), style.K,
                     wxString::FromUTF8(PlanetName(style.planet)), style.colour);
  }
  dc.SetPen(wxNullPen);
}

void DrawPlanetDirections(wxDC& dc, int w, int h, PixelPoint sun, double jd,
                          const std::array<bool, kPlanetCount>& shown,
                          PlanetLongitudes& longitudes) {
  DrawPlanetDirections(dc, w, h, sun, AllPlanetPositions(jd), shown, longitudes);
}

void DrawSolarPath(wxDC& dc, const SolarPath& path) {
  const auto& points = path.Points();
  if (points.size() < 2) return;
  // Consecutive points joined by straight segments, stroked as one polyline:
  // thousands of separate line strokes would cost milliseconds per frame.
  std::vector<wxPoint> pixels;
  pixels.reserve(points.size());
  for (const PixelPoint& p : points) pixels.emplace_back(ToPixel(p.x), ToPixel(p.y));
  dc.SetPen(*wxLIGHT_GREY_PEN);
  dc.DrawLines(static_cast<int>(pixels.size()), pixels.data());
  dc.SetPen(wxNullPen);
}

void DrawSunLayer(wxDC& dc, int w, PixelPoint sun, PixelPoint accel, double jd,
                  const SunLayerOptions& options, const SolarPath& path) {
  const ViewGeometry g = MakeViewGeometry(w, w);
  dc.SetBrush(wxBrush(kSunColour, wxBRUSHSTYLE_SOLID));
  if (options.orbit) DrawSolarPath(dc, path);

  int labelX = kDateLabelFixedX;
  int labelY = kDateLabelFixedY;
  if (options.sun) {
    DrawSunDisc(dc, sun, g.scale);
    dc.SetBrush(wxNullBrush);
    dc.SetTextForeground(*wxBLACK);
    labelX = ToPixel(sun.x + kDateLabelOffsetX);
    labelY = ToPixel(sun.y + kDateLabelOffsetY);
  } else {
    dc.SetTextForeground(*wxWHITE);
  }
  if (options.year) dc.DrawText(DateLabelText(jd, options.month, options.day), labelX, labelY);
  if (options.acceleration) DrawAccelerationVector(dc, sun, accel, options.accelFactor);
  ResetBrushAndPen(dc);
}

wxString DateLabelText(double jd, bool withMonth, bool withDay) {
  // Keeps the millisecond count of the toolkit's date-time far from overflow.
  constexpr double kMaxAbsJulianDay = 1e9;
  if (!std::isfinite(jd) || std::fabs(jd) > kMaxAbsJulianDay) return wxString();
  const wxDateTime::Tm tm = wxDateTime(jd).GetTm(wxDateTime::Local);
  wxString text = wxString::Format("%i ", tm.year);
  if (withMonth) text += wxString::Format("%s ", wxDateTime::GetMonthName(tm.mon, wxDateTime::Name_Abbr));
  if (withDay) text += wxString::Format("%i ", static_cast<int>(tm.mday));
  return text;
}

}  // namespace barywalk
