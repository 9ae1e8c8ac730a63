// libFuzzer target: arbitrary bytes as a flare file, then the whole path a
// loaded file takes: reading, the largest symbol size, the symbols of a
// frame and the statistics lines. Checks that no line is lost, every value
// stored is finite and the indices are 1..n.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "flares/flare_file.h"
#include "flares/flare_stat.h"
#include "flares/flare_symbols.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Data lines of a flare text: everything after the first "\n", where a
// last line without line end counts and a final "\n" ends a line.
int ExpectedDataLines(const std::string& text) {
  const std::size_t headerEnd = text.find('\n');
  if (headerEnd == std::string::npos) return 0;
  int lines = 0;
  std::size_t start = headerEnd + 1;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    ++lines;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

void CheckFlares(const barywalk::FlareMap& flares, int count) {
  std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
  double previousKey = -INFINITY;
  for (const auto& [key, flare] : flares) {
    Check(std::isfinite(key) && key >= previousKey);
    previousKey = key;
    Check(std::isfinite(flare.Latitude()) && std::isfinite(flare.Longitude()) &&
          std::isfinite(flare.Duration()) && std::isfinite(flare.Area()));
    Check(flare.Index() >= 1 && flare.Index() <= count && !seen[flare.Index()]);
    seen[flare.Index()] = true;
  }
}

void DrawAndRecordAFrame(const barywalk::FlareMap& flares,
                         const barywalk::FlareScaling& scaling) {
  if (flares.empty()) return;
  const double simTime = std::next(flares.begin(), flares.size() / 2)->first;
  barywalk::FlareFrame frame;
  frame.earthLongitude = 1.0;
  frame.scaleFactor = 3.0;
  frame.centreX = 320.0;
  frame.centreY = 310.0;
  frame.sunRadius = 74.6;
  frame.scaling = scaling;
  frame.maxFlareSize = barywalk::MaxFlareSize(flares, scaling);
  const barywalk::PlanetLongitudes planets = {{"Earth", 1.0}, {"Jupiter", 4.0}, {"Mars", 6.2}};
  barywalk::FlareStatMap stats;
  const barywalk::FlareWindow window = barywalk::FlareVisibilityWindow(simTime, false, 300, 0.5);
  barywalk::ForEachFlareSymbol(
      flares, window, frame,
      [&](double jd, const barywalk::SolarFlare& flare, const barywalk::FlareSymbol& symbol) {
        Check(symbol.radius >= 1);
        barywalk::RecordFlareStat(stats, planets, flare, jd, symbol.angle);
      });
  std::ostringstream out;
  barywalk::FlareStat::WriteHeader(out);
  for (const auto& entry : stats) entry.second.Write(out);
  Check(static_cast<bool>(out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const barywalk::FlareScaling scaling{size % 3 == 0 ? -1.0 : 800.0, size % 2 == 1};

  std::istringstream in(text);
  barywalk::FlareMap flares;
  int runningIndex = 0;
  const barywalk::FlareStreamResult result = barywalk::ReadFlareStream(in, flares, runningIndex);
  Check(result.status == barywalk::FlareReadStatus::Ok);
  Check(result.flareCount == ExpectedDataLines(text));
  Check(static_cast<int>(flares.size()) == result.flareCount && runningIndex == result.flareCount);
  Check(result.incompleteLines >= 0 && result.incompleteLines <= result.flareCount);
  CheckFlares(flares, result.flareCount);
  DrawAndRecordAFrame(flares, scaling);
  return 0;
}
