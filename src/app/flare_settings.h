// The dialog's two process-wide flare settings: "Max app. area" with its
// limit and "Show logartithmic" store them when clicked, and the dialog
// reads them when it starts and whenever it sizes flare symbols. Nothing
// outside the dialog reads them: the flare code takes a FlareScaling.
#pragma once

#include "flares/solar_flare.h"

namespace barywalk {

// Upper limit of the apparent area in millionths of the solar disk; 0 or
// below switches clipping off.
extern double g_flareAreaClip;
// Whether the apparent area is scaled logarithmically.
extern bool g_flareLogScale;

double GetFlareAreaClip();
void SetFlareAreaClip(double clip);
bool GetFlareLogScale();
void SetFlareLogScale(bool logScale);

// The two settings as the flare code takes them.
FlareScaling CurrentFlareScaling();

}  // namespace barywalk
