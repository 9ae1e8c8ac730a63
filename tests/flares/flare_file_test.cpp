// Reading flare files and streams. (Loading through the dialog, with the
// same file twice, indices across files and a missing file, is tested with
// the dialog.)
#include <climits>
#include <cmath>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flares/flare_file.h"

namespace barywalk {
namespace {

struct StreamRead {
  FlareMap flares;
  FlareStreamResult result;
  int runningIndex = 0;
};

StreamRead ReadText(const std::string& text, int startIndex = 0) {
  StreamRead read;
  read.runningIndex = startIndex;
  std::istringstream in(text);
  read.result = ReadFlareStream(in, read.flares, read.runningIndex);
  return read;
}

std::vector<int> IndicesInKeyOrder(const FlareMap& flares) {
  std::vector<int> indices;
  for (const auto& entry : flares) indices.push_back(entry.second.Index());
  return indices;
}

TEST(FlareStreamTest, DataLineFieldsBecomeTheRecord) {
  const StreamRead read = ReadText("header\n2455000.5 -12.5 30 90 250\n");
  ASSERT_EQ(read.flares.size(), 1u);
  const auto& [key, flare] = *read.flares.begin();
  EXPECT_EQ(key, 2455000.5);
  EXPECT_EQ(flare.Latitude(), -12.5);
  EXPECT_EQ(flare.Longitude(), 30.0);
  EXPECT_DOUBLE_EQ(flare.Duration(), 90.0 / 1440.0);
  EXPECT_EQ(flare.Area(), 250.0);
  EXPECT_EQ(flare.Index(), 1);
  EXPECT_EQ(read.result.incompleteLines, 0);
}

TEST(FlareStreamTest, HeaderOnlyAndLineEndsLfOrCrLf) {
  struct Case {
    const char* text;
    int flares, incomplete;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"JD lat lon duration area", 0, 0},
      {"JD lat lon duration area\n", 0, 0},
      {"h\n1 2 3 4 5\n6 7 8 9 10", 2, 0},  // the last line needs no line end
      {"h\n1 2 3 4 5\n", 1, 0},            // one line end after it adds nothing,
      {"h\n1 2 3 4 5\n\n", 2, 1},          // an empty last line is a data line
      {"h\r\n10 1 2 3 4\r\n20 5 6 7 8\r\n", 2, 0},
      {"h\r\n10 1 2 3 4\r\n\r\n", 2, 1},
      {"h\r10 1 2 3 4\r20 5 6 7 8\r", 2, 0},  // old Mac files: CR alone
      {"h\r10 1 2 3 4\r\r", 2, 1},
      {"h\r\n10 1 2 3 4\r20 5 6 7 8\n30 1 2 3 4", 3, 0},
  };
  for (const Case& c : cases) {
    const StreamRead read = ReadText(c.text);
    EXPECT_EQ(read.result.status, FlareReadStatus::Ok);
    EXPECT_EQ(read.result.flareCount, c.flares) << c.text;
    EXPECT_EQ(read.result.incompleteLines, c.incomplete) << c.text;
    EXPECT_EQ(static_cast<int>(read.flares.size()), c.flares) << c.text;
    EXPECT_EQ(read.runningIndex, c.flares) << c.text;
  }
}

// Fields 6 and 7 for the commands; the dialog's reader leaves them 0.
TEST(FlareStreamTest, ClassAndRegionAfterTheFiveFields) {
  struct Case {
    const char* line;
    double flux;
    int region;
    int invalid;
  };
  const Case cases[] = {
      {"1 2 3 4 5 1.2e-05 11039", 1.2e-5, 11039, 0},
      {"1 2 3 4 5 2.6e-06 0", 2.6e-6, 0, 0},
      {"1 2 3 4 5", 0, 0, 0},                  // an older file
      {"1 2 3 4 5 M1.2 11039", 0, 0, 0},       // words after five numbers: ignored
      {"1 2 3 4 5 1e-6 AR11039", 1e-6, 0, 0},
      {"1 2 3 4 5 -1e-6 11039", 0, 11039, 1},  // no flux
      {"1 2 3 4 5 1e-6 110.5", 1e-6, 0, 1},    // no region
      {"1 2 3 4 5 1e-6 3e9", 1e-6, 0, 1},
      {"1 2 x 4 5 1e-6 11039", 0, 0, 0},       // an incomplete line keeps none
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    for (const FlareColumns columns : {FlareColumns::Five, FlareColumns::WithClassAndRegion}) {
      const bool all = columns == FlareColumns::WithClassAndRegion;
      FlareMap flares;
      int index = 0;
      std::istringstream in(std::string("h\n") + c.line + "\n");
      FlareReadOptions options;
      options.columns = columns;
      const FlareStreamResult result = ReadFlareStream(in, flares, index, options);
      ASSERT_EQ(flares.size(), 1u);
      EXPECT_EQ(flares.begin()->second.Flux(), all ? c.flux : 0.0);
      EXPECT_EQ(flares.begin()->second.Region(), all ? c.region : 0);
      EXPECT_EQ(result.invalidClassOrRegion, all ? c.invalid : 0);
    }
  }
}

TEST(FlareStreamTest, EqualTimesKeepReadingOrderAndIndicesGoOnFromTheCallers) {
  const StreamRead read = ReadText("h\n100 1 0 0 0\n100 2 0 0 0\n50 3 0 0 0\n100 4 0 0 0\n", 10);
  EXPECT_EQ(IndicesInKeyOrder(read.flares), (std::vector<int>{13, 11, 12, 14}));
  EXPECT_EQ(read.runningIndex, 14);
}

TEST(FlareStreamTest, LongLinesAreReadInFullAndNothingAfterThemIsLost) {
  const std::string longHeader(10000, 'H');
  const std::string padded = "7" + std::string(10000, ' ') + "1 2 3 4";
  const std::string longNumber = "0." + std::string(10000, '0') + "1e10001 0 0 0 0";
  const std::string trailingText = "8 1 2 3 4 " + std::string(10000, 'x');
  const StreamRead read = ReadText(longHeader + "\n" + padded + "\n" + longNumber + "\n" +
                                   trailingText + "\n9 0 0 0 0\n");
  EXPECT_EQ(read.result.flareCount, 4);
  EXPECT_EQ(read.result.incompleteLines, 0);
  EXPECT_EQ(read.flares.find(7.0)->second.Area(), 4.0);
  EXPECT_NEAR(read.flares.begin()->first, 1.0, 1e-12);  // the 10,000-digit number
  EXPECT_EQ(read.flares.find(8.0)->second.Area(), 4.0);
  EXPECT_EQ(read.flares.count(9.0), 1u);
}

// A line beyond the limit stops the file with its line number, without
// holding the line; the lines before it stay.
TEST(FlareStreamTest, OverlongLineStopsTheFileAndSaysWhere) {
  std::string longest = "1 0 0 0 0";
  longest.resize(kMaxFlareLineLength, ' ');
  const StreamRead read =
      ReadText("h\n" + longest + "\n" + std::string(5'000'000, ',') + "\n3 0 0 0 0\n");
  EXPECT_EQ(read.result.status, FlareReadStatus::LineTooLong);
  EXPECT_EQ(read.result.stopLine, 3);
  EXPECT_EQ(read.result.flareCount, 1);
  EXPECT_EQ(read.flares.size(), 1u);
}

// Readable words are finite decimal numbers; reading stops at the first
// other word and the fields from there on are 0.
TEST(FlareLineTest, ReadableFieldsUpToTheFirstUnreadableWord) {
  struct Case {
    std::string line;
    std::vector<double> readable;
  };
  const std::vector<Case> cases = {
      {"+5 -3 +0.5e1 .5 5.", {5, -3, 5, 0.5, 5}},
      {" \t1E-3\v\f2\r", {0.001, 2}},
      {"1 2 3 4 5 six 7", {1, 2, 3, 4, 5}},
      {"", {}},
      {"1,5 2 3 4 5", {}},  // no decimal comma
      {"1.5abc 2 3 4 5", {}},
      {"1 nan 3 4 5", {1}},
      {"1 2 inf 4 5", {1, 2}},
      {"1e999 2 3 4 5", {}},  // beyond the double range
      {"1 -1e-999 3 4 5", {1}},
      {"0x10 2 3 4 5", {}},
      {std::string("1 2\0 3 4 5", 10), {1}},
  };
  for (const Case& c : cases) {
    double f[kFlareFieldCount];
    std::vector<double> expected = c.readable;
    expected.resize(kFlareFieldCount, 0.0);
    EXPECT_EQ(ParseFlareLine(c.line, f), static_cast<int>(c.readable.size())) << c.line;
    EXPECT_EQ(std::vector<double>(f, f + kFlareFieldCount), expected) << c.line;
  }
}

TEST(FlareStreamTest, MalformedLinesStillAddOneRecordEach) {
  const char text[] = "h\ngarbage\n\nnan 4 5 6 7\n1 2\n\0\0\xff\n3 1 2 3 4\n";
  const StreamRead read = ReadText(std::string(text, sizeof text - 1));
  EXPECT_EQ(read.result.flareCount, 6);
  EXPECT_EQ(read.result.incompleteLines, 5);
  EXPECT_EQ(read.flares.size(), 6u);
  EXPECT_EQ(read.runningIndex, 6);
  // Unreadable keys become 0: every key is finite, so the order is sound.
  EXPECT_EQ(read.flares.count(0.0), 4u);
  EXPECT_EQ(read.flares.find(1.0)->second.Latitude(), 2.0);
}

TEST(FlareStreamTest, DecimalPointIsAPointUnderACommaLocale) {
  struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const StreamRead read = ReadText("h\n1.5 2,5 3 4 5\n");  // the stream takes the locale
  std::locale::global(previous);
  EXPECT_EQ(read.flares.begin()->first, 1.5);
  EXPECT_EQ(read.result.incompleteLines, 1);
}

TEST(FlareStreamTest, StopsWhenTheIndexRangeIsUsedUp) {
  const StreamRead read = ReadText("h\n1 0 0 0 0\n2 0 0 0 0\n3 0 0 0 0\n", INT_MAX - 1);
  EXPECT_EQ(read.result.status, FlareReadStatus::IndexExhausted);
  EXPECT_EQ(read.result.flareCount, 1);
  EXPECT_EQ(IndicesInKeyOrder(read.flares), (std::vector<int>{INT_MAX}));
}

// The sample data read twice around a directory and a missing file.
TEST(FlareFilesTest, SampleFileTwiceAroundUnreadablePaths) {
  FlareMap flares;
  const auto reports = LoadFlareFiles(
      {FLARE_SAMPLE_FILE, "/tmp", "/nonexistent-dir/missing.flr", FLARE_SAMPLE_FILE}, flares);
  ASSERT_EQ(reports.size(), 4u);
  for (int i : {0, 3}) {
    EXPECT_EQ(reports[i].displayName, "flares-2010-2018.flr");
    EXPECT_EQ(reports[i].result.status, FlareReadStatus::Ok);
    EXPECT_EQ(reports[i].result.flareCount, 8302);
    EXPECT_EQ(reports[i].result.incompleteLines, 0);
  }
  // A directory is a failure with its reason, never an empty file.
  EXPECT_NE(reports[1].result.status, FlareReadStatus::Ok);
  EXPECT_FALSE(reports[1].error.empty());
  EXPECT_EQ(reports[2].displayName, "missing.flr");
  EXPECT_EQ(reports[2].result.status, FlareReadStatus::NotOpened);
  EXPECT_EQ(reports[2].error, "No such file or directory");
  // The first flare twice: the second reading numbers on.
  EXPECT_EQ(flares.begin()->second.Index(), 1);
  EXPECT_EQ(std::next(flares.begin())->second.Index(), 8303);
  // 2010-01-01 to 2018-12-31, UT.
  EXPECT_GE(flares.begin()->first, 2455197.5);
  EXPECT_LT(flares.rbegin()->first, 2458484.5);
  for (const auto& entry : flares) {
    ASSERT_LE(std::abs(entry.second.Latitude()), 90.0);
    ASSERT_GT(entry.second.Duration(), 0.0);
    ASSERT_EQ(entry.second.Area(), 0.0);
  }
}

}  // namespace
}  // namespace barywalk
