#include "render_options.h"

#include <array>
#include <cctype>
#include <functional>
#include <map>
#include <set>

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

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == end;
}

// "from 0 to 100"
std::string RangeText(const NumberSetting& setting) {
  return "from " + SettingNumber(setting.low) + " to " + SettingNumber(setting.high);
}

// A number within the setting's range; `what` says what it is in the message.
double NumberIn(const std::string& name, const std::string& text, const NumberSetting& setting,
                const std::string& what) {
  double value = 0;
  if (!ParseNumber(text, value) || !setting.Contains(value)) {
    throw UsageError(name + " must be " + what + " " + RangeText(setting) + ", got " +
                     Quoted(text));
  }
  return value;
}

// The increment's lower end is one minute, which reads better as a fraction.
std::string StepRangeText() {
  return "1/" + SettingNumber(1.0 / kIncrementSetting.low) + " to " +
         SettingNumber(kIncrementSetting.high);
}

// "all", "none" or planet names separated by commas, in any case.
std::array<bool, kPlanetCount> ParsePlanets(const std::string& text) {
  std::array<bool, kPlanetCount> shown{};
  const std::string lower = Lower(text);
  if (lower == "all") shown.fill(true);
  if (lower == "all" || lower == "none") return shown;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find(',', begin);
    if (end == std::string::npos) end = text.size();
    const std::string name = text.substr(begin, end - begin);
    bool known = false;
    for (int i = 0; i < kPlanetCount; ++i) {
      if (Lower(name) == Lower(PlanetName(kAllPlanets[i]))) shown[i] = known = true;
    }
    if (!known) {
      throw UsageError("unknown planet " + Quoted(name) +
                       " in --planets (Mercury, Venus, Earth, Mars, Jupiter, Saturn, Uranus, "
                       "Neptune, Pluto, or all or none)");
    }
    begin = end + 1;
  }
  return shown;
}

