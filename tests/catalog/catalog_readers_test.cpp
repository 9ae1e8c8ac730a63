// The catalog readers on real lines: both NOAA layouts with their
// qualifier letters, day rollovers and damaged lines, and the CSV lists.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/csv_catalog.h"
#include "catalog/flare_area.h"
#include "catalog/noaa_xrs.h"

namespace barywalk {
namespace {

std::vector<std::string> FileLines(const std::string& name) {
  std::ifstream in(std::string(CATALOG_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Midnight (UT) of 1 January as a Julian day, from the almanac.
constexpr double kJan1991 = 2448257.5, kJan2003 = 2452640.5, kJan2005 = 2453371.5,
                 kJan2017 = 2457754.5;

double At(double yearStart, int dayOfYear, int hhmm) {
  return yearStart + (dayOfYear - 1) + (hhmm / 100 * 60 + hhmm % 100) / 1440.0;
}

struct NoaaCase {
  const char* file;
  int line;        // 1-based line of the excerpt
  double jd;
  double latitude, longitude;  // longitude east positive
  double minutes;
  double area;     // < 0: an SXI area, checked separately
  const char* goesClass;
};

TEST(NoaaXrsTest, ReportLinesOfBothLayouts) {
  const NoaaCase cases[] = {
      // Qualifier letters E and D between the times; importance 1F.
      {"goes-xrs-report_1991-excerpt.txt", 1, At(kJan1991, 1, 1249), 13, 32, 59, 350, "C5.0"},
      {"goes-xrs-report_1991-excerpt.txt", 2, At(kJan1991, 1, 2118), -22, -85, 16, 100, "C2.5"},
      // "U" before the location.
      {"goes-xrs-report_1991-excerpt.txt", 4, At(kJan1991, 2, 2053), -11, 3, 12, 100, "C1.3"},
      // Importance 2N; positions beyond the limb (W92) stay as given.
      {"goes-xrs-report_1991-excerpt.txt", 6, At(kJan1991, 18, 1530), 15, -88, 29, 850, "C5.9"},
      {"goes-xrs-report_1991-excerpt.txt", 7, At(kJan1991, 35, 1551), -15, -92, 72, 350, "M1.2"},
      {"goes-xrs-report_1991-excerpt.txt", 8, At(kJan1991, 39, 1615), -12, -90, 7, 100, "M7.2"},
      // End hour 24: after midnight; the last line has no line end.
      {"goes-xrs-report_1991-excerpt.txt", 13, At(kJan1991, 365, 2351), -12, -17, 13, 100, "C7.0"},
      {"goes-xrs-report_2003-excerpt.txt", 1, At(kJan2003, 1, 749), 19, -22, 10, 100, "B3.3"},
      // Three-digit class numbers: X17.2 and X28.
      {"goes-xrs-report_2003-excerpt.txt", 6, At(kJan2003, 301, 951), -16, 8, 93, 2400, "X17.2"},
      {"goes-xrs-report_2003-excerpt.txt", 7, At(kJan2003, 308, 1929), -19, -83, 37, 1800, "X28.0"},
      // The revised layout: "SXI" and the SXI area; an end before the start.
      {"goes-xrs-report_2005-excerpt.txt", 1, At(kJan2005, 1, 1), 6, 34, 38, -2.1e4, "X1.7"},
      {"goes-xrs-report_2005-excerpt.txt", 3, At(kJan2005, 1, 1918), 44, 90, 9, 0, "B2.5"},
      {"goes-xrs-report_2005-excerpt.txt", 4, At(kJan2005, 1, 2358), 9, -80, 7, -4.0e2, "B3.2"},
      {"goes-xrs-report_2017-excerpt.txt", 2, At(kJan2017, 10, 1510), 16, -81, 7, 0, "B3.9"},
  };
  for (const NoaaCase& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ":" + std::to_string(c.line));
    const std::vector<std::string> lines = FileLines(c.file);
    ASSERT_GE(lines.size(), static_cast<std::size_t>(c.line));
    const ParsedRow row = ParseNoaaXrsLine(lines[c.line - 1]);
    ASSERT_TRUE(row.flare) << row.rejection.detail;
    const CatalogFlare& f = *row.flare;
    EXPECT_NEAR(f.jd, c.jd, 1e-9);
    EXPECT_TRUE(f.hasPosition);
    EXPECT_EQ(f.latitude, c.latitude);
    EXPECT_EQ(f.longitude, c.longitude);
    EXPECT_EQ(f.durationMinutes, c.minutes);
    EXPECT_EQ(f.area, c.area < 0 ? SxiAreaToMillionths(-c.area, f.jd) : c.area);
    ASSERT_TRUE(f.goesClass);
    EXPECT_EQ(FormatGoesClass(*f.goesClass), c.goesClass);
  }
}

TEST(NoaaXrsTest, EventsWithoutLocationAndDayRollovers) {
  struct Case {
    const char* file;
    int line;
    double jd, minutes;
  };
  const Case cases[] = {
      {"goes-xrs-report_1991-excerpt.txt", 5, At(kJan1991, 16, 2345), 31},   // end "2416"
      {"goes-xrs-report_1991-excerpt.txt", 9, At(kJan1991, 43, 452), 31},    // record type 33
      {"goes-xrs-report_1991-excerpt.txt", 11, At(kJan1991, 63, 2359), 29},  // end "0028"
      {"goes-xrs-report_2003-excerpt.txt", 4, At(kJan2003, 239, 1609), 30},  // qualifiers "A"
      {"goes-xrs-report_2005-excerpt.txt", 6, At(kJan2005, 149, 2235), 83},  // line ends at col 71
      {"goes-xrs-report_2017-excerpt.txt", 3, At(kJan2017, 61, 2312), 56},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ":" + std::to_string(c.line));
    const ParsedRow row = ParseNoaaXrsLine(FileLines(c.file).at(c.line - 1));
    ASSERT_TRUE(row.flare) << row.rejection.detail;
    EXPECT_FALSE(row.flare->hasPosition);
    EXPECT_NEAR(row.flare->jd, c.jd, 1e-9);
    EXPECT_EQ(row.flare->durationMinutes, c.minutes);
  }
}

// A real line with columns `first`.. replaced by `text`.
std::string Damaged(std::string line, std::size_t first, const std::string& text) {
  line.replace(first - 1, text.size(), text);
  return line;
}

TEST(NoaaXrsTest, DamagedLinesAreRejectedNamingTheField) {
  const std::string old = FileLines("goes-xrs-report_1991-excerpt.txt").at(0);
  const std::string sxi = FileLines("goes-xrs-report_2005-excerpt.txt").at(0);
  struct Case {
    std::string line;
    RejectReason reason;
    const char* field;  // the start of the detail
  };
  const Case cases[] = {
      {Damaged(old, 1, "3x"), RejectReason::Unreadable, "record"},
      {Damaged(old, 6, "91013A"), RejectReason::Unreadable, "date"},
      {Damaged(old, 6, "910231"), RejectReason::Unreadable, "date"},
      {Damaged(old, 14, "12x9"), RejectReason::Unreadable, "start time"},
      {Damaged(old, 14, "2405"), RejectReason::Unreadable, "start time"},
      {Damaged(old, 19, "1360"), RejectReason::Unreadable, "end time"},
      {Damaged(old, 29, "N13X32"), RejectReason::Unreadable, "location"},
      {Damaged(old, 29, "N93E32"), RejectReason::Unreadable, "location"},
      {Damaged(old, 29, "N1 E32"), RejectReason::Unreadable, "location"},
      {Damaged(old, 35, "7"), RejectReason::Unreadable, "optical importance"},
      {Damaged(old, 60, "Q"), RejectReason::Unreadable, "class"},
      {Damaged(old, 61, " 5x"), RejectReason::Unreadable, "class"},
      {Damaged(old, 61, "  0"), RejectReason::Unreadable, "class"},
      {Damaged(sxi, 96, "2.1Ex04"), RejectReason::Unreadable, "SXI area"},
      {old.substr(0, 20), RejectReason::Unreadable, "end time"},
      {"Solar flare report 1991\r", RejectReason::Unreadable, "record"},
      {"   \r", RejectReason::Blank, ""},
      {"", RejectReason::Blank, ""},
      {"\x1a", RejectReason::EndOfFileMark, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ParsedRow row = ParseNoaaXrsLine(c.line);
    ASSERT_FALSE(row.flare);
    EXPECT_EQ(row.rejection.reason, c.reason);
    EXPECT_EQ(row.rejection.detail.rfind(c.field, 0), 0u) << row.rejection.detail;
  }
  // The undamaged lines read, and a blank class is no class, not an error.
  EXPECT_TRUE(ParseNoaaXrsLine(old).flare);
  const ParsedRow noClass = ParseNoaaXrsLine(Damaged(old, 60, "    "));
  ASSERT_TRUE(noClass.flare);
  EXPECT_FALSE(noClass.flare->goesClass);
}

TEST(CsvCatalogTest, SplitsQuotedFields) {
  std::vector<std::string> fields;
  ASSERT_TRUE(SplitCsvLine("a,\"b,c\",\"say \"\"hi\"\"\",,", fields));
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "b,c", "say \"hi\"", "", ""}));
  EXPECT_FALSE(SplitCsvLine("a,\"b", fields));
}

TEST(CsvCatalogTest, GoesListQuirks) {
  const std::vector<std::string> lines = FileLines("final_flare_list_sc24-excerpt.csv");
  const CsvCatalog catalog(CsvLayout::GoesCsv, lines.at(0));
  struct Case {
    int line;
    bool position;
    double jd, lat, lon, minutes;
    const char* goesClass;
  };
  const double jan2010 = 2455197.5;
  const Case cases[] = {
      // Row index first; hgs_lon 41 (west) is -41 in a flare file.
      {2, true, At(jan2010, 2, 709), -26, -41, 31, "C1.0"},
      {3, true, At(jan2010, 2, 1408), -28, -40, 16, "C2.6"},  // blank noaa_ar
      {5, false, At(jan2010, 21, 116), 0, 0, 8, "C4.9"},
      // Ends stamped with the start's date: 23:35 to "00:23", 23:02 to "01:07".
      {6, true, At(jan2010, 72, 2335), 13, 15, 48, "C1.5"},
      {9, true, At(jan2010, 365 + 47, 2302), -20, -35, 125, "C2.8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ParsedRow row = catalog.ParseRow(lines.at(c.line - 1));
    ASSERT_TRUE(row.flare) << row.rejection.detail;
    EXPECT_EQ(row.flare->hasPosition, c.position);
    EXPECT_NEAR(row.flare->jd, c.jd, 1e-9);
    EXPECT_EQ(row.flare->latitude, c.lat);
    EXPECT_EQ(row.flare->longitude, c.lon);
    EXPECT_EQ(row.flare->durationMinutes, c.minutes);
    EXPECT_EQ(FormatGoesClass(*row.flare->goesClass), c.goesClass);
  }
  const std::string good = lines.at(1);
  struct Bad {
    std::string line;
    RejectReason reason;
  };
  const Bad bad[] = {
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00", RejectReason::Unreadable},
      {good.substr(0, good.find(",2010")) + ",2010-01-02 7:09:00" + good.substr(good.find(",2010") + 20),
       RejectReason::Unreadable},
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00,2010-01-01 07:40:00,C,C1.0,1e-06,1.2E-03,11039,S26W41,"
       "-26.0,41.0,577.1,-391.8",
       RejectReason::EndBeforeStart},  // a different date: not the quirk
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00,2010-01-02 07:40:00,C,C1.0,1e-06,1.2E-03,11039,S26W41,"
       "-96.0,41.0,577.1,-391.8",
       RejectReason::Unreadable},  // latitude beyond the pole
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00,2010-01-02 07:40:00,C,C1.0,1e-06,1.2E-03,11039,S26W41,"
       "-26.0,,577.1,-391.8",
       RejectReason::Unreadable},  // half a position
      {"0,2010-01-02 07:09:00,2010-01-02 07:24:00,2010-01-02 07:40:00,C,Z1.0,1e-06,1.2E-03,11039,S26W41,"
       "-26.0,41.0,577.1,-391.8",
       RejectReason::Unreadable},
      {" \r", RejectReason::Blank},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.line);
    const ParsedRow row = catalog.ParseRow(b.line);
    ASSERT_FALSE(row.flare);
    EXPECT_EQ(row.rejection.reason, b.reason);
  }
}

