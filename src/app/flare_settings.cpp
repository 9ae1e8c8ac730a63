#include "app/flare_settings.h"

namespace barywalk {

double g_flareAreaClip = kClipLimitSetting.initial;
bool g_flareLogScale = kShownAtStart.logScale;

double GetFlareAreaClip() { return g_flareAreaClip; }
void SetFlareAreaClip(double clip) { g_flareAreaClip = clip; }
bool GetFlareLogScale() { return g_flareLogScale; }
void SetFlareLogScale(bool logScale) { g_flareLogScale = logScale; }

FlareScaling CurrentFlareScaling() { return {g_flareAreaClip, g_flareLogScale}; }

}  // namespace barywalk
