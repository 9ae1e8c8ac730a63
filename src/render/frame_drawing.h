// One frame of the orbit view from its settings and the simulation state:
// background, planet directions, the Sun layer and the flare layer. The
// dialog's panel and barywalk-render's pictures are drawn by this one
// function, so both show the same frame for the same settings.
#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/image.h>

#include <array>
#include <functional>

#include "ephemeris/planets.h"
#include "flares/flare_symbols.h"
#include "flares/solar_flare.h"
#include "simulation/player.h"
#include "simulation/run_settings.h"
#include "views/orbit_view.h"
#include "views/solar_path.h"

namespace barywalk {

// What a frame shows; the defaults are the settings at start.
struct FrameSettings {
  // Planet direction markers, in planet order (Mercury ... Pluto).
  std::array<bool, kPlanetCount> planets = kShownAtStart.planets;
  SunLayerOptions sunLayer;              // trail, disc, date label, acceleration
  bool flares = kShownAtStart.flares;    // the flare layer: the flare count and the symbols
  double flareScale = kFlareScaleSetting.initial;  // symbol scale factor
  FlareScaling flareScaling;  // area to symbol size; FrameState::maxFlareSize was computed with it
  // The flare visibility window: `durationMinutes` wide when `useDuration`,
  // otherwise (incrementDays + 2) days to both sides of the simulated time.
  bool useDuration = kShownAtStart.useDuration;
  double durationMinutes = kDurationSetting.initial;
  double incrementDays = kIncrementSetting.initial;
};

// The simulation state a frame is drawn for.
struct FrameState {
  double simTime = 0.0;              // Julian day
  // The planets at simTime (planet order), as the Sun's place was computed
  // from; computed anew from simTime when null.
  const std::array<HeliocentricPosition, kPlanetCount>* positions = nullptr;
  PixelPoint sunOffset;              // the Sun's centre, panel pixels
  PixelPoint sunAccel;               // display units, screen orientation
  const SolarPath* path = nullptr;   // the trail; none when null
  const FlareMap* flares = nullptr;  // loaded flares; none when null
  double maxFlareSize = 0.0;         // MaxFlareSize of *flares
};

// The frame of `player` where it stands, with `flares` (none when null)
// whose MaxFlareSize is `maxFlareSize`. Refers to the player's positions
// and trail: valid until it steps again.
FrameState FrameStateOf(const Player& player, const FlareMap* flares = nullptr,
                        double maxFlareSize = 0.0);

// Draws the frame into `dc`, w x h pixels, without anti-aliasing (the view
// works in whole pixels). Layer order, bottom to top: background, planet
// markers (which refill `longitudes` with all nine planets), the Sun layer,
// the flare layer (which calls `onFlare` for every symbol drawn). Leaves the
// DC with the null brush and pen.
void DrawViewFrame(wxDC& dc, int w, int h, const FrameSettings& settings, const FrameState& state,
                   PlanetLongitudes& longitudes, const FlareSymbolVisitor& onFlare = {});

// An off-screen 24-bit bitmap that frames are drawn into, as into the
// dialog's panel buffer, and read back as pictures. Kept for a whole run:
// allocating it anew would cost more than drawing a frame.
class FrameCanvas {
 public:
  FrameCanvas(int w, int h);
  wxImage Render(const std::function<void(wxDC&)>& draw);

 private:
  wxBitmap m_bitmap;
};

// One picture drawn with `draw` on a fresh w x h canvas.
wxImage RenderToImage(int w, int h, const std::function<void(wxDC&)>& draw);

}  // namespace barywalk
