#include "analysis/significance_plot.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <plplot.h>

#include "ephemeris/constants.h"

namespace barywalk {
namespace {

constexpr int kPageWidth = 1200, kPageHeight = 900;

enum Colour { kBackground = 0, kInk = 1, kMean = 2, kBand = 3, kObserved = 4, kWithin = 5 };

void SetColours() {
  plscol0(kBackground, 255, 255, 255);
  plscol0(kInk, 0, 0, 0);
  plscol0(kMean, 200, 40, 40);
  plscol0(kBand, 245, 200, 200);
  plscol0(kObserved, 30, 70, 190);
  plscol0(kWithin, 120, 120, 120);
}

// A histogram as a staircase: bin b spans [b w, (b + 1) w].
void Staircase(const std::vector<double>& values, double binWidth, std::vector<PLFLT>& x,
               std::vector<PLFLT>& y) {
  x.clear();
  y.clear();
  for (std::size_t b = 0; b < values.size(); ++b) {
    x.push_back(b * binWidth);
    y.push_back(values[b]);
    x.push_back((b + 1) * binWidth);
    y.push_back(values[b]);
  }
}

void DrawPanel(const AngleHistogram& h, double maxDeg, double withinDeg, bool first,
               const std::string& note) {
  const double binWidth = maxDeg / h.observed.size();
  double top = 1;
  for (std::size_t b = 0; b < h.observed.size(); ++b) {
    top = std::max({top, h.observed[b], h.null95[b]});
  }
  pladv(0);
  plvsta();
  plwind(0, maxDeg, 0, top * 1.15);

  std::vector<PLFLT> x, y, lowX, lowY;
  // The null's 5-95 % band: the upper staircase, then the lower one back.
  Staircase(h.null95, binWidth, x, y);
  Staircase(h.null05, binWidth, lowX, lowY);
  x.insert(x.end(), lowX.rbegin(), lowX.rend());
  y.insert(y.end(), lowY.rbegin(), lowY.rend());
  plcol0(kBand);
  plfill(static_cast<PLINT>(x.size()), x.data(), y.data());

  plwidth(1.5);
  plcol0(kMean);
  Staircase(h.nullMean, binWidth, x, y);
  plline(static_cast<PLINT>(x.size()), x.data(), y.data());
  plcol0(kObserved);
  plwidth(2.5);
  Staircase(h.observed, binWidth, x, y);
  plline(static_cast<PLINT>(x.size()), x.data(), y.data());

  plwidth(1);
  plcol0(kWithin);
  pllsty(2);
  const PLFLT wx[2] = {withinDeg, withinDeg};
  const PLFLT wy[2] = {0, top * 1.15};
  plline(2, wx, wy);
  pllsty(1);

  plcol0(kInk);
  plbox("bcnst", 0, 0, "bcnstv", 0, 0);
  pllab("angle [deg]", "flares per bin", h.title.c_str());
  if (first) {
    // The legend in the empty upper right of the nearest-planet panel.
    char within[64];
    std::snprintf(within, sizeof within, "dashed: %g deg", withinDeg);
    const std::vector<std::string> lines = {"blue: observed", "red: null mean",
                                            "shaded: null 5-95 %", within, note};
    for (std::size_t i = 0; i < lines.size(); ++i) {
      plptex(maxDeg * 0.97, top * (1.05 - 0.09 * i), 1, 0, 1.0, lines[i].c_str());
    }
  }
}

}  // namespace

std::string PlotDeviceFor(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "svg") return "svgcairo";
  if (ext == "png") return "pngcairo";
  if (ext == "pdf") return "pdfcairo";
  return "";
}

bool PlotDeviceAvailable(const std::string& device) {
  constexpr int kMaxDevices = 128;
  const char* menuArray[kMaxDevices] = {};
  const char* nameArray[kMaxDevices] = {};
  const char** menus = menuArray;
  const char** names = nameArray;
  int count = kMaxDevices;  // in: room; out: devices found
  plgFileDevs(&menus, &names, &count);
  for (int i = 0; i < count; ++i) {
    if (names[i] != nullptr && device == names[i]) return true;
  }
  return false;
}

void WriteSignificancePlot(const SignificanceResult& result, double withinRad,
                           const std::string& note, const std::string& device,
                           const std::string& path) {
  const int panels = static_cast<int>(result.histograms.size());
  const int columns = panels > 9 ? 4 : 3;
  const int rows = (panels + columns - 1) / columns;
  plsdev(device.c_str());
  plsfnam(path.c_str());
  plspage(0, 0, kPageWidth, kPageHeight, 0, 0);
  SetColours();
  plssub(columns, rows);
  plinit();
  plschr(0, 0.8);
  const double maxDeg = result.maxAngleRad * kDegreesPerRadian;
  for (int p = 0; p < panels; ++p) {
    DrawPanel(result.histograms[p], maxDeg, withinRad * kDegreesPerRadian, p == 0, note);
  }
  plend();
}

}  // namespace barywalk
