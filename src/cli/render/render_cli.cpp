#include "render_cli.h"

#include <signal.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdlib>
#include <ctime>
#include <ostream>
#include <stdexcept>

#include "cli_app.h"
#include "cli_args.h"
#include "cli_output.h"
#include "flares/flare_file.h"
#include "frame_sinks.h"
#include "private_display.h"
#include "render/frame_drawing.h"
#include "simulation/forward_run.h"

namespace barywalk {
namespace {

constexpr const char* kProgram = "barywalk-render";

volatile sig_atomic_t g_interrupted = 0;

void NoteInterrupt(int) { g_interrupted = 1; }

// Ctrl+C and termination end the run between two frames, so that the
// temporary output is removed and no server is left behind.
void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
  // A stopped encoder shows as a failed write, not as a killed program.
  signal(SIGPIPE, SIG_IGN);
}

class Interrupted : public std::runtime_error {
 public:
  Interrupted() : std::runtime_error("interrupted; nothing written") {}
};

// The toolkit started without its main loop, for drawing off screen.
class Toolkit {
 public:
  Toolkit() {
    static char name[] = "barywalk-render";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
      throw UsageError("cannot start the toolkit on display " +
                       std::string(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(none)"));
    }
    wxInitAllImageHandlers();
  }
  ~Toolkit() { wxEntryCleanup(); }
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;
};

wxImage DrawFrame(const RenderOptions& options, const LoadedFlares& flares, const ForwardRun& run,
                  FrameCanvas& canvas) {
  FrameState state;
  state.simTime = run.SimTime();
  state.positions = &run.Positions();
  state.sunOffset = run.SunOffset();
  state.sunAccel = run.SunAccel();
  state.path = &run.Path();
  state.flares = &flares.flares;
  state.maxFlareSize = flares.maxFlareSize;
  PlanetLongitudes longitudes;
  const int w = options.width;
  return canvas.Render(
      [&](wxDC& dc) { DrawViewFrame(dc, w, w, options.frame, state, longitudes); });
}

std::string ReportProblem(const FlareFileReport& report, const std::string& path) {
  if (!report.opened) return "cannot read the flare file " + path + ": " + report.error;
  if (report.result.status != FlareReadStatus::Ok) {
    return "the flare file " + path + " was not read to its end: " + report.error;
  }
  return "";
}

// A numbered sequence written over a longer one leaves the older frames
// after it in place; a film made from the folder would show them.
void WarnOfOlderFrames(const RenderOptions& options, std::int64_t frames, std::ostream& err) {
  FramePattern pattern;
  if (options.kind != OutputKind::PngSequence || !ParseFramePattern(options.output, pattern)) {
    return;
  }
  const std::string next = FrameFileName(pattern, frames + 1);
  if (access(next.c_str(), F_OK) == 0) {
    err << kProgram << ": warning: " << next
        << " and any later frames are not from this run; remove them\n";
  }
}

}  // namespace

LoadedFlares LoadRenderFlares(const RenderOptions& options, std::ostream& err) {
  LoadedFlares loaded;
  SetFlareAreaClip(options.clip ? options.clipLimit : -1.0);
  SetFlareLogScale(options.logScale);
  if (options.flareFiles.empty()) return loaded;
  const std::vector<FlareFileReport> reports = LoadFlareFiles(options.flareFiles, loaded.flares);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const std::string problem = ReportProblem(reports[i], options.flareFiles[i]);
    if (!problem.empty()) throw UsageError(problem);
    const int incomplete = reports[i].result.incompleteLines;
    if (incomplete > 0) {
      err << kProgram << ": warning: " << options.flareFiles[i] << ": " << incomplete
          << (incomplete == 1 ? " incomplete line" : " incomplete lines")
          << " (fields that are not numbers are taken as 0)\n";
    }
  }
  loaded.maxFlareSize = MaxFlareSize(loaded.flares);
  return loaded;
}

std::int64_t TickCount(const RenderOptions& options) {
  if (!options.hasAt) return CountForwardTicks(options.from, options.to, options.step);
  return options.frame.sunLayer.orbit ? CountForwardTicks(options.from, options.at, options.step)
                                      : 0;
}

std::int64_t RenderFrames(const RenderOptions& options, const LoadedFlares& flares,
                          const std::function<void(const wxImage&, std::int64_t)>& emit,
                          const std::function<void(std::int64_t)>& onTick) {
  auto ticked = [&](const ForwardRun& run) {
    if (g_interrupted) throw Interrupted();
    if (onTick) onTick(run.Ticks());
  };
  FrameCanvas canvas(options.width, options.width);
  if (options.hasAt) {
    // The stopped player at --at; a trail is the one a run from --from
    // collects before reaching --at.
    const bool trail = options.frame.sunLayer.orbit;
    ForwardRun run(trail ? options.from : options.at, options.at, options.step, options.width);
    while (trail && run.Tick()) ticked(run);
    run.ShowAt(options.at);
    emit(DrawFrame(options, flares, run, canvas), 1);
    return 1;
  }
  ForwardRun run(options.from, options.to, options.step, options.width);
  while (run.Tick()) {
    ticked(run);
    emit(DrawFrame(options, flares, run, canvas), run.Ticks());
  }
  return run.Ticks();
}

int RunRender(const RenderOptions& options, std::ostream& err) {
  if (options.utc) {
    setenv("TZ", "UTC0", 1);  // the date label as well as the dates
    tzset();
  }
  CatchInterrupts();
  const LoadedFlares flares = LoadRenderFlares(options, err);
  std::unique_ptr<FrameSink> output = OpenFrameSink(options);
  PrivateDisplay display;
  display.StartIfNeeded();
  const Toolkit toolkit;
  // Encodes beside the drawing; it ends before the toolkit does.
  const std::unique_ptr<FrameSink> sink = InBackground(std::move(output));
  ProgressBar progress("rendering", TickCount(options));
  const std::int64_t frames = RenderFrames(
      options, flares, [&](const wxImage& frame, std::int64_t) { sink->Add(frame); },
      [&](std::int64_t ticks) { progress.Update(ticks); });
  progress.Finish();
  if (g_interrupted) throw Interrupted();
  sink->Commit();
  WarnOfOlderFrames(options, frames, err);
  return kExitOk;
}

int RunRenderProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  RenderCommandLine cli;
  cli.Program().Run([&] {
    cli.Complete();
    return RunRender(cli.Options(), err);
  });
  return RunCli(cli.Program(), args, out, err);
}

}  // namespace barywalk
