// The catalog readers on real lines: both NOAA layouts with their
// qualifier letters, day rollovers and damaged lines, and the CSV lists.
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "catalog_test_files.h"

#include "catalog/csv_catalog.h"
#include "catalog/flare_area.h"
#include "catalog/noaa_xrs.h"

namespace barywalk {
namespace {

std::vector<std::string> FileLines(const std::string& name) {
  std::ifstream in(CatalogDataPath(name), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Midnight (UT) of 1 January as a Julian day, from the almanac.
constexpr double kJan1991 = 2448257.5, kJan2003 = 2452640.5, kJan2005 = 2453371.5,
                 kJan2010 = 2455197.5, kJan2017 = 2457754.5;

double At(double yearStart, int dayOfYear, int hhmm) {
  return yearStart + (dayOfYear - 1) + (hhmm / 100 * 60 + hhmm % 100) / 1440.0;
}

// One expected flare; no class: no position either (lat and lon unchecked).
struct Expected {
  int line;  // 1-based line of the excerpt
  double jd, latitude, longitude, minutes;
  double area;  // < 0: an SXI area in square arcseconds
  const char* goesClass;
};

void ExpectFlare(const ParsedRow& row, const Expected& c) {
  ASSERT_TRUE(row.flare) << row.rejection.detail;
  const CatalogFlare& f = *row.flare;
  EXPECT_NEAR(f.jd, c.jd, 1e-9);
  EXPECT_EQ(f.durationMinutes, c.minutes);
  EXPECT_EQ(f.hasPosition, c.goesClass != nullptr);
  if (!c.goesClass) return;
  EXPECT_EQ(f.latitude, c.latitude);
  EXPECT_EQ(f.longitude, c.longitude);
  EXPECT_EQ(f.area, c.area < 0 ? SxiAreaToMillionths(-c.area, f.jd) : c.area);
  ASSERT_TRUE(f.goesClass);
  EXPECT_EQ(FormatGoesClass(*f.goesClass), c.goesClass);
}

TEST(NoaaXrsTest, ReportLinesOfBothLayouts) {
  const std::pair<const char*, Expected> cases[] = {
      // Qualifier letters E and D between the times; importance 1F.
      {"1991", {1, At(kJan1991, 1, 1249), 13, 32, 59, 350, "C5.0"}},
      {"1991", {2, At(kJan1991, 1, 2118), -22, -85, 16, 100, "C2.5"}},
      {"1991", {4, At(kJan1991, 2, 2053), -11, 3, 12, 100, "C1.3"}},  // "U" before the location
      {"1991", {5, At(kJan1991, 16, 2345), 0, 0, 31, 0, nullptr}},    // no location; end "2416"
      // Importance 2N; positions beyond the limb (W92) stay as given.
      {"1991", {6, At(kJan1991, 18, 1530), 15, -88, 29, 850, "C5.9"}},
      {"1991", {7, At(kJan1991, 35, 1551), -15, -92, 72, 350, "M1.2"}},
      {"1991", {8, At(kJan1991, 39, 1615), -12, -90, 7, 100, "M7.2"}},
      {"1991", {9, At(kJan1991, 43, 452), 0, 0, 31, 0, nullptr}},     // record type 33
      {"1991", {11, At(kJan1991, 63, 2359), 0, 0, 29, 0, nullptr}},   // end "0028"
      // End hour 24: after midnight; the last line has no line end.
      {"1991", {13, At(kJan1991, 365, 2351), -12, -17, 13, 100, "C7.0"}},
      {"2003", {1, At(kJan2003, 1, 749), 19, -22, 10, 100, "B3.3"}},
      {"2003", {4, At(kJan2003, 239, 1609), 0, 0, 30, 0, nullptr}},   // qualifiers "A"
      // Three-digit class numbers: X17.2 and X28.
      {"2003", {6, At(kJan2003, 301, 951), -16, 8, 93, 2400, "X17.2"}},
      {"2003", {7, At(kJan2003, 308, 1929), -19, -83, 37, 1800, "X28.0"}},
      // The revised layout: "SXI" and the SXI area; an end before the start.
      {"2005", {1, At(kJan2005, 1, 1), 6, 34, 38, -2.1e4, "X1.7"}},
      {"2005", {3, At(kJan2005, 1, 1918), 44, 90, 9, 0, "B2.5"}},
      {"2005", {4, At(kJan2005, 1, 2358), 9, -80, 7, -4.0e2, "B3.2"}},
      // "N08W90": east-positive -90, the limb the Sun turns away from us.
      {"2005", {5, At(kJan2005, 2, 1601), 8, -90, 15, -1.1e3, "B5.2"}},
      {"2005", {6, At(kJan2005, 149, 2235), 0, 0, 83, 0, nullptr}},   // line ends at col 71
      {"2017", {2, At(kJan2017, 10, 1510), 16, -81, 7, 0, "B3.9"}},
      {"2017", {3, At(kJan2017, 61, 2312), 0, 0, 56, 0, nullptr}},
  };
  for (const auto& [year, c] : cases) {
    const std::string file = std::string("goes-xrs-report_") + year + "-excerpt.txt";
    SCOPED_TRACE(file + ":" + std::to_string(c.line));
    ExpectFlare(ParseNoaaXrsLine(FileLines(file).at(c.line - 1)), c);
  }
}

// A real line with columns `first`.. replaced by `text`.
std::string Damaged(std::string line, std::size_t first, const std::string& text) {
  return line.replace(first - 1, text.size(), text);
}

TEST(NoaaXrsTest, DamagedLinesAreRejectedNamingTheField) {
  const std::string old = FileLines("goes-xrs-report_1991-excerpt.txt").at(0);
  const std::string sxi = FileLines("goes-xrs-report_2005-excerpt.txt").at(0);
  using R = RejectReason;
  const std::tuple<std::string, RejectReason, const char*> cases[] = {  // line, reason, detail start
      {Damaged(old, 6, "91013A"), R::Unreadable, "date"},
      {Damaged(old, 6, "910231"), R::Unreadable, "date"},
      {Damaged(old, 14, "12x9"), R::Unreadable, "start time"},
      {Damaged(old, 14, "2405"), R::Unreadable, "start time"},
      {Damaged(old, 19, "1360"), R::Unreadable, "end time"},
      {Damaged(old, 29, "N13X32"), R::Unreadable, "location"},
      {Damaged(old, 29, "N93E32"), R::Unreadable, "location"},
      {Damaged(old, 29, "N1 E32"), R::Unreadable, "location"},
      {Damaged(old, 35, "7"), R::Unreadable, "optical importance"},
      {Damaged(old, 60, "Q"), R::Unreadable, "class"},
      {Damaged(old, 61, " 5x"), R::Unreadable, "class"},
      {Damaged(old, 61, "  0"), R::Unreadable, "class"},
      {Damaged(sxi, 96, "2.1Ex04"), R::Unreadable, "SXI area"},
      {old.substr(0, 20), R::Unreadable, "end time"},
      {"Solar flare report 1991\r", R::Unreadable, "record"},
      {"   \r", R::Blank, ""},
      {"", R::Blank, ""},
      {"\x1a", R::EndOfFileMark, ""},
  };
  for (const auto& [line, reason, field] : cases) {
    SCOPED_TRACE(line);
    const ParsedRow row = ParseNoaaXrsLine(line);
    ASSERT_FALSE(row.flare);
    EXPECT_EQ(row.rejection.reason, reason);
    EXPECT_EQ(row.rejection.detail.rfind(field, 0), 0u) << row.rejection.detail;
  }
  // A blank class is no class, not an error.
  const ParsedRow noClass = ParseNoaaXrsLine(Damaged(old, 60, "    "));
  ASSERT_TRUE(noClass.flare);
  EXPECT_FALSE(noClass.flare->goesClass);
}

TEST(CsvCatalogTest, SplitsQuotedFields) {
  std::vector<std::string> fields;
  ASSERT_EQ(SplitCsvLine("a,\"b,c\",\"say \"\"hi\"\"\",,", fields), CsvSplit::Ok);
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "b,c", "say \"hi\"", "", ""}));
  EXPECT_EQ(SplitCsvLine("a,\"b", fields), CsvSplit::OpenQuote);
  // A line of commas stops at the field limit instead of taking memory.
  EXPECT_EQ(SplitCsvLine(std::string(10'000'000, ','), fields), CsvSplit::TooManyFields);
  EXPECT_LE(fields.size(), kMaxCsvFields);
}

// A row of the cycle-24 list with field `index` (0 = row index) replaced.
std::string GoesRow(std::size_t index, const std::string& value) {
  std::vector<std::string> fields;
  SplitCsvLine(FileLines("final_flare_list_sc24-excerpt.csv").at(1), fields);
  fields.at(index) = value;
  std::string row = fields[0];
  for (std::size_t i = 1; i < fields.size(); ++i) row += "," + fields[i];
  return row;
}

TEST(CsvCatalogTest, GoesListQuirks) {
  const std::vector<std::string> lines = FileLines("final_flare_list_sc24-excerpt.csv");
  const CsvCatalog catalog(CsvLayout::GoesCsv, lines.at(0));
  const Expected cases[] = {
      // Row index first; hgs_lon 41 (west) is -41 in a flare file.
      {2, At(kJan2010, 2, 709), -26, -41, 31, 0, "C1.0"},
      {3, At(kJan2010, 2, 1408), -28, -40, 16, 0, "C2.6"},  // blank noaa_ar
      {5, At(kJan2010, 21, 116), 0, 0, 8, 0, nullptr},
      // Ends stamped with the start's date: 23:35 to "00:23", 23:02 to "01:07".
      {6, At(kJan2010, 72, 2335), 13, 15, 48, 0, "C1.5"},
      {9, At(kJan2010, 365 + 47, 2302), -20, -35, 125, 0, "C2.8"},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.line);
    ExpectFlare(catalog.ParseRow(lines.at(c.line - 1)), c);
  }
  using R = RejectReason;
  const std::pair<std::string, RejectReason> bad[] = {
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00", R::Unreadable},
      {GoesRow(1, "2010-01-02 7:09:00"), R::Unreadable},
      {GoesRow(3, "2010-01-01 07:40:00"), R::EndBeforeStart},  // a different date: not the quirk
      {GoesRow(10, "-96.0"), R::Unreadable},                   // latitude beyond the pole
      {GoesRow(11, ""), R::Unreadable},                        // half a position
      {GoesRow(5, "Z1.0"), R::Unreadable},
      {" \r", R::Blank},
  };
  for (const auto& [line, reason] : bad) {
    SCOPED_TRACE(line);
    const ParsedRow row = catalog.ParseRow(line);
    ASSERT_FALSE(row.flare);
    EXPECT_EQ(row.rejection.reason, reason);
  }
}

