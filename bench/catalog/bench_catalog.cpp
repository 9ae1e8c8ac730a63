// Speed of the catalog import: 100,000 NOAA event report lines read,
// mapped, accounted for and written as a flare file. Target: under 0.2 s.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "catalog/catalog_import.h"

namespace barywalk {
namespace {

constexpr int kReportLines = 100000;

// Real report lines of both layouts, with and without a location, SXI
// areas, qualifier letters and a rollover past midnight.
const char* const kSampleLines[] = {
    "31777910101  1249E1348D1252 N13E321F                       C 50    GOES          6431 9101 3.9      ",
    "31777910102  2053 2105 2056US11E03SF                       C 13    GOES          6432 9101 3.1      ",
    "31777910116  2345 2416 2352                                C 18    GOES                             ",
    "31777050101  0001 0039 0031 N06E34SXI                      X 17    GOES 9.2E-02 10715 0501 3.5 2.1E+04 2.2E+05",
    "31777050101  2358 0005 0002 N09W80SXI                      B 32    GOES 1.1E-04 10717 041227.1 4.0E+02 8.0E+02",
    "31777170104  0234 0250 0239                                B 18    G15  1.2E-04                               ",
};

constexpr int kEventsPerDay = 6;  // about as many as a busy year's reports

// A report file of `lines` CRLF lines, cycling through the samples, with
// the dates advancing a day every kEventsPerDay lines from 2000-01-01 as
// in a real, date-ordered report.
std::string WriteReportFile(int lines) {
  const std::string path = "/tmp/bench_catalog_" + std::to_string(getpid()) + ".txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  const int samples = sizeof kSampleLines / sizeof kSampleLines[0];
  const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 0, month = 0, day = 1;
  for (int i = 0; i < lines; ++i) {
    if (i > 0 && i % kEventsPerDay == 0 && ++day > monthDays[month]) {
      day = 1;
      if (++month == 12) month = 0, ++year;
    }
    std::string line = kSampleLines[i % samples];
    char date[32];
    std::snprintf(date, sizeof date, "%02d%02d%02d", year % 75, month + 1, day);
    line.replace(5, 6, std::string(date).substr(0, 6));
    std::fprintf(file, "%s\r\n", line.c_str());
  }
  std::fclose(file);
  return path;
}

void BM_ImportNoaaReportLines(benchmark::State& state) {
  const std::string path = WriteReportFile(kReportLines);
  for (auto _ : state) {
    std::vector<CatalogImport> imports;
    imports.push_back(ImportCatalogFile(path, std::nullopt, ImportFilters{}));
    std::ostringstream out;
    WriteFlareFile(out, FlareFileHeader({imports[0].name}, ImportFilters{}),
                   ToFlareRecords(MergeInTimeOrder(imports)), FlareColumns::WithClassAndRegion);
    benchmark::DoNotOptimize(out.str().size());
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kReportLines);
}
BENCHMARK(BM_ImportNoaaReportLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace barywalk

BENCHMARK_MAIN();
