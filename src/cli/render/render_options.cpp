#include "render_options.h"

#include <array>
#include <cctype>
#include <memory>

#include "cli_app.h"
#include "cli_args.h"
#include "simulation/run_settings.h"

namespace barywalk {
namespace {

// A run longer than this is surely a mistake in --step or the dates.
constexpr double kMaxFrames = 10'000'000;
constexpr int kMinWidth = 64;
constexpr int kMaxWidth = 8192;
constexpr double kMaxFps = 240;
// GIF frame times are whole hundredths of a second, and viewers slow
// anything below 2/100 s down to 1/10 s.
constexpr double kMaxGifFps = 50;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == end;
}

// A number within [low, high]; `range` says so in the message.
double NumberIn(const std::string& name, const std::string& text, double low, double high,
                const std::string& range) {
  double value = 0;
  if (!ParseNumber(text, value) || value < low || value > high) {
    throw UsageError(name + " must be " + range + ", got " + Quoted(text));
  }
  return value;
}

OutputKind KindOfOutput(const std::string& path, bool hasAt) {
  if (path == "-") {
    if (!hasAt)
      throw UsageError(
          "a run cannot go to standard output: name a .gif, .mp4 or numbered .png file");
    return OutputKind::SinglePng;
  }
  OutputKind kind;
  FramePattern pattern;
  if (EndsWith(path, ".gif")) {
    kind = OutputKind::Gif;
  } else if (EndsWith(path, ".mp4")) {
    kind = OutputKind::Mp4;
  } else if (EndsWith(path, ".png")) {
    const bool numbered = path.find('%') != std::string::npos;
    if (numbered && !ParseFramePattern(path, pattern)) {
      throw UsageError("the numbered name " + Quoted(path) +
                       " needs exactly one %d conversion, such as %05d, in its file name "
                       "(write %% for a percent sign)");
    }
    kind = numbered ? OutputKind::PngSequence : OutputKind::SinglePng;
  } else {
    throw UsageError("cannot tell the picture format of " + Quoted(path) +
                     ": the output name must end in .png, .gif or .mp4");
  }
  if (hasAt && kind != OutputKind::SinglePng) {
    throw UsageError("--at draws one frame: name a single .png file, such as frame.png");
  }
  if (!hasAt && kind == OutputKind::SinglePng) {
    throw UsageError(
        "one frame needs --at DATE; a run needs a numbered name such as "
        "frames/%05d.png, or a .gif or .mp4 file");
  }
  return kind;
}

// The option texts that are read once all arguments are known: --utc may
// come after the dates, and -o decides what --at and --to may be.
}  // namespace

struct RenderTexts {
  std::string output, from = IsoDate(kRunStartDate), to = IsoDate(kRunEndDate), at;
  bool hasOutput = false, hasTo = false;
};

