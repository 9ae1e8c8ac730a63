// Reading flare files and streams.
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

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

// A temporary flare file, removed at the end of the test.
class TempFlareFile {
 public:
  TempFlareFile(const std::string& name, const std::string& content) {
    char dir[] = "/tmp/flare_file_testXXXXXX";
    dir_ = mkdtemp(dir);
    path_ = dir_ + "/" + name;
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFlareFile() {
    std::remove(path_.c_str());
    rmdir(dir_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string dir_;
  std::string path_;
};

TEST(FlareStreamTest, HeaderOnlyOrEmptyStreamAddsNothing) {
  for (const char* text : {"JD lat lon duration area\n", "JD lat lon duration area", ""}) {
    const StreamRead read = ReadText(text);
    EXPECT_EQ(read.result.flareCount, 0) << text;
    EXPECT_TRUE(read.flares.empty()) << text;
    EXPECT_EQ(read.result.status, FlareReadStatus::Ok);
    EXPECT_EQ(read.runningIndex, 0);
  }
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

TEST(FlareStreamTest, LineEndsAtTheEndOfTheText) {
  // The last line needs no line end.
  EXPECT_EQ(ReadText("h\n1 2 3 4 5\n6 7 8 9 10").result.flareCount, 2);
  // A single line end after the last line adds nothing ...
  EXPECT_EQ(ReadText("h\n1 2 3 4 5\n").result.flareCount, 1);
  // ... two in a row leave an empty last line, which is a data line.
  const StreamRead read = ReadText("h\n1 2 3 4 5\n\n");
  EXPECT_EQ(read.result.flareCount, 2);
  EXPECT_EQ(read.result.incompleteLines, 1);
  EXPECT_EQ(read.flares.count(0.0), 1u);
}

TEST(FlareStreamTest, CrLfLinesReadLikeLfLines) {
  const StreamRead read = ReadText("header\r\n10 1 2 3 4\r\n20 5 6 7 8\r\n");
  EXPECT_EQ(read.result.flareCount, 2);
  EXPECT_EQ(read.result.incompleteLines, 0);
  EXPECT_EQ(read.flares.rbegin()->second.Area(), 8.0);

  const StreamRead withEmptyLast = ReadText("header\r\n10 1 2 3 4\r\n\r\n");
  EXPECT_EQ(withEmptyLast.result.flareCount, 2);
  EXPECT_EQ(withEmptyLast.result.incompleteLines, 1);
}

TEST(FlareStreamTest, EqualTimesStayInReadingOrder) {
  const StreamRead read = ReadText(
      "h\n"
      "100 1 0 0 0\n"
      "100 2 0 0 0\n"
      "50 3 0 0 0\n"
      "100 4 0 0 0\n");
  EXPECT_EQ(IndicesInKeyOrder(read.flares), (std::vector<int>{3, 1, 2, 4}));
  std::vector<double> latitudes;
  const auto range = read.flares.equal_range(100.0);
  for (auto it = range.first; it != range.second; ++it) latitudes.push_back(it->second.Latitude());
  EXPECT_EQ(latitudes, (std::vector<double>{1, 2, 4}));
}

TEST(FlareStreamTest, RunningIndexGoesOnFromTheCallersValue) {
  const StreamRead read = ReadText("h\n1 0 0 0 0\n2 0 0 0 0\n", 10);
  EXPECT_EQ(IndicesInKeyOrder(read.flares), (std::vector<int>{11, 12}));
  EXPECT_EQ(read.runningIndex, 12);
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

TEST(FlareLineTest, ReadableWordsAreFiniteDecimalNumbers) {
  double f[kFlareFieldCount];
  EXPECT_EQ(ParseFlareLine("+5 -3 +0.5e1 .5 5.", f), 5);
  EXPECT_EQ(f[0], 5.0);
  EXPECT_EQ(f[1], -3.0);
  EXPECT_EQ(f[2], 5.0);
  EXPECT_EQ(f[3], 0.5);
  EXPECT_EQ(f[4], 5.0);
  EXPECT_EQ(ParseFlareLine(" \t1E-3\v\f2\r", f), 2);
  EXPECT_EQ(f[0], 0.001);
  EXPECT_EQ(f[1], 2.0);
  EXPECT_EQ(f[2], 0.0);
}

TEST(FlareLineTest, ReadingStopsAtTheFirstUnreadableWordAndTheRestIsZero) {
  struct Case {
    std::string line;
    int readable;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"   ", 0},
      {"abc 1 2 3 4", 0},
      {"1 2 x 4 5", 2},
      {"1 2", 2},
      {"1,5 2 3 4 5", 0},    // no decimal comma
      {"1.5abc 2 3 4 5", 0},
      {"1 nan 3 4 5", 1},
      {"1 2 inf 4 5", 2},
      {"1 2 3 -infinity 5", 3},
      {"1e999 2 3 4 5", 0},  // beyond the double range
      {"1 -1e-999 3 4 5", 1},
      {"0x10 2 3 4 5", 0},
      {"+-5 2 3 4 5", 0},
      {"1e 2 3 4 5", 0},
      {std::string("1 2\0 3 4 5", 10), 1},
      {"1 2 3 4 5 six 7", 5},
  };
  for (const Case& c : cases) {
    double f[kFlareFieldCount];
    EXPECT_EQ(ParseFlareLine(c.line, f), c.readable) << c.line;
    for (int i = c.readable; i < kFlareFieldCount; ++i) EXPECT_EQ(f[i], 0.0) << c.line;
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
  const SolarFlare& partial = read.flares.find(1.0)->second;
  EXPECT_EQ(partial.Latitude(), 2.0);
  EXPECT_EQ(partial.Longitude(), 0.0);
  EXPECT_EQ(partial.Duration(), 0.0);
  EXPECT_EQ(partial.Area(), 0.0);
}

TEST(FlareStreamTest, DecimalPointIsAlwaysAPoint) {
  struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale comma(std::locale::classic(), new CommaDecimal);
  const std::locale previous = std::locale::global(comma);
  std::istringstream in("h\n1.5 2,5 3 4 5\n");
  in.imbue(comma);
  FlareMap flares;
  int index = 0;
  const FlareStreamResult result = ReadFlareStream(in, flares, index);
  std::locale::global(previous);
  EXPECT_EQ(flares.begin()->first, 1.5);
  EXPECT_EQ(result.incompleteLines, 1);
}

TEST(FlareStreamTest, StopsWhenTheIndexRangeIsUsedUp) {
  const StreamRead read = ReadText("h\n1 0 0 0 0\n2 0 0 0 0\n3 0 0 0 0\n", INT_MAX - 1);
  EXPECT_EQ(read.result.status, FlareReadStatus::IndexExhausted);
  EXPECT_EQ(read.result.flareCount, 1);
  EXPECT_EQ(IndicesInKeyOrder(read.flares), (std::vector<int>{INT_MAX}));
}

TEST(FlareFilesTest, IndicesRunOnAcrossFilesAndTheSameFileTwice) {
  TempFlareFile three("three.flr", "h\n1 0 0 0 0\n2 0 0 0 0\n3 0 0 0 0\n");
  TempFlareFile four("four.flr", "h\n10 0 0 0 0\n20 0 0 0 0\n30 0 0 0 0\n40 0 0 0 0");
  FlareMap flares;
  const auto reports = LoadFlareFiles({three.path(), four.path(), three.path()}, flares);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].displayName, "three.flr");
  EXPECT_EQ(reports[1].displayName, "four.flr");
  EXPECT_EQ(reports[0].result.flareCount, 3);
  EXPECT_EQ(reports[1].result.flareCount, 4);
  EXPECT_EQ(reports[2].result.flareCount, 3);
  EXPECT_EQ(flares.size(), 10u);
  EXPECT_EQ(flares.find(10.0)->second.Index(), 4);
  EXPECT_EQ(flares.find(40.0)->second.Index(), 7);
  // The second reading of the same file gets new indices after the first.
  const auto ones = flares.equal_range(1.0);
  ASSERT_EQ(std::distance(ones.first, ones.second), 2);
  EXPECT_EQ(ones.first->second.Index(), 1);
  EXPECT_EQ(std::next(ones.first)->second.Index(), 8);
}

TEST(FlareFilesTest, UnreadableFileAmongReadableOnes) {
  TempFlareFile first("a.flr", "h\n1 0 0 0 0\n");
  TempFlareFile second("b.flr", "h\n2 0 0 0 0\n");
  FlareMap flares;
  const auto reports =
      LoadFlareFiles({first.path(), "/nonexistent-dir/missing.flr", second.path()}, flares);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_TRUE(reports[0].opened);
  EXPECT_FALSE(reports[1].opened);
  EXPECT_EQ(reports[1].displayName, "missing.flr");
  EXPECT_EQ(reports[1].result.flareCount, 0);
  EXPECT_EQ(reports[1].result.status, FlareReadStatus::NotOpened);
  EXPECT_EQ(reports[1].error, "No such file or directory");
  EXPECT_TRUE(reports[2].opened);
  EXPECT_EQ(flares.find(2.0)->second.Index(), 2);
}

TEST(FlareFilesTest, DirectoryIsReportedNotReadAsEmpty) {
  FlareMap flares;
  const auto reports = LoadFlareFiles({"/tmp"}, flares);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].result.status, FlareReadStatus::Ok);
  EXPECT_FALSE(reports[0].error.empty());
}

TEST(FlareFilesTest, LoadingReplacesEarlierFlares) {
  TempFlareFile file("c.flr", "h\n5 0 0 0 0\n");
  FlareMap flares;
  flares.emplace(99.0, SolarFlare(0, 0, 0, 0, 1));
  LoadFlareFiles({file.path()}, flares);
  EXPECT_EQ(flares.size(), 1u);
  EXPECT_EQ(flares.begin()->first, 5.0);
  EXPECT_TRUE(LoadFlareFiles({}, flares).empty());
  EXPECT_TRUE(flares.empty());
}

TEST(FlareFilesTest, SampleFileLoadsCompletely) {
  FlareMap flares;
  const auto reports = LoadFlareFiles({FLARE_SAMPLE_FILE}, flares);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].displayName, "flares-2010-2018.flr");
  EXPECT_EQ(reports[0].result.status, FlareReadStatus::Ok);
  EXPECT_EQ(reports[0].result.flareCount, 8302);
  EXPECT_EQ(reports[0].result.incompleteLines, 0);
  // 2010-01-01 to 2018-12-31, UT.
  EXPECT_GE(flares.begin()->first, 2455197.5);
  EXPECT_LT(flares.rbegin()->first, 2458484.5);
  for (const auto& entry : flares) {
    ASSERT_LE(std::abs(entry.second.Latitude()), 90.0);
    ASSERT_GT(entry.second.Duration(), 0.0);
    ASSERT_EQ(entry.second.Area(), 0.0);
  }
}

TEST(FlareFilesTest, DisplayNameIsNameAndExtension) {
  EXPECT_EQ(FlareFileDisplayName("/data/sun/flares-2010.flr"), "flares-2010.flr");
  EXPECT_EQ(FlareFileDisplayName("plain.flr"), "plain.flr");
  EXPECT_EQ(FlareFileDisplayName("/data/"), "");
}

}  // namespace
}  // namespace barywalk
