// Flare measurements against the planets and the statistics file.
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

// The marker after the time field: "" or two blanks and asterisks.
std::string Marker(const FlareStat& stat) {
  const std::string line = Line(stat);
  const std::size_t blanks = line.find("  ");
  return blanks == std::string::npos ? "" : line.substr(blanks + 2, line.size() - blanks - 3);
}

FlareStat AtAngleFromPlanet(double degrees) {
  return FlareStat(2455000.25, 0, degrees * kDeg, "Mars", 0.0, 1.0);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FlareStatTest, TestAngleWrapsIntoZeroToPi) {
  EXPECT_NEAR(AtAngleFromPlanet(359).TestAngle(), 1 * kDeg, 1e-12);
  EXPECT_NEAR(AtAngleFromPlanet(-359).TestAngle(), 1 * kDeg, 1e-12);
  EXPECT_NEAR(AtAngleFromPlanet(181).TestAngle(), 179 * kDeg, 1e-12);
  EXPECT_NEAR(AtAngleFromPlanet(720 + 30).TestAngle(), 30 * kDeg, 1e-12);
  EXPECT_EQ(AtAngleFromPlanet(0).TestAngle(), 0.0);
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
  EXPECT_EQ(Marker(AtAngleFromPlanet(0)), "**********");
  EXPECT_EQ(Marker(AtAngleFromPlanet(0.5)), "*********");
  EXPECT_EQ(Marker(AtAngleFromPlanet(4.99)), "*****");
  EXPECT_EQ(Marker(AtAngleFromPlanet(5.0)), "");
  EXPECT_EQ(Marker(AtAngleFromPlanet(90)), "");
  EXPECT_EQ(Line(AtAngleFromPlanet(0)).substr(Line(AtAngleFromPlanet(0)).size() - 21),
            "18:00:00  **********\n");
}

TEST(FlareStatTest, KeepCloserTakesOnlyStrictlyNearerRecords) {
  FlareStat stored(1.0, 10, 0.3, "Mars", 0.0, 2.0);
  stored.KeepCloser(FlareStat(2.0, 20, 0.5, "Venus", 0.0, 3.0));  // farther
  EXPECT_EQ(stored.Jd(), 1.0);
  stored.KeepCloser(FlareStat(3.0, 30, 1.3, "Venus", 1.0, 4.0));  // equal
  EXPECT_EQ(stored.Jd(), 1.0);
  stored.KeepCloser(FlareStat(4.0, 40, std::nan(""), "Venus", 1.0, 5.0));  // NaN
  EXPECT_EQ(stored.Jd(), 1.0);
  stored.KeepCloser(FlareStat(5.0, 50, 0.1, "Saturn", 0.15, 6.0));  // nearer
  EXPECT_EQ(stored.Jd(), 5.0);
  EXPECT_EQ(stored.Area(), 50.0);
  EXPECT_EQ(stored.FlareAngle(), 0.1);
  EXPECT_EQ(stored.ClosestPlanet(), "Saturn");
  EXPECT_EQ(stored.ClosestPlanetAngle(), 0.15);
  EXPECT_EQ(stored.EarthAngle(), 6.0);
}

TEST(RecordFlareStatTest, NearestPlanetByWrappedDistance) {
  // Mars lies 0.13 rad away across 0; by plain difference Earth would win.
  const PlanetLongitudes planets = {{"Earth", 1.0}, {"Mars", 6.2}, {"Venus", 3.0}};
  FlareStatMap stats;
  RecordFlareStat(stats, planets, SolarFlare(0, 0, 0, 42, 7), 2455000.5, 0.05);
  ASSERT_EQ(stats.count(7), 1u);
  const FlareStat& stat = stats.at(7);
  EXPECT_EQ(stat.ClosestPlanet(), "Mars");
  EXPECT_EQ(stat.ClosestPlanetAngle(), 6.2);
  EXPECT_EQ(stat.EarthAngle(), 1.0);
  EXPECT_EQ(stat.FlareAngle(), 0.05);
  EXPECT_EQ(stat.Area(), 42.0);
  EXPECT_EQ(stat.Jd(), 2455000.5);
}

TEST(RecordFlareStatTest, TiesGoToTheFirstNameAndEarthCanBeNearest) {
  const PlanetLongitudes planets = {{"Venus", 2.0}, {"Earth", 2.0}, {"Mars", 0.0}};
  FlareStatMap stats;
  RecordFlareStat(stats, planets, SolarFlare(0, 0, 0, 0, 1), 0, 2.0);
  EXPECT_EQ(stats.at(1).ClosestPlanet(), "Earth");
  EXPECT_EQ(stats.at(1).TestAngle(), 0.0);
}

TEST(RecordFlareStatTest, WithoutPlanetsTheRecordSaysNone) {
  FlareStatMap stats;
  RecordFlareStat(stats, {}, SolarFlare(0, 0, 0, 0, 1), 0, 1.0);
  EXPECT_EQ(stats.at(1).ClosestPlanet(), "<none");
  EXPECT_EQ(stats.at(1).ClosestPlanetAngle(), 6.283185307179586);
  EXPECT_EQ(stats.at(1).EarthAngle(), 0.0);  // no "Earth" entry
}

