#include "render/slide_drawing.h"

#include <wx/brush.h>
#include <wx/font.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "common/angles.h"
#include "ephemeris/sun_motion.h"
#include "views/view_constants.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

// --- Sizes ------------------------------------------------------------------

// A 1920-pixel slide gets 40-pixel labels: readable from the back of a room.
constexpr double kLabelFontPerWidth = 1.0 / 48;
constexpr int kMinLabelFont = 11;
constexpr double kTitleFontRatio = 1.5;
constexpr double kSmallFontRatio = 0.8;  // legend, scale bar and inset caption
constexpr double kDateFontRatio = 1.2;
constexpr double kReferenceWidth = 640;  // the dialog's panel: pens as wide as there

// Planet labels start this far beyond the Sun's rim (fraction of w) and
// may move along their direction and turn aside by up to kMaxLabelTurn
// to find a free place.
constexpr double kLabelGapFraction = 0.11;
constexpr double kLabelTurnStepDeg = 4.0;
constexpr int kMaxLabelTurnSteps = 9;  // +-36 degrees
constexpr int kMaxRadialSteps = 40;

constexpr double kInsetFraction = 0.24;  // the inset's side, fraction of w
// The inset's distance scale: log(1 + r / kInsetLogUnitAu), with Pluto's
// aphelion on the rim.
constexpr double kInsetLogUnitAu = 0.4;
constexpr double kInsetOuterAu = 50.0;
constexpr std::array<double, 3> kInsetRingsAu = {1.0, 10.0, 30.0};

// Fonts and text sizes are made once and kept: the toolkit finds a font of a
// given pixel height by measuring text with trial sizes, and measures text by
// laying it out anew, which together cost more than drawing the rest of a
// slide. A film draws the same few texts thousands of times. (Drawing is
// done on the toolkit's main thread only, so the caches need no lock.)
const wxFont& SlideFont(int pixelHeight, bool bold = false) {
  static std::map<std::pair<int, bool>, wxFont> fonts;
  const auto [it, added] = fonts.try_emplace({pixelHeight, bold});
  if (added) {
    wxFontInfo info(wxSize(0, std::max(pixelHeight, 1)));
    info.Family(wxFONTFAMILY_SWISS);
    if (bold) info.Bold();
    it->second = wxFont(info);
  }
  return it->second;
}

// The size of `text` in SlideFont(pixelHeight, bold). Measuring sets that
// font on `dc`; a size already known is not measured again.
constexpr std::size_t kMaxKnownTextSizes = 4096;  // dates change every frame
wxSize TextSize(wxDC& dc, int pixelHeight, bool bold, const wxString& text) {
  static std::map<std::tuple<int, bool, wxString>, wxSize> known;
  const auto key = std::make_tuple(pixelHeight, bold, text);
  const auto found = known.find(key);
  if (found != known.end()) return found->second;
  if (known.size() >= kMaxKnownTextSizes) known.clear();
  dc.SetFont(SlideFont(pixelHeight, bold));
  return known[key] = dc.GetTextExtent(text);
}

// Sizes that grow with the picture's width w.
struct SlideMetrics {
  int labelFont;   // pixel height of the planet labels, date, legend, scale
  int titleFont;   // pixel height of the title
  int margin;      // pixels kept free along the edges and between boxes
  int markerPen, trailPen, accelPen, crossPen;
};

SlideMetrics MakeSlideMetrics(int w) {
  SlideMetrics m;
  m.labelFont = std::max(kMinLabelFont, static_cast<int>(std::lround(w * kLabelFontPerWidth)));
  m.titleFont = static_cast<int>(std::lround(m.labelFont * kTitleFontRatio));
  m.margin = std::max(4, m.labelFont / 2);
  const double u = w / kReferenceWidth;
  m.markerPen = std::max(2, static_cast<int>(std::lround(2 * u)));
  m.trailPen = std::max(1, static_cast<int>(std::lround(1.5 * u)));
  m.accelPen = std::max(3, static_cast<int>(std::lround(3 * u)));
  m.crossPen = std::max(1, static_cast<int>(std::lround(u)));
  return m;
}

