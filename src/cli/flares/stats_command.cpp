// barywalk-flares stats: the statistics file of Play forward, without the
// dialog and without waiting for the run to play.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "simulation/sim_clock.h"
#include "analysis/stats_replay.h"
#include "analysis/theory_range.h"
#include "cli_app.h"
#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"
#include "flare_inputs.h"
#include "flares/flare_constants.h"
#include "flares/flare_stat.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

// The dialog's defaults and the ranges of its controls.
constexpr const char* kDefaultFrom = "1980-01-01";
constexpr const char* kDefaultTo = "2040-01-01";
constexpr double kMinDurationMinutes = 1, kMaxDurationMinutes = 1440;
constexpr double kMaxScaleFactor = 100;
constexpr double kMaxClipArea = 10000;
constexpr long long kMaxPanelWidth = 100000;

const char* const kStatsSummary = "the flare statistics file of Play forward, without the dialog";

const char* const kStatsDescription =
    "Plays the run forward as the dialog's Play forward does, without a display,\n"
    "and writes the flare statistics file that the dialog writes after it\n"
    "(\"flare_stats.txt\"): one line per flare drawn, at the frame in which its\n"
    "direction came nearest to a planet's direction. The options are the\n"
    "dialog's settings, with its defaults.\n";

const char* const kStatsFooter =
    "Of options that contradict each other (--clip and --no-clip, --duration and\n"
    "--no-duration) the last one given counts.\n"
    "\n"
    "Exit status: 0 done, 1 output could not be written, 2 bad arguments.\n";

struct StatsOptions {
  std::vector<std::string> files;
  std::string output = "-";
  std::string from = kDefaultFrom;
  std::string to = kDefaultTo;
  bool utc = false;
  PlayForwardRun run;
  double clip = kDefaultFlareAreaClip;
  bool logScale = false;
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

int RunStats(StatsOptions options, std::ostream& err) {
  if (options.files.empty()) throw UsageError("no flare file given (see --help)");
  options.run.startTime = DialogDate("--from", options.from, options.utc);
  options.run.endTime = DialogDate("--to", options.to, options.utc);
  const LoadedCatalogs catalogs = LoadCatalogs(options.files, "stats", err);
  // The dialog's two process-wide flare settings, as its check boxes set them.
  SetFlareAreaClip(options.clip);
  SetFlareLogScale(options.logScale);

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
      .Option("--from", "DATE",
              "start date (1980-01-01); a date alone is local midnight, as the dialog's date "
              "fields take it; or a Julian day",
              [options](const std::string& text) { options->from = text; })
      .Option("--to", "DATE", "end date (2040-01-01)",
              [options](const std::string& text) { options->to = text; })
      .Flag("--utc", "dates alone are UTC midnight instead of local midnight",
            [options] { options->utc = true; })
      .Option("--step", "DAYS", "increment per tick (0.11), 1/1440 to 365",
              [&run](const std::string& text) {
                run.incrementDays = NumberInRange("--step", text, kMinIncrementDays, kMaxIncrementDays);
              })
      .Option("--duration", "MIN", "flares within MIN/2 minutes of the time are shown (300)",
              [&run](const std::string& text) {
                run.durationMinutes =
                    NumberInRange("--duration", text, kMinDurationMinutes, kMaxDurationMinutes);
                run.useDuration = true;
              })
      .Flag("--no-duration", "flares within (increment + 2) days are shown instead",
            [&run] { run.useDuration = false; })
      .Option("--scale", "F",
              "flare symbol scale factor (1), 0 to 100; symbols of 1 pixel or less are not "
              "drawn and not measured",
              [&run](const std::string& text) {
                run.scaleFactor = NumberInRange("--scale", text, 0, kMaxScaleFactor);
              })
      .Option("--clip", "AREA", "clip the apparent area at AREA millionths (800)",
              [options](const std::string& text) {
                options->clip = NumberInRange("--clip", text, 0, kMaxClipArea);
              })
      // As the dialog's unticked "Max app. area".
      .Flag("--no-clip", "no clipping", [options] { options->clip = -1.0; })
      .Flag("--log", "logarithmic apparent area", [options] { options->logScale = true; })
      .Option("--width", "PX", "panel width in pixels (640); sets the symbol sizes",
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
