// Argument parsing, the range rule and the CSV of barywalk-ephem.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ephem_cli.h"
#include "ephemeris/barycenter.h"
#include "ephemeris/planets.h"

namespace barywalk {
namespace {

double Time(const std::string& text) {
  double jd = -1;
  std::string error;
  EXPECT_TRUE(ParseTime(text, jd, error)) << text << ": " << error;
  return jd;
}

std::string TimeError(const std::string& text) {
  double jd = 0;
  std::string error;
  EXPECT_FALSE(ParseTime(text, jd, error)) << text << " gave " << jd;
  return error;
}

std::string ArgumentError(const std::vector<std::string>& args) {
  const ParseOutcome outcome = ParseEphemArguments(args);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error.find('\n'), std::string::npos);
  return outcome.error;
}

TEST(EphemTime, JulianDaysAndUtcDateTimes) {
  EXPECT_EQ(Time("2451545.0"), 2451545.0);
  EXPECT_EQ(Time("+2451545"), 2451545.0);
  EXPECT_EQ(Time("2.451545e6"), 2451545.0);
  EXPECT_EQ(Time("-1000.5"), -1000.5);
  for (const char* noon : {"2000-01-01T12:00", "2000-01-01T12:00Z", "2000-01-01T12:00:00Z",
                           "2000-01-01T12:00:00.000", "+2000-01-01T12:00"}) {
    EXPECT_EQ(Time(noon), 2451545.0) << noon;
  }
  EXPECT_EQ(Time("2000-01-01"), 2451544.5);  // a date alone is 00:00 UTC
  EXPECT_EQ(Time("1970-01-01T00:00:00Z"), 2440587.5);
  EXPECT_EQ(Time("0000-01-01"), 1721059.5);
  EXPECT_EQ(Time("-0001-12-31T18:00"), 1721059.25);
  EXPECT_EQ(Time("02000-01-01T12:00"), 2451545.0);
  EXPECT_NEAR(Time("2000-01-01T12:00:30.5Z"), 2451545.0 + 30.5 / 86400, 1e-9);
  EXPECT_NEAR(Time("2999-12-31T23:59:59.999"), 2816787.5 - 0.001 / 86400, 1e-9);
}

TEST(EphemTime, RejectsWhatItCannotRead) {
  for (const char* bad : {"", "abc", "2000-1-1", "2000-01-01T12", "2000-01-01 12:00",
                          "2000-01-01T", "2000-01-01T12:00:0", "2000-01-01T12:00:00.",
                          "2000-01-01T12:00ZZ", "2451545.0abc", "nan", "inf", "-infinity", "0x10",
                          "1e400", "--5", "20-01-01"}) {
    EXPECT_NE(TimeError(bad).find("cannot read the time"), std::string::npos) << bad;
  }
  for (const char* impossible : {"2000-13-01", "1900-02-29", "2000-04-31", "2000-00-10",
                                 "2000-01-01T24:00", "2000-01-01T12:60", "2000-01-01T12:00:60"}) {
    EXPECT_NE(TimeError(impossible).find("no such date"), std::string::npos) << impossible;
  }
  EXPECT_NE(TimeError("2000-01-01T12:00+01:00").find("zone offset"), std::string::npos);
  EXPECT_NE(TimeError("1e12").find("beyond"), std::string::npos);
  EXPECT_NE(TimeError("999999999-01-01").find("beyond"), std::string::npos);
}

TEST(EphemArguments, TimesWidthAndRange) {
  ParseOutcome list = ParseEphemArguments({"2451545", "--width", "3", "--width=641", "2000-01-02"});
  ASSERT_TRUE(list.ok) << list.error;
  EXPECT_EQ(list.request.width, 641);
  EXPECT_FALSE(list.request.isRange);
  EXPECT_EQ(list.request.times, (std::vector<double>{2451545.0, 2451545.5}));
  EXPECT_EQ(ParseEphemArguments({"-5"}).request.times, std::vector<double>{-5.0});

  ParseOutcome range =
      ParseEphemArguments({"--from=2000-01-01", "--step", "0.5", "--to", "2451545.5", "--width=1"});
  ASSERT_TRUE(range.ok) << range.error;
  EXPECT_TRUE(range.request.isRange);
  EXPECT_EQ(range.request.width, 1);
  EXPECT_EQ(range.request.from, 2451544.5);
  EXPECT_EQ(range.request.rangeRows, 3);

  EXPECT_EQ(ParseEphemArguments({"1"}).request.width, kDefaultPanelWidth);
  EXPECT_TRUE(ParseEphemArguments({"--bogus", "--help"}).request.help);
}

TEST(EphemArguments, EachProblemNamed) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{}, "no TIME"},
      {{"--frobnicate", "1"}, "unknown option '--frobnicate'"},
      {{"-x"}, "unknown option '-x'"},
      {{"1", "--width"}, "--width needs a value"},
      {{"--from", "--to", "2", "--step", "1"}, "--from: cannot read the time '--to'"},
      {{"--width", "0", "1"}, "--width must be"},
      {{"--width", "-3", "1"}, "--width must be"},
      {{"--width", "12.5", "1"}, "--width must be"},
      {{"--width", "3000000000", "1"}, "--width must be"},
      {{"--from", "2", "--to", "1", "--step", "1"}, "--from is later than --to"},
      {{"--from", "1", "--to", "2", "--step", "0"}, "--step must be"},
      {{"--from", "1", "--to", "2", "--step", "-1"}, "--step must be"},
      {{"--from", "1", "--to", "2", "--step", "nan"}, "--step must be"},
      {{"--from", "1", "--to", "2"}, "--step is missing"},
      {{"--to", "2", "--step", "1"}, "--from is missing"},
      {{"--from", "x", "--to", "2", "--step", "1"}, "--from: cannot read the time 'x'"},
      {{"3", "--from", "1", "--to", "2", "--step", "1"}, "cannot be combined"},
      {{"--from", "0", "--to", "10000000", "--step", "1"}, "more than 10000000 rows"},
      {{"--from", "-1e11", "--to", "1e11", "--step", "1e-300"}, "more than 10000000 rows"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(ArgumentError(c.args).find(c.says), std::string::npos)
        << "expected '" << c.says << "', got '" << ParseEphemArguments(c.args).error << "'";
  }
}

