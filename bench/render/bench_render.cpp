// barywalk-render's whole path for a long run: 1980-01-01 to 2040-01-01 at
// 20-day steps (1,096 frames), 640 pixels, every planet, the trail, the
// acceleration vector and the sample's 8,302 flares; drawing, encoding and
// writing. Targets: a PNG sequence within 10 s, a GIF within 30 s.
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
#include "render_options.h"

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

void BM_RenderRun(benchmark::State& state, const std::string& outputName) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const std::string folder = MakeFolder();
  const barywalk::RenderOptions options = barywalk::ParseRenderArguments(
      {"--from", "1980-01-01", "--to", "2040-01-01", "--step", "20", "--planets", "all", "--trail",
       "--accel", "1", "--flares", BARYWALK_SAMPLE_FLARES, "-o", folder + "/" + outputName});
  const barywalk::LoadedFlares flares = barywalk::LoadRenderFlares(options, std::cerr);
  std::int64_t frames = 0;
  for (auto _ : state) {
    const auto sink = barywalk::InBackground(barywalk::OpenFrameSink(options));
    frames = barywalk::RenderFrames(options, flares,
                                    [&](const wxImage& frame, std::int64_t) { sink->Add(frame); });
    sink->Commit();
  }
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  RemoveFolder(folder);
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

}  // namespace
