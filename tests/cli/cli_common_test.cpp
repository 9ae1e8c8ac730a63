// What the command-line programs share: dates taken as the dialog takes
// them, and output files that appear only when complete.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"
#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"

namespace {

double DialogTime(const std::string& text, bool utc) {
  double jd = 0;
  std::string error;
  EXPECT_TRUE(barywalk::ParseDialogTime(text, utc, jd, error)) << error;
  return jd;
}

TEST(DialogTime, DateAloneIsLocalMidnightUnlessUtc) {
  const char* old = std::getenv("TZ");
  const std::optional<std::string> oldZone = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01", false), 2444239.5 - 9.0 / 24.0);
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01", true), 2444239.5);
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01T00:00Z", false), 2444239.5);
  EXPECT_DOUBLE_EQ(DialogTime("2444239.5", false), 2444239.5);
  double jd = 0;
  std::string error;
  EXPECT_FALSE(barywalk::ParseDialogTime("1980-02-30", false, jd, error));
  EXPECT_NE(error.find("1980-02-30"), std::string::npos);
  oldZone ? setenv("TZ", oldZone->c_str(), 1) : unsetenv("TZ");
  tzset();
}

// A scratch path of this process.
std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir != nullptr ? dir : "/tmp") + "/barywalk-output-" + name + "-" +
         std::to_string(getpid());
}

std::string ReadAll(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

void WriteCommitted(const std::string& path, const std::string& text) {
  barywalk::OutputFile out(path);
  out.stream() << text;
  out.Commit();
}

// Nothing under the final name until committed; then the mode of a new
// file, not the temporary file's private one. A missing folder, or a
// folder as the target, is bad input.
TEST(OutputFile, AppearsOnlyWhenCommittedWithTheModeOfANewFile) {
  const std::string path = TempPath("file");
  std::remove(path.c_str());
  {
    barywalk::OutputFile out(path);
    out.stream() << "partial";
    EXPECT_FALSE(std::ifstream(path).good());
  }
  EXPECT_FALSE(std::ifstream(path).good());
  const mode_t mask = umask(022);
  WriteCommitted(path, "complete\n");
  umask(mask);
  EXPECT_EQ(ReadAll(path), "complete\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  std::remove(path.c_str());
  EXPECT_THROW(barywalk::OutputFile("/nonexistent-folder/x.txt"), barywalk::UsageError);
  EXPECT_THROW(barywalk::OutputFile{std::string("/tmp")}, barywalk::UsageError);
}

// A pipe given as the output (like /dev/null or a FIFO) is written in
// place and stays a pipe; renaming a temporary file over it would replace it.
TEST(OutputFile, PipesAreWrittenInPlace) {
  const std::string fifo = TempPath("fifo");
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  WriteCommitted(fifo, "through the pipe\n");
  char text[64] = {};
  EXPECT_EQ(read(reader, text, sizeof text - 1), 17);
  EXPECT_STREQ(text, "through the pipe\n");
  close(reader);
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  std::remove(fifo.c_str());
}

// Through a symbolic link the linked file gets the output; the link stays.
TEST(OutputFile, SymbolicLinksKeepPointingAtTheirFile) {
  const std::string target = TempPath("target");
  const std::string link = target + ".link";
  std::ofstream(target) << "old\n";
  std::remove(link.c_str());
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  WriteCommitted(link, "new\n");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ReadAll(target), "new\n");
  std::remove(link.c_str());
  std::remove(target.c_str());
}

// Work of under a second shows no bar, even where one may be drawn.
TEST(ProgressBar, StaysSilentForShortWork) {
  std::ostringstream err;
  {
    barywalk::ProgressBar bar("work", 10, err, true);
    for (int i = 0; i <= 10; ++i) bar.Update(i);
  }
  EXPECT_EQ(err.str(), "");
}

TEST(NumberInRange, RefusesWhatLiesOutside) {
  EXPECT_THROW(barywalk::NumberInRange("--scale", "101", 0, 100), barywalk::UsageError);
  EXPECT_THROW(barywalk::NumberInRange("--scale", "1x", 0, 100), barywalk::UsageError);
  EXPECT_EQ(barywalk::NumberInRange("--scale", "2.5", 0, 100), 2.5);
  EXPECT_THROW(barywalk::WholeNumberInRange("--n", "0", 1, 10), barywalk::UsageError);
  EXPECT_EQ(barywalk::WholeNumberInRange("--n", "10", 1, 10), 10);
}

// A program with a value option, two contradicting flags and positionals.
struct Toy {
  std::string n = "0";
  bool on = false;
  std::vector<std::string> files;
  barywalk::CommandLine cli{"toy", "A toy.", "Exit status: 0, 1 or 2.\n"};
  Toy() {
    cli.Option("-n,--number", "N", "a number", [this](const std::string& v) { n = v; })
        .Flag("--on", "switch on", [this] { on = true; })
        .Flag("--off", "switch off", [this] { on = false; })
        .Positionals("FILE", "files", [this](const std::string& v) { files.push_back(v); });
  }
};

TEST(CommandLine, OptionsTakeEffectInTheOrderGiven) {
  Toy a;
  ASSERT_TRUE(a.cli.Parse({"--off", "--on", "-n", "1", "x", "--number=2", "-5", "-", "-0100-01-01"}));
  EXPECT_TRUE(a.on);
  EXPECT_EQ(a.n, "2");
  EXPECT_EQ(a.files, (std::vector<std::string>{"x", "-5", "-", "-0100-01-01"}));
  Toy b;
  ASSERT_TRUE(b.cli.Parse({"--on", "--off", "--", "--on"}));
  EXPECT_FALSE(b.on);
  EXPECT_EQ(b.files, std::vector<std::string>{"--on"});
}

// Every status as the help texts promise it, with one line for each problem.
TEST(CommandLine, ExitStatusesAndOneLineMessages) {
  struct Case {
    std::vector<std::string> args;
    std::function<int()> work;
    int status;
    std::string err;  // a part of it
  };
  const auto done = [] { return barywalk::kExitOk; };
  const Case cases[] = {
      {{"a"}, done, 0, ""},
      {{"--help"}, done, 0, ""},
      {{"--version"}, done, 0, ""},
      {{"--bogus"}, done, 2, "toy: unknown option '--bogus'"},
      {{"-n"}, done, 2, "toy: --number needs a value"},
      {{"--on=yes"}, done, 2, "toy: --on takes no value"},
      {{}, [] () -> int { throw barywalk::UsageError("bad input"); }, 2, "toy: bad input"},
      {{}, [] () -> int { throw std::runtime_error("cannot write x"); }, 1, "toy: cannot write x"},
  };
  for (const Case& c : cases) {
    Toy toy;
    toy.cli.Run(c.work);
    std::ostringstream out, err;
    EXPECT_EQ(barywalk::RunCli(toy.cli, c.args, out, err), c.status) << err.str();
    const std::string message = err.str();
    EXPECT_EQ(message.find(c.err), 0u) << message;
    EXPECT_LE(std::count(message.begin(), message.end(), '\n'), 1);
    const std::string asked = c.args.empty() ? "" : c.args[0];
    if (asked == "--help") {
      EXPECT_EQ(out.str(), toy.cli.Help());
    } else if (asked == "--version") {
      EXPECT_EQ(out.str().rfind("toy 1.", 0), 0u);
    }
  }
}

}  // namespace
