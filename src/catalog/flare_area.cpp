#include "catalog/flare_area.h"

#include "ephemeris/planets.h"

namespace barywalk {
namespace {

constexpr double kPi = 3.141592653589793;
// The Sun's apparent radius at 1 au in arcseconds (Auwers' value, the
// astronomical almanacs' solar semidiameter).
constexpr double kSolarRadiusArcsecAt1Au = 959.63;

}  // namespace

std::optional<double> OpticalImportanceArea(char importance) {
  switch (importance) {
    case 'S': return 2 * 50.0;
    case '1': return 2 * 175.0;
    case '2': return 2 * 425.0;
    case '3': return 2 * 900.0;
    case '4': return 2 * 1200.0;
    default: return std::nullopt;
  }
}

double SxiAreaToMillionths(double squareArcsec, double jd) {
  double earthLongitude = 0.0, earthDistanceAu = 1.0;
  PlanetPosition(Planet::Earth, jd, earthLongitude, earthDistanceAu);
  const double rho = kSolarRadiusArcsecAt1Au / earthDistanceAu;
  return squareArcsec / (kPi * rho * rho) * 1e6;
}

}  // namespace barywalk
