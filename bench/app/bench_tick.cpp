// One tick of the running program: the clock step with the ephemeris, then
// every layer of the view (all nine planet markers, a trail of 2,200
// points, the acceleration vector and the date label) drawn into an
// off-screen buffer; at 640 and 1280 pixels. The same tick with 10,000
// flares inside the visibility window. Needs an X display.
#include <cmath>
#include <random>

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/panel.h>

#include "app/barywalk_dialog.h"
#include "controls/date_generic_ctrl.h"
#include "controls/spin_ctrl_dbl.h"
#include "ephemeris/barycenter.h"
#include "flares/flare_symbols.h"

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
    d.m_player.Play(false);
    d.ResetSimulation();
    constexpr int kTrailPoints = 2200;
    constexpr double kDaysApart = 11;
    for (int i = 0; i < kTrailPoints; ++i) {
      const double jd = d.m_player.StartTime() + i * kDaysApart;
      const barywalk::SunState sun = barywalk::ComputeSunState(jd, panelSize);
      d.m_player.Path().AddPoint(jd, {sun.offsetX, sun.offsetY});
    }
  }

  // `count` flares spread evenly over the visibility window around the
  // time of the next tick (the start plus one increment), at random places
  // on the visible hemisphere; half give no area (drawn as 100), the others
  // range from 10 to 2,000 millionths, so symbols of every size meet.
  static void LoadFlaresInNextWindow(BarywalkDialog& d, int count) {
    const double t = d.m_player.StartTime() + d.m_increment->GetValue();
    const barywalk::FlareWindow window = barywalk::FlareVisibilityWindow(
        t, d.m_useDuration->GetValue(), d.m_duration->GetValue(), d.m_increment->GetValue());
    std::mt19937 random(20100101);
    std::uniform_real_distribution<double> latitude(-45.0, 45.0);
    std::uniform_real_distribution<double> longitude(-90.0, 90.0);
    std::uniform_real_distribution<double> logArea(1.0, 3.3);
    d.m_flares.clear();
    for (int i = 0; i < count; ++i) {
      const double jd = window.from + (window.to - window.from) * (i + 0.5) / count;
      const double area = i % 2 == 0 ? 0.0 : std::pow(10.0, logArea(random));
      d.m_flares.emplace_hint(d.m_flares.end(), jd,
                              barywalk::SolarFlare(latitude(random), longitude(random), 0.01,
                                                   area, i + 1));
    }
    d.UpdateMaxFlareSize();
  }
  // Every tick steps from the start to the same time, so the window always
  // holds all the flares; the trail stays.
  static void RewindClock(BarywalkDialog& d) { d.m_player.ShowAt(d.m_player.StartTime()); }
  static size_t FlareStatCount(BarywalkDialog& d) { return d.m_flareStats.size(); }

  static size_t TrailSize(BarywalkDialog& d) { return d.m_player.Path().Points().size(); }
  static wxSize PanelSize(BarywalkDialog& d) { return d.m_panel->GetSize(); }
  static void Step(BarywalkDialog& d) { d.StepSimulation(); }
  static bool Playing(BarywalkDialog& d) { return d.m_player.Playing(); }
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

// The full tick with 10,000 flares drawn on the Sun (default flare
// settings: 300-minute window, scale factor 1, clipping at 800). Every
// drawn flare is also measured against the planets.
void BM_FullTickWith10000Flares(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  auto* dialog = new BarywalkDialog(nullptr);
  Access::PrepareFullTick(*dialog, size);
  constexpr int kFlares = 10000;
  Access::LoadFlaresInNextWindow(*dialog, kFlares);
  wxBitmap buffer(size, size);
  wxMemoryDC dc(buffer);
  for (auto _ : state) {
    Access::RewindClock(*dialog);
    Access::Step(*dialog);
    dialog->DrawFrame(dc, size, size);
  }
  if (Access::FlareStatCount(*dialog) != kFlares) {
    state.SkipWithError("not every flare was drawn");
  }
  state.counters["flares_drawn"] = static_cast<double>(Access::FlareStatCount(*dialog));
  dc.SelectObject(wxNullBitmap);
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_FullTickWith10000Flares)->Arg(640)->Arg(1280)->Unit(benchmark::kMillisecond);

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

// Shows the dialog, then gives its panel 640 pixels: showing lays the
// dialog out, and the panel takes the room that the fonts installed leave.
bool ShowWithPanelAt640(BarywalkDialog& dialog, benchmark::State& state) {
  dialog.Show();
  wxTheApp->ProcessPendingEvents();
  Access::PrepareFullTick(dialog, 640);
  wxTheApp->ProcessPendingEvents();
  if (Access::PanelSize(dialog) == wxSize(640, 640)) return true;
  state.SkipWithError("the shown panel is not 640 pixels");
  return false;
}

// The program's own frame at 640 pixels, copied onto the shown panel.
void BM_UpdateFrameOnScreen(benchmark::State& state) {
  auto* dialog = new BarywalkDialog(nullptr);
  ShowWithPanelAt640(*dialog, state);  // a skipped benchmark runs no iteration
  for (auto _ : state) dialog->UpdateFrame();
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_UpdateFrameOnScreen)->Unit(benchmark::kMillisecond);

// The same through the program's own path: buffered drawing copied onto
// the shown panel.
void BM_UpdateFrameOnScreenWith10000Flares(benchmark::State& state) {
  auto* dialog = new BarywalkDialog(nullptr);
  const bool shown = ShowWithPanelAt640(*dialog, state);
  constexpr int kFlares = 10000;
  Access::LoadFlaresInNextWindow(*dialog, kFlares);
  for (auto _ : state) {
    Access::RewindClock(*dialog);
    dialog->UpdateFrame();
  }
  if (shown && Access::FlareStatCount(*dialog) != kFlares) {
    state.SkipWithError("not every flare was drawn");
  }
  dialog->Destroy();
  wxTheApp->ProcessPendingEvents();
}
BENCHMARK(BM_UpdateFrameOnScreenWith10000Flares)->Unit(benchmark::kMillisecond);

}  // namespace
