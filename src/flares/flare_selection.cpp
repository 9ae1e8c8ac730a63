#include "flares/flare_selection.h"

#include <optional>

namespace barywalk {

ClassSelection KeepFlaresOfClassAtLeast(const FlareMap& flares, GoesClass minClass) {
  ClassSelection selection;
  for (const auto& [jd, flare] : flares) {
    const std::optional<GoesClass> goesClass = GoesClassFromFlux(flare.Flux());
    if (!goesClass) {
      ++selection.withoutClass;
    } else if (*goesClass < minClass) {
      ++selection.below;
    } else {
      selection.kept.emplace_hint(selection.kept.end(), jd, flare);
    }
  }
  return selection;
}

}  // namespace barywalk
