// The installed barywalk-render program: bad input ends with status 2, one
// line and no file; output appears only complete; no display is needed.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "program_run.h"

namespace {

using testsupport::EnvChange;
using testsupport::ProgramRun;
using Args = std::vector<std::string>;

// An empty folder of its own for each test, removed afterwards.
class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = testsupport::TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    RemoveFolder();
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  }
  void TearDown() override { RemoveFolder(); }

  void RemoveFolder() {
    for (const std::string& name : Entries(folder)) {
      const std::string path = folder + "/" + name;
      if (std::remove(path.c_str()) != 0) {
        for (const std::string& inner : Entries(path)) std::remove((path + "/" + inner).c_str());
        rmdir(path.c_str());
      }
    }
    rmdir(folder.c_str());
  }

  // Every entry of `path`, hidden ones included.
  static std::vector<std::string> Entries(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
      while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(dir);
    }
    return names;
  }

  ProgramRun Render(const Args& args, const std::vector<EnvChange>& env = {}) {
    return testsupport::RunProgram(BARYWALK_RENDER_PROGRAM, args, env);
  }

  std::string folder;
};

TEST_F(RenderToolTest, BadInputGetsStatusTwoOneLineAndNoFile) {
  struct Case {
    std::string what;
    Args args;
    std::vector<EnvChange> env;
  };
  const std::string png = folder + "/frame.png";
  const std::string gif = folder + "/run.gif";
  const Case cases[] = {
      {"unwritable output", {"--at", "2000-01-01", "-o", folder + "/missing/frame.png"}, {}},
      {"unwritable sequence", {"--step", "50", "-o", folder + "/missing/%05d.png"}, {}},
      {"unknown planet", {"--at", "2000-01-01", "--planets", "Earth,Ceres", "-o", png}, {}},
      {"bad date", {"--at", "2000-02-30", "-o", png}, {}},
      {"bad date of a run", {"--from", "1980-01-01", "--to", "soon", "-o", gif}, {}},
      {"unreadable flare file", {"--flares", folder + "/none.flr", "-o", gif}, {}},
      {"missing encoder",
       {"--step", "50", "-o", folder + "/run.mp4"},
       {{"BARYWALK_FFMPEG", folder + "/no-ffmpeg"}}},
      {"no display and no Xvfb",
       {"--at", "2000-01-01", "-o", png},
       {{"DISPLAY", std::nullopt}, {"PATH", folder}}},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Render(c.args, c.env);
    EXPECT_EQ(run.status, 2) << c.what;
    EXPECT_EQ(testsupport::CountLines(run.err), 1) << c.what << ": " << run.err;
    EXPECT_EQ(run.err.rfind("barywalk-render: ", 0), 0u) << c.what << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.what;
    EXPECT_TRUE(Entries(folder).empty())
        << c.what << ": " << testing::PrintToString(Entries(folder));
  }
}