int Scaled(int base, double factor) { return std::max(base, static_cast<int>(std::lround(factor * base))); }

// --- Geometry helpers -----------------------------------------------------------

struct Vec {
  double x, y;
};

bool RectHitsCircle(const wxRect& r, Vec centre, double radius) {
  const double nx = std::clamp(centre.x, double(r.GetLeft()), double(r.GetRight() + 1));
  const double ny = std::clamp(centre.y, double(r.GetTop()), double(r.GetBottom() + 1));
  return std::hypot(nx - centre.x, ny - centre.y) < radius;
}

bool Inside(const wxRect& inner, int w, int h, int margin) {
  return inner.GetLeft() >= margin && inner.GetTop() >= margin &&
         inner.GetRight() < w - margin && inner.GetBottom() < h - margin;
}

wxRect Padded(const wxRect& r, int pad) { return wxRect(r).Inflate(pad, pad); }

// --- Fixed boxes ------------------------------------------------------------

struct LegendEntry {
  enum Symbol { Cross, Circle, Disc, Trail, Arrow } symbol;
  wxString text;
};

std::vector<LegendEntry> LegendEntries(const FrameSettings& settings) {
  std::vector<LegendEntry> entries = {
      {LegendEntry::Cross, "barycenter: the solar system's centre of mass"},
      {LegendEntry::Circle, "circle: one solar diameter around it"},
  };
  if (settings.sunLayer.sun) entries.push_back({LegendEntry::Disc, "the Sun, true size and place"});
  if (settings.sunLayer.orbit) entries.push_back({LegendEntry::Trail, "trail: the Sun's path"});
  if (settings.sunLayer.acceleration) {
    entries.push_back({LegendEntry::Arrow, "arrow: the planets' pull on the Sun"});
  }
  return entries;
}

struct LegendShape {
  int lineHeight, symbolWidth, pad;
};

LegendShape ShapeOfLegend(const SlideMetrics& m) {
  const int small = Scaled(m.labelFont, kSmallFontRatio);
  return LegendShape{static_cast<int>(small * 1.35), small * 2, m.margin / 2 + 2};
}

const wxString kScaleText = "1 solar radius = 695,700 km";

wxString DateText(const FrameSettings& settings, const FrameState& state) {
  if (!settings.sunLayer.year) return wxString();
  return DateLabelText(state.simTime, settings.sunLayer.month, settings.sunLayer.day).Trim();
}

int TitleFontThatFits(wxDC& dc, const wxString& title, int w, const SlideMetrics& m) {
  int px = m.titleFont;
  while (px > m.labelFont) {
    if (TextSize(dc, px, true, title).GetWidth() <= w - 2 * m.margin) break;
    --px;
  }
  return px;
}

