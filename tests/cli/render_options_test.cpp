// barywalk-render's command line: what each option sets, and one clear
// message for each kind of bad argument.
#include "render_options.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli_args.h"

namespace {

using barywalk::OutputKind;
using barywalk::ParseRenderArguments;
using barywalk::RenderOptions;
using Args = std::vector<std::string>;

std::string UsageMessage(const Args& args) {
  try {
    ParseRenderArguments(args);
  } catch (const barywalk::UsageError& error) {
    return error.what();
  }
  return "";
}

// The reader's own mistakes (a repeated option, a missing value, a value
// for a flag) and the upper ends of ranges are tested with the shared
// argument reader.
TEST(RenderOptions, BadArgumentsGetOneLineNamingTheProblem) {
  struct Case {
    Args args;
    std::string expected;  // a part of the message
  };
  const Case cases[] = {
      {{"--at", "2000-01-01"}, "no output"},
      {{"-o", "run.gif", "--planets", "Earth,Vulcan"}, "unknown planet 'Vulcan'"},
      {{"-o", "run.gif", "--planets", ""}, "unknown planet ''"},
      {{"-o", "f.png", "--at", "2000-02-30"}, "--at"},
      {{"-o", "run.gif", "--from", "yesterday"}, "--from"},
      {{"-o", "run.gif", "--from", "2001-01-01", "--to", "2000-01-01"}, "later than --to"},
      {{"-o", "run.gif", "--step", "0"}, "--step"},
      {{"-o", "run.gif", "--step", "nan"}, "--step"},
      {{"-o", "run.gif", "--from", "0", "--to", "1e9", "--step", "1"}, "10000000 frames"},
      {{"-o", "f.png", "--at", "2040-01-01", "--trail", "--from", "0", "--step", "0.001"},
       "trail's run"},
      {{"-o", "run.gif", "--width", "640.5"}, "--width"},
      {{"-o", "run.gif", "--width", "32"}, "--width"},
      {{"-o", "run.gif", "--fps", "0"}, "--fps"},
      {{"-o", "run.gif", "--fps", "60"}, "50 frames per second"},
      {{"-o", "run.gif", "--duration", "0"}, "--duration"},
      {{"-o", "run.gif", "--scale", "-1"}, "--scale"},
      {{"-o", "run.gif", "--accel", "x"}, "--accel"},
      {{"-o", "run.gif", "--flares"}, "--flares needs"},
      {{"-o", "run.gif", "--bogus"}, "unknown option '--bogus'"},
      {{"-o", "run.gif", "stray"}, "unexpected argument 'stray'"},
      {{"-o", "run.gif", "--at", "2000-01-01"}, "--at draws one frame"},
      {{"-o", "frame.png"}, "one frame needs --at"},
      {{"-o", "-"}, "standard output"},
      {{"-o", "f.png", "--at", "2000-01-01", "--to", "2001-01-01"},
       "--at draws one frame and --to"},
      {{"-o", "run.avi"}, "must end in .png, .gif or .mp4"},
      {{"-o", "frames/%05d-%d.png"}, "exactly one %d"},
      {{"-o", "frames/%s.png"}, "exactly one %d"},
      {{"-o", "frames-%d/a.png"}, "exactly one %d"},
  };
  for (const Case& c : cases) {
    const std::string message = UsageMessage(c.args);
    EXPECT_NE(message.find(c.expected), std::string::npos)
        << testing::PrintToString(c.args) << " gave: " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

// The options the dialog-equality test does not set; a later flag wins.
// Plain --help, the GIF delays, the width, the frame rate and the step, and
// each output kind in lower case, are checked through the program.
TEST(RenderOptions, EachOptionReachesItsSetting) {
  const RenderOptions a = ParseRenderArguments(
      {"--planets", "mercury,PLUTO", "--no-sun", "--sun", "--no-day", "--accel=0", "--duration",
       "90", "--clip", "120", "--from", "2451545", "--to", "2451545.5", "-o", "Run.GIF"});
  std::array<bool, barywalk::kPlanetCount> mercuryAndPluto{};
  mercuryAndPluto[0] = mercuryAndPluto[8] = true;
  EXPECT_EQ(a.frame.planets, mercuryAndPluto);
  EXPECT_EQ(a.kind, OutputKind::Gif);
  EXPECT_TRUE(a.frame.sunLayer.sun && a.frame.sunLayer.year);
  EXPECT_FALSE(a.frame.sunLayer.day);
  EXPECT_TRUE(a.frame.sunLayer.acceleration);
  EXPECT_EQ(a.frame.sunLayer.accelFactor, 0);
  EXPECT_TRUE(a.frame.useDuration);
  EXPECT_EQ(a.frame.durationMinutes, 90);
  EXPECT_TRUE(a.clip);
  EXPECT_EQ(a.clipLimit, 120);
  EXPECT_EQ(a.from, 2451545);
  EXPECT_EQ(a.to, 2451545.5);

  const RenderOptions b =
      ParseRenderArguments({"--planets", "none", "--no-clip", "--flares", "a.flr", "b.flr",
                            "--flares=-c.flr", "--utc", "--from", "2000-01-01", "-o", "run.gif"});
  EXPECT_EQ(b.frame.planets, (std::array<bool, barywalk::kPlanetCount>{}));
  EXPECT_FALSE(b.clip);
  EXPECT_EQ(b.flareFiles, (std::vector<std::string>{"a.flr", "b.flr", "-c.flr"}));
  EXPECT_TRUE(b.utc);
  EXPECT_EQ(b.from, 2451544.5);  // UTC midnight, whatever TZ says
  EXPECT_FALSE(b.help);
  EXPECT_TRUE(ParseRenderArguments({"--trail", "--help"}).help);  // needs no output
  EXPECT_EQ(ParseRenderArguments({"--output", "FRAME.PNG", "--at", "2000-01-01"}).kind,
            OutputKind::SinglePng);
  EXPECT_EQ(ParseRenderArguments({"-o", "100%% of %d.png"}).kind, OutputKind::PngSequence);
}

// Of two options that contradict each other the last one counts.
TEST(RenderOptions, TheLastOptionCounts) {
  const auto parse = [](Args args) {
    args.insert(args.end(), {"-o", "run.gif"});
    return ParseRenderArguments(args);
  };
  EXPECT_FALSE(parse({"--accel", "2", "--no-accel"}).frame.sunLayer.acceleration);
  EXPECT_TRUE(parse({"--no-accel", "--accel", "2"}).frame.sunLayer.acceleration);
  EXPECT_FALSE(parse({"--clip", "5", "--no-clip"}).clip);
  EXPECT_EQ(parse({"--no-clip", "--clip", "5"}).clipLimit, 5);
  EXPECT_FALSE(parse({"--duration", "60", "--no-duration"}).frame.useDuration);
  EXPECT_EQ(parse({"--step", "1", "--step", "2"}).step, 2);
}

// Every option the help lists is one the parser takes.
TEST(RenderOptions, HelpListsWhatTheParserTakes) {
  const std::map<std::string, std::string> samples = {
      {"N", "10"},     {"DATE", "2000-01-01"}, {"DAYS", "1"},  {"LIST", "all"}, {"FACTOR", "1"},
      {"PX", "100"},   {"FILE", "x.flr"},      {"MIN", "60"},  {"AREA", "100"}};
  std::istringstream help(barywalk::RenderUsageText());
  int listed = 0;
  for (std::string line; std::getline(help, line);) {
    if (line.rfind("  --", 0) != 0) continue;
    std::istringstream words(line);
    std::string name, value;
    words >> name >> value;
    Args args = {"-o", "run.gif", name};
    if (samples.count(value) > 0) args.push_back(samples.at(value));
    EXPECT_EQ(UsageMessage(args).find("unknown option"), std::string::npos) << name;
    ++listed;
  }
  EXPECT_GT(listed, 25);
}

TEST(RenderOptions, NumberedNamesFormatLikePrintf) {
  struct Case {
    std::string pattern;
    long long number;
    std::string expected;
  };
  const Case cases[] = {
      {"frames/%05d.png", 7, "frames/00007.png"},
      {"%d.png", 123456, "123456.png"},
      {"f%3d.png", 5, "f  5.png"},
      {"100%%-%02d.png", 3, "100%-03.png"},
      {"%02d.png", 1234, "1234.png"},
  };
  for (const Case& c : cases) {
    barywalk::FramePattern pattern;
    ASSERT_TRUE(barywalk::ParseFramePattern(c.pattern, pattern)) << c.pattern;
    char printed[64];
    std::snprintf(printed, sizeof printed, c.pattern.c_str(), static_cast<int>(c.number));
    EXPECT_EQ(barywalk::FrameFileName(pattern, c.number), c.expected) << c.pattern;
    EXPECT_EQ(c.expected, printed) << c.pattern;
  }
}

}  // namespace
