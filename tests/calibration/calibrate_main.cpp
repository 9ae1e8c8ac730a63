// barywalk-calibrate: the calibration suite of the significance test at
// full size (make calibrate). Prints the size and power tables in Markdown
// to stdout (or -o FILE) and progress to stderr; exits 1 when a size
// exceeds its alpha beyond the 95 % interval, so a run also checks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "calibration.h"

namespace {

const char kUsage[] =
    "Usage: barywalk-calibrate [options]\n"
    "Tests null catalogs (flares unrelated to the planets) and catalogs with a\n"
    "planted Jupiter signal with the significance test and tabulates how often\n"
    "each printed p-value is at or below 0.05 and 0.01.\n"
    "  --catalogs N     null catalogs per kind (default 70)\n"
    "  --power-catalogs N  planted catalogs per share (default 20)\n"
    "  --replicates N   Monte Carlo replicates per test (default 999)\n"
    "  --seed N         seed of catalogs and tests (default 1)\n"
    "  --threads N      catalogs tested at once (default 2)\n"
    "  --scale X        synthetic catalogs' region birth rate times X (default 1)\n"
    "  --max-shift YEARS  the nulls' largest time shift (default 500)\n"
    "  --sample FILE    the real flare file moved in time (default: the sample)\n"
    "  -o FILE          write the tables to FILE instead of stdout\n"
    "  --help           this text\n";

bool PositiveInt(const char* text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 1 || v > 1000000) return false;
  value = static_cast<int>(v);
  return true;
}

void Progress(const std::string& line) { std::cerr << line << "\n"; }

}  // namespace

int main(int argc, char** argv) {
  using namespace barywalk;
  CalibrationPlan plan;
  plan.kinds = {CatalogKind::Synthetic, CatalogKind::ShiftedSample};
  plan.nulls = CommandNulls();
  plan.plantedFractions = {0.01, 0.02, 0.05};
  plan.samplePath = FLARE_SAMPLE_FILE;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    int number = 0;
    if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (value && arg == "--catalogs" && PositiveInt(value, number)) {
      plan.catalogs = number;
    } else if (value && arg == "--power-catalogs" && PositiveInt(value, number)) {
      plan.powerCatalogs = number;
    } else if (value && arg == "--replicates" && PositiveInt(value, number)) {
      plan.replicates = number;
    } else if (value && arg == "--seed" && PositiveInt(value, number)) {
      plan.seed = static_cast<std::uint64_t>(number);
    } else if (value && arg == "--threads" && PositiveInt(value, number)) {
      plan.threads = number;
    } else if (value && arg == "--scale" && std::strtod(value, nullptr) > 0) {
      plan.flareScale = std::strtod(value, nullptr);
    } else if (value && arg == "--max-shift" && std::strtod(value, nullptr) >= 2) {
      plan.maxShiftYears = std::strtod(value, nullptr);
    } else if (value && arg == "--sample") {
      plan.samplePath = value;
    } else if (value && arg == "-o") {
      output = value;
    } else {
      std::cerr << "barywalk-calibrate: bad option or value: " << arg << " (see --help)\n";
      return 2;
    }
    ++i;
  }
  std::vector<RejectionCount> counts;
  try {
    counts = RunCalibration(plan, Progress);
  } catch (const std::exception& e) {
    std::cerr << "barywalk-calibrate: " << e.what() << "\n";
    return 2;
  }
  const std::string table = CalibrationTable(counts, plan);
  if (output.empty()) {
    std::cout << table;
  } else {
    const std::string temporary = output + ".part";
    std::ofstream out(temporary);
    out << table;
    out.close();
    if (!out || std::rename(temporary.c_str(), output.c_str()) != 0) {
      std::remove(temporary.c_str());
      std::cerr << "barywalk-calibrate: cannot write " << output << "\n";
      return 1;
    }
  }
  const std::vector<std::string> faults = MiscalibratedSizes(counts, kZ95);
  for (const std::string& fault : faults) std::cerr << "not calibrated: " << fault << "\n";
  return faults.empty() ? 0 : 1;
}
