// Restores the process-wide flare settings after a test changed them.
#pragma once

#include "flares/solar_flare.h"

namespace barywalk {

class FlareSettingsGuard {
 public:
  FlareSettingsGuard() : clip_(GetFlareAreaClip()), logScale_(GetFlareLogScale()) {}
  ~FlareSettingsGuard() {
    SetFlareAreaClip(clip_);
    SetFlareLogScale(logScale_);
  }

 private:
  double clip_;
  bool logScale_;
};

}  // namespace barywalk