void AddFixedBoxes(wxDC& dc, int w, int h, const FrameSettings& settings, const FrameState& state,
                   const SlideStyle& style, const SlideMetrics& m, SlideLayout& layout) {
  int top = m.margin;
  if (!style.title.empty()) {
    const int px = TitleFontThatFits(dc, style.title, w, m);
    const wxSize size = TextSize(dc, px, true, style.title);
    const wxRect box((w - size.GetWidth()) / 2, top, size.GetWidth(), size.GetHeight());
    layout.boxes.push_back({SlideTextKind::Title, style.title, box, px});
    top = box.GetBottom() + 1 + m.margin / 2;
  }
  const wxString date = DateText(settings, state);
  if (!date.empty()) {
    const int px = Scaled(m.labelFont, kDateFontRatio);
    const wxSize size = TextSize(dc, px, true, date);
    layout.boxes.push_back({SlideTextKind::Date, date, wxRect(wxPoint(m.margin, top), size), px});
  }
  const int small = Scaled(m.labelFont, kSmallFontRatio);
  if (style.orbits) {
    const int side = static_cast<int>(kInsetFraction * w);
    layout.boxes.push_back({SlideTextKind::Inset, wxString(), wxRect(w - m.margin - side, top, side, side)});
  }
  const LegendShape shape = ShapeOfLegend(m);
  const auto entries = LegendEntries(settings);
  int textWidth = 0;
  for (const auto& entry : entries) {
    textWidth = std::max(textWidth, TextSize(dc, small, false, entry.text).GetWidth());
  }
  const int legendW = 2 * shape.pad + shape.symbolWidth + shape.pad + textWidth;
  const int legendH = 2 * shape.pad + shape.lineHeight * static_cast<int>(entries.size());
  layout.boxes.push_back(
      {SlideTextKind::Legend, wxString(), wxRect(m.margin, h - m.margin - legendH, legendW, legendH)});

  const wxSize scaleText = TextSize(dc, small, false, kScaleText);
  const int bar = ToPixel(MakeViewGeometry(w, w).scale);
  const int scaleW = std::max(bar, scaleText.GetWidth());
  const int scaleH = scaleText.GetHeight() + 2 * m.crossPen + m.margin;
  layout.boxes.push_back({SlideTextKind::Scale, kScaleText,
                          wxRect(w - m.margin - scaleW, h - m.margin - scaleH, scaleW, scaleH)});
}

// --- Planet labels ------------------------------------------------------------

bool FreeForLabel(const wxRect& box, const SlideLayout& layout, int w, int h, const SlideMetrics& m,
                  Vec sun, double sunRadius) {
  if (!Inside(box, w, h, m.margin / 2)) return false;
  if (RectHitsCircle(box, sun, sunRadius + m.margin / 2)) return false;
  for (const SlideBox& other : layout.boxes) {
    if (Padded(other.box, m.margin / 4).Intersects(box)) return false;
  }
  return true;
}

// The label box just beyond the point at distance d from the Sun along v.
wxRect LabelBoxAt(Vec sun, Vec v, double d, wxSize text, int gap) {
  const double reach = std::fabs(v.x) * text.GetWidth() / 2 + std::fabs(v.y) * text.GetHeight() / 2 + gap;
  const double cx = sun.x + v.x * (d + reach);
  const double cy = sun.y + v.y * (d + reach);
  return wxRect(ToPixel(cx - text.GetWidth() / 2.0), ToPixel(cy - text.GetHeight() / 2.0), text.GetWidth(),
                text.GetHeight());
}

// Distances tried along a direction: the preferred one first, then
// alternately farther out and closer in.
std::vector<double> RadialCandidates(double preferred, double nearest, double step) {
  std::vector<double> distances{preferred};
  for (int i = 1; i <= kMaxRadialSteps; ++i) {
    distances.push_back(preferred + i * step);
    if (preferred - i * step >= nearest) distances.push_back(preferred - i * step);
  }
  return distances;
}

void PlacePlanetLabel(wxDC& dc, int w, int h, const SlideMetrics& m, Vec sun, double sunRadius, Planet planet,
                      double L, SlideLayout& layout) {
  const wxString name = wxString::FromUTF8(PlanetName(planet));
  const wxSize text = TextSize(dc, m.labelFont, true, name);
  const Vec u{-std::cos(L), std::sin(L)};  // ecliptic (X, Y) drawn as (-X, +Y)
  const double preferred = sunRadius + kLabelGapFraction * w;
  const auto distances = RadialCandidates(preferred, sunRadius + m.margin, text.GetHeight() / 2.0);
  for (int turn = 0; turn <= 2 * kMaxLabelTurnSteps; ++turn) {
    const int signedTurn = (turn + 1) / 2 * (turn % 2 ? 1 : -1);
    const double a = signedTurn * kLabelTurnStepDeg * kPi / 180;
    const Vec v{u.x * std::cos(a) - u.y * std::sin(a), u.x * std::sin(a) + u.y * std::cos(a)};
    for (double d : distances) {
      const wxRect box = LabelBoxAt(sun, v, d, text, m.margin / 3);
      if (!FreeForLabel(box, layout, w, h, m, sun, sunRadius)) continue;
      layout.boxes.push_back({SlideTextKind::Planet, name, box});
      layout.markerEnds.push_back(wxPoint(ToPixel(sun.x + u.x * d), ToPixel(sun.y + u.y * d)));
      layout.labelledPlanets.push_back(planet);
      return;
    }
  }
}

