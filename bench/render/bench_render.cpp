// barywalk-render's whole path for a long run: 1980-01-01 to 2040-01-01 at
// 20-day steps (1,096 frames), 640 pixels, every planet, the trail, the
// acceleration vector and the sample's 8,302 flares; drawing, encoding and
// writing. Targets: a PNG sequence within 10 s, a GIF within 30 s.
//
// The classroom film: 1900-01-01 to 2100-01-01 at 20-day steps (3,653
// frames) in the slide style at 1080 pixels, with title, inset, trail and
// acceleration, to MP4. Target: within 30 s. Its frame alone is measured
// too, to tell drawing from encoding.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>
#include <wx/imagpng.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "frame_sinks.h"
#include "render_cli.h"
#include "render/slide_drawing.h"
#include "render_options.h"
#include "simulation/player.h"

namespace {

std::string MakeFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/bench-render-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return mkdtemp(buffer.data()) != nullptr ? buffer.data() : "";
}

void RemoveFolder(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) std::remove((folder + "/" + entry->d_name).c_str());
    closedir(dir);
  }
  rmdir(folder.c_str());
}

// Renders one whole run of `args` (written into a scratch folder as
// `outputName`) per iteration, as the command does.
void RunRenderBenchmark(benchmark::State& state, std::vector<std::string> args,
                        const std::string& outputName) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const std::string folder = MakeFolder();
  args.insert(args.end(), {"-o", folder + "/" + outputName});
  const barywalk::RenderOptions options = barywalk::ParseRenderArguments(args);
  const barywalk::LoadedFlares flares = barywalk::LoadRenderFlares(options, std::cerr);
  std::int64_t frames = 0;
  for (auto _ : state) {
    const auto sink = barywalk::InBackground(barywalk::OpenFrameSink(options));
    frames = barywalk::RenderFrames(options, flares,
                                    [&](wxImage& frame, std::int64_t) { sink->Take(frame); });
    sink->Commit();
  }
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  RemoveFolder(folder);
}

void BM_RenderRun(benchmark::State& state, const std::string& outputName) {
  RunRenderBenchmark(state,
                     {"--from", "1980-01-01", "--to", "2040-01-01", "--step", "20", "--planets",
                      "all", "--trail", "--accel", "1", "--flares", BARYWALK_SAMPLE_FLARES},
                     outputName);
}

BENCHMARK_CAPTURE(BM_RenderRun, png_sequence, std::string("%05d.png"))
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_RenderRun, gif, std::string("run.gif"))
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_RenderRun, mp4, std::string("run.mp4"))
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_SlideMp4(benchmark::State& state) {
  RunRenderBenchmark(
      state,
      {"--style", "slide", "--title", "The Sun around the barycenter, 1900-2100", "--orbits",
       "--from", "1900-01-01", "--to", "2100-01-01", "--step", "20", "--width", "1080",
       "--planets", "all", "--trail", "--accel", "1", "--no-flares"},
      "run.mp4");
}
BENCHMARK(BM_SlideMp4)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// One slide frame of that film (late in the run: the longest trail),
// drawn and read back, without encoding.
void BM_SlideFrame(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  barywalk::Player run(w);
  run.Reset(2415020.5, 2488069.5);
  run.Play(false);
  while (run.Playing()) run.Step(20);
  barywalk::FrameSettings settings;
  settings.planets.fill(true);
  settings.sunLayer.orbit = settings.sunLayer.acceleration = true;
  barywalk::SlideStyle style;
  style.title = "The Sun around the barycenter, 1900-2100";
  style.orbits = state.range(1) == 2;
  const barywalk::FrameState frame = barywalk::FrameStateOf(run);
  barywalk::FrameCanvas canvas(w, w);
  barywalk::PlanetLongitudes longitudes;
  const bool slide = state.range(1) != 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(canvas.Render([&](wxDC& dc) {
      if (slide) {
        barywalk::DrawSlideFrame(dc, w, w, settings, frame, style);
      } else {
        barywalk::DrawViewFrame(dc, w, w, settings, frame, longitudes);
      }
    }));
  }
}
// The dialog's look at the same size, for comparison.
BENCHMARK(BM_SlideFrame)->Args({1080, 2})->Args({1080, 1})->Args({1080, 0})->Unit(benchmark::kMillisecond);

}  // namespace
