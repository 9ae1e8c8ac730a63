// The installed barywalk-render program: bad input ends with status 2, one
// line and no file; output appears only complete; no display is needed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using testsupport::EnvChange;
using testsupport::ProgramRun;
using Args = std::vector<std::string>;

// Every entry of `path`, hidden ones included.
std::vector<std::string> Entries(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
    names.push_back(entry.path().filename());
  }
  return names;
}

// An empty folder of its own for each test, removed afterwards.
class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(folder);
    ASSERT_TRUE(fs::create_directory(folder));
  }
  void TearDown() override { fs::remove_all(folder); }

  ProgramRun Render(const Args& args, const std::vector<EnvChange>& env = {}) {
    return testsupport::RunProgram(BARYWALK_RENDER_PROGRAM, args, env);
  }

  // Renders to folder/name, which must work silently; the file's bytes
  // (none for a numbered sequence).
  std::string RenderTo(const std::string& name, Args args, const std::vector<EnvChange>& env = {}) {
    args.insert(args.end(), {"-o", folder + "/" + name});
    const ProgramRun run = Render(args, env);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // a run that works says nothing
    return testsupport::ReadFileBytes(folder + "/" + name);
  }

  const std::string folder =
      testsupport::TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(RenderToolTest, BadInputGetsStatusTwoOneLineAndNoFile) {
  struct Case {
    std::string what;
    Args args;
    std::vector<EnvChange> env;
    int status = 2;
  };
  const std::string png = folder + "/frame.png";
  const Case cases[] = {
      {"unwritable output", {"--at", "2000-01-01", "-o", folder + "/missing/frame.png"}, {}, 1},
      {"unwritable sequence", {"--step", "50", "-o", folder + "/missing/%05d.png"}, {}, 1},
      {"unknown planet", {"--at", "2000-01-01", "--planets", "Earth,Ceres", "-o", png}, {}},
      {"bad date", {"--at", "2000-02-30", "-o", png}, {}},
      {"unreadable flare file", {"--flares", folder + "/none.flr", "-o", folder + "/run.gif"}, {}},
      {"missing encoder",
       {"--step", "50", "-o", folder + "/run.mp4"},
       {{"BARYWALK_FFMPEG", folder + "/no-ffmpeg"}}},
      {"no display and no Xvfb",
       {"--at", "2000-01-01", "-o", png},
       {{"DISPLAY", std::nullopt}, {"PATH", folder}}},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Render(c.args, c.env);
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(testsupport::CountLines(run.err), 1) << c.what << ": " << run.err;
    EXPECT_EQ(run.err.rfind("barywalk-render: ", 0), 0u) << c.what << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.what;
    EXPECT_TRUE(Entries(folder).empty())
        << c.what << ": " << testing::PrintToString(Entries(folder));
  }
}

