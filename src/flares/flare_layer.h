// The flare layer of the view: the number of loaded flares and a filled
// circle on the Sun's disc for every flare of the visibility window.
#pragma once

#include <wx/dc.h>

#include "flares/flare_symbols.h"

namespace barywalk {

// Draws "%i flares" (the number of loaded flares) in white at
// (10, panelHeight - 20), then the symbols of the flares in `window`:
// red for northern, blue for other latitudes, without outline, in key
// order (later symbols cover earlier ones). Calls `onDrawn` for every
// symbol drawn (the dialog records its statistics there) and leaves the DC
// with the null brush and the null pen. Returns the number of symbols
// drawn.
//
// The picture is exactly that of painting every symbol in turn, but a
// symbol that later symbols cover completely is not painted: with
// thousands of flares on a disc of some hundred pixels most of them are
// hidden. `paintedCount`, when given, receives the number of symbols
// actually painted.
int DrawFlareLayer(wxDC& dc, int panelHeight, const FlareMap& flares, const FlareWindow& window,
                   const FlareFrame& frame, const FlareSymbolVisitor& onDrawn,
                   int* paintedCount = nullptr);

}  // namespace barywalk