std::array<HeliocentricPosition, kPlanetCount> PositionsOf(const FrameState& state) {
  return state.positions ? *state.positions : AllPlanetPositions(state.simTime);
}

// Where everything goes on the slide (see SlideLayout).
SlideLayout LayoutSlide(wxDC& dc, int w, int h, const FrameSettings& settings, const FrameState& state,
                        const SlideStyle& style, const SlideMetrics& m,
                        const std::array<HeliocentricPosition, kPlanetCount>& positions) {
  SlideLayout layout;
  AddFixedBoxes(dc, w, h, settings, state, style, m, layout);
  const Vec sun{state.sunOffset.x, state.sunOffset.y};
  const double sunRadius = settings.sunLayer.sun ? MakeViewGeometry(w, w).scale : 0.0;
  for (int i = 0; i < kPlanetCount; ++i) {
    if (settings.planets[i]) PlacePlanetLabel(dc, w, h, m, sun, sunRadius, kAllPlanets[i], positions[i].L, layout);
  }
  return layout;
}

// --- Drawing ------------------------------------------------------------------

void DrawBackdrop(wxDC& dc, int w, int h, const SlidePalette& p, const SlideMetrics& m) {
  const ViewGeometry g = MakeViewGeometry(w, h);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(p.background));
  dc.DrawRectangle(0, 0, w, h);
  dc.SetPen(wxPen(p.barycenter, m.crossPen));
  dc.DrawLine(0, g.cy, w, g.cy);
  dc.DrawLine(g.cx, 0, g.cx, h);
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawCircle(g.cx, g.cy, g.refRadius);
}

// The barycenter again over the Sun's disc, which hides the crosshair just
// when it matters most: at a close pass the barycenter lies inside the Sun.
void DrawBarycenterMark(wxDC& dc, int w, int h, const SlideMetrics& m) {
  const ViewGeometry g = MakeViewGeometry(w, h);
  const int arm = m.labelFont / 2;
  // Dark red: it reads on the orange disc, and off the disc the crosshair shows.
  dc.SetPen(wxPen(wxColour(140, 0, 0), 2 * m.crossPen));
  dc.DrawLine(g.cx - arm, g.cy, g.cx + arm + 1, g.cy);
  dc.DrawLine(g.cx, g.cy - arm, g.cx, g.cy + arm + 1);
}

void DrawTrail(wxDC& dc, const SolarPath* path, const SlidePalette& p, const SlideMetrics& m) {
  if (!path || path->Points().size() < 2) return;
  // Steps of a few days move the Sun by less than a pixel: points on the
  // pixel of the one before add nothing to the line but cost its stroke.
  std::vector<wxPoint> pixels;
  pixels.reserve(path->Points().size());
  for (const PixelPoint& q : path->Points()) {
    const wxPoint pixel(ToPixel(q.x), ToPixel(q.y));
    if (pixels.empty() || pixel != pixels.back()) pixels.push_back(pixel);
  }
  if (pixels.size() < 2) pixels.push_back(pixels.front());
  // Thousands of segments: blending their edges would cost most of a
  // frame of a long film, and a trail of whole pixels looks as smooth.
  // Round joins on every one of them would cost as much again; a line a
  // few pixels wide shows no difference.
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (gc) gc->SetAntialiasMode(wxANTIALIAS_NONE);
  wxPen pen(p.trail, m.trailPen);
  pen.SetJoin(wxJOIN_BEVEL);
  pen.SetCap(wxCAP_BUTT);
  dc.SetPen(pen);
  dc.DrawLines(static_cast<int>(pixels.size()), pixels.data());
  if (gc) gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
}

