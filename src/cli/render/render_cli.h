// barywalk-render: frames of the orbit view as pictures and animations.
// See RenderUsageText() in render_options.cpp or run with --help.
#pragma once

#include <wx/image.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "flares/solar_flare.h"
#include "render_options.h"

namespace barywalk {

// The loaded flares of --flares with the symbol settings applied.
struct LoadedFlares {
  FlareMap flares;
  double maxFlareSize = 0.0;
};

// Reads the flare files (throws UsageError for a file that cannot be read
// to its end; writes a warning line to `err` for incomplete lines) and
// finds their largest symbol size under the options' clipping and scaling.
LoadedFlares LoadRenderFlares(const RenderOptions& options, std::ostream& err);

// Draws the frames that `options` asks for, in order, and hands each to
// `emit` with its number (from 1); `emit` may take the frame (see
// FrameSink::Take). `onTick`, when given, hears of every
// player tick made (with --at and --trail, those of the trail's run).
// Needs a running toolkit. Returns the number of frames.
std::int64_t RenderFrames(const RenderOptions& options, const LoadedFlares& flares,
                          const std::function<void(wxImage&, std::int64_t)>& emit,
                          const std::function<void(std::int64_t)>& onTick = {});

// The number of ticks RenderFrames makes: of its frames, or of the trail's
// run before one frame.
std::int64_t TickCount(const RenderOptions& options);

// The whole program: arguments, flares, output, display, toolkit, frames.
// Returns the exit status.
int RunRenderProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace barywalk
