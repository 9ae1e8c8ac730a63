#include "flares/flare_layer.h"

#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/pen.h>
#include <wx/string.h>

namespace barywalk {
namespace {

const wxColour kNorthColour(255, 0, 0);
const wxColour kSouthColour(0, 0, 255);

void DrawFlareCount(wxDC& dc, int panelHeight, const FlareMap& flares) {
  dc.SetTextForeground(*wxWHITE);
  // A load holds at most INT_MAX flares (the index range), so int suffices.
  dc.DrawText(wxString::Format("%i flares", static_cast<int>(flares.size())), 10, panelHeight - 20);
}

}  // namespace

int DrawFlareLayer(wxDC& dc, int panelHeight, const FlareMap& flares, const FlareWindow& window,
                   const FlareFrame& frame, const FlareSymbolVisitor& onDrawn) {
  DrawFlareCount(dc, panelHeight, flares);
  const wxBrush northBrush(kNorthColour, wxBRUSHSTYLE_SOLID);
  const wxBrush southBrush(kSouthColour, wxBRUSHSTYLE_SOLID);
  dc.SetPen(*wxTRANSPARENT_PEN);
  // Changing the brush costs about as much as a small circle, so it is set
  // only when the hemisphere changes from one symbol to the next.
  const wxBrush* current = nullptr;
  const int drawn = ForEachFlareSymbol(
      flares, window, frame, [&](double jd, const SolarFlare& flare, const FlareSymbol& symbol) {
        const wxBrush* wanted = symbol.north ? &northBrush : &southBrush;
        if (wanted != current) {
          dc.SetBrush(*wanted);
          current = wanted;
        }
        dc.DrawEllipse(symbol.x - symbol.radius, symbol.y - symbol.radius, 2 * symbol.radius,
                       2 * symbol.radius);
        if (onDrawn) onDrawn(jd, flare, symbol);
      });
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
  return drawn;
}

}  // namespace barywalk
