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

#include <gtest/gtest.h>

#include "cli_args.h"
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
