// barywalk-render's command line: what each option sets, and one clear
// message for each kind of bad argument.
#include "render_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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
      {{"-o", "run.gif", "--step", "366"}, "--step"},
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
      {{"-o", "run.gif", "--clip", "10001"}, "--clip"},
      {{"-o", "run.gif", "--accel", "x"}, "--accel"},
      {{"-o", "run.gif", "--flares"}, "--flares needs"},
      {{"-o", "run.gif", "--bogus"}, "unknown option '--bogus'"},
      {{"-o", "run.gif", "stray"}, "unexpected argument 'stray'"},
      {{"-o", "run.gif", "--sun=1"}, "--sun takes no value"},
      {{"-o", "run.gif", "-o", "b.gif"}, "-o given more than once"},
      {{"-o", "run.gif", "--width"}, "--width needs a value"},
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

TEST(RenderOptions, EachOptionReachesItsSetting) {
  struct Case {
    Args args;
    std::function<bool(const RenderOptions&)> holds;
  };
  const Case cases[] = {
      {{"--planets", "all"},
       [](const RenderOptions& o) {
         for (bool shown : o.frame.planets)
           if (!shown) return false;
         return true;
       }},
      {{"--planets", "none"},
       [](const RenderOptions& o) {
         for (bool shown : o.frame.planets)
           if (shown) return false;
         return true;
       }},
      {{"--planets", "mercury,PLUTO"},
       [](const RenderOptions& o) {
         int count = 0;
         for (bool shown : o.frame.planets) count += shown;
         return count == 2 && o.frame.planets[0] && o.frame.planets[8];
       }},
      {{"--no-year", "--no-month", "--no-day"},
       [](const RenderOptions& o) {
         return !o.frame.sunLayer.year && !o.frame.sunLayer.month && !o.frame.sunLayer.day;
       }},
      {{"--no-sun", "--sun"}, [](const RenderOptions& o) { return o.frame.sunLayer.sun; }},
      {{"--no-sun"}, [](const RenderOptions& o) { return !o.frame.sunLayer.sun; }},
      {{"--trail"}, [](const RenderOptions& o) { return o.frame.sunLayer.orbit; }},
      {{"--accel", "2.5"},
       [](const RenderOptions& o) {
         return o.frame.sunLayer.acceleration && o.frame.sunLayer.accelFactor == 2.5;
       }},
      {{"--accel=0"},
       [](const RenderOptions& o) {
         return o.frame.sunLayer.acceleration && o.frame.sunLayer.accelFactor == 0;
       }},
      {{"--flares", "a.flr", "b.flr", "--flares=-c.flr"},
       [](const RenderOptions& o) {
         return o.flareFiles == std::vector<std::string>{"a.flr", "b.flr", "-c.flr"};
       }},
      {{"--no-duration"}, [](const RenderOptions& o) { return !o.frame.useDuration; }},
      {{"--duration", "90"},
       [](const RenderOptions& o) { return o.frame.useDuration && o.frame.durationMinutes == 90; }},
      {{"--scale", "0.5", "--log", "--clip", "120"},
       [](const RenderOptions& o) {
         return o.frame.flareScale == 0.5 && o.logScale && o.clip && o.clipLimit == 120;
       }},
      {{"--no-clip"}, [](const RenderOptions& o) { return !o.clip; }},
      {{"--no-flares"}, [](const RenderOptions& o) { return !o.frame.flares; }},
      {{"--step", "20"},
       [](const RenderOptions& o) { return o.step == 20 && o.frame.incrementDays == 20; }},
      {{"--width", "300", "--fps", "20"},
       [](const RenderOptions& o) { return o.width == 300 && o.fps == 20; }},
      {{"--from", "2451545", "--to", "2451545.5"},
       [](const RenderOptions& o) { return o.from == 2451545 && o.to == 2451545.5; }},
      {{"--utc", "--from", "2000-01-01"},
       [](const RenderOptions& o) {
         return o.utc && o.from == 2451544.5;  // UTC midnight, whatever TZ says
       }},
  };
  for (const Case& c : cases) {
    Args args = c.args;
    args.insert(args.end(), {"-o", "run.gif"});
    EXPECT_TRUE(c.holds(ParseRenderArguments(args))) << testing::PrintToString(c.args);
  }
}

TEST(RenderOptions, TheOutputNameChoosesTheFormat) {
  struct Case {
    Args args;
    OutputKind kind;
  };
  const Case cases[] = {
      {{"-o", "frame.png", "--at", "2000-01-01"}, OutputKind::SinglePng},
      {{"-o", "-", "--at", "2000-01-01"}, OutputKind::SinglePng},
      {{"--output", "FRAME.PNG", "--at", "2000-01-01"}, OutputKind::SinglePng},
      {{"-o", "frames/%05d.png"}, OutputKind::PngSequence},
      {{"-o", "100%% of %d.png"}, OutputKind::PngSequence},
      {{"-o", "run.gif"}, OutputKind::Gif},
      {{"-o", "Run.GIF"}, OutputKind::Gif},
      {{"-o", "run.mp4"}, OutputKind::Mp4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseRenderArguments(c.args).kind, c.kind) << testing::PrintToString(c.args);
  }
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

TEST(RenderOptions, GifDelaysAreWholeHundredthsOfASecond) {
  EXPECT_EQ(barywalk::GifDelayCentiseconds(33), 3);  // the dialog's 30 ms tick
  EXPECT_EQ(barywalk::GifDelayCentiseconds(20), 5);
  EXPECT_EQ(barywalk::GifDelayCentiseconds(0.5), 200);
}

TEST(RenderOptions, HelpNeedsNoOutput) {
  EXPECT_TRUE(ParseRenderArguments({"--help"}).help);
  EXPECT_TRUE(ParseRenderArguments({"--trail", "--help"}).help);
}

}  // namespace
