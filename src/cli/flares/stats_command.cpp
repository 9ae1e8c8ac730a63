// barywalk-flares stats: the statistics file of Play forward, without the
// dialog and without waiting for the run to play.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "simulation/run_settings.h"
#include "analysis/stats_replay.h"
#include "analysis/theory_range.h"
#include "cli_app.h"
#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"
#include "common/interrupts.h"
#include "flare_inputs.h"
#include "flares/flare_constants.h"
#include "flares/flare_stat.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

constexpr long long kMaxPanelWidth = 100000;

const char* const kStatsSummary = "the flare statistics file of Play forward, without the dialog";

const char* const kStatsDescription =
    "Plays the run forward as the dialog's Play forward does, without a display,\n"
    "and writes the flare statistics file that the dialog writes after it\n"
    "(\"flare_stats.txt\"): one line per flare drawn, at the frame in which its\n"
    "direction came nearest to a planet's direction. The options are the\n"
    "dialog's settings, with its defaults.\n";

const std::string kStatsFooter =
    std::string("DATE: a Julian day, a UTC date-time (2000-01-01T12:00Z), or ") + kDateAloneRule +
    "; within the years 0 to 4000, where the planetary theories hold.\n\n"
    "Of options that contradict each other (--clip and --no-clip, --duration and\n"
    "--no-duration) the last one given counts.\n"
    "\n"
    "Exit status: 0 done, 1 output could not be written, 2 bad arguments.\n";

struct StatsOptions {
  std::vector<std::string> files;
  std::string output = "-";
  std::string from = IsoDate(kRunStartDate);
  std::string to = IsoDate(kRunEndDate);
  bool utc = false;
  PlayForwardRun run;
  double clip = kClipLimitSetting.initial;
  bool logScale = kShownAtStart.logScale;
  FlareLoadOptions load;
};

// "(0.11), 1/1440 to 365": a setting's default and range in a help line.
std::string DefaultAndRange(const NumberSetting& setting) {
  return "(" + SettingNumber(setting.initial) + "), " + SettingLow(setting) + " to " +
         SettingNumber(setting.high);
}

double SettingValue(const std::string& option, const std::string& text,
                    const NumberSetting& setting) {
  return NumberInRange(option, text, setting.low, setting.high);
}

int RunStats(StatsOptions options, std::ostream& err) {
  if (options.files.empty()) throw UsageError("no flare file given (see --help)");
  options.run.startTime = TimeArgument("--from", options.from, options.utc);
  options.run.endTime = TimeArgument("--to", options.to, options.utc);
  if (options.run.startTime > options.run.endTime) throw UsageError("--from is later than --to");
  const std::string clash = OutputClash(options.files, {{"-o", options.output}});
  if (!clash.empty()) throw UsageError(clash);
  const std::string program = "barywalk-flares stats";
  CatchInterrupts(program, false);
  const LoadedCatalogs catalogs = LoadCatalogs(options.files, program, err, options.load);
  options.run.scaling = {options.clip, options.logScale};

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

}  // namespace

void AddStatsCommand(CommandLine& program, std::ostream& err) {
  const auto options = std::make_shared<StatsOptions>();
  PlayForwardRun& run = options->run;
  program
      .Command("stats", kStatsSummary, kStatsDescription, kStatsFooter,
               [options, &err] { return RunStats(*options, err); })
      .Option("--min-class", "CLASS",
              "only flares of GOES class CLASS and above (C1.0 keeps C1.0), as fields 6 of "
              "the flare files give it; flares without a class are left out and counted",
              [options](const std::string& text) {
                options->load.minClass = GoesClassArgument("--min-class", text);
              })
      .Option("--from", "DATE", "start date (" + IsoDate(kRunStartDate) + ")",
              [options](const std::string& text) { options->from = text; })
      .Option("--to", "DATE", "end date (" + IsoDate(kRunEndDate) + ")",
              [options](const std::string& text) { options->to = text; })
      .Flag("--utc", "a date alone is UTC midnight instead of local midnight",
            [options] { options->utc = true; })
      .Option("--step", "DAYS", "increment per tick " + DefaultAndRange(kIncrementSetting),
              [&run](const std::string& text) {
                run.incrementDays = SettingValue("--step", text, kIncrementSetting);
              })
      .Option("--duration", "MIN",
              "flares within MIN/2 minutes of the time are shown " +
                  DefaultAndRange(kDurationSetting),
              [&run](const std::string& text) {
                run.durationMinutes = SettingValue("--duration", text, kDurationSetting);
                run.useDuration = true;
              })
      .Flag("--no-duration", "flares within (increment + 2) days are shown instead",
            [&run] { run.useDuration = false; })
      .Option("--scale", "F",
              "flare symbol scale factor " + DefaultAndRange(kFlareScaleSetting) +
                  "; symbols of 1 pixel or less are not drawn and not measured",
              [&run](const std::string& text) {
                run.scaleFactor = SettingValue("--scale", text, kFlareScaleSetting);
              })
      .Option("--clip", "AREA",
              "clip the apparent area at AREA millionths " + DefaultAndRange(kClipLimitSetting),
              [options](const std::string& text) {
                options->clip = SettingValue("--clip", text, kClipLimitSetting);
              })
      // As the dialog's unticked "Max app. area".
      .Flag("--no-clip", "no clipping", [options] { options->clip = -1.0; })
      .Flag("--log", "logarithmic apparent area", [options] { options->logScale = true; })
      .Option("--width", "PX",
              "panel width in pixels (" + std::to_string(kViewSidePixels) +
                  "); sets the symbol sizes",
              [&run](const std::string& text) {
                run.panelWidth = static_cast<int>(WholeNumberInRange("--width", text, 1, kMaxPanelWidth));
              })
      .Option("-o,--output", "FILE",
              "output file (default standard output); written only when complete",
              [options](const std::string& path) { options->output = path; })
      .Positionals("FILE.flr", "flare files, read in order",
                   [options](const std::string& path) { options->files.push_back(path); });
}

}  // namespace barywalk
