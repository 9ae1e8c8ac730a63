// The built barywalk-flares program: its stats and significance commands
// as a user runs them, bad input included.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
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
  // A NOAA report given as a flare file: its header-less lines once read
  // as thousands of flares at JD 31777050101, exit 0.
  const std::string report = TempPath("goes-xrs-report_2005.txt");
  std::ofstream(report) << "31777050101  0001 0039 0031 N06E34SXI                      X 17    GOES\r\n";
  const std::string convert = "convert it first: barywalk-flares import " + report + " -o " +
                              TempPath("goes-xrs-report_2005.flr");
  const std::pair<std::vector<std::string>, std::string> cases[] = {  // args, part of the message
      {{"significance", "--planets", "jupiter,Vulcan", excerpt}, "Vulcan"},
      {{"significance", "--replicates", "0", excerpt}, "--replicates"},
      {{"significance", empty}, "no flares"},
      {{"significance", ancient}, "ancient.flr line 3"},
      {{"significance", TempPath("missing.flr")}, "cannot read"},
      {{"significance", "--null", "permute", excerpt}, "--null"},
      {{"significance", "--geometry", "flat", excerpt}, "--geometry"},
      {{"significance", "--min-class", "X50", excerpt}, "X50"},
      {{"significance", "--null", "region", "--geometry", "sphere", excerpt}, "latitudes"},
      {{"significance", "--null", "region", oneSpot}, "only 1 independent unit"},
      {{"significance", "--axial", "--within", "95", excerpt}, "--within"},
      {{"significance", "--plot", TempPath("x.gif"), excerpt}, ".svg"},
      {{"stats"}, "no flare file"},
      {{"stats", "--step", "0", excerpt}, "--step"},
      {{"stats", "--to", "9000-01-01", excerpt}, "--to"},
      {{"stats", "--colour", excerpt}, "--colour"},
      {{"statistics"}, "not a command"},
      {{"stats", report}, convert},
      {{"significance", report}, convert},
      {{"stats", "--min-class", "X99", excerpt}, "no flare of class X99.0 and above"},
      {{"stats", "--min-class", "M1", ancient}, "2 without a class"},
      {{"stats", "--min-class", "A1.2345", excerpt}, "--min-class"},
  };
  for (const auto& [args, expected] : cases) {
    const ProgramRun run = RunFlares(args);
    EXPECT_EQ(run.status, 2) << expected;
    EXPECT_EQ(run.out, "") << expected;
    EXPECT_EQ(CountLines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
  }
  for (const std::string& path : {empty, ancient, report, oneSpot}) std::remove(path.c_str());
}

// --min-class keeps the flares of the class and above that fields 6 give,
// counted on the error stream, and measures only those.
TEST(FlaresProgram, StatsOfTheStrongerFlaresOnly) {
  const ProgramRun all = RunFlares({"stats", "--from", "2010-01-01", "--to", "2010-07-01", SampleExcerpt()});
  const ProgramRun strong = RunFlares(
      {"stats", "--from", "2010-01-01", "--to", "2010-07-01", "--min-class", "C1.05", SampleExcerpt()});
  ASSERT_EQ(all.status, 0) << all.err;
  ASSERT_EQ(strong.status, 0) << strong.err;
  EXPECT_NE(strong.err.find("flares of class C1.05 and above; left out"), std::string::npos) << strong.err;
  EXPECT_LT(CountLines(strong.out), CountLines(all.out));
  EXPECT_GT(CountLines(strong.out), 1);
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

// A scratch folder of its own that anyone may write, so that the program
// can run as an ordinary user; removed with everything in it.
struct ScratchFolder {
  std::string path = TempPath("scratch");
  ScratchFolder() {
    std::filesystem::remove_all(path);
    std::filesystem::create_directory(path);
    chmod(path.c_str(), 0777);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::size_t Count() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path),
                                                  std::filesystem::directory_iterator()));
  }
};

// Outputs that would lie: over an input, over another output, onto a file
// the user may not write, into a missing folder, or from a reversed range.
// Each is refused with its status and one line, and every file stays as it was.
TEST(FlaresProgram, OutputsThatWouldLieAreRefused) {
  const ScratchFolder folder;
  const std::string input = folder / "in.flr";
  std::filesystem::copy_file(SampleExcerpt(), input);
  const std::string before = ReadFileBytes(input);
  ASSERT_EQ(link(input.c_str(), (folder / "hard.flr").c_str()), 0);
  const std::string readOnly = folder / "read-only.txt";
  std::ofstream(readOnly) << "keep\n";
  chmod(readOnly.c_str(), 0444);
  // Root may write any file; the program runs as an ordinary user then.
  const std::vector<std::string> asUser =
      geteuid() == 0 ? std::vector<std::string>{"/usr/bin/setpriv", "--reuid=nobody",
                                                "--regid=nogroup", "--clear-groups",
                                                BARYWALK_FLARES_PROGRAM}
                     : std::vector<std::string>{BARYWALK_FLARES_PROGRAM};
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{"stats", "-o", input, input}, 2, "names the input"},
      {{"stats", "-o", folder / "hard.flr", input}, 2, "names the input"},
      {{"import", "-o", folder / "x.flr", "--rejects", folder.path + "/./x.flr", input}, 2,
       "name the same file"},
      {{"significance", "--csv", folder / "a.csv", "--summary-csv", folder / "../" +
        std::filesystem::path(folder.path).filename().string() + "/a.csv", input}, 2,
       "name the same file"},
      {{"stats", "-o", readOnly, input}, 1, "Permission denied"},
      {{"stats", "-o", folder / "missing/x.txt", input}, 1, "No such file"},
      {{"stats", "--from", "1990-01-01", "--to", "1989-01-01", input}, 2, "later than --to"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args(asUser.begin() + 1, asUser.end());
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramRun run = testsupport::RunProgram(asUser.front(), args, {{"TZ", "UTC"}});
    EXPECT_EQ(run.status, c.status) << c.says << ": " << run.err;
    EXPECT_EQ(CountLines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFileBytes(input), before);
  EXPECT_EQ(ReadFileBytes(readOnly), "keep\n");
  EXPECT_EQ(folder.Count(), 3u);  // no output and no temporary file appeared
}

// Ctrl+C or termination in the middle of the work leaves no temporary file.
TEST(FlaresProgram, TerminationLeavesNothingBehind) {
  const ScratchFolder folder;
  const std::vector<std::vector<std::string>> commands = {
      {"significance", "--replicates", "100000", "--threads", "1", "-o", folder / "table.txt",
       "--csv", folder / "flares.csv", SampleExcerpt()},
      {"stats", "--step", "0.001", "-o", folder / "stats.txt", SampleExcerpt()},
  };
  for (const auto& command : commands) {
    std::vector<std::string> args = {"-s", "TERM", "1", BARYWALK_FLARES_PROGRAM};
    args.insert(args.end(), command.begin(), command.end());
    const ProgramRun run = testsupport::RunProgram("/usr/bin/timeout", args);
    EXPECT_EQ(run.status, 124) << command[0] << " ended before it was stopped: " << run.err;
    EXPECT_NE(run.err.find("interrupted; nothing written"), std::string::npos) << run.err;
    EXPECT_EQ(folder.Count(), 0u) << command[0];
  }
}

}  // namespace
