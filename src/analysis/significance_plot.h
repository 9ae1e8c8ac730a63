// The significance test as a figure: one panel per planet of the set, the
// histogram of the flares' angles against the null's mean and 5-95 %
// band, under a title that names the catalog, its span, the angle, the
// null and the geometry, and a legend in a strip of its own, so that it
// never covers data. Drawn with PLplot's cairo devices into an SVG, PNG
// or PDF file; no display is needed.
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

// The two lines above the panels.
struct PlotTitle {
  std::string heading;  // catalog and span
  std::string details;  // within, null, replicates, seed, geometry
};

// Draws `result` with `device` (from PlotDeviceFor) into the existing,
// empty file `path`, which PLplot never sees by name: PLplot would expand
// "%n" in a name. Returns false when the figure could not be written
// completely (a full disk, say); the file then holds no usable figure.
bool WriteSignificancePlot(const SignificanceResult& result, double withinRad,
                           const PlotTitle& title, const std::string& device,
                           const std::string& path);

}  // namespace barywalk
