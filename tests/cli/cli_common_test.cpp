// What the command-line programs share: dates taken as the dialog takes
// them, and output files that appear only when complete.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"

namespace {

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    const char* old = std::getenv("TZ");
    if (old != nullptr) m_old = old;
    m_hadOld = old != nullptr;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (m_hadOld) setenv("TZ", m_old.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

 private:
  std::string m_old;
  bool m_hadOld = false;
};

double DialogTime(const std::string& text, bool utc) {
  double jd = 0;
  std::string error;
  EXPECT_TRUE(barywalk::ParseDialogTime(text, utc, jd, error)) << error;
  return jd;
}

TEST(DialogTime, DateAloneIsLocalMidnightUnlessUtc) {
  const ZoneScope tokyo("JST-9");
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01", false), 2444239.5 - 9.0 / 24.0);
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01", true), 2444239.5);
  EXPECT_DOUBLE_EQ(DialogTime("1980-01-01T00:00Z", false), 2444239.5);
  EXPECT_DOUBLE_EQ(DialogTime("2444239.5", false), 2444239.5);
  double jd = 0;
  std::string error;
  EXPECT_FALSE(barywalk::ParseDialogTime("1980-02-30", false, jd, error));
  EXPECT_NE(error.find("1980-02-30"), std::string::npos);
}

std::string TempDir() {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir != nullptr ? dir : "/tmp");
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

TEST(OutputFile, AppearsOnlyWhenCommitted) {
  const std::string path = TempDir() + "/barywalk-output-test.txt";
  std::remove(path.c_str());
  {
    barywalk::OutputFile out(path);
    out.stream() << "partial";
    EXPECT_FALSE(Exists(path));
  }  // not committed: nothing under the final name
  EXPECT_FALSE(Exists(path));
  {
    barywalk::OutputFile out(path);
    out.stream() << "complete\n";
    out.Commit();
  }
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "complete\n");
  std::remove(path.c_str());
}

// Not the temporary file's private mode: readable as any new file is.
TEST(OutputFile, GetsTheModeOfANewFile) {
  const std::string path = TempDir() + "/barywalk-output-mode-test.txt";
  std::remove(path.c_str());
  const mode_t mask = umask(022);
  {
    barywalk::OutputFile out(path);
    out.stream() << "x";
    out.Commit();
  }
  umask(mask);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  std::remove(path.c_str());
}

TEST(OutputFile, MissingFolderIsBadInput) {
  EXPECT_THROW(barywalk::OutputFile("/nonexistent-folder/x.txt"), barywalk::UsageError);
}

// A pipe given as the output (like /dev/null or a FIFO) is written in
// place and stays a pipe; renaming a temporary file over it would replace it.
TEST(OutputFile, PipesAreWrittenInPlace) {
  const std::string fifo = TempDir() + "/barywalk-output-fifo-" + std::to_string(getpid());
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    barywalk::OutputFile out(fifo);
    out.stream() << "through the pipe\n";
    out.Commit();
  }
  char text[64] = {};
  EXPECT_EQ(read(reader, text, sizeof text - 1), 17);
  EXPECT_STREQ(text, "through the pipe\n");
  close(reader);
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  std::remove(fifo.c_str());
  const std::string folder = TempDir();
  EXPECT_THROW(barywalk::OutputFile{folder}, barywalk::UsageError);  // a folder
}

// Through a symbolic link the linked file gets the output; the link stays.
TEST(OutputFile, SymbolicLinksKeepPointingAtTheirFile) {
  const std::string target = TempDir() + "/barywalk-output-target-" + std::to_string(getpid());
  const std::string link = target + ".link";
  std::ofstream(target) << "old\n";
  std::remove(link.c_str());
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  {
    barywalk::OutputFile out(link);
    out.stream() << "new\n";
    out.Commit();
  }
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  std::ifstream in(target);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "new\n");
  std::remove(link.c_str());
  std::remove(target.c_str());
}

TEST(ProgressBar, StaysSilentForShortWorkAndWhenDisabled) {
  std::ostringstream err;
  {
    barywalk::ProgressBar bar("work", 10, err, true);
    for (int i = 0; i <= 10; ++i) bar.Update(i);
  }
  EXPECT_EQ(err.str(), "");  // under a second
  std::ostringstream off;
  {
    barywalk::ProgressBar bar("work", 10, off, false);
    bar.Update(5);
  }
  EXPECT_EQ(off.str(), "");
}

}  // namespace

// Options with values in both spellings, flags, positionals, "-" and "--".
TEST(ArgumentReader, ReadsOptionsFlagsAndPositionals) {
  barywalk::ArgumentReader reader({"--step=0.5", "a.flr", "--log", "-o", "-", "--", "--odd.flr", "-"});
  std::vector<std::string> seen;
  while (reader.Next()) {
    if (!reader.IsOption()) {
      seen.push_back("file " + reader.Current());
    } else if (reader.Current() == "--log") {
      reader.NoValue();
      seen.push_back("flag --log");
    } else {
      seen.push_back(reader.Current() + " = " + reader.Value());
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"--step = 0.5", "file a.flr", "flag --log", "-o = -",
                                            "file --odd.flr", "file -"}));
}

TEST(ArgumentReader, EachMistakeIsOneUsageError) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--step", "1", "--step", "2"}, "--step given more than once"},
      {{"--step"}, "--step needs a value"},
      {{"--log=yes"}, "--log takes no value"},
  };
  for (const Case& c : cases) {
    barywalk::ArgumentReader reader(c.args);
    try {
      while (reader.Next()) {
        if (reader.Current() == "--log") {
          reader.NoValue();
        } else {
          reader.Value();
        }
      }
      ADD_FAILURE() << c.message << ": no error";
    } catch (const barywalk::UsageError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  EXPECT_THROW(barywalk::NumberInRange("--scale", "101", 0, 100), barywalk::UsageError);
  EXPECT_THROW(barywalk::NumberInRange("--scale", "1x", 0, 100), barywalk::UsageError);
  EXPECT_EQ(barywalk::NumberInRange("--scale", "2.5", 0, 100), 2.5);
  EXPECT_THROW(barywalk::WholeNumberInRange("--n", "0", 1, 10), barywalk::UsageError);
  EXPECT_EQ(barywalk::WholeNumberInRange("--n", "10", 1, 10), 10);
}
