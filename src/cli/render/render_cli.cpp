#include "render_cli.h"

#include "flare_inputs.h"

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
#include "common/interrupts.h"
#include "flares/flare_file.h"
#include "frame_sinks.h"
#include "private_display.h"
#include "render/frame_drawing.h"
#include "simulation/player.h"

namespace barywalk {
namespace {

constexpr const char* kProgram = "barywalk-render";

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

wxImage DrawFrame(const RenderOptions& options, const LoadedFlares& flares, const Player& run,
                  FrameCanvas& canvas) {
  const FrameState state = FrameStateOf(run, &flares.flares, flares.maxFlareSize);
  PlanetLongitudes longitudes;
  const FrameSettings& settings = options.frame;
  const int w = options.width;
  return canvas.Render([&](wxDC& dc) {
    if (options.slide) {
      DrawSlideFrame(dc, w, w, settings, state, options.slideStyle);
    } else {
      DrawViewFrame(dc, w, w, settings, state, longitudes);
    }
  });
}

// Plays from `from` to `to` as the dialog's Play forwards from a stop does,
// calling `tick` with the number of ticks made after each one.
std::int64_t PlayForwards(Player& player, double from, double to, double step,
                          const std::function<void(std::int64_t)>& tick) {
  player.Reset(from, to);
  player.Play(false);
  std::int64_t ticks = 0;
  while (player.Playing()) {
    player.Step(step);
    tick(++ticks);
  }
  return ticks;
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
  if (options.flareFiles.empty()) return loaded;
  loaded.flares = LoadCatalogs(options.flareFiles, kProgram, err).flares;
  loaded.maxFlareSize = MaxFlareSize(loaded.flares, options.frame.flareScaling);
  return loaded;
}

std::int64_t TickCount(const RenderOptions& options) {
  if (!options.hasAt) return CountForwardTicks(options.from, options.to, options.step);
  return options.frame.sunLayer.orbit ? CountForwardTicks(options.from, options.at, options.step)
                                      : 0;
}

std::int64_t RenderFrames(const RenderOptions& options, const LoadedFlares& flares,
                          const std::function<void(wxImage&, std::int64_t)>& emit,
                          const std::function<void(std::int64_t)>& onTick) {
  auto ticked = [&](std::int64_t ticks) {
    if (InterruptRequested()) throw Interrupted();
    if (onTick) onTick(ticks);
  };
  FrameCanvas canvas(options.width, options.width);
  Player player(options.width);
  if (options.hasAt) {
    // The stopped player at --at; a trail is the one a run from --from
    // collects before reaching --at.
    if (options.frame.sunLayer.orbit) {
      PlayForwards(player, options.from, options.at, options.step, ticked);
    }
    player.ShowAt(options.at);
    wxImage frame = DrawFrame(options, flares, player, canvas);
    emit(frame, 1);
    return 1;
  }
  return PlayForwards(player, options.from, options.to, options.step, [&](std::int64_t ticks) {
    ticked(ticks);
    wxImage frame = DrawFrame(options, flares, player, canvas);
    emit(frame, ticks);
  });
}

int RunRender(const RenderOptions& options, std::ostream& err) {
  if (options.utc) {
    setenv("TZ", "UTC0", 1);  // the date label as well as the dates
    tzset();
  }
  const std::string clash = OutputClash(options.flareFiles, {{"-o", options.output}});
  if (!clash.empty()) throw UsageError(clash);
  // Ctrl+C and termination end the run between two frames, so that the
  // temporary output is removed and no server is left behind.
  CatchInterrupts(kProgram, true);
  // A stopped encoder shows as a failed write, not as a killed program.
  signal(SIGPIPE, SIG_IGN);
  const LoadedFlares flares = LoadRenderFlares(options, err);
  std::unique_ptr<FrameSink> output = OpenFrameSink(options);
  PrivateDisplay display;
  display.StartIfNeeded();
  const Toolkit toolkit;
  // Encodes beside the drawing; it ends before the toolkit does.
  const std::unique_ptr<FrameSink> sink = InBackground(std::move(output));
  ProgressBar progress("rendering", TickCount(options));
  const std::int64_t frames = RenderFrames(
      options, flares, [&](wxImage& frame, std::int64_t) { sink->Take(frame); },
      [&](std::int64_t ticks) { progress.Update(ticks); });
  progress.Finish();
  if (InterruptRequested()) throw Interrupted();
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
