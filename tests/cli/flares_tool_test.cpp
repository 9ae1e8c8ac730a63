// The built barywalk-flares program: its stats and significance commands
// as a user runs them, bad input included.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"

namespace {

using testsupport::CountLines;
using testsupport::ProgramRun;
using testsupport::ReadFileBytes;
using testsupport::TempPath;

ProgramRun RunFlares(const std::vector<std::string>& args, const std::string& out = "") {
  return testsupport::RunProgram(BARYWALK_FLARES_PROGRAM, args, {{"TZ", "UTC"}}, out);
}

// A flare file with a header and `lines`.
std::string WriteCatalog(const std::string& name, const std::vector<std::string>& lines) {
  const std::string path = TempPath(name);
  std::ofstream file(path);
  file << "JD lat lon duration area\n";
  for (const std::string& line : lines) file << line << '\n';
  return path;
}

// The sample's first months: a few hundred flares, quick to test.
std::string SampleExcerpt() {
  static const std::string path = [] {
    std::ifstream sample(FLARE_SAMPLE_FILE);
    std::string line;
    std::getline(sample, line);
    std::vector<std::string> lines;
    while (std::getline(sample, line) && lines.size() < 600) lines.push_back(line);
    return WriteCatalog("excerpt.flr", lines);
  }();
  return path;
}

TEST(FlaresProgram, BadInputExitsWithStatusTwoAndOneLine) {
  const std::string empty = WriteCatalog("empty.flr", {});
  const std::string ancient = WriteCatalog("ancient.flr", {"2455198.5 10 10 10 0", "1000000 1 2 3 4"});
  // Thirty flares of one spot within a day: one unit, nothing to shift apart.
  std::vector<std::string> burst;
  for (int i = 0; i < 30; ++i) burst.push_back(std::to_string(2455198.5 + i / 30.0) + " 12 30 0.01 0");
  const std::string oneSpot = WriteCatalog("one-spot.flr", burst);
  const std::string excerpt = SampleExcerpt();
  const std::pair<std::vector<std::string>, const char*> cases[] = {  // args, part of the message
      {{"significance", "--planets", "jupiter,Vulcan", excerpt}, "Vulcan"},
      {{"significance", "--replicates", "0", excerpt}, "--replicates"},
      {{"significance", empty}, "no flares"},
      {{"significance", ancient}, "ancient.flr line 3"},
      {{"significance", TempPath("missing.flr")}, "cannot read"},
      {{"significance", "--null", "permute", excerpt}, "--null"},
      {{"significance", "--geometry", "flat", excerpt}, "--geometry"},
      {{"significance", "--min-class", "X50", excerpt}, "no flare of class X50.0"},
      {{"significance", "--null", "region", "--geometry", "sphere", excerpt}, "latitudes"},
      {{"significance", "--null", "region", oneSpot}, "only 1 independent unit"},
      {{"significance", "--axial", "--within", "95", excerpt}, "--within"},
      {{"significance", "--plot", TempPath("x.gif"), excerpt}, ".svg"},
      {{"stats"}, "no flare file"},
      {{"stats", "--step", "0", excerpt}, "--step"},
      {{"stats", "--to", "9000-01-01", excerpt}, "--to"},
      {{"stats", "--colour", excerpt}, "--colour"},
      {{"statistics"}, "not a command"},
  };
  for (const auto& [args, expected] : cases) {
    const ProgramRun run = RunFlares(args);
    EXPECT_EQ(run.status, 2) << expected;
    EXPECT_EQ(run.out, "") << expected;
    EXPECT_EQ(CountLines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
  }
  for (const std::string& path : {empty, ancient, oneSpot}) std::remove(path.c_str());
}

// The planets of the summary's "count_within" rows, in file order.
std::vector<std::string> TableRowNames(const std::string& summaryCsv) {
  std::vector<std::string> names;
  std::istringstream lines(summaryCsv);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("count_within,", 0) == 0) names.push_back(line.substr(13, line.find(',', 13) - 13));
  }
  return names;
}

