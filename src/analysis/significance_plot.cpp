#include "analysis/significance_plot.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <plplot.h>

#include "ephemeris/constants.h"

namespace barywalk {
namespace {

constexpr int kPageWidth = 1200, kPageHeight = 900;
// The page's top strip (normalised height) holds the title and the legend.
constexpr double kPanelsTop = 0.86;
constexpr double kLegendY = 0.9;

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

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", std::round(value * 100) / 100);
  return text;
}

// The panels' grid: one row up to three planets, three columns beyond.
void GridFor(int panels, int& columns, int& rows) {
  columns = std::min(panels, 3);
  rows = (panels + columns - 1) / columns;
}

void DrawPanel(const AngleHistogram& h, double maxDeg, double withinDeg, double left, double right,
               double bottom, double top) {
  const double binWidth = maxDeg / h.observed.size();
  // The y-axis spans the data, not from zero: with thousands of flares
  // the bins' differences would otherwise be a flat line.
  double highest = 1, lowest = 1e300;
  for (std::size_t b = 0; b < h.observed.size(); ++b) {
    highest = std::max({highest, h.observed[b], h.null95[b]});
    lowest = std::min({lowest, h.observed[b], h.null05[b]});
  }
  const double floorY = std::max(0.0, lowest - 0.1 * (highest - lowest));
  const double topY = highest + 0.08 * (highest - floorY);
  plvpor(left, right, bottom, top);
  plwind(0, maxDeg, floorY, topY);

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
  const PLFLT wy[2] = {floorY, topY};
  plline(2, wx, wy);
  pllsty(1);

  plcol0(kInk);
  plbox("bcnst", 0, 0, "bcnstv", 0, 0);
  const std::string yLabel = "flares per " + Degrees(binWidth) + " deg bin";
  pllab("angle [deg]", yLabel.c_str(), h.title.c_str());
}

// One legend entry at x (normalised page units) on the legend line: a
// short sample of the line or band, then its text.
void LegendEntry(double x, Colour colour, double width, int style, bool band, const char* text) {
  plvpor(0, 1, 0, 1);
  plwind(0, 1, 0, 1);
  plcol0(colour);
  if (band) {
    const PLFLT bx[4] = {x, x + 0.04, x + 0.04, x};
    const PLFLT by[4] = {kLegendY - 0.008, kLegendY - 0.008, kLegendY + 0.008, kLegendY + 0.008};
    plfill(4, bx, by);
  } else {
    plwidth(width);
    pllsty(style);
    const PLFLT lx[2] = {x, x + 0.04};
    const PLFLT ly[2] = {kLegendY, kLegendY};
    plline(2, lx, ly);
    pllsty(1);
    plwidth(1);
  }
  plcol0(kInk);
  plptex(x + 0.05, kLegendY, 1, 0, 0, text);
}

void DrawTitleAndLegend(const PlotTitle& title, double withinDeg) {
  plvpor(0, 1, 0, 1);
  plwind(0, 1, 0, 1);
  plcol0(kInk);
  plschr(0, 1.0);
  plptex(0.5, 0.975, 1, 0, 0.5, title.heading.c_str());
  plschr(0, 0.85);
  plptex(0.5, 0.945, 1, 0, 0.5, title.details.c_str());
  const std::string within = "within " + Degrees(withinDeg) + " deg";
  LegendEntry(0.08, kObserved, 2.5, 1, false, "observed");
  LegendEntry(0.30, kMean, 1.5, 1, false, "null mean");
  LegendEntry(0.52, kBand, 1, 1, true, "null 5-95 %");
  LegendEntry(0.74, kWithin, 1, 2, false, within.c_str());
}

void DrawFigure(const SignificanceResult& result, double withinRad, const PlotTitle& title) {
  const int panels = static_cast<int>(result.histograms.size());
  const double maxDeg = result.maxAngleRad * kDegreesPerRadian;
  const double withinDeg = withinRad * kDegreesPerRadian;
  pladv(0);
  DrawTitleAndLegend(title, withinDeg);
  int columns = 1, rows = 1;
  GridFor(std::max(panels, 1), columns, rows);
  plschr(0, 0.7);
  // Each cell keeps margins (page units) for the tick labels, the axis
  // labels and the panel's title, so that nothing overlaps its neighbour.
  constexpr double kLeft = 0.085, kRight = 0.015, kBottom = 0.08, kTop = 0.045;
  const double cellWidth = 1.0 / columns, cellHeight = kPanelsTop / rows;
  for (int p = 0; p < panels; ++p) {
    const int column = p % columns, row = p / columns;
    const double left = column * cellWidth, top = kPanelsTop - row * cellHeight;
    DrawPanel(result.histograms[p], maxDeg, withinDeg, left + kLeft, left + cellWidth - kRight,
              top - cellHeight + kBottom, top - kTop);
  }
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether the file at `path` holds a figure of `device` written to its
// end: PLplot does not report write errors, so the writer checks the
// format's closing mark.
bool FigureComplete(const std::string& path, const std::string& device) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  constexpr std::streamoff kTail = 64;
  if (size <= 0) return false;
  file.seekg(std::max<std::streamoff>(0, size - kTail));
  std::string tail((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back()))) tail.pop_back();
  if (device == "pngcairo") return EndsWith(tail, std::string("IEND\xAE\x42\x60\x82", 8));
  if (device == "svgcairo") return EndsWith(tail, "</svg>");
  if (device == "pdfcairo") return EndsWith(tail, "%%EOF");
  return false;
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

bool WriteSignificancePlot(const SignificanceResult& result, double withinRad,
                           const PlotTitle& title, const std::string& device,
                           const std::string& path) {
  // PLplot gets an open stream, never the name, and closes the stream
  // itself; a duplicate of its descriptor lets us flush the data to disc.
  FILE* stream = std::fopen(path.c_str(), "wb");
  if (stream == nullptr) return false;
  const int descriptor = dup(fileno(stream));
  plsdev(device.c_str());
  plsfile(stream);
  plspage(0, 0, kPageWidth, kPageHeight, 0, 0);
  SetColours();
  plinit();
  DrawFigure(result, withinRad, title);
  plend();
  bool written = descriptor >= 0 && fsync(descriptor) == 0;
  if (descriptor >= 0 && close(descriptor) != 0) written = false;
  return written && FigureComplete(path, device);
}

}  // namespace barywalk