TEST(EphemRange, RowsIncludeTheEndWhenTheStepsLandOnIt) {
  EXPECT_EQ(RangeRowCount(5, 5, 1), 1);
  EXPECT_EQ(RangeRowCount(0, 10, 1), 11);
  EXPECT_EQ(RangeRowCount(0, 10.5, 1), 11);
  EXPECT_EQ(RangeRowCount(0, 0.3, 0.1), 4);            // 3 * 0.1 rounds above 0.3
  EXPECT_EQ(RangeRowCount(2451545.1, 2451546.1, 0.1), 11);
  EXPECT_EQ(RangeRowCount(0, 9999999, 1), kMaxRows);  // the cap itself is allowed
  EXPECT_EQ(RangeRowCount(0, 10000000, 1), -1);
  EXPECT_EQ(RangeRowCount(2451545, 2451545, 1e-12), 1);  // a step below the resolution
}

TEST(EphemRange, TimesAreMultiplesOfTheStepEndingOnTo) {
  ParseOutcome landing =
      ParseEphemArguments({"--from", "2451545.1", "--to", "2451546.1", "--step", "0.1"});
  ASSERT_TRUE(landing.ok);
  EXPECT_EQ(RangeTime(landing.request, 0), 2451545.1);
  EXPECT_EQ(RangeTime(landing.request, 7), 2451545.1 + 7 * 0.1);  // not seven additions
  EXPECT_EQ(RangeTime(landing.request, 10), 2451546.1);

  ParseOutcome short_of_end = ParseEphemArguments({"--from", "0", "--to", "10.5", "--step", "1"});
  ASSERT_TRUE(short_of_end.ok);
  EXPECT_EQ(RangeTime(short_of_end.request, short_of_end.request.rangeRows - 1), 10.0);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<double> Fields(const std::string& line) {
  std::vector<double> fields;
  std::istringstream stream(line);
  for (std::string field; std::getline(stream, field, ',');) fields.push_back(std::stod(field));
  return fields;
}

TEST(EphemRun, RowsReadBackToTheComputedValues) {
  std::ostringstream out, err;
  ASSERT_EQ(RunEphem({"--width", "641", "2451545", "1721059.5"}, out, err), kExitOk);
  EXPECT_EQ(err.str(), "");
  const auto lines = Lines(out.str());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0] + "\n", CsvHeader());
  EXPECT_EQ(lines[0].substr(0, 15), "jd,mercury_l,me");

  const double times[] = {2451545.0, 1721059.5};
  for (int row = 0; row < 2; ++row) {
    const std::vector<double> fields = Fields(lines[row + 1]);
    ASSERT_EQ(fields.size(), 23u);
    EXPECT_EQ(fields[0], times[row]);
    for (int i = 0; i < kPlanetCount; ++i) {
      double L = 0, R = 0;
      PlanetPosition(kAllPlanets[i], times[row], L, R);
      EXPECT_EQ(fields[1 + 2 * i], L) << PlanetName(kAllPlanets[i]);  // 17 digits read back exactly
      EXPECT_EQ(fields[2 + 2 * i], R) << PlanetName(kAllPlanets[i]);
    }
    const SunState sun = ComputeSunState(times[row], 641);
    EXPECT_EQ(fields[19], sun.offsetX);
    EXPECT_EQ(fields[20], sun.offsetY);
    EXPECT_EQ(fields[21], sun.accelX);
    EXPECT_EQ(fields[22], sun.accelY);
  }
}

TEST(EphemRun, BadArgumentsWriteOneLineAndNoOutput) {
  std::ostringstream out, err;
  EXPECT_EQ(RunEphem({"2451545", "--step", "1"}, out, err), kExitBadArguments);
  EXPECT_EQ(out.str(), "");
  const auto lines = Lines(err.str());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("barywalk-ephem: ", 0), 0u);
}

TEST(EphemRun, HelpAndWriteFailure) {
  std::ostringstream out, err;
  EXPECT_EQ(RunEphem({"--help"}, out, err), kExitOk);
  EXPECT_EQ(out.str(), UsageText());
  EXPECT_EQ(out.str().rfind("Usage: barywalk-ephem", 0), 0u);

  std::ostream broken(nullptr);  // every write fails
  std::ostringstream brokenErr;
  EXPECT_EQ(RunEphem({"2451545"}, broken, brokenErr), kExitOutputFailed);
  EXPECT_NE(brokenErr.str().find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace barywalk
