// Choosing flares of a load by their GOES class, for the commands that
// study only the stronger flares.
#pragma once

#include "flares/goes_class.h"
#include "flares/solar_flare.h"

namespace barywalk {

struct ClassSelection {
  FlareMap kept;         // the flares of the class and above, indices unchanged
  int withoutClass = 0;  // left out: their file gives no class (flux 0)
  int below = 0;         // left out: a class below the limit
};

// The flares of class `minClass` and above. Each keeps its running index,
// so messages still name the line of its file. The class is compared as
// the file's flux rounded to 1e-11 W/m^2, so a limit of C1.2 keeps the
// flares written as 1.2e-06.
ClassSelection KeepFlaresOfClassAtLeast(const FlareMap& flares, GoesClass minClass);

}  // namespace barywalk
