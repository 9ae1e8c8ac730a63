// The significance test as a figure: per panel (the nearest-planet angles,
// then each planet of the set) the histogram of the flares' angles against
// the null's mean and 5-95 % band. Drawn with PLplot's cairo devices into
// an SVG, PNG or PDF file; no display is needed.
#pragma once

#include <string>

#include "analysis/significance.h"

namespace barywalk {

// The PLplot device for a file name's extension (".svg", ".png", ".pdf",
// any case), or an empty string for any other name.
std::string PlotDeviceFor(const std::string& path);

// Whether PLplot offers `device` on this machine (its cairo driver is a
// separate package). PLplot ends the process on a device it lacks, so
// callers check first.
bool PlotDeviceAvailable(const std::string& device);

// Draws `result` into `path` with `device` (from PlotDeviceFor). `note`,
// one short line (the null, replicates and seed), ends the legend.
void WriteSignificancePlot(const SignificanceResult& result, double withinRad,
                           const std::string& note, const std::string& device,
                           const std::string& path);

}  // namespace barywalk
