// Importing whole catalogs: recognising the format, accounting for every
// row, the filters' edges, merging in time order, and a written file that
// the dialog's reader loads as the importer meant it.
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog_test_files.h"

#include "catalog/catalog_import.h"
#include "flares/flare_constants.h"
#include "flares/flare_file.h"

namespace barywalk {
namespace {

CatalogImport Import(const std::string& name, const ImportFilters& filters = {}) {
  return ImportCatalogFile(CatalogDataPath(name), std::nullopt, filters);
}

std::map<RejectReason, int> CountReasons(const CatalogImport& import) {
  std::map<RejectReason, int> counts;
  for (const RejectedRow& row : import.rejects) ++counts[row.rejection.reason];
  return counts;
}

TEST(CatalogImportTest, EveryRowIsWrittenOrRejectedWithItsReason) {
  struct Case {
    const char* file;
    CatalogFormat format;  // recognised from the first line
    int rows, written;
    std::map<RejectReason, int> rejected;
  };
  using R = RejectReason;
  const CatalogFormat noaa = CatalogFormat::NoaaXrs;
  const Case cases[] = {
      {"goes-xrs-report_1991-excerpt.txt", noaa, 13, 9, {{R::NoPosition, 4}}},
      {"goes-xrs-report_2003-excerpt.txt", noaa, 9, 3, {{R::NoPosition, 5}, {R::EndOfFileMark, 1}}},
      {"goes-xrs-report_2005-excerpt.txt", noaa, 8, 6, {{R::NoPosition, 1}, {R::EndOfFileMark, 1}}},
      {"goes-xrs-report_2017-excerpt.txt", noaa, 5, 2, {{R::NoPosition, 3}}},
      {"final_flare_list_sc24-excerpt.csv", CatalogFormat::GoesCsv, 10, 7, {{R::NoPosition, 3}}},
      {"hek-excerpt.csv", CatalogFormat::HekCsv, 10, 5, {{R::EndBeforeStart, 3}, {R::NoPosition, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const CatalogImport import = Import(c.file);
    EXPECT_EQ(import.format, c.format);
    EXPECT_EQ(import.rows, c.rows);
    EXPECT_EQ(static_cast<int>(import.flares.size()), c.written);
    EXPECT_EQ(CountReasons(import), c.rejected);
    // Each line of the input once, in order, in one of the two lists.
    std::vector<int> lines;
    for (const ImportedFlare& f : import.flares) lines.push_back(f.line);
    for (const RejectedRow& r : import.rejects) lines.push_back(r.line);
    std::sort(lines.begin(), lines.end());
    const int first = c.format == noaa ? 1 : 2;  // below the CSV header
    ASSERT_EQ(static_cast<int>(lines.size()), c.rows);
    for (int i = 0; i < c.rows; ++i) ASSERT_EQ(lines[i], first + i);
  }
  for (const char* first : {"", "hello", "event_starttime,event_endtime,x,y", "31777 910101"}) {
    EXPECT_THROW(DetectCatalogFormat(first), CatalogError) << first;
  }
}

TEST(CatalogImportTest, FilterEdgesAreInclusive) {
  CatalogFlare flare;
  flare.jd = 2455198.79791667;
  flare.hasPosition = true;
  flare.goesClass = ParseGoesClass("C1.0");
  flare.source = "SWPC";
  const auto filters = [](std::optional<double> from, std::optional<double> to, bool toExclusive = false,
                          const char* minClass = nullptr) {
    ImportFilters f;
    f.fromJd = from, f.toJd = to, f.toExclusive = toExclusive;
    if (minClass) f.minClass = ParseGoesClass(minClass);
    return f;
  };
  const double jd = flare.jd;
  const std::nullopt_t none = std::nullopt;
  using R = RejectReason;
  const std::pair<ImportFilters, std::optional<RejectReason>> cases[] = {
      {{}, none},
      {filters(none, none, false, "C1.0"), none},
      {filters(none, none, false, "C1.01"), R::BelowClass},
      {filters(jd, jd), none},
      {filters(2455198.7979167, none), R::BeforeFrom},
      {filters(none, jd, true), R::AfterTo},
      {filters(none, 2455198.7979166), R::AfterTo},
  };
  for (const auto& [f, reason] : cases) EXPECT_EQ(FilterFlare(flare, f), reason);

  CatalogFlare bare = flare;
  bare.goesClass.reset();
  bare.hasPosition = false;
  EXPECT_EQ(FilterFlare(bare, {}), R::NoPosition);
  ImportFilters anyPosition;
  anyPosition.requirePosition = false;
  EXPECT_EQ(FilterFlare(bare, anyPosition), std::nullopt);
  anyPosition.minClass = ParseGoesClass("A1");
  EXPECT_EQ(FilterFlare(bare, anyPosition), R::NoClass);
}

TEST(CatalogImportTest, SourceFilterNeedsAFrmNameColumn) {
  ImportFilters swpc;
  swpc.source = "SWPC";
  const CatalogImport import = Import("hek-excerpt.csv", swpc);
  using R = RejectReason;
  EXPECT_EQ(CountReasons(import), (std::map<R, int>{{R::OtherSource, 4}, {R::EndBeforeStart, 3}}));
  EXPECT_EQ(import.flares.size(), 3u);
  for (const ImportedFlare& f : import.flares) EXPECT_EQ(f.flare.source, "SWPC");
  EXPECT_THROW(Import("goes-xrs-report_2017-excerpt.txt", swpc), CatalogError);
}

TEST(CatalogImportTest, HekAndGoesListGiveTheSameFlares) {
  const CatalogImport hek = Import("hek-excerpt.csv");
  const CatalogImport goes = Import("final_flare_list_sc24-excerpt.csv");
  for (const ImportedFlare& h : hek.flares) {
    const auto same = std::find_if(goes.flares.begin(), goes.flares.end(),
                                   [&](const ImportedFlare& g) { return g.flare.jd == h.flare.jd; });
    ASSERT_NE(same, goes.flares.end()) << h.line;
    const FlareColumns all = FlareColumns::WithClassAndRegion;
    EXPECT_EQ(FormatFlareLine(ToFlareRecords({&h.flare})[0], all),
              FormatFlareLine(ToFlareRecords({&same->flare})[0], all));
  }
}

TEST(CatalogImportTest, SeveralCatalogsMergeInTimeOrderEachKeepingItsOwn) {
  const std::vector<CatalogImport> imports = {Import("goes-xrs-report_2017-excerpt.txt"),
                                              Import("goes-xrs-report_1991-excerpt.txt"),
                                              Import("final_flare_list_sc24-excerpt.csv")};
  const std::vector<const CatalogFlare*> merged = MergeInTimeOrder(imports);
  ASSERT_EQ(merged.size(), 2u + 9u + 7u);
  // The 1991 flares first, the list's between, 2017's last; the list's two
  // rows out of time order stay in its own order.
  EXPECT_EQ(merged.front(), &imports[1].flares.front().flare);
  EXPECT_EQ(merged.back(), &imports[0].flares.back().flare);
  int outOfOrder = 0;
  for (std::size_t i = 1; i < merged.size(); ++i) outOfOrder += merged[i]->jd < merged[i - 1]->jd;
  EXPECT_EQ(outOfOrder, 1);
}

// The dialog's reader takes the five fields of the files with class and
// region as before; the commands' reader takes the two more.
TEST(CatalogImportTest, WrittenFileLoadsInBothReadersAsImported) {
  std::vector<CatalogImport> imports;
  for (const char* year : {"1991", "2003", "2005", "2017"}) {
    imports.push_back(Import(std::string("goes-xrs-report_") + year + "-excerpt.txt"));
  }
  imports.push_back(Import("hek-excerpt.csv"));
  const std::vector<const CatalogFlare*> merged = MergeInTimeOrder(imports);
  std::stringstream written;
  WriteFlareFile(written, FlareFileHeader({"a.txt", "b\nc.csv"}, {}), ToFlareRecords(merged),
                 FlareColumns::WithClassAndRegion);
  const std::string text = written.str();
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "JD(UT,start) lat[deg,north+] lon[deg,east+] duration[min] area[millionths] "
            "flux[W/m2] region[NOAA]; from a.txt, b?c.csv; rows without a position left out");
  // The reader keys by time; flares of one time stay in file order.
  std::vector<const CatalogFlare*> byTime = merged;
  std::stable_sort(byTime.begin(), byTime.end(),
                   [](const CatalogFlare* a, const CatalogFlare* b) { return a->jd < b->jd; });
  int withClass = 0, withRegion = 0;
  for (const FlareColumns columns : {FlareColumns::Five, FlareColumns::WithClassAndRegion}) {
    std::istringstream file(text);
    FlareMap flares;
    int index = 0;
    FlareReadOptions options;
    options.columns = columns;
    const FlareStreamResult result = ReadFlareStream(file, flares, index, options);
    EXPECT_EQ(result.status, FlareReadStatus::Ok);
    EXPECT_EQ(result.incompleteLines, 0);
    ASSERT_EQ(result.flareCount, static_cast<int>(merged.size()));
    const bool all = columns == FlareColumns::WithClassAndRegion;
    auto it = flares.begin();
    for (const CatalogFlare* f : byTime) {
      EXPECT_NEAR(it->first, f->jd, 5e-9);
      EXPECT_EQ(it->second.Latitude(), f->latitude);
      EXPECT_EQ(it->second.Longitude(), f->longitude);
      EXPECT_NEAR(it->second.Duration() * kMinutesPerDay, f->durationMinutes, 1e-9);
      EXPECT_NEAR(it->second.Area(), f->area, f->area * 1e-9);
      const std::optional<GoesClass> read = GoesClassFromFlux(it->second.Flux());
      EXPECT_EQ(read, all ? f->goesClass : std::nullopt);
      EXPECT_EQ(it->second.Region(), all ? f->region : 0);
      withClass += all && read;
      withRegion += all && f->region > 0;
      ++it;
    }
  }
  // The excerpts give classes and regions: the comparison above saw some.
  EXPECT_GT(withClass, 0);
  EXPECT_GT(withRegion, 0);
}

TEST(CatalogImportTest, HeaderNamesTheFilters) {
  ImportFilters filters;
  filters.source = "SWPC";
  filters.fromJd = 2455197.5, filters.toJd = 2455562.5, filters.toExclusive = true;
  filters.minClass = ParseGoesClass("M1");
  filters.requirePosition = false;
  EXPECT_EQ(FlareFileHeader({"x.csv"}, filters),
            "JD(UT,start) lat[deg,north+] lon[deg,east+] duration[min] area[millionths] "
            "flux[W/m2] region[NOAA]; from x.csv; rows without a position at lat 0 lon 0; frm_name SWPC; start >= 2010-01-01T00:00:00Z; "
            "start < 2011-01-01T00:00:00Z; class >= M1.0");
}

}  // namespace
}  // namespace barywalk
