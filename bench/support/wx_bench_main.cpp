// Benchmark main for the programs that draw: starts the toolkit (memory
// bitmaps and device contexts need it) without entering its main loop,
// runs the benchmarks and shuts the toolkit down again.
#include <cstdio>

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/init.h>

namespace {

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "%s: cannot start the toolkit (is there an X display?)\n", argv[0]);
    return 2;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