TEST(FlaresProgram, PlanetSetIsChosenByName) {
  const std::string summary = TempPath("summary.csv");
  const ProgramRun run = RunFlares({"significance", "--planets", " saturn, JUPITER ,Earth",
                                    "--replicates", "50", "--summary-csv", summary,
                                    SampleExcerpt()});
  ASSERT_EQ(run.status, 0) << run.err;
  // In the planet order, whatever the order given.
  EXPECT_EQ(TableRowNames(ReadFileBytes(summary)),
            (std::vector<std::string>{"Earth", "Jupiter", "Saturn"}));
  // The Earth chosen: the table says what its row measures.
  EXPECT_NE(run.out.find("observing"), std::string::npos);
  std::remove(summary.c_str());

  const ProgramRun defaults = RunFlares({"significance", "--replicates", "50", SampleExcerpt()});
  ASSERT_EQ(defaults.status, 0) << defaults.err;
  EXPECT_NE(defaults.out.find("The Earth is left out"), std::string::npos);
  EXPECT_EQ(defaults.out.find("\nEarth "), std::string::npos);
}

TEST(FlaresProgram, SameSeedSameOutputOnAnyNumberOfThreads) {
  const std::string excerpt = SampleExcerpt();
  auto run = [&](const char* seed, const char* threads) {
    const std::string csv = TempPath("flares.csv");
    const ProgramRun r = RunFlares({"significance", "--replicates", "200", "--seed", seed,
                                    "--threads", threads, "--null", "region", "--csv", csv, excerpt});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string perFlare = ReadFileBytes(csv);
    std::remove(csv.c_str());
    return r.out + perFlare;
  };
  const std::string one = run("42", "1");
  EXPECT_EQ(one, run("42", "2"));
  EXPECT_NE(one, run("43", "2"));
  EXPECT_NE(one.find("seed 42"), std::string::npos);
  // One CSV row per flare after its header.
  EXPECT_NE(one.find("index,jd,utc,latitude_deg,longitude_deg,flux,region,unit,ecliptic_lon_deg,"
                     "ecliptic_lat_deg,mercury_deg"),
            std::string::npos);
}

TEST(FlaresProgram, PlotsAreWrittenInTheFormatOfTheirName) {
  const struct {
    const char* extension;
    std::string magic;
  } formats[] = {{"png", "\x89PNG"}, {"svg", "<?xml"}, {"pdf", "%PDF"}};
  for (const auto& format : formats) {
    const std::string plot = TempPath(std::string("plot.") + format.extension);
    const ProgramRun run =
        RunFlares({"significance", "--replicates", "20", "--plot", plot, SampleExcerpt()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(plot).substr(0, format.magic.size()), format.magic) << format.extension;
    std::remove(plot.c_str());
  }
}

// PLplot never sees the name: it would expand "%n" into a member number.
TEST(FlaresProgram, PlotNamesAreTakenLiterally) {
  const std::string plot = TempPath("fig%n.png");
  const ProgramRun run = RunFlares({"significance", "--replicates", "20", "--plot", plot, SampleExcerpt()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(plot).substr(0, 4), "\x89PNG");
  std::remove(plot.c_str());
}

// A figure that cannot be written completely (here: a file size limit,
// as a full disc would) fails with status 1 and leaves nothing behind; a
// folder that cannot take it fails before the Monte Carlo run.
TEST(FlaresProgram, PlotWriteFailuresAreReported) {
  const std::string plot = TempPath("limited.png");
  const std::string command = "ulimit -f 40; trap '' XFSZ; exec \"" + std::string(BARYWALK_FLARES_PROGRAM) +
                              "\" significance --replicates 20 -o /dev/null --plot " + plot + " " +
                              SampleExcerpt();
  const ProgramRun limited = testsupport::RunProgram("/bin/sh", {"-c", command}, {{"TZ", "UTC"}});
  EXPECT_EQ(limited.status, 1) << limited.err;
  EXPECT_NE(limited.err.find("limited.png"), std::string::npos) << limited.err;
  EXPECT_EQ(ReadFileBytes(plot), "");

  const ProgramRun missing = RunFlares({"significance", "--replicates", "100000", "--plot",
                                        TempPath("missing-folder/x.png"), SampleExcerpt()});
  EXPECT_NE(missing.status, 0);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(CountLines(missing.err), 1) << missing.err;
}

// (What stats writes is compared with the dialog's file in tests/app.)
TEST(FlaresProgram, StatsOutputThatCannotBeWrittenSaysWhy) {
  const ProgramRun bad = RunFlares({"stats", "-o", "/nonexistent-dir/x.txt", SampleExcerpt()});
  EXPECT_NE(bad.status, 0);
  EXPECT_EQ(CountLines(bad.err), 1);
}

}  // namespace