namespace {

// The slide's own settings mean nothing in the dialog's look.
void CheckSlideOptions(const RenderOptions& options) {
  if (options.slide) return;
  if (!options.slideStyle.title.empty()) throw UsageError("--title needs --style slide");
  if (options.slideStyle.light) throw UsageError("--light needs --style slide");
  if (options.slideStyle.orbits) throw UsageError("--orbits needs --style slide");
}

void CompleteOptions(const RenderTexts& texts, RenderOptions& options) {
  if (!texts.hasOutput) throw UsageError("no output given: -o FILE (see --help)");
  options.output = texts.output;
  if (options.hasAt && texts.hasTo) {
    throw UsageError("--at draws one frame and --to ends a run: give one of them");
  }
  options.kind = KindOfOutput(options.output, options.hasAt);
  options.from = TimeArgument("--from", texts.from, options.utc);
  options.to = TimeArgument("--to", texts.to, options.utc);
  if (options.hasAt) options.at = TimeArgument("--at", texts.at, options.utc);
  if (!options.hasAt) {
    if (options.from > options.to) throw UsageError("--from is later than --to");
    if ((options.to - options.from) / options.step > kMaxFrames) {
      throw UsageError("the run would have more than 10000000 frames; use a larger --step");
    }
  }
  options.frame.incrementDays = options.step;
  // As the dialog's "Max app. area" and "Show logartithmic" set it.
  options.frame.flareScaling = {options.clip ? options.clipLimit : -1.0, options.logScale};
  CheckSlideOptions(options);
  if (options.kind == OutputKind::Gif && options.fps > kMaxGifFps) {
    throw UsageError("a GIF shows at most 50 frames per second: lower --fps");
  }
  const bool trailRun = options.hasAt && options.frame.sunLayer.orbit;
  if (trailRun && (options.at - options.from) / options.step > kMaxFrames) {
    throw UsageError(
        "the trail's run from --from to --at would have more than 10000000 steps; "
        "use a larger --step");
  }
}

const std::string kDescription =
    std::string() +
    "Usage: barywalk-render [OPTIONS] --at DATE -o FRAME.png\n"
    "       barywalk-render [OPTIONS] -o RUN.gif | RUN.mp4 | FRAMES/%05d.png\n"
    "\n"
    "Draws the frames of Barywalk's orbit view, exactly as the program's window\n"
    "shows them: one frame at --at, or every frame of a run that the player\n"
    "plays forwards from --from, one per step of --step days, until the first\n"
    "time at or past --to. The first frame of a run is one step after --from.\n"
    "\n"
    "Output (-o FILE, the format by its name):\n"
    "  frame.png        one frame; needs --at (\"-\" writes it to standard output)\n"
    "  frames/%05d.png  one picture per frame, numbered from 1 (the folder must\n"
    "                   exist)\n"
    "  run.gif          an animated GIF\n"
    "  run.mp4          an H.264 video, encoded by the ffmpeg program\n"
    "\n"
    "DATE: a Julian day, a UTC date-time (2000-01-01T12:00Z), or " + kDateAloneRule +
    "; within the years 0 to 4000, where the planetary theories hold.\n";

const char* const kFooter =
    "Of options that contradict each other (--trail and --no-trail, --accel and\n"
    "--no-accel, --clip and --no-clip, ...) the last one given counts.\n"
    "\n"
    "Without $DISPLAY the program draws on a private Xvfb server of its own.\n"
    "A progress bar shows on standard error when a run takes more than a second.\n"
    "An output appears under its name only when it is complete.\n"
    "\n"
    "Exit status: 0 on success, 1 when the output could not be written\n"
    "completely, 2 on a bad argument, an unreadable flare file or a missing\n"
    "encoder or display (one line on standard error).\n";

// "a scale factor from 0 to 100 (default 1)": a setting's range and default.
std::string RangeText(const std::string& what, const NumberSetting& setting) {
  return what + " from " + SettingLow(setting) + " to " + SettingNumber(setting.high) + " (default " +
         SettingNumber(setting.initial) + ")";
}

// A number within the setting's range; `what` says what it is in the message.
double SettingValue(const std::string& name, const std::string& text,
                    const NumberSetting& setting, const std::string& what) {
  return NumberIn(name, text, setting.low, setting.high, RangeText(what, setting));
}

std::string PlanetsAtStart() {
  std::string names;
  for (int i = 0; i < kPlanetCount; ++i) {
    if (kShownAtStart.planets[i]) names += (names.empty() ? "" : ",") + std::string(PlanetName(kAllPlanets[i]));
  }
  return names;
}

// The options, filling `options` and `texts` as they are read.
void DeclareOptions(CommandLine& cli, RenderOptions& o, RenderTexts& t) {
  SunLayerOptions& sun = o.frame.sunLayer;
  auto text = [](std::string& into) { return [&into](const std::string& value) { into = value; }; };
  cli.Option("-o,--output", "FILE", "the output; its name sets the format (see above)",
             [&t](const std::string& value) {
               t.output = value;
               t.hasOutput = true;
             })
      .Option("--fps", "N",
              "frames per second of a GIF or MP4 (default 33, the program's 30 ms tick; a GIF "
              "shows at most 50)",
              [&o](const std::string& value) {
                double fps = 0;
                if (!ParseNumber(value, fps) || !(fps > 0) || fps > kMaxFps) {
                  throw UsageError(
                      "--fps must be a number of frames per second above 0, at most 240, got " +
                      Quoted(value));
                }
                o.fps = fps;
              })
      .Option("--from", "DATE", "start of the run (default " + IsoDate(kRunStartDate) + ")",
              text(t.from))
      .Option("--to", "DATE", "end of the run (default " + IsoDate(kRunEndDate) + ")",
              [&t](const std::string& value) {
                t.to = value;
                t.hasTo = true;
              })
      .Option("--step", "DAYS", RangeText("days per step", kIncrementSetting),
              [&o](const std::string& value) {
                o.step = SettingValue("--step", value, kIncrementSetting, "a number of days");
              })
      .Option("--at", "DATE",
              "one frame at DATE; with --trail, the trail is the one a run from --from collects "
              "before DATE",
              [&o, &t](const std::string& value) {
                t.at = value;
                o.hasAt = true;
              })
      .Flag("--utc", "dates and the date label in UTC instead of the zone of TZ",
            [&o] { o.utc = true; })
      .Option("--planets", "LIST",
              "planet directions: names separated by commas, all or none (default " +
                  PlanetsAtStart() + ")",
              [&o](const std::string& value) { o.frame.planets = PlanetList("--planets", value); })
      .Flag("--year", "the year in the date label (shown)", [&sun] { sun.year = true; })
      .Flag("--no-year", "no date label at all", [&sun] { sun.year = false; })
      .Flag("--month", "the month in the date label (shown)", [&sun] { sun.month = true; })
      .Flag("--no-month", "no month in the date label", [&sun] { sun.month = false; })
      .Flag("--day", "the day in the date label (shown)", [&sun] { sun.day = true; })
      .Flag("--no-day", "no day in the date label", [&sun] { sun.day = false; })
      .Flag("--sun", "the Sun's disc (shown)", [&sun] { sun.sun = true; })
      .Flag("--no-sun", "no Sun disc; the date label goes to the top left",
            [&sun] { sun.sun = false; })
      .Flag("--trail", "the Sun's trail (the program's \"Solar orbit\")",
            [&sun] { sun.orbit = true; })
      .Flag("--no-trail", "no trail (the default)", [&sun] { sun.orbit = false; })
      .Option("--accel", "FACTOR",
              "the acceleration vector with its display factor (off), " +
                  RangeText("a factor", kAccelFactorSetting),
              [&sun](const std::string& value) {
                sun.acceleration = true;
                sun.accelFactor =
                    SettingValue("--accel", value, kAccelFactorSetting, "a display factor");
              })
      .Flag("--no-accel", "no acceleration vector (the default)",
            [&sun] { sun.acceleration = false; })
      .Option("--width", "PX",
              "the square panel's size, 64 to 8192 (default " + std::to_string(kViewSidePixels) +
                  ")",
              [&o](const std::string& value) {
                long long width = 0;
                if (!ParseWholeNumber(value, width) || width < kMinWidth || width > kMaxWidth) {
                  throw UsageError("--width must be a whole number of pixels from 64 to 8192, got " +
                                   Quoted(value));
                }
                o.width = static_cast<int>(width);
              })
      .Options("--flares", "FILE", "flare files (.flr), read in order",
               [&o](const std::string& value) { o.flareFiles.push_back(value); })
      .Flag("--no-flares", "no flare layer (shown by default, with the flare count)",
            [&o] { o.frame.flares = false; })
      .Option("--duration", "MIN",
              "flares within MIN/2 minutes of the time, " + RangeText("MIN", kDurationSetting),
              [&o](const std::string& value) {
                o.frame.useDuration = true;
                o.frame.durationMinutes =
                    SettingValue("--duration", value, kDurationSetting, "a number of minutes");
              })
      .Flag("--no-duration", "flares within step + 2 days instead",
            [&o] { o.frame.useDuration = false; })
      .Option("--scale", "FACTOR", RangeText("symbol scale factor", kFlareScaleSetting),
              [&o](const std::string& value) {
                o.frame.flareScale =
                    SettingValue("--scale", value, kFlareScaleSetting, "a scale factor");
              })
      .Option("--clip", "AREA",
              RangeText("largest apparent area, millionths of the disk,", kClipLimitSetting),
              [&o](const std::string& value) {
                o.clip = true;
                o.clipLimit = SettingValue("--clip", value, kClipLimitSetting,
                                           "an area in millionths of the solar disk");
              })
      .Flag("--no-clip", "no limit", [&o] { o.clip = false; })
      .Flag("--log", "logarithmic apparent area", [&o] { o.logScale = true; })
      .Flag("--no-log", "linear apparent area (the default)", [&o] { o.logScale = false; })
      .Option("--style", "STYLE",
              "dialog (the default: exactly the program's window) or slide: for a classroom, "
              "with text and lines that grow with --width, a legend, a scale bar, planet labels "
              "that keep clear of each other and of the Sun, and colours that stay apart",
              [&o](const std::string& value) {
                if (value != "dialog" && value != "slide") {
                  throw UsageError("--style must be dialog or slide, got " + Quoted(value));
                }
                o.slide = value == "slide";
              })
      .Option("--title", "TEXT", "a title at the top of a slide",
              [&o](const std::string& value) { o.slideStyle.title = wxString::FromUTF8(value); })
      .Flag("--light", "a slide on a white background, for print",
            [&o] { o.slideStyle.light = true; })
      .Flag("--orbits", "an inset on a slide with the planets around the Sun (log distance)",
            [&o] { o.slideStyle.orbits = true; });
}


}  // namespace

