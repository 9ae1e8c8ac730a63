// Flare areas in millionths of the solar disk from what catalogs give.
#pragma once

#include <optional>

namespace barywalk {

// The representative area, millionths of the solar disk, of a flare of
// H-alpha optical importance S, 1, 2, 3 or 4; nothing for another letter.
//
// The importance classes are ranges of the flare's area corrected for
// foreshortening, in millionths of the solar hemisphere: S up to 100,
// 1 100-250, 2 250-600, 3 600-1200, 4 above 1200 (2.0, 5.1, 12.4 and 24.7
// square degrees). The representative value is the middle of the range
// (the lower limit for the open class 4), doubled because the disk
// (pi R^2) is half the hemisphere (2 pi R^2): S 100, 1 350, 2 850,
// 3 1800, 4 2400.
std::optional<double> OpticalImportanceArea(char importance);

// A flare area seen in an image, in square arcseconds (the GOES SXI areas
// of the NOAA event reports), as millionths of the solar disk at Julian
// day `jd` (UT): area / (pi rho^2) * 1e6, with rho the Sun's apparent
// radius, 959.63 arcsec at 1 au, divided by the Earth's distance from the
// Sun at `jd` in au (this program's ephemeris, interpolated within the
// day to better than 1e-6 au). A projected area: no correction for
// foreshortening.
double SxiAreaToMillionths(double squareArcsec, double jd);

}  // namespace barywalk