TEST_F(RenderToolTest, HelpGoesToStandardOutput) {
  const ProgramRun run = Render({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Usage: barywalk-render"), std::string::npos);
  EXPECT_TRUE(run.err.empty());
}

// Drawing needs no display of the caller: the program starts its own.
TEST_F(RenderToolTest, DrawsTheSameFrameWithoutADisplay) {
  const Args common = {"--at", "2000-01-01T06:00", "--planets", "all", "--accel", "3"};
  Args withDisplay = common, without = common;
  withDisplay.insert(withDisplay.end(), {"-o", folder + "/display.png"});
  without.insert(without.end(), {"-o", folder + "/private.png"});
  const ProgramRun first = Render(withDisplay);
  const ProgramRun second = Render(without, {{"DISPLAY", std::nullopt}, {"TMPDIR", folder}});
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(first.err + second.err, "");  // a run that works says nothing
  const std::string a = testsupport::ReadFileBytes(folder + "/display.png");
  EXPECT_GT(a.size(), 1000u);
  EXPECT_EQ(a, testsupport::ReadFileBytes(folder + "/private.png"));
  // The private server's cookie and log are gone with it.
  EXPECT_EQ(Entries(folder).size(), 2u) << testing::PrintToString(Entries(folder));
}

// Written to standard output with "-" and to a file: the same picture.
TEST_F(RenderToolTest, OneFrameGoesToStandardOutputToo) {
  const ProgramRun toFile = Render({"--at", "1990-06-01", "-o", folder + "/f.png"});
  const ProgramRun toStdout = Render({"--at", "1990-06-01", "-o", "-"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  ASSERT_EQ(toStdout.status, 0) << toStdout.err;
  EXPECT_EQ(toStdout.out, testsupport::ReadFileBytes(folder + "/f.png"));
  EXPECT_EQ(toStdout.out.substr(1, 3), "PNG");
}

// The date label follows TZ, as the dialog's does; --utc puts it in UTC.
TEST_F(RenderToolTest, UtcPutsTheLabelInUtc) {
  auto frame = [&](const std::string& name, const std::string& tz, bool utc) {
    Args args = {"--at", "2000-01-01T20:00", "-o", folder + "/" + name};
    if (utc) args.push_back("--utc");
    const ProgramRun run = Render(args, {{"TZ", tz}});
    EXPECT_EQ(run.status, 0) << run.err;
    return testsupport::ReadFileBytes(folder + "/" + name);
  };
  const std::string utc = frame("utc.png", "UTC", false);
  const std::string east = frame("east.png", "JST-9", false);  // already 2 January there
  const std::string eastAsUtc = frame("east-utc.png", "JST-9", true);
  EXPECT_NE(utc, east);
  EXPECT_EQ(utc, eastAsUtc);
}

// A shorter run over an older sequence says which frames are not its own.
TEST_F(RenderToolTest, AShorterSequenceWarnsOfOlderFrames) {
  const std::string pattern = folder + "/%03d.png";
  const Args longer = {"--from", "2000-01-01", "--to", "2000-03-01", "--step", "20", "-o", pattern};
  const Args shorter = {"--from", "2000-01-01", "--to", "2000-02-01",
                        "--step", "20",         "-o",   pattern};
  const ProgramRun first = Render(longer);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "");
  const std::size_t files = Entries(folder).size();
  const ProgramRun second = Render(shorter);
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(Entries(folder).size(), files);
  EXPECT_NE(second.err.find("warning: " + folder + "/003.png"), std::string::npos) << second.err;
  EXPECT_EQ(testsupport::CountLines(second.err), 1);
}

// A numbered sequence appears file by file only when the run is complete;
// an interrupted run leaves nothing at all.
TEST_F(RenderToolTest, AnInterruptedRunLeavesNothing) {
  const std::string pattern = folder + "/%05d.png";
  const pid_t pid = fork();
  if (pid == 0) {
    execl(BARYWALK_RENDER_PROGRAM, BARYWALK_RENDER_PROGRAM, "--step", "1", "--width", "64", "-o",
          pattern.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(pid, 0);
  // Wait until frames are being written into the hidden folder.
  bool writing = false;
  for (int i = 0; i < 400 && !writing; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    for (const std::string& name : Entries(folder)) {
      writing = writing || Entries(folder + "/" + name).size() > 3;
    }
  }
  EXPECT_TRUE(writing);
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_TRUE(Entries(folder).empty()) << testing::PrintToString(Entries(folder));
}

// Every frame of the run reaches the video, none twice.
TEST_F(RenderToolTest, Mp4HasEveryFrameOfTheRun) {
  if (system("command -v ffprobe > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ffprobe";
  const Args run = {"--from", "2000-01-01", "--to", "2000-03-01", "--step", "5", "--width", "320"};
  Args sequence = run, video = run;
  ASSERT_EQ(mkdir((folder + "/frames").c_str(), 0700), 0);
  sequence.insert(sequence.end(), {"-o", folder + "/frames/%03d.png"});
  video.insert(video.end(), {"--fps", "25", "-o", folder + "/run.mp4"});
  const ProgramRun pictures = Render(sequence);
  const ProgramRun encoded = Render(video);
  ASSERT_EQ(pictures.status, 0) << pictures.err;
  ASSERT_EQ(encoded.status, 0) << encoded.err;
  const std::size_t frames = Entries(folder + "/frames").size();
  EXPECT_GT(frames, 1u);
  const ProgramRun probe = testsupport::RunProgram(
      "/bin/sh", {"-c",
                  "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                  "stream=width,r_frame_rate,nb_read_frames -of csv=p=0 '" +
                      folder + "/run.mp4'"});
  EXPECT_EQ(probe.out, "320,25/1," + std::to_string(frames) + "\n") << probe.err;
}

}  // namespace
