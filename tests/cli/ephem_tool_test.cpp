// The installed barywalk-ephem program: exit statuses, what goes to stdout
// and stderr, and independence from the time zone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_run.h"

namespace {

using testsupport::CountLines;
using testsupport::ProgramRun;

// Runs the program with `args`, TZ set to `tz`, stdout to `outPath`.
ProgramRun RunEphemProgram(const std::vector<std::string>& args, const std::string& tz = "UTC",
                           std::string outPath = "") {
  return testsupport::RunProgram(BARYWALK_EPHEM_PROGRAM, args, {{"TZ", tz}}, outPath);
}

TEST(EphemProgram, WritesHeaderAndOneRowPerTime) {
  const ProgramRun run = RunEphemProgram({"2451545.0", "2000-01-02"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(CountLines(run.out), 3);
  EXPECT_EQ(run.out.rfind("jd,mercury_l,", 0), 0u);

  const ProgramRun range =
      RunEphemProgram({"--from", "2000-01-01", "--to", "2000-01-11", "--step", "2.5"});
  EXPECT_EQ(range.status, 0);
  EXPECT_EQ(CountLines(range.out), 1 + 5);
}

TEST(EphemProgram, BadArgumentsExitTwoWithOneLineAndNoOutput) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--what"},
      {"yesterday"},
      {"--width"},
      {"--width", "0", "1"},
      {"--from", "1", "--to", "2", "--step", "0"},
      {"--from", "2", "--to", "1", "--step", "1"},
      {"--from", "0", "--to", "2e7", "--step", "1"},
      {"2000-02-30"},
  };
  for (const auto& args : bad) {
    const ProgramRun run = RunEphemProgram(args);
    const std::string shown = args.empty() ? "(none)" : args[0];
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_EQ(CountLines(run.err), 1) << shown << ": " << run.err;
    EXPECT_EQ(run.err.rfind("barywalk-ephem: ", 0), 0u) << shown;
  }
}

TEST(EphemProgram, HelpGoesToStdout) {
  const ProgramRun run = RunEphemProgram({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("Usage: barywalk-ephem", 0), 0u);
}

// Date-times and Julian days are UTC; a date alone is too with --utc.
TEST(EphemProgram, SameOutputInEveryTimeZone) {
  const std::vector<std::string> args = {"--utc", "2000-01-01", "1999-12-31T23:30", "2451545.25"};
  const ProgramRun utc = RunEphemProgram(args, "UTC");
  ASSERT_EQ(utc.status, 0);
  for (const char* tz : {"Asia/Kolkata", "America/Los_Angeles", "Pacific/Kiritimati", "XYZ+11"}) {
    EXPECT_EQ(RunEphemProgram(args, tz).out, utc.out) << tz;
  }
}

TEST(EphemProgram, FailedWriteIsNotSuccess) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  const ProgramRun run = RunEphemProgram({"2451545"}, "UTC", "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos);
}

}  // namespace
