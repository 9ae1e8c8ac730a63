#include "flares/flare_layer.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/pen.h>
#include <wx/string.h>

namespace barywalk {
namespace {

const wxColour kNorthColour(255, 0, 0);
const wxColour kSouthColour(0, 0, 255);

// Below this many symbols every symbol is simply painted: finding the
// hidden ones would cost more than it saves.
constexpr std::size_t kHiddenSymbolSearchMin = 64;
// Symbols with a larger radius are always painted (their footprints would
// need large bitmaps); they also never count as covering others.
constexpr int kMaxFootprintRadius = 64;
// Pictures wider or higher than this are painted without the search.
constexpr int kMaxCoverageSide = 16384;

void DrawFlareCount(wxDC& dc, int panelHeight, const FlareMap& flares) {
  dc.SetTextForeground(*wxWHITE);
  // A load holds at most INT_MAX flares (the index range), so int suffices.
  dc.DrawText(wxString::Format("%i flares", static_cast<int>(flares.size())), 10, panelHeight - 20);
}

void DrawSymbol(wxDC& dc, const FlareSymbol& symbol) {
  dc.DrawEllipse(symbol.x - symbol.radius, symbol.y - symbol.radius, 2 * symbol.radius,
                 2 * symbol.radius);
}

// ---------------------------------------------------------------------------
// Hidden symbols.
//
// A symbol is hidden when every pixel it touches is covered completely by
// later symbols: painting it or not gives the same picture. To know
// exactly which pixels a symbol touches, its footprint is taken from the
// toolkit itself: the circle of that radius is painted once, white on
// black, into a small bitmap with the same renderer and anti-aliasing,
// and read back. A symbol's box has whole-pixel corners, so moving it by
// whole pixels moves its footprint by the same pixels.

// One pixel row of a footprint, relative to the symbol's centre (x, y):
// the pixels the symbol changes at all, and those it covers completely
// (fully opaque; none when coveredFrom > coveredTo).
struct FootprintRow {
  int dy;
  int touchedFrom;
  int touchedTo;
  int coveredFrom;
  int coveredTo;
};
using Footprint = std::vector<FootprintRow>;

bool IsBlack(const unsigned char* rgb) { return rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0; }
bool IsWhite(const unsigned char* rgb) { return rgb[0] == 255 && rgb[1] == 255 && rgb[2] == 255; }

// The covered pixels of a row must form one run to be used; anything else
// (never seen for a circle) leaves the row covering nothing, which only
// makes fewer symbols count as hidden.
FootprintRow MeasureRow(const unsigned char* row, int width, int dy, int offset) {
  FootprintRow result{dy, width, -1, width, -1};
  int runs = 0;
  bool inRun = false;
  for (int x = 0; x < width; ++x) {
    const unsigned char* rgb = row + 3 * x;
    if (!IsBlack(rgb)) {
      result.touchedFrom = std::min(result.touchedFrom, x);
      result.touchedTo = std::max(result.touchedTo, x);
    }
    const bool covered = IsWhite(rgb);
    if (covered) {
      if (!inRun) ++runs;
      result.coveredFrom = std::min(result.coveredFrom, x);
      result.coveredTo = std::max(result.coveredTo, x);
    }
    inRun = covered;
  }
  if (runs != 1) {
    result.coveredFrom = 0;
    result.coveredTo = -1;
  } else {
    result.coveredFrom -= offset;
    result.coveredTo -= offset;
  }
  result.touchedFrom -= offset;
  result.touchedTo -= offset;
  return result;
}

// Paints one symbol of `radius` as DrawFlareLayer does and reads back its
// footprint. Nothing when the bitmap's renderer is not `renderer`.
std::unique_ptr<Footprint> MeasureFootprint(int radius, wxAntialiasMode antialias,
                                            const wxGraphicsRenderer* renderer) {
  // A margin of two pixels around the box catches anything drawn past it.
  const int margin = 2;
  const int side = 2 * radius + 2 * margin + 1;
  wxBitmap bitmap(side, side, 24);
  {
    wxMemoryDC dc(bitmap);
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (gc == nullptr || gc->GetRenderer() != renderer) return nullptr;
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    gc->SetAntialiasMode(antialias);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    FlareSymbol symbol;
    symbol.x = margin + radius;
    symbol.y = margin + radius;
    symbol.radius = radius;
    DrawSymbol(dc, symbol);
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
    dc.SelectObject(wxNullBitmap);
  }
  const wxImage image = bitmap.ConvertToImage();
  auto footprint = std::make_unique<Footprint>();
  const int offset = margin + radius;
  for (int y = 0; y < side; ++y) {
    const FootprintRow row = MeasureRow(image.GetData() + 3 * y * side, side, y - offset, offset);
    if (row.touchedFrom > row.touchedTo) continue;
    // Paint on the bitmap's border may have gone past it: not measured.
    const bool onBorder = y == 0 || y == side - 1 || row.touchedFrom == -offset ||
                          row.touchedTo == side - 1 - offset;
    if (onBorder) return nullptr;
    footprint->push_back(row);
  }
  return footprint;
}

// Footprints by radius and anti-aliasing mode, measured once per process
// (for the default renderer, the only one searched).
const Footprint* CachedFootprint(int radius, wxAntialiasMode antialias) {
  if (radius < 0 || radius > kMaxFootprintRadius) return nullptr;
  static std::map<std::pair<int, int>, std::unique_ptr<Footprint>> cache;
  const std::pair<int, int> key(radius, static_cast<int>(antialias));
  auto found = cache.find(key);
  if (found == cache.end()) {
    found = cache
                .emplace(key, MeasureFootprint(radius, antialias,
                                               wxGraphicsRenderer::GetDefaultRenderer()))
                .first;
  }
  return found->second.get();
}

// One bit per pixel of the picture: set when a symbol already visited (a
// later one in painting order) covers the pixel completely. Pixels
// outside the picture are never shown and count as covered.
class CoverageGrid {
 public:
  CoverageGrid(int width, int height)
      : width_(width), height_(height), words_((width + 63) / 64),
        bits_(static_cast<std::size_t>(words_) * height, 0) {}

