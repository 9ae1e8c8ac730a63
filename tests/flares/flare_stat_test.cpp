// Flare measurements against the planets and the statistics file. (The
// dialog's tests cover recording from drawn frames and the messages for
// paths that cannot be opened.)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "flares/flare_stat.h"

namespace barywalk {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180.0;
const std::string kHeader =
    " JD test_angle[deg] Area flare_angle[rad] closest_planet closest_planet_angle[rad] Earth "
    "earth_angle Formatted_time[UTC]\n";

std::string Line(const FlareStat& stat) {
  std::ostringstream out;
  stat.Write(out);
  return out.str();
}

// 2009-06-17 18:00 UTC, `degrees` away from Mars.
FlareStat AtAngleFromPlanet(double degrees) {
  return FlareStat(2455000.25, 0, degrees * kDeg, "Mars", 0.0, 1.0);
}

TEST(FlareStatTest, TestAngleWrapsIntoZeroToPi) {
  for (const auto& [difference, wrapped] : {std::pair{359.0, 1.0}, {-359.0, 1.0}, {181.0, 179.0},
                                            {750.0, 30.0}, {0.0, 0.0}}) {
    EXPECT_NEAR(AtAngleFromPlanet(difference).TestAngle(), wrapped * kDeg, 1e-12) << difference;
  }
  // Huge differences end too (repeated subtraction would never finish).
  const double huge = FlareStat(0, 0, 1e300, "Mars", 0, 0).TestAngle();
  EXPECT_GE(huge, 0.0);
  EXPECT_LE(huge, kPi);
}

TEST(FlareStatTest, DataLineFormat) {
  const FlareStat stat(2455000.123456789, 123.456789012, 1.23456789012, "Jupiter", 1.0,
                       4.87654321098);
  EXPECT_EQ(Line(stat),
            " 2455000.1234568 13.43975 123.45679 1.2345679 Jupiter 1 Earth 4.8765432 "
            "2009-06-17 14:57:46\n");
  EXPECT_EQ(Line(FlareStat(2455000.25, 0, 0.5, "<none", 2 * kPi, 0)),
            " 2455000.25 28.64789 0 0.5 <none 6.2831853 Earth 0 2009-06-17 18:00:00\n");
  // A time beyond any calendar is not turned into a wrong date.
  EXPECT_EQ(Line(FlareStat(1e300, 0, 0.5, "Mars", 0.5, 0)),
            " 1e+300 0 0 0.5 Mars 0.5 Earth 0 ? ?  **********\n");
}

TEST(FlareStatTest, AsteriskMarkerBelowFiveDegrees) {
  for (const auto& [degrees, marker] :
       {std::pair{0.0, "  **********"}, {0.5, "  *********"}, {4.99, "  *****"}, {5.0, ""},
        {90.0, ""}}) {
    const std::string end = std::string(" 18:00:00") + marker + "\n";
    const std::string line = Line(AtAngleFromPlanet(degrees));
    EXPECT_EQ(line.substr(line.size() - std::min(line.size(), end.size())), end) << degrees;
  }
}

TEST(FlareStatTest, KeepCloserTakesOnlyStrictlyNearerRecords) {
  FlareStat stored(1.0, 10, 0.25, "Mars", 0.0, 2.0);
  // Farther, equally far, and NaN away from their planets.
  for (double distance : {0.5, 0.25, std::nan("")}) {
    stored.KeepCloser(FlareStat(2.0, 20, 1.0 + distance, "Venus", 1.0, 3.0));
    EXPECT_EQ(stored.Jd(), 1.0) << distance;
  }
  stored.KeepCloser(FlareStat(5.0, 50, 0.1, "Saturn", 0.15, 6.0));  // nearer
  EXPECT_EQ(Line(stored), Line(FlareStat(5.0, 50, 0.1, "Saturn", 0.15, 6.0)));
}

TEST(RecordFlareStatTest, NearestPlanetByWrappedDistanceTiesToTheFirstName) {
  FlareStatMap stats;
  // Mars lies 0.13 rad away across 0; by plain difference Earth would win.
  RecordFlareStat(stats, {{"Earth", 1.0}, {"Mars", 6.2}, {"Venus", 3.0}},
                  SolarFlare(0, 0, 0, 42, 7), 2455000.5, 0.05);
  EXPECT_EQ(stats.at(7).ClosestPlanet(), "Mars");
  EXPECT_EQ(stats.at(7).ClosestPlanetAngle(), 6.2);
  // Venus and Earth equally near: Earth comes first by name.
  RecordFlareStat(stats, {{"Venus", 2.0}, {"Earth", 2.0}, {"Mars", 0.0}},
                  SolarFlare(0, 0, 0, 0, 1), 0, 2.0);
  EXPECT_EQ(stats.at(1).ClosestPlanet(), "Earth");
  // Without planets the record says so.
  RecordFlareStat(stats, {}, SolarFlare(0, 0, 0, 0, 2), 0, 1.0);
  EXPECT_EQ(stats.at(2).ClosestPlanet(), "<none");
  EXPECT_EQ(stats.at(2).ClosestPlanetAngle(), 6.283185307179586);
  EXPECT_EQ(stats.at(2).EarthAngle(), 0.0);  // no "Earth" entry
}

// The time field of a record at Julian day `jd`.
std::string TimeOf(double jd) {
  const std::string line = Line(FlareStat(jd, 0, 1, "Mars", 2, 0));
  return line.substr(line.size() - 20, 19);
}

// The time is UTC in any zone, also under summer time (as in Berlin and New
// York in June), in whole seconds of the instant rounded to milliseconds.
TEST(FlareStatTest, FormattedTimeIsUtcAlsoUnderDaylightSavingTime) {
  const char* old = std::getenv("TZ");
  const bool hadZone = old != nullptr;
  const std::string oldZone = hadZone ? old : "";
  const double midnight = 2455000.5;  // 2009-06-18 00:00 UTC
  const double second = 1.0 / 86400.0;
  for (const char* zone : {"Europe/Berlin", "America/New_York", "UTC"}) {
    setenv("TZ", zone, 1);
    tzset();
    EXPECT_EQ(TimeOf(midnight - 0.25), "2009-06-17 18:00:00") << zone;
    EXPECT_EQ(TimeOf(midnight - 0.0004 * second), "2009-06-18 00:00:00") << zone;
    EXPECT_EQ(TimeOf(midnight - 0.4 * second), "2009-06-17 23:59:59") << zone;
    EXPECT_EQ(TimeOf(midnight + (3600 * 12 + 34 * 60 + 56.4) * second), "2009-06-18 12:34:56");
  }
  hadZone ? setenv("TZ", oldZone.c_str(), 1) : unsetenv("TZ");
  tzset();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(StatsFileTest, HeaderThenRecordsInIndexOrderReplacingTheOldFile) {
  char dir[] = "/tmp/flare_stat_testXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = dir + std::string("/flare_stats.txt");
  std::ofstream(path) << "old content that is longer than the new one\n" << std::string(500, 'x');
  FlareStatMap stats;
  std::string error;
  EXPECT_TRUE(WriteFlareStatsFile(path, stats, error)) << error;
  const std::string headerOnly = ReadFile(path);
  stats.emplace(9, FlareStat(2455000.25, 0, 1.0, "Mars", 1.0, 2.0));
  stats.emplace(2, FlareStat(2455000.5, 0, 0.5, "Venus", 1.5, 2.0));
  EXPECT_TRUE(WriteFlareStatsFile(path, stats, error)) << error;
  const std::string withRecords = ReadFile(path);
  std::remove(path.c_str());
  rmdir(dir);
  EXPECT_EQ(headerOnly, kHeader);
  EXPECT_EQ(withRecords, kHeader + Line(stats.at(2)) + Line(stats.at(9)));
}

// The file is written beside and renamed: another name of the old file (a
// hard link, or a reader holding it open) keeps the old content whole.
TEST(StatsFileTest, OldFileIsReplacedNotOverwritten) {
  char dir[] = "/tmp/flare_stat_testXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = dir + std::string("/flare_stats.txt");
  const std::string other = dir + std::string("/other-name.txt");
  std::ofstream(path) << "old\n";
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  std::string error;
  EXPECT_TRUE(WriteFlareStatsFile(path, FlareStatMap(), error)) << error;
  EXPECT_EQ(ReadFile(path), kHeader);
  EXPECT_EQ(ReadFile(other), "old\n");
  std::remove(path.c_str());
  std::remove(other.c_str());
  rmdir(dir);
}

TEST(StatsFileTest, IncompleteWriteFailsWithTheReason) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  FlareStatMap stats;
  for (int i = 0; i < 1000; ++i) stats.emplace(i, FlareStat(i, 0, 1, "Mars", 1, 2));
  std::string error;
  EXPECT_FALSE(WriteFlareStatsFile("/dev/full", stats, error));
  EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}

}  // namespace
}  // namespace barywalk