void DrawArrow(wxDC& dc, Vec from, Vec to, const wxColour& colour, int width, double head) {
  const double len = std::hypot(to.x - from.x, to.y - from.y);
  dc.SetPen(wxPen(colour, width));
  dc.DrawLine(ToPixel(from.x), ToPixel(from.y), ToPixel(to.x), ToPixel(to.y));
  if (len < 1) return;
  const Vec back{(from.x - to.x) / len, (from.y - to.y) / len};
  for (double side : {-0.5, 0.5}) {
    const double c = std::cos(side), s = std::sin(side);
    const Vec wing{back.x * c - back.y * s, back.x * s + back.y * c};
    dc.DrawLine(ToPixel(to.x), ToPixel(to.y), ToPixel(to.x + head * wing.x), ToPixel(to.y + head * wing.y));
  }
}

void DrawAcceleration(wxDC& dc, int w, const FrameSettings& settings, const FrameState& state,
                      const SlidePalette& p, const SlideMetrics& m) {
  // As long relative to the picture as in the dialog's 640-pixel panel.
  const double k = kAccelLengthFactor * settings.sunLayer.accelFactor * w / kReferenceWidth;
  const Vec from{state.sunOffset.x, state.sunOffset.y};
  const Vec to{from.x + k * state.sunAccel.x, from.y + k * state.sunAccel.y};
  const double head = 1.5 * m.labelFont / 2;
  DrawArrow(dc, from, to, p.accelerationEdge, m.accelPen + 2 * std::max(1, m.accelPen / 3), head);
  DrawArrow(dc, from, to, p.acceleration, m.accelPen, head);
}

void DrawText(wxDC& dc, const SlideBox& box, const wxFont& font, const wxColour& colour) {
  dc.SetFont(font);
  dc.SetTextForeground(colour);
  dc.DrawText(box.text, box.box.GetLeft(), box.box.GetTop());
}

void DrawPanel(wxDC& dc, const wxRect& box, const SlidePalette& p, const SlideMetrics& m) {
  dc.SetPen(wxPen(p.text, std::max(1, m.crossPen)));
  dc.SetBrush(wxBrush(p.background));
  dc.DrawRectangle(box);
}

void DrawLegendSymbol(wxDC& dc, LegendEntry::Symbol symbol, wxRect cell, const SlidePalette& p,
                      const SlideMetrics& m) {
  const int cx = cell.GetLeft() + cell.GetWidth() / 2, cy = cell.GetTop() + cell.GetHeight() / 2;
  const int r = cell.GetHeight() / 3;
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  switch (symbol) {
    case LegendEntry::Cross:
      dc.SetPen(wxPen(p.barycenter, m.crossPen));
      dc.DrawLine(cx - r, cy, cx + r + 1, cy);
      dc.DrawLine(cx, cy - r, cx, cy + r + 1);
      break;
    case LegendEntry::Circle:
      dc.SetPen(wxPen(p.barycenter, m.crossPen));
      dc.DrawCircle(cx, cy, r);
      break;
    case LegendEntry::Disc:
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(p.sun));
      dc.DrawCircle(cx, cy, r);
      break;
    case LegendEntry::Trail:
      dc.SetPen(wxPen(p.trail, m.trailPen));
      dc.DrawLine(cell.GetLeft(), cy, cell.GetRight(), cy);
      break;
    case LegendEntry::Arrow:
      DrawArrow(dc, Vec{double(cell.GetLeft()), double(cy)}, Vec{double(cell.GetRight()), double(cy)},
                p.acceleration, m.accelPen, r);
      break;
  }
}

