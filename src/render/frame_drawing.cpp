#include "render/frame_drawing.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "flares/flare_layer.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

void DrawFlares(wxDC& dc, int h, const FrameSettings& settings, const FrameState& state,
                double sunRadius, const FlareSymbolVisitor& onFlare) {
  static const FlareMap kNoFlares;
  const FlareWindow window = FlareVisibilityWindow(
      state.simTime, settings.useDuration, settings.durationMinutes, settings.incrementDays);
  const FlareFrame frame = MakeFlareFrame(state.simTime, settings.flareScale, state.sunOffset.x,
                                         state.sunOffset.y, sunRadius, settings.flareScaling,
                                         state.maxFlareSize);
  const FlareSymbolVisitor ignore = [](double, const SolarFlare&, const FlareSymbol&) {};
  DrawFlareLayer(dc, h, state.flares ? *state.flares : kNoFlares, window, frame,
                 onFlare ? onFlare : ignore);
}

}  // namespace

// Drawn without anti-aliasing: blending the edges of the 2,200-segment
// trail alone would cost most of a tick.
void DrawViewFrame(wxDC& dc, int w, int h, const FrameSettings& settings, const FrameState& state,
                   PlanetLongitudes& longitudes, const FlareSymbolVisitor& onFlare) {
  static const SolarPath kNoTrail;
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
  DrawBackground(dc, w, h);
  if (state.positions) {
    DrawPlanetDirections(dc, w, h, state.sunOffset, *state.positions, settings.planets,
                         longitudes);
  } else {
    DrawPlanetDirections(dc, w, h, state.sunOffset, state.simTime, settings.planets, longitudes);
  }
  DrawSunLayer(dc, w, state.sunOffset, state.sunAccel, state.simTime, settings.sunLayer,
               state.path ? *state.path : kNoTrail);
  if (settings.flares) {
    DrawFlares(dc, h, settings, state, MakeViewGeometry(w, w).scale, onFlare);
  }
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

FrameState FrameStateOf(const Player& player, const FlareMap* flares, double maxFlareSize) {
  FrameState state;
  state.simTime = player.SimTime();
  state.positions = &player.Positions();
  state.sunOffset = player.SunOffset();
  state.sunAccel = player.SunAccel();
  state.path = &player.Path();
  state.flares = flares;
  state.maxFlareSize = maxFlareSize;
  return state;
}

FrameCanvas::FrameCanvas(int w, int h) : m_bitmap(w, h, 24) {}

wxImage FrameCanvas::Render(const std::function<void(wxDC&)>& draw) {
  {
    wxMemoryDC dc(m_bitmap);
    draw(dc);
  }
  return m_bitmap.ConvertToImage();
}

wxImage RenderToImage(int w, int h, const std::function<void(wxDC&)>& draw) {
  return FrameCanvas(w, h).Render(draw);
}

}  // namespace barywalk