double ParseDate(const std::string& name, const std::string& text, bool utc) {
  double jd = 0;
  std::string error;
  if (!ParseDialogTime(text, utc, jd, error)) throw UsageError(name + ": " + error);
  return jd;
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

const std::set<std::string>& ValueOptions() {
  static const std::set<std::string> names = {
      "-o",      "--output",   "--from",  "--to",   "--at",    "--step", "--planets",
      "--accel", "--duration", "--scale", "--clip", "--width", "--fps", "--style",
      "--title"};
  return names;
}

// Flags: each sets one switch of the options.
using FlagAction = std::function<void(RenderOptions&)>;
const std::map<std::string, FlagAction>& Flags() {
  static const std::map<std::string, FlagAction> flags = {
      {"--year", [](RenderOptions& o) { o.frame.sunLayer.year = true; }},
      {"--no-year", [](RenderOptions& o) { o.frame.sunLayer.year = false; }},
      {"--month", [](RenderOptions& o) { o.frame.sunLayer.month = true; }},
      {"--no-month", [](RenderOptions& o) { o.frame.sunLayer.month = false; }},
      {"--day", [](RenderOptions& o) { o.frame.sunLayer.day = true; }},
      {"--no-day", [](RenderOptions& o) { o.frame.sunLayer.day = false; }},
      {"--sun", [](RenderOptions& o) { o.frame.sunLayer.sun = true; }},
      {"--no-sun", [](RenderOptions& o) { o.frame.sunLayer.sun = false; }},
      {"--trail", [](RenderOptions& o) { o.frame.sunLayer.orbit = true; }},
      {"--no-trail", [](RenderOptions& o) { o.frame.sunLayer.orbit = false; }},
      {"--no-accel", [](RenderOptions& o) { o.frame.sunLayer.acceleration = false; }},
      {"--no-flares", [](RenderOptions& o) { o.frame.flares = false; }},
      {"--no-duration", [](RenderOptions& o) { o.frame.useDuration = false; }},
      {"--no-clip", [](RenderOptions& o) { o.clip = false; }},
      {"--log", [](RenderOptions& o) { o.logScale = true; }},
      {"--no-log", [](RenderOptions& o) { o.logScale = false; }},
      {"--utc", [](RenderOptions& o) { o.utc = true; }},
      {"--light", [](RenderOptions& o) { o.slideStyle.light = true; }},
      {"--orbits", [](RenderOptions& o) { o.slideStyle.orbits = true; }},
  };
  return flags;
}

bool LooksLikeOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// --style, and the slide's own settings, which mean nothing in the
// dialog's look.
void ApplyStyle(const std::map<std::string, std::string>& given, RenderOptions& options) {
  const auto style = given.find("--style");
  if (style != given.end()) {
    if (style->second != "dialog" && style->second != "slide") {
      throw UsageError("--style must be dialog or slide, got " + Quoted(style->second));
    }
    options.slide = style->second == "slide";
  }
  const auto title = given.find("--title");
  if (title != given.end()) options.slideStyle.title = wxString::FromUTF8(title->second);
  if (options.slide) return;
  if (title != given.end()) throw UsageError("--title needs --style slide");
  if (options.slideStyle.light) throw UsageError("--light needs --style slide");
  if (options.slideStyle.orbits) throw UsageError("--orbits needs --style slide");
}

// The option values are read once all arguments are known: --utc may come
// after the dates.
void ApplyValues(const std::map<std::string, std::string>& given, RenderOptions& options) {
  auto has = [&](const char* name) { return given.count(name) > 0; };
  auto value = [&](const char* name) { return given.at(name); };
  if (!has("-o")) throw UsageError("no output given: -o FILE (see --help)");
  options.output = value("-o");
  options.hasAt = has("--at");
  if (options.hasAt && has("--to")) {
    throw UsageError("--at draws one frame and --to ends a run: give one of them");
  }
  options.kind = KindOfOutput(options.output, options.hasAt);

  options.from =
      ParseDate("--from", has("--from") ? value("--from") : IsoDate(kRunStartDate), options.utc);
  options.to = ParseDate("--to", has("--to") ? value("--to") : IsoDate(kRunEndDate), options.utc);
  if (options.hasAt) options.at = ParseDate("--at", value("--at"), options.utc);
  if (has("--step")) {
    double step = 0;
    if (!ParseNumber(value("--step"), step) || !kIncrementSetting.Contains(step)) {
      throw UsageError("--step must be a number of days from " + StepRangeText() +
                       " (one minute to a year), got " + Quoted(value("--step")));
    }
    options.step = step;
  }
  if (!options.hasAt) {
    if (options.from > options.to) throw UsageError("--from is later than --to");
    if ((options.to - options.from) / options.step > kMaxFrames) {
      throw UsageError("the run would have more than 10000000 frames; use a larger --step");
    }
  }
  options.frame.incrementDays = options.step;

  if (has("--planets")) options.frame.planets = ParsePlanets(value("--planets"));
  if (has("--accel")) {
    options.frame.sunLayer.acceleration = true;
    options.frame.sunLayer.accelFactor =
        NumberIn("--accel", value("--accel"), kAccelFactorSetting, "a display factor");
  }
  if (has("--duration")) {
    options.frame.useDuration = true;
    options.frame.durationMinutes =
        NumberIn("--duration", value("--duration"), kDurationSetting, "a number of minutes");
  }
  if (has("--scale")) {
    options.frame.flareScale =
        NumberIn("--scale", value("--scale"), kFlareScaleSetting, "a scale factor");
  }
  if (has("--clip")) {
    options.clip = true;
    options.clipLimit = NumberIn("--clip", value("--clip"), kClipLimitSetting,
                                 "an area in millionths of the solar disk");
  }
  if (has("--width")) {
    long long width = 0;
    if (!ParseWholeNumber(value("--width"), width) || width < kMinWidth || width > kMaxWidth) {
      throw UsageError("--width must be a whole number of pixels from 64 to 8192, got " +
                       Quoted(value("--width")));
    }
    options.width = static_cast<int>(width);
  }
  if (has("--fps")) {
    double fps = 0;
    if (!ParseNumber(value("--fps"), fps) || !(fps > 0) || fps > kMaxFps) {
      throw UsageError("--fps must be a number of frames per second above 0, at most 240, got " +
                       Quoted(value("--fps")));
    }
    options.fps = fps;
  }
  if (options.kind == OutputKind::Gif && options.fps > kMaxGifFps) {
    throw UsageError("a GIF shows at most 50 frames per second: lower --fps");
  }
  ApplyStyle(given, options);
  const bool trailRun = options.hasAt && options.frame.sunLayer.orbit;
  if (trailRun && (options.at - options.from) / options.step > kMaxFrames) {
    throw UsageError(
        "the trail's run from --from to --at would have more than 10000000 steps; "
        "use a larger --step");
  }
}

}  // namespace

RenderOptions ParseRenderArguments(const std::vector<std::string>& args) {
  RenderOptions options;
  std::map<std::string, std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool hasValue = false;
    const std::size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
      hasValue = true;
    }
    if (name == "--help" && !hasValue) {
      options.help = true;
      return options;
    }
    if (name == "--output") name = "-o";
    if (name == "--flares") {
      if (hasValue) options.flareFiles.push_back(value);
      while (i + 1 < args.size() && !LooksLikeOption(args[i + 1])) {
        options.flareFiles.push_back(args[++i]);
        hasValue = true;
      }
      if (!hasValue) throw UsageError("--flares needs at least one flare file");
      continue;
    }
    if (ValueOptions().count(name) > 0) {
      if (!hasValue) {
        if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
        value = args[++i];
      }
      if (!given.emplace(name, value).second) throw UsageError(name + " given more than once");
      continue;
    }
    const auto flag = Flags().find(name);
    if (flag == Flags().end()) {
      throw UsageError(LooksLikeOption(name)
                           ? "unknown option " + Quoted(name)
                           : "unexpected argument " + Quoted(name) + " (the output goes after -o)");
    }
    if (hasValue) throw UsageError(name + " takes no value");
    flag->second(options);
  }
  ApplyValues(given, options);
  return options;
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