RenderCommandLine::RenderCommandLine()
    : m_cli(std::make_unique<CommandLine>("barywalk-render", kDescription, kFooter)),
      m_texts(std::make_unique<RenderTexts>()) {
  DeclareOptions(*m_cli, m_options, *m_texts);
}

RenderCommandLine::~RenderCommandLine() = default;

void RenderCommandLine::Complete() { CompleteOptions(*m_texts, m_options); }

RenderOptions ParseRenderArguments(const std::vector<std::string>& args) {
  RenderCommandLine cli;
  if (!cli.Program().Parse(args)) {
    RenderOptions help;
    help.help = true;
    return help;
  }
  cli.Complete();
  return cli.Options();
}

int GifDelayCentiseconds(double fps) { return static_cast<int>(100.0 / fps + 0.5); }

bool ParseFramePattern(const std::string& pattern, FramePattern& parsed) {
  const std::size_t slash = pattern.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (pattern.find('%') < nameStart) return false;  // no numbered folders
  parsed = FramePattern();
  bool converted = false;
  std::string* out = &parsed.prefix;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      *out += pattern[i];
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      *out += '%';
      ++i;
      continue;
    }
    if (converted) return false;
    std::size_t j = i + 1;
    if (j < pattern.size() && pattern[j] == '0') {
      parsed.zeroPad = true;
      ++j;
    }
    while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j]))) {
      parsed.width = parsed.width * 10 + (pattern[j] - '0');
      if (parsed.width > 20) return false;
      ++j;
    }
    if (j >= pattern.size() || pattern[j] != 'd') return false;
    converted = true;
    out = &parsed.suffix;
    i = j;
  }
  return converted;
}

std::string FrameFileName(const FramePattern& pattern, std::int64_t number) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < pattern.width) {
    digits.insert(0, pattern.width - digits.size(), pattern.zeroPad ? '0' : ' ');
  }
  return pattern.prefix + digits + pattern.suffix;
}

std::string RenderUsageText() { return RenderCommandLine().Program().Help(); }

}  // namespace barywalk