  bool AllCovered(int y, int from, int to) const {
    if (!Clip(y, from, to)) return true;
    const std::uint64_t* row = Row(y);
    for (int w = from / 64; w <= to / 64; ++w) {
      const std::uint64_t mask = WordMask(w, from, to);
      if ((row[w] & mask) != mask) return false;
    }
    return true;
  }

  void Cover(int y, int from, int to) {
    if (!Clip(y, from, to)) return;
    std::uint64_t* row = Row(y);
    for (int w = from / 64; w <= to / 64; ++w) row[w] |= WordMask(w, from, to);
  }

 private:
  bool Clip(int y, int& from, int& to) const {
    if (y < 0 || y >= height_) return false;
    from = std::max(from, 0);
    to = std::min(to, width_ - 1);
    return from <= to;
  }
  // The bits of word w that lie in [from, to].
  static std::uint64_t WordMask(int w, int from, int to) {
    const int low = std::max(from - 64 * w, 0);
    const int high = std::min(to - 64 * w, 63);
    const std::uint64_t all = ~std::uint64_t{0};
    const std::uint64_t upToHigh = high == 63 ? all : (std::uint64_t{1} << (high + 1)) - 1;
    return upToHigh & ~((std::uint64_t{1} << low) - 1);
  }
  const std::uint64_t* Row(int y) const { return &bits_[static_cast<std::size_t>(y) * words_]; }
  std::uint64_t* Row(int y) { return &bits_[static_cast<std::size_t>(y) * words_]; }

  int width_;
  int height_;
  int words_;
  std::vector<std::uint64_t> bits_;
};

// The search needs logical coordinates that are device pixels, painted by
// the renderer whose footprints are measured.
bool CanFindHiddenSymbols(wxDC& dc) {
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (gc == nullptr || gc->GetRenderer() != wxGraphicsRenderer::GetDefaultRenderer()) return false;
  if (!gc->GetTransform().IsIdentity()) return false;
  double sx = 0, sy = 0;
  dc.GetUserScale(&sx, &sy);
  if (sx != 1.0 || sy != 1.0) return false;
  dc.GetLogicalScale(&sx, &sy);
  if (sx != 1.0 || sy != 1.0) return false;
  if (dc.GetContentScaleFactor() != 1.0) return false;
  if (dc.GetLogicalOrigin() != wxPoint(0, 0) || dc.GetDeviceOrigin() != wxPoint(0, 0)) {
    return false;
  }
  const wxSize size = dc.GetSize();
  return size.x > 0 && size.y > 0 && size.x <= kMaxCoverageSide && size.y <= kMaxCoverageSide;
}

// Which symbols show at all, found from the last painted to the first.
std::vector<bool> ShownSymbols(wxDC& dc, const std::vector<FlareSymbol>& symbols) {
  std::vector<bool> shown(symbols.size(), true);
  if (symbols.size() < kHiddenSymbolSearchMin || !CanFindHiddenSymbols(dc)) return shown;
  const wxAntialiasMode antialias = dc.GetGraphicsContext()->GetAntialiasMode();
  const wxSize size = dc.GetSize();
  CoverageGrid covered(size.x, size.y);
  for (std::size_t i = symbols.size(); i-- > 0;) {
    const FlareSymbol& s = symbols[i];
    const Footprint* footprint = CachedFootprint(s.radius, antialias);
    if (footprint == nullptr) continue;  // painted, covers nothing
    const bool hidden =
        std::all_of(footprint->begin(), footprint->end(), [&](const FootprintRow& r) {
          return covered.AllCovered(s.y + r.dy, s.x + r.touchedFrom, s.x + r.touchedTo);
        });
    if (hidden) {
      shown[i] = false;
      continue;
    }
    for (const FootprintRow& r : *footprint) {
      covered.Cover(s.y + r.dy, s.x + r.coveredFrom, s.x + r.coveredTo);
    }
  }
  return shown;
}

}  // namespace

int DrawFlareLayer(wxDC& dc, int panelHeight, const FlareMap& flares, const FlareWindow& window,
                   const FlareFrame& frame, const FlareSymbolVisitor& onDrawn, int* paintedCount) {
  DrawFlareCount(dc, panelHeight, flares);
  std::vector<FlareSymbol> symbols;
  const int drawn = ForEachFlareSymbol(
      flares, window, frame, [&](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
        symbols.push_back(symbol);
        if (onDrawn) onDrawn(jd, flare, symbol);
      });

  const std::vector<bool> shown = ShownSymbols(dc, symbols);
  const wxBrush northBrush(kNorthColour, wxBRUSHSTYLE_SOLID);
  const wxBrush southBrush(kSouthColour, wxBRUSHSTYLE_SOLID);
  dc.SetPen(*wxTRANSPARENT_PEN);
  // Changing the brush costs about as much as a small circle, so it is set
  // only when the hemisphere changes from one symbol to the next.
  const wxBrush* current = nullptr;
  int painted = 0;
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    if (!shown[i]) continue;
    const wxBrush* wanted = symbols[i].north ? &northBrush : &southBrush;
    if (wanted != current) {
      dc.SetBrush(*wanted);
      current = wanted;
    }
    DrawSymbol(dc, symbols[i]);
    ++painted;
  }
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
  if (paintedCount != nullptr) *paintedCount = painted;
  return drawn;
}

}  // namespace barywalk