// "Earth,Jupiter,Saturn,Uranus,Neptune": the planets shown at start.
std::string PlanetsShownAtStart() {
  std::string names;
  for (int i = 0; i < kPlanetCount; ++i) {
    if (!kShownAtStart.planets[i]) continue;
    if (!names.empty()) names += ',';
    names += PlanetName(kAllPlanets[i]);
  }
  return names;
}

std::string RenderUsageText() {
  return std::string() +
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
         "  --fps N          frames per second of a GIF or MP4 (default " +
         std::to_string(1000 / kTickPeriodMs) + ", the\n" +
         "                   program's " + std::to_string(kTickPeriodMs) +
         " ms tick; a GIF shows at most 50)\n" +
         "\n"
         "Time (DATE: a date such as 1980-01-01 is local midnight, as in the program's\n"
         "date fields; also a Julian day, or a UTC date-time such as 2000-01-01T12:00):\n"
         "  --from DATE      start of the run (default " + IsoDate(kRunStartDate) + ")\n" +
         "  --to DATE        end of the run (default " + IsoDate(kRunEndDate) + ")\n" +
         "  --step DAYS      days per step, " + StepRangeText() + " (default " +
         SettingNumber(kIncrementSetting.initial) + ")\n" +
         "  --at DATE        one frame at DATE; with --trail, the trail is the one a run\n"
         "                   from --from collects before DATE\n"
         "  --utc            dates and the date label in UTC instead of the zone of TZ\n"
         "\n"
         "What the frame shows (the program's defaults):\n"
         "  --planets LIST   planet directions: names separated by commas, all or none\n"
         "                   (default " + PlanetsShownAtStart() + ")\n" +
         "  --no-year, --no-month, --no-day   parts of the date label (all shown;\n"
         "                   without the year there is no label)\n"
         "  --no-sun         no Sun disc; the date label goes to the top left\n"
         "  --trail          the Sun's trail (the program's \"Solar orbit\")\n"
         "  --accel FACTOR   the acceleration vector with its display factor (off)\n"
         "  --width PX       the square panel's size, 64 to 8192 (default " +
         std::to_string(kViewSidePixels) + ")\n" +
         "\n"
         "Flares:\n"
         "  --flares FILE... flare files (.flr), read in order\n"
         "  --no-flares      no flare layer (shown by default, with the flare count)\n"
         "  --duration MIN   flares within MIN/2 minutes of the time (default " +
         SettingNumber(kDurationSetting.initial) + ");\n" +
         "  --no-duration    or within step + 2 days\n"
         "  --scale FACTOR   symbol scale factor, " + SettingNumber(kFlareScaleSetting.low) +
         " to " + SettingNumber(kFlareScaleSetting.high) + " (default " +
         SettingNumber(kFlareScaleSetting.initial) + ")\n" +
         "  --clip AREA      largest apparent area, millionths of the disk (default " +
         SettingNumber(kClipLimitSetting.initial) + ")\n" +
         "  --no-clip        no limit\n"
         "  --log            logarithmic apparent area\n"
         "\n"
         "Slides for a classroom:\n"
         "  --style STYLE    dialog (default: exactly the program's window) or slide:\n"
         "                   text and lines that grow with --width, a legend, a scale\n"
         "                   bar, planet labels that keep clear of each other and of\n"
         "                   the Sun, colours that stay apart\n"
         "  --title TEXT     a title at the top of a slide\n"
         "  --light          a white background, for print\n"
         "  --orbits         an inset with the planets around the Sun (log distance)\n"
         "\n"
         "--year, --month, --day, --sun, --no-trail, --no-accel and --no-log undo the\n"
         "switches above; the last one given counts.\n"
         "\n"
         "Without $DISPLAY the program draws on a private Xvfb server of its own.\n"
         "A progress bar shows on standard error when a run takes more than a second.\n"
         "An output appears under its name only when it is complete.\n"
         "\n"
         "Exit status: 0 on success, 1 when the output could not be written\n"
         "completely, 2 on a bad argument, an unreadable flare file or a missing\n"
         "encoder or display (one line on standard error).\n";
}

}  // namespace barywalk
