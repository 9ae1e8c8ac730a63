// barywalk-flares import as the user runs it: the sample list gives the
// sample file byte for byte, the summary and the rejects file account for
// every row, and bad input exits with status 2, one line and no output.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog_test_files.h"

#include "cli_args.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// A fresh, empty folder for one test's outputs.
class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "barywalk-import-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "import");
    m_err.str("");
    return RunFlaresProgram(args, m_err);
  }
  std::string Out(const std::string& name) const { return m_dir + "/" + name; }

  std::string m_dir;
  std::ostringstream m_err;
};

TEST_F(ImportCommandTest, CycleTwentyFourListGivesTheSampleFileByteForByte) {
  ASSERT_EQ(Run({CatalogDataPath("final_flare_list_sc24.csv"), "-o", Out("sc24.flr")}), kExitOk) << m_err.str();
  const std::string sample = FileBytes(FLARE_SAMPLE_FILE);
  ASSERT_FALSE(sample.empty());
  EXPECT_TRUE(FileBytes(Out("sc24.flr")) == sample);
  const std::vector<std::string> summary = Lines(m_err.str());
  ASSERT_EQ(summary.size(), 3u) << m_err.str();
  EXPECT_EQ(summary[0], "final_flare_list_sc24.csv (goes-csv): 8606 rows, 8302 written, 304 rejected");
  EXPECT_EQ(summary[1], "  no position: 304 (lines 33, 108, 109, 110, 111, ...)");
}

TEST_F(ImportCommandTest, SummaryAndRejectsFileAccountForEveryRow) {
  const std::string input = CatalogDataPath("goes-xrs-report_2003-excerpt.txt");
  ASSERT_EQ(Run({input, "-o", Out("2003.flr"), "--rejects", Out("2003.rej")}), kExitOk);
  const std::vector<std::string> summary = Lines(m_err.str());
  ASSERT_EQ(summary.size(), 4u) << m_err.str();
  EXPECT_EQ(summary[0], "goes-xrs-report_2003-excerpt.txt (noaa-xrs): 9 rows, 3 written, 6 rejected");
  EXPECT_EQ(summary[1], "  end-of-file mark (Ctrl-Z): 1 (line 9)");
  EXPECT_EQ(summary[2], "  no position: 5 (lines 2, 3, 4, 5, 8)");

  const std::vector<std::string> written = Lines(FileBytes(Out("2003.flr")));
  EXPECT_EQ(written.size(), 1u + 3u);
  const std::vector<std::string> rejects = Lines(FileBytes(Out("2003.rej")));
  const std::vector<std::string> inputLines = Lines(FileBytes(input));
  ASSERT_EQ(rejects.size(), 1u + 6u);
  for (std::size_t i = 1; i < rejects.size(); ++i) {
    // "file:line<TAB>reason<TAB>row" with the row as in the input.
    const std::string& r = rejects[i];
    const std::size_t colon = r.find(':'), tab1 = r.find('\t'), tab2 = r.find('\t', tab1 + 1);
    ASSERT_NE(tab2, std::string::npos) << r;
    EXPECT_EQ(r.substr(0, colon), "goes-xrs-report_2003-excerpt.txt");
    const int line = std::stoi(r.substr(colon + 1, tab1 - colon - 1));
    std::string row = inputLines.at(line - 1);
    if (!row.empty() && row.back() == '\r') row.pop_back();
    EXPECT_EQ(r.substr(tab2 + 1), row);
  }
}

TEST_F(ImportCommandTest, FiltersFromTheCommandLine) {
  struct Case {
    std::vector<std::string> options;
    int written;
  };
  const Case cases[] = {
      {{}, 7},
      {{"--no-require-position"}, 10},
      {{"--min-class", "C1.0"}, 7},  // C1.0 is kept
      {{"--min-class", "c2.8"}, 3},
      {{"--to", "2012-07-11"}, 5},  // a date alone: its whole day
      {{"--to", "2012-07-12"}, 7},
      {{"--to", "2012-07-12T07:23"}, 6},  // inclusive
      {{"--from", "2012-07-12T07:23:00Z"}, 2},
      {{"--from", "2010-01-02T07:09", "--to", "2010-01-02T07:09"}, 1},  // both inclusive
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {CatalogDataPath("final_flare_list_sc24-excerpt.csv"), "-o", Out("x.flr")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Run(args), kExitOk) << m_err.str();
    EXPECT_EQ(Lines(FileBytes(Out("x.flr"))).size(), 1u + c.written) << m_err.str();
  }
}

TEST_F(ImportCommandTest, HelpIsNoErrorAndWritesNothing) {
  testing::internal::CaptureStdout();
  const int status = Run({CatalogDataPath("final_flare_list_sc24-excerpt.csv"), "--help", "-o", Out("x.flr")});
  const std::string help = testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, kExitOk);
  for (const char* word : {"noaa-xrs", "hek-csv", "goes-csv", "--min-class", "--rejects", "--frm",
                           "--no-require-position", "EAST positive"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  EXPECT_TRUE(Entries().empty());
}

TEST_F(ImportCommandTest, BadInputExitsWithOneLineAndLeavesNoFile) {
  const std::string notACatalog = Out("notes.txt");
  std::ofstream(notACatalog) << "my flare notes\n";
  const std::string goesList = CatalogDataPath("final_flare_list_sc24-excerpt.csv");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{Out("missing.txt")}, "cannot read"},
      {{m_dir}, "is a directory"},
      {{notACatalog, "-o", notACatalog, "--format", "hek-csv"}, "lacks the columns"},
      {{notACatalog}, "unknown format"},
      {{goesList, "--format", "ssw-csv"}, "lacks the columns GEV_START, GEV_END"},
      {{goesList, "--format", "csv"}, "needs --columns"},
      {{goesList, "--format", "tsv"}, "unknown format 'tsv'"},
      {{goesList, "--frm", "SWPC"}, "--frm"},
      {{goesList, "--min-class", "Z1"}, "--min-class"},
      {{goesList, "--from", "2010-13-01"}, "--from"},
      {{goesList, "--from", "2011-01-01", "--to", "2010-01-01"}, "--to lies before --from"},
      {{goesList, "--bogus"}, "unknown option"},
      {{goesList, "-o", Out("x"), "--rejects", Out("x")}, "the same file"},
      {{}, "no catalog"},
      {{goesList, "-o", Out("no/such/folder.flr")}, "cannot write"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (std::find(args.begin(), args.end(), "-o") == args.end()) {
      args.push_back("-o");
      args.push_back(Out("out.flr"));
    }
    EXPECT_EQ(Run(args), kExitBadArguments) << c.message;
    const std::vector<std::string> lines = Lines(m_err.str());
    ASSERT_EQ(lines.size(), 1u) << m_err.str();
    EXPECT_EQ(lines[0].rfind("barywalk-flares import: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(c.message), std::string::npos) << lines[0];
    EXPECT_EQ(Entries(), std::vector<std::string>{"notes.txt"}) << c.message;
  }
}

}  // namespace
}  // namespace barywalk
