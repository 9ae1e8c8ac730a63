// barywalk-flares stats: the statistics file of Play forward, without the
// dialog and without waiting for the run to play.
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/stats_replay.h"
#include "analysis/theory_range.h"
#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"
#include "flare_inputs.h"
#include "flares/flare_constants.h"
#include "flares/flare_stat.h"
#include "flares_commands.h"
#include "simulation/run_settings.h"

namespace barywalk {
namespace {

constexpr long long kMaxPanelWidth = 100000;

std::string StatsUsage() {
  return std::string() +
    "Usage: barywalk-flares stats [OPTIONS] FILE.flr... [-o FILE]\n"
    "\n"
    "Plays the run forward as the dialog's Play forward does, without a display,\n"
    "and writes the flare statistics file that the dialog writes after it\n"
    "(\"flare_stats.txt\"): one line per flare drawn, at the frame in which its\n"
    "direction came nearest to a planet's direction.\n"
    "\n"
    "Options (the dialog's settings, with its defaults):\n"
    "  --from DATE       start date (" + IsoDate(kRunStartDate) + "); a date alone is local midnight,\n" +
    "                    as the dialog's date fields take it; or a Julian day\n"
    "  --to DATE         end date (" + IsoDate(kRunEndDate) + ")\n" +
    "  --utc             dates alone are UTC midnight instead of local midnight\n"
    "  --step DAYS       increment per tick (" + SettingNumber(kIncrementSetting.initial) +
    "), 1/" + SettingNumber(1 / kIncrementSetting.low) + " to " +
    SettingNumber(kIncrementSetting.high) + "\n" +
    "  --duration MIN    flares within MIN/2 minutes of the time are shown (" +
    SettingNumber(kDurationSetting.initial) + ")\n" +
    "  --no-duration     flares within (increment + 2) days are shown instead\n"
    "  --scale F         flare symbol scale factor (" + SettingNumber(kFlareScaleSetting.initial) +
    "), " + SettingNumber(kFlareScaleSetting.low) + " to " +
    SettingNumber(kFlareScaleSetting.high) + "; symbols of\n" +
    "                    1 pixel or less are not drawn and not measured\n"
    "  --clip AREA       clip the apparent area at AREA millionths (" +
    SettingNumber(kClipLimitSetting.initial) + ")\n" +
    "  --no-clip         no clipping\n"
    "  --log             logarithmic apparent area\n"
    "  --width PX        panel width in pixels (" + std::to_string(kViewSidePixels) +
    "); sets the symbol sizes\n" +
    "  -o FILE           output file (default standard output); written only\n"
    "                    when complete\n"
    "\n"
    "Exit status: 0 done, 1 output could not be written, 2 bad arguments.\n";
}

struct StatsOptions {
  std::vector<std::string> files;
  std::string output = "-";
  std::string from = IsoDate(kRunStartDate);
  std::string to = IsoDate(kRunEndDate);
  bool utc = false;
  PlayForwardRun run;
  double clip = kClipLimitSetting.initial;
  bool logScale = kShownAtStart.logScale;
  bool help = false;
};

double DialogDate(const std::string& option, const std::string& text, bool utc) {
  double jd = 0;
  std::string error;
  if (!ParseDialogTime(text, utc, jd, error)) throw UsageError(option + ": " + error);
  if (!WithinTheoryRange(jd)) {
    throw UsageError(option + ": " + Quoted(text) +
                     " lies outside the years 0 to 4000 that the planetary theories cover");
  }
  return jd;
}

StatsOptions ParseStatsOptions(const FlaresCommandArgs& args) {
  StatsOptions options;
  bool durationGiven = false, noDuration = false, clipGiven = false, noClip = false;
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& name = reader.Current();
    if (!reader.IsOption()) {
      options.files.push_back(name);
    } else if (name == "--help" || name == "-h") {
      options.help = true;
      return options;
    } else if (name == "-o" || name == "--output") {
      options.output = reader.Value();
    } else if (name == "--from") {
      options.from = reader.Value();
    } else if (name == "--to") {
      options.to = reader.Value();
    } else if (name == "--utc") {
      reader.NoValue();
      options.utc = true;
    } else if (name == "--step") {
      options.run.incrementDays =
          NumberInRange(name, reader.Value(), kIncrementSetting.low, kIncrementSetting.high);
    } else if (name == "--duration") {
      options.run.durationMinutes =
          NumberInRange(name, reader.Value(), kDurationSetting.low, kDurationSetting.high);
      durationGiven = true;
    } else if (name == "--no-duration") {
      reader.NoValue();
      noDuration = true;
    } else if (name == "--scale") {
      options.run.scaleFactor =
          NumberInRange(name, reader.Value(), kFlareScaleSetting.low, kFlareScaleSetting.high);
    } else if (name == "--clip") {
      options.clip =
          NumberInRange(name, reader.Value(), kClipLimitSetting.low, kClipLimitSetting.high);
      clipGiven = true;
    } else if (name == "--no-clip") {
      reader.NoValue();
      noClip = true;
    } else if (name == "--log") {
      reader.NoValue();
      options.logScale = true;
    } else if (name == "--width") {
      options.run.panelWidth = static_cast<int>(WholeNumberInRange(name, reader.Value(), 1, kMaxPanelWidth));
    } else {
      reader.Unknown();
    }
  }
  if (durationGiven && noDuration) throw UsageError("--duration and --no-duration exclude each other");
  if (clipGiven && noClip) throw UsageError("--clip and --no-clip exclude each other");
  options.run.useDuration = !noDuration;
  if (noClip) options.clip = -1.0;  // as the dialog's unticked "Max app. area"
  options.run.scaling = {options.clip, options.logScale};
  if (options.files.empty()) throw UsageError("no flare file given (see --help)");
  options.run.startTime = DialogDate("--from", options.from, options.utc);
  options.run.endTime = DialogDate("--to", options.to, options.utc);
  return options;
}

}  // namespace

int RunStatsCommand(const FlaresCommandArgs& args, std::ostream& err) {
  const StatsOptions options = ParseStatsOptions(args);
  if (options.help) {
    std::cout << StatsUsage();
    return kExitOk;
  }
  const LoadedCatalogs catalogs = LoadCatalogs(options.files, "stats", err);

  OutputFile output(options.output);
  FlareStatMap stats;
  {
    ProgressBar progress("stats", EstimatedTickCount(options.run));
    stats = ReplayPlayForwardStats(catalogs.flares, options.run,
                                   [&progress](std::int64_t ticks) { progress.Update(ticks); });
    progress.Finish();
  }
  WriteFlareStats(output.stream(), stats);
  output.Commit();
  return kExitOk;
}

}  // namespace barywalk