// File names are bytes: a folder whose name is not UTF-8 takes a sequence.
TEST_F(RenderToolTest, SequenceInAFolderNamedByAnyBytes) {
  const std::string latin1 = folder + "/fr\xe9quence";
  fs::create_directory(latin1);
  const ProgramRun run = Render({"--from", "2000-01-01", "--to", "2000-03-01", "--step", "50",
                                 "--width", "64", "-o", latin1 + "/%03d.png"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(testsupport::ReadFileBytes(latin1 + "/002.png").rfind("\x89PNG", 0), 0u);
}

TEST_F(RenderToolTest, HelpGoesToStandardOutput) {
  const ProgramRun run = Render({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Usage: barywalk-render"), std::string::npos);
  EXPECT_TRUE(run.err.empty());
}

// Drawing needs no display of the caller: the program starts its own, and
// its cookie and log are gone with it. "-" writes the same picture.
TEST_F(RenderToolTest, DrawsTheSameFrameWithoutADisplayAndToStandardOutput) {
  const Args at = {"--at", "2000-01-01T06:00", "--planets", "all", "--accel", "3"};
  const std::string withDisplay = RenderTo("display.png", at);
  EXPECT_GT(withDisplay.size(), 1000u);
  const std::vector<EnvChange> noDisplay = {{"DISPLAY", std::nullopt}, {"TMPDIR", folder}};
  EXPECT_EQ(withDisplay, RenderTo("private.png", at, noDisplay));
  EXPECT_EQ(Entries(folder).size(), 2u) << testing::PrintToString(Entries(folder));
  Args toStdout = at;
  toStdout.insert(toStdout.end(), {"-o", "-"});
  EXPECT_EQ(Render(toStdout).out, withDisplay);
}

// The date label follows TZ, as the dialog's does; --utc puts it in UTC.
TEST_F(RenderToolTest, UtcPutsTheLabelInUtc) {
  const Args at = {"--at", "2000-01-01T20:00"};
  const std::string utc = RenderTo("utc.png", at, {{"TZ", "UTC"}});
  EXPECT_NE(utc, RenderTo("east.png", at, {{"TZ", "JST-9"}}));  // already 2 January there
  EXPECT_EQ(utc, RenderTo("east-utc.png", {at[0], at[1], "--utc"}, {{"TZ", "JST-9"}}));
}

// A shorter run over an older sequence says which frames are not its own.
TEST_F(RenderToolTest, AShorterSequenceWarnsOfOlderFrames) {
  const std::string pattern = folder + "/%03d.png";
  RenderTo("%03d.png", {"--from", "2000-01-01", "--to", "2000-03-01", "--step", "20"});
  const std::size_t files = Entries(folder).size();
  const ProgramRun shorter =
      Render({"--from", "2000-01-01", "--to", "2000-02-01", "--step", "20", "-o", pattern});
  ASSERT_EQ(shorter.status, 0) << shorter.err;
  EXPECT_EQ(Entries(folder).size(), files);
  EXPECT_NE(shorter.err.find("warning: " + folder + "/003.png"), std::string::npos) << shorter.err;
  EXPECT_EQ(testsupport::CountLines(shorter.err), 1);
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
  ASSERT_TRUE(fs::create_directory(folder + "/frames"));
  RenderTo("frames/%03d.png", run);
  Args video = run;
  video.insert(video.end(), {"--fps", "25"});
  RenderTo("run.mp4", video);
  const std::size_t frames = Entries(folder + "/frames").size();
  EXPECT_GT(frames, 1u);
  const ProgramRun probe = testsupport::RunProgram(
      "/bin/sh", {"-c",
                  "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                  "stream=width,r_frame_rate,nb_read_frames -of csv=p=0 '" +
                      folder + "/run.mp4'"});
  EXPECT_EQ(probe.out, "320,25/1," + std::to_string(frames) + "\n") << probe.err;
}

// The video's colours are the frames' colours: decoded as a player decodes
// it (by the colour space the file names), every flat patch of colour comes
// back within a few levels. The wrong conversion matrix would move the
// Sun's orange by some ten levels.
TEST_F(RenderToolTest, Mp4KeepsTheFramesColours) {
  if (system("command -v ffmpeg > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
  const Args run = {"--style", "slide", "--orbits", "--from", "1990-04-01",
                    "--to",      "1990-04-21", "--step", "10", "--width", "320"};
  RenderTo("frame%d.png", run);
  RenderTo("frame.mp4", run);
  auto pixels = [&](const std::string& name) {
    return testsupport::RunProgram("/bin/sh", {"-c", "ffmpeg -v error -i '" + folder + "/" + name +
                                                         "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -"})
        .out;
  };
  const std::string drawn = pixels("frame1.png"), decoded = pixels("frame.mp4");
  constexpr int kSide = 320, kReach = 2;
  ASSERT_EQ(drawn.size(), std::size_t{kSide * kSide * 3});
  ASSERT_EQ(decoded.size(), drawn.size());
  auto at = [&](const std::string& image, int x, int y, int channel) {
    return static_cast<int>(static_cast<unsigned char>(image[(std::size_t(y) * kSide + x) * 3 + channel]));
  };
  auto flat = [&](int x, int y) {
    for (int dy = -kReach; dy <= kReach; ++dy) {
      for (int dx = -kReach; dx <= kReach; ++dx) {
        for (int c = 0; c < 3; ++c) {
          if (at(drawn, x + dx, y + dy, c) != at(drawn, x, y, c)) return false;
        }
      }
    }
    return true;
  };
  // Per colour: the sum of the decoded values and the count.
  std::map<int, std::array<double, 4>> patches;
  for (int y = kReach; y < kSide - kReach; ++y) {
    for (int x = kReach; x < kSide - kReach; ++x) {
      if (!flat(x, y)) continue;
      auto& patch = patches[(at(drawn, x, y, 0) << 16) | (at(drawn, x, y, 1) << 8) | at(drawn, x, y, 2)];
      for (int c = 0; c < 3; ++c) patch[c] += at(decoded, x, y, c);
      patch[3] += 1;
    }
  }
  const int orange = (255 << 16) | (150 << 8) | 30;  // the Sun
  ASSERT_TRUE(patches.count(orange));
  for (const auto& [colour, patch] : patches) {
    if (patch[3] < 50) continue;
    for (int c = 0; c < 3; ++c) {
      const int drawnLevel = (colour >> (16 - 8 * c)) & 0xff;
      EXPECT_NEAR(patch[c] / patch[3], drawnLevel, 2.0) << "colour " << std::hex << colour << " channel " << c;
    }
  }
}

}  // namespace