TEST(RecordFlareStatTest, OneRecordPerIndexKeepsTheNearestFrame) {
  const PlanetLongitudes planets = {{"Earth", 0.0}, {"Jupiter", 1.0}};
  FlareStatMap stats;
  const SolarFlare flare(0, 0, 0, 0, 3);
  RecordFlareStat(stats, planets, flare, 10.0, 0.4);   // Earth, 0.4 away
  RecordFlareStat(stats, planets, flare, 10.0, 0.8);   // Jupiter, 0.2 away
  RecordFlareStat(stats, planets, flare, 10.0, 0.3);   // Earth, 0.3 away: farther
  RecordFlareStat(stats, planets, SolarFlare(0, 0, 0, 0, 4), 11.0, 0.0);
  ASSERT_EQ(stats.size(), 2u);
  EXPECT_EQ(stats.at(3).ClosestPlanet(), "Jupiter");
  EXPECT_EQ(stats.at(3).FlareAngle(), 0.8);
  EXPECT_EQ(stats.at(4).ClosestPlanet(), "Earth");
}

// Sets TZ for one test and restores it.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    const char* old = std::getenv("TZ");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZoneGuard() {
    if (hadOld_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool hadOld_ = false;
  std::string old_;
};

TEST(FlareStatTimeTest, FormattedTimeIsUtcAlsoUnderDaylightSavingTime) {
  for (const char* zone : {"Europe/Berlin", "America/New_York", "UTC"}) {
    TimeZoneGuard tz(zone);
    // 2009-06-17 18:00 UTC: summer time in Berlin and New York.
    const std::string line = Line(FlareStat(2455000.25, 0, 1, "Mars", 2, 0));
    EXPECT_NE(line.find(" 2009-06-17 18:00:00\n"), std::string::npos) << zone << ": " << line;
  }
}

TEST(FlareStatTimeTest, SecondsAreWholeSecondsOfTheMillisecondInstant) {
  const double midnight = 2455000.5;  // 2009-06-18 00:00 UTC
  const double second = 1.0 / 86400.0;
  auto timeOf = [](double jd) {
    const std::string line = Line(FlareStat(jd, 0, 1, "Mars", 2, 0));
    return line.substr(line.size() - 20, 19);
  };
  EXPECT_EQ(timeOf(midnight - 0.0004 * second), "2009-06-18 00:00:00");
  EXPECT_EQ(timeOf(midnight - 0.4 * second), "2009-06-17 23:59:59");
  EXPECT_EQ(timeOf(midnight + 0.7 * second), "2009-06-18 00:00:00");
  EXPECT_EQ(timeOf(midnight + (3600 * 12 + 34 * 60 + 56.4) * second), "2009-06-18 12:34:56");
}

class StatsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/flare_stat_testXXXXXX";
    dir_ = mkdtemp(dir);
    path_ = dir_ + "/flare_stats.txt";
  }
  void TearDown() override {
    std::remove(path_.c_str());
    rmdir(dir_.c_str());
  }
  std::string dir_;
  std::string path_;
};

TEST_F(StatsFileTest, EmptyCollectionWritesTheHeaderOnly) {
  std::string error;
  ASSERT_TRUE(WriteFlareStatsFile(path_, {}, error)) << error;
  EXPECT_EQ(ReadFile(path_), kHeader);
}

TEST_F(StatsFileTest, RecordsInIndexOrderReplacingTheOldFile) {
  std::ofstream(path_) << "old content that is longer than the new one\n" << std::string(500, 'x');
  FlareStatMap stats;
  stats.emplace(9, FlareStat(2455000.25, 0, 1.0, "Mars", 1.0, 2.0));
  stats.emplace(2, FlareStat(2455000.5, 0, 0.5, "Venus", 1.5, 2.0));
  std::string error;
  ASSERT_TRUE(WriteFlareStatsFile(path_, stats, error)) << error;
  EXPECT_EQ(ReadFile(path_), kHeader + Line(stats.at(2)) + Line(stats.at(9)));
}

TEST_F(StatsFileTest, UnopenablePathFailsWithTheReason) {
  FlareStatMap stats;
  stats.emplace(1, FlareStat(1, 0, 1, "Mars", 1, 2));
  std::string error;
  EXPECT_FALSE(WriteFlareStatsFile(dir_ + "/no-such-dir/stats.txt", stats, error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_NE(error.find("no-such-dir/stats.txt"), std::string::npos) << error;
  EXPECT_FALSE(WriteFlareStatsFile(dir_, stats, error));  // a directory
  EXPECT_FALSE(error.empty());
}

TEST_F(StatsFileTest, IncompleteWriteFailsWithTheReason) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  FlareStatMap stats;
  for (int i = 0; i < 1000; ++i) stats.emplace(i, FlareStat(i, 0, 1, "Mars", 1, 2));
  std::string error;
  EXPECT_FALSE(WriteFlareStatsFile("/dev/full", stats, error));
  EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}

}  // namespace
}  // namespace barywalk