TEST(CsvCatalogTest, HekColumnsInAnyOrder) {
  const std::vector<std::string> lines = FileLines("hek-excerpt.csv");
  const CsvCatalog catalog(CsvLayout::Hek, lines.at(0));
  EXPECT_TRUE(catalog.HasSourceColumn());
  const ParsedRow first = catalog.ParseRow(lines.at(1));
  ASSERT_TRUE(first.flare);
  EXPECT_NEAR(first.flare->jd, At(2455197.5, 2, 709), 1e-9);
  EXPECT_EQ(first.flare->latitude, -26);
  EXPECT_EQ(first.flare->longitude, -41);  // hgs_x 41 west
  EXPECT_EQ(first.flare->durationMinutes, 31);
  EXPECT_EQ(first.flare->source, "SWPC");
  const ParsedRow quoted = catalog.ParseRow(lines.at(2));
  ASSERT_TRUE(quoted.flare);
  EXPECT_EQ(quoted.flare->source, "SSW Latest Events, LMSAL");
  // HEK times carry their dates: an end before the start is an error.
  const ParsedRow backwards = catalog.ParseRow(lines.at(5));
  ASSERT_FALSE(backwards.flare);
  EXPECT_EQ(backwards.rejection.reason, RejectReason::EndBeforeStart);
}

TEST(CsvCatalogTest, HeaderWithoutTheNeededColumns) {
  struct Case {
    CsvLayout layout;
    const char* header;
    const char* missing;
  };
  const Case cases[] = {
      {CsvLayout::Hek, "event_starttime,event_endtime,hgs_lat,hgs_lon", "hgs_x, hgs_y"},
      {CsvLayout::GoesCsv, "event_starttime,hgs_lat,hgs_lon", "event_endtime"},
      {CsvLayout::GoesCsv, "", "event_starttime, event_endtime, hgs_lon, hgs_lat"},
  };
  for (const Case& c : cases) {
    try {
      CsvCatalog catalog(c.layout, c.header);
      ADD_FAILURE() << c.header;
    } catch (const CatalogError& error) {
      EXPECT_NE(std::string(error.what()).find(c.missing), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace barywalk