void DrawLegend(wxDC& dc, const wxRect& box, const FrameSettings& settings, const SlidePalette& p,
                const SlideMetrics& m) {
  DrawPanel(dc, box, p, m);
  const LegendShape shape = ShapeOfLegend(m);
  const int small = Scaled(m.labelFont, kSmallFontRatio);
  dc.SetFont(SlideFont(small));
  dc.SetTextForeground(p.text);
  int y = box.GetTop() + shape.pad;
  for (const LegendEntry& entry : LegendEntries(settings)) {
    const wxRect cell(box.GetLeft() + shape.pad, y, shape.symbolWidth, shape.lineHeight);
    DrawLegendSymbol(dc, entry.symbol, cell, p, m);
    const int textH = TextSize(dc, small, false, entry.text).GetHeight();
    dc.DrawText(entry.text, cell.GetRight() + 1 + shape.pad, y + (shape.lineHeight - textH) / 2);
    y += shape.lineHeight;
  }
}

void DrawScaleBar(wxDC& dc, int w, const SlideBox& box, const SlidePalette& p, const SlideMetrics& m) {
  const int bar = ToPixel(MakeViewGeometry(w, w).scale);
  const int right = box.box.GetRight();
  const int y = box.box.GetTop() + m.margin / 2;
  const int tick = m.margin / 2;
  dc.SetPen(wxPen(p.text, std::max(2, m.crossPen)));
  dc.DrawLine(right - bar, y, right, y);
  dc.DrawLine(right - bar, y - tick, right - bar, y + tick);
  dc.DrawLine(right, y - tick, right, y + tick);
  const int small = Scaled(m.labelFont, kSmallFontRatio);
  dc.SetFont(SlideFont(small));
  dc.SetTextForeground(p.text);
  const wxSize text = TextSize(dc, small, false, box.text);
  dc.DrawText(box.text, right + 1 - text.GetWidth(), box.box.GetBottom() + 1 - text.GetHeight());
}

void DrawInset(wxDC& dc, const wxRect& box, const FrameSettings& settings,
               const std::array<HeliocentricPosition, kPlanetCount>& positions, const SlidePalette& p,
               const SlideMetrics& m) {
  DrawPanel(dc, box, p, m);
  const int small = Scaled(m.labelFont, kSmallFontRatio);
  dc.SetFont(SlideFont(small));
  dc.SetTextForeground(p.text);
  int y = box.GetTop() + m.margin / 4;
  for (const wxString& line : {wxString("Planets around the Sun"), wxString("rings 1, 10, 30 au (log)")}) {
    dc.DrawText(line, box.GetLeft() + m.margin / 2, y);
    y += TextSize(dc, small, false, line).GetHeight();
  }
  const int plotTop = y;
  const int radius = std::max(1, std::min(box.GetWidth(), box.GetBottom() - plotTop) / 2 - m.margin / 2);
  const Vec centre{box.GetLeft() + box.GetWidth() / 2.0, (plotTop + box.GetBottom()) / 2.0};
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  // Solid rings half-way between text and background: dotted ones cost
  // cairo more than the rest of the inset.
  const wxColour ring((p.text.Red() + p.background.Red()) / 2, (p.text.Green() + p.background.Green()) / 2,
                      (p.text.Blue() + p.background.Blue()) / 2);
  dc.SetPen(wxPen(ring, 1));
  for (double au : kInsetRingsAu) {
    dc.DrawCircle(ToPixel(centre.x), ToPixel(centre.y), ToPixel(radius * InsetRadiusFraction(au)));
  }
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(p.sun));
  const int dot = std::max(3, m.labelFont / 4);
  dc.DrawCircle(ToPixel(centre.x), ToPixel(centre.y), dot + 1);
  for (int i = 0; i < kPlanetCount; ++i) {
    if (!settings.planets[i]) continue;
    const double r = radius * InsetRadiusFraction(positions[i].R);
    dc.SetBrush(wxBrush(p.planets[i]));
    dc.DrawCircle(ToPixel(centre.x - r * std::cos(positions[i].L)), ToPixel(centre.y + r * std::sin(positions[i].L)),
                  dot);
  }
}

}  // namespace

