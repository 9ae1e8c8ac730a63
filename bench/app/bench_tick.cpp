// One tick of the running program: the clock step with the ephemeris, then
// every layer of the view (all nine planet markers, a trail of 2,200
// points, the acceleration vector and the date label) drawn into an
// off-screen buffer; at 640 and 1280 pixels. Needs an X display.
#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/init.h>
#include <wx/panel.h>

#include "app/barywalk_dialog.h"
#include "controls/date_generic_ctrl.h"
#include "controls/spin_ctrl_dbl.h"
#include "ephemeris/barycenter.h"

// The benchmark's way into the dialog's state.
class BarywalkDialogTestAccess {
 public:
  // Ticks every layer, plays forward from 1 January 1980 at 0.11 days per
  // step, and fills the trail with 2,200 real positions 11 days apart,
  // stored at later times so that the run adds none of its own.
  static void PrepareFullTick(BarywalkDialog& d, int panelSize) {
    d.m_timer.Stop();
    d.m_panel->SetSize(panelSize, panelSize);
    for (wxCheckBox* box : d.m_planetBoxes) box->SetValue(true);
    for (wxCheckBox* box : {d.m_showSun, d.m_showYear, d.m_showMonth, d.m_showDay, d.m_showOrbit,
                            d.m_showAcceleration}) {
      box->SetValue(true);
    }
    d.m_playing = true;
    d.m_paused = false;
    d.m_reverse = false;
    d.ResetSimulation();
    constexpr int kTrailPoints = 2200;
    constexpr double kDaysApart = 11;
    for (int i = 0; i < kTrailPoints; ++i) {
      const double jd = d.m_startTime + i * kDaysApart;
      const barywalk::SunState sun = barywalk::ComputeSunState(jd, panelSize);
      d.m_sunPath.AddPoint(jd, {sun.offsetX, sun.offsetY});
    }
  }

  static size_t TrailSize(BarywalkDialog& d) { return d.m_sunPath.Points().size(); }
  static void Step(BarywalkDialog& d) { d.StepSimulation(); }
  static bool Playing(BarywalkDialog& d) { return d.m_playing; }
};

namespace {

using Access = BarywalkDialogTestAccess;

void BM_FullTickOffscreen(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  auto* dialog = new BarywalkDialog(nullptr);
  Access::PrepareFullTick(*dialog, size);
  wxBitmap buffer(size, size);  // screen depth, as the program's frame buffer
  wxMemoryDC dc(buffer);
  for (auto _ : state) {
    Access::Step(*dialog);
    dialog->DrawFrame(dc, size, size);
  }
  if (!Access::Playing(*dialog) || Access::TrailSize(*dialog) != 2200) {
    state.SkipWithError("the run did not keep playing with its 2,200-point trail");
  }
  dc.SelectObject(wxNullBitmap);
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_FullTickOffscreen)->Arg(640)->Arg(1280)->Unit(benchmark::kMillisecond);

// The two halves of a tick at 640 pixels: the clock step with the
// ephemeris, and the drawing of every layer.
void BM_ClockStepOnly(benchmark::State& state) {
  auto* dialog = new BarywalkDialog(nullptr);
  Access::PrepareFullTick(*dialog, 640);
  for (auto _ : state) Access::Step(*dialog);
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_ClockStepOnly)->Unit(benchmark::kMicrosecond);

void BM_DrawFrameOnly(benchmark::State& state) {
  auto* dialog = new BarywalkDialog(nullptr);
  Access::PrepareFullTick(*dialog, 640);
  Access::Step(*dialog);
  wxBitmap buffer(640, 640);
  wxMemoryDC dc(buffer);
  for (auto _ : state) dialog->DrawFrame(dc, 640, 640);
  dc.SelectObject(wxNullBitmap);
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_DrawFrameOnly)->Unit(benchmark::kMillisecond);

// The program's own frame at 640 pixels, copied onto the shown panel.
void BM_UpdateFrameOnScreen(benchmark::State& state) {
  auto* dialog = new BarywalkDialog(nullptr);
  Access::PrepareFullTick(*dialog, 640);
  dialog->Show();
  wxTheApp->ProcessPendingEvents();
  for (auto _ : state) dialog->UpdateFrame();
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_UpdateFrameOnScreen)->Unit(benchmark::kMillisecond);

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv)) {
    fprintf(stderr, "bench_tick: cannot start the toolkit (is there an X display?)\n");
    return 2;
  }
  wxTheApp->CallOnInit();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