TEST(CsvCatalogTest, HekColumnsInAnyOrder) {
  const std::vector<std::string> lines = FileLines("hek-excerpt.csv");
  const CsvCatalog catalog(CsvLayout::Hek, lines.at(0));
  EXPECT_TRUE(catalog.HasSourceColumn());
  const ParsedRow first = catalog.ParseRow(lines.at(1));
  ExpectFlare(first, {2, At(kJan2010, 2, 709), -26, -41, 31, 0, "C1.0"});  // hgs_x 41 west
  EXPECT_EQ(first.flare.value().source, "SWPC");
  EXPECT_EQ(catalog.ParseRow(lines.at(2)).flare.value().source, "SSW Latest Events, LMSAL");
  // HEK times carry their dates: an end before the start is an error.
  EXPECT_EQ(catalog.ParseRow(lines.at(5)).rejection.reason, RejectReason::EndBeforeStart);
}

TEST(CsvCatalogTest, HeaderWithoutTheNeededColumns) {
  const std::tuple<CsvLayout, const char*, const char*> cases[] = {  // layout, header, missing
      {CsvLayout::GoesCsv, "event_starttime,hgs_lat,hgs_lon", "event_endtime"},
      {CsvLayout::GoesCsv, "", "event_starttime, event_endtime, hgs_lat and hgs_lon"},
      {CsvLayout::Hek, "event_starttime,event_endtime,hgs_x", "hgs_y and hgs_x or hpc_x and hpc_y or hpc_coord"},
      {CsvLayout::Ssw, "GEV_START,GEV_END,GOES_CLASS", "AIA_LOC or AIA_XCEN and AIA_YCEN"},
  };
  for (const auto& [layout, header, missing] : cases) {
    try {
      CsvCatalog catalog(layout, header);
      ADD_FAILURE() << header;
    } catch (const CatalogError& error) {
      EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace barywalk