const SlidePalette& SlidePaletteFor(bool light) {
  static const SlidePalette dark{
      wxColour(0, 0, 0),       wxColour(255, 255, 255), wxColour(255, 60, 60),
      wxColour(255, 150, 30),  wxColour(255, 255, 255), wxColour(255, 0, 160),
      wxColour(0, 0, 0),
      {{wxColour(175, 175, 175), wxColour(255, 220, 120), wxColour(80, 160, 255),
        wxColour(255, 80, 60), wxColour(80, 230, 80), wxColour(255, 210, 0), wxColour(0, 235, 235),
        wxColour(150, 120, 255), wxColour(230, 150, 190)}}};
  static const SlidePalette print{
      wxColour(255, 255, 255), wxColour(0, 0, 0),       wxColour(210, 0, 0),
      wxColour(255, 150, 30),  wxColour(0, 0, 0),       wxColour(220, 0, 140),
      wxColour(255, 255, 255),
      {{wxColour(105, 105, 105), wxColour(140, 110, 0), wxColour(0, 90, 220), wxColour(200, 40, 20),
        wxColour(0, 130, 0), wxColour(190, 80, 0), wxColour(0, 130, 140), wxColour(90, 40, 200),
        wxColour(150, 60, 120)}}};
  return light ? print : dark;
}

double InsetRadiusFraction(double au) {
  if (!(au > 0)) return 0;
  return std::min(1.0, std::log1p(au / kInsetLogUnitAu) / std::log1p(kInsetOuterAu / kInsetLogUnitAu));
}

SlideLayout DrawSlideFrame(wxDC& dc, int w, int h, const FrameSettings& settings, const FrameState& state,
                           const SlideStyle& style) {
  const SlidePalette& p = SlidePaletteFor(style.light);
  const SlideMetrics m = MakeSlideMetrics(w);
  const auto positions = PositionsOf(state);
  const SlideLayout layout = LayoutSlide(dc, w, h, settings, state, style, m, positions);
  const Vec sun{state.sunOffset.x, state.sunOffset.y};

  DrawBackdrop(dc, w, h, p, m);
  std::size_t label = 0;
  for (const SlideBox& box : layout.boxes) {
    if (box.kind != SlideTextKind::Planet) continue;
    dc.SetPen(wxPen(p.planets[static_cast<int>(layout.labelledPlanets[label])], m.markerPen));
    dc.DrawLine(ToPixel(sun.x), ToPixel(sun.y), layout.markerEnds[label].x, layout.markerEnds[label].y);
    ++label;
  }
  if (settings.sunLayer.orbit) DrawTrail(dc, state.path, p, m);
  if (settings.sunLayer.sun) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(p.sun));
    dc.DrawCircle(ToPixel(sun.x), ToPixel(sun.y), ToPixel(MakeViewGeometry(w, w).scale));
    DrawBarycenterMark(dc, w, h, m);
  }
  if (settings.sunLayer.acceleration) DrawAcceleration(dc, w, settings, state, p, m);

  label = 0;
  for (const SlideBox& box : layout.boxes) {
    switch (box.kind) {
      case SlideTextKind::Title:
      case SlideTextKind::Date:
        DrawText(dc, box, SlideFont(box.fontPixels, true), p.text);
        break;
      case SlideTextKind::Legend: DrawLegend(dc, box.box, settings, p, m); break;
      case SlideTextKind::Scale: DrawScaleBar(dc, w, box, p, m); break;
      case SlideTextKind::Inset: DrawInset(dc, box.box, settings, positions, p, m); break;
      case SlideTextKind::Planet:
        // Late in a long film the trail fills the middle of the picture:
        // a label keeps the background under it, so that it reads there too.
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(p.background));
        dc.DrawRectangle(Padded(box.box, std::max(1, m.margin / 6)));
        DrawText(dc, box, SlideFont(m.labelFont, true), p.planets[static_cast<int>(layout.labelledPlanets[label++])]);
        break;
    }
  }
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
  return layout;
}

}  // namespace barywalk
