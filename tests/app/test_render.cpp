// barywalk-render draws what the dialog draws: the same settings at start,
// the same frame at a date, the same frames over a run, in PNG and in GIF;
// and Ctrl+S in the dialog saves the frame it shows.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/accel.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "flares/solar_flare.h"
#include "program_run.h"
#include "render/frame_drawing.h"
#include "render_options.h"

namespace {

using Args = std::vector<std::string>;

void ExpectSameSettings(const barywalk::FrameSettings& a, const barywalk::FrameSettings& b) {
  EXPECT_EQ(a.planets, b.planets);
  EXPECT_EQ(a.sunLayer.orbit, b.sunLayer.orbit);
  EXPECT_EQ(a.sunLayer.sun, b.sunLayer.sun);
  EXPECT_EQ(a.sunLayer.year, b.sunLayer.year);
  EXPECT_EQ(a.sunLayer.month, b.sunLayer.month);
  EXPECT_EQ(a.sunLayer.day, b.sunLayer.day);
  EXPECT_EQ(a.sunLayer.acceleration, b.sunLayer.acceleration);
  EXPECT_EQ(a.sunLayer.accelFactor, b.sunLayer.accelFactor);
  EXPECT_EQ(a.flares, b.flares);
  EXPECT_EQ(a.flareScale, b.flareScale);
  EXPECT_EQ(a.useDuration, b.useDuration);
  EXPECT_EQ(a.durationMinutes, b.durationMinutes);
  EXPECT_EQ(a.incrementDays, b.incrementDays);
}

// The number of pixels in which two pictures differ; -1 for other sizes.
long DifferingPixels(const wxImage& a, const wxImage& b) {
  if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) return -1;
  long differing = 0;
  const unsigned char* p = a.GetData();
  const unsigned char* q = b.GetData();
  const long pixels = static_cast<long>(a.GetWidth()) * a.GetHeight();
  for (long i = 0; i < pixels; ++i, p += 3, q += 3) {
    differing += p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
  }
  return differing;
}

class RenderTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    folder = testsupport::TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  }

  void TearDown() override {
    if (DIR* dir = opendir(folder.c_str())) {
      while (const dirent* entry = readdir(dir)) {
        std::remove((folder + "/" + entry->d_name).c_str());
      }
      closedir(dir);
    }
    rmdir(folder.c_str());
    // The flare settings are process-wide: back to the start's.
    barywalk::SetFlareLogScale(false);
    barywalk::SetFlareAreaClip(800);
    DialogTest::TearDown();
  }

  // The panel as the dialog laid it out; the command draws at this width.
  int PanelWidth() const { return access->Panel()->GetSize().x; }

  // The frame the dialog draws for its state, at the panel's width.
  wxImage DialogFrame() {
    const int w = PanelWidth();
    return barywalk::RenderToImage(w, w, [&](wxDC& dc) { dialog->DrawFrame(dc, w, w); });
  }

  testsupport::ProgramRun Render(Args args) {
    args.insert(args.end(), {"--width", std::to_string(PanelWidth())});
    return testsupport::RunProgram(BARYWALK_RENDER_PROGRAM, args);
  }

  std::string folder;
};

TEST_F(RenderTest, TheCommandStartsWithTheDialogsSettings) {
  const barywalk::RenderOptions options = barywalk::ParseRenderArguments({"-o", "run.gif"});
  ExpectSameSettings(options.frame, access->FrameSettings());
  EXPECT_EQ(options.from, access->StartTime());
  EXPECT_EQ(options.to, access->EndTime());
  EXPECT_EQ(options.step, access->Increment()->GetValue());
  EXPECT_EQ(options.clip, access->ClipArea()->GetValue());
  EXPECT_EQ(options.clipLimit, access->ClipLimit()->GetValue());
  EXPECT_EQ(options.logScale, access->LogScale()->GetValue());
  // A GIF's default frame time is the dialog's tick.
  EXPECT_EQ(10 * barywalk::GifDelayCentiseconds(options.fps), repeatingTimerMs);
}

// One case: the command's arguments and the same settings made in the dialog.
struct SettingsCase {
  const char* what;
  Args args;
  std::function<void(BarywalkDialogTestAccess&)> setDialog;
};

TEST_F(RenderTest, AFrameAtADateIsTheDialogsFramePixelForPixel) {
  const std::string flares = BARYWALK_SAMPLE_FLARES;
  const SettingsCase cases[] = {
      {"the start's settings", {}, [](BarywalkDialogTestAccess&) {}},
      {"all planets, no Sun, acceleration, no month",
       {"--planets", "all", "--no-sun", "--accel", "2.5", "--no-month"},
       [](BarywalkDialogTestAccess& a) {
         for (int i = 0; i < barywalk::kPlanetCount; ++i) a.PlanetBox(i)->SetValue(true);
         a.ShowSun()->SetValue(false);
         a.ShowAcceleration()->SetValue(true);
         a.AccelFactor()->SetValue(2.5);
         a.ShowMonth()->SetValue(false);
       }},
      {"no label, Mercury and Pluto, no flare layer",
       {"--no-year", "--planets", "Mercury,Pluto", "--no-flares"},
       [](BarywalkDialogTestAccess& a) {
         a.ShowYear()->SetValue(false);
         for (int i = 0; i < barywalk::kPlanetCount; ++i)
           a.PlanetBox(i)->SetValue(i == 0 || i == 8);
         a.ShowFlares()->SetValue(false);
       }},
      {"flares, larger, logarithmic, window by the increment",
       {"--flares", flares, "--scale", "4", "--log", "--no-duration", "--step", "3"},
       [&](BarywalkDialogTestAccess& a) {
         wxArrayString paths;
         paths.Add(flares);
         ASSERT_TRUE(a.ReadFlareFiles(paths));
         a.FlareScale()->SetValue(4);
         a.LogScale()->SetValue(true);
         a.LogScaleClicked();
         a.UseDuration()->SetValue(false);
         a.Increment()->SetValue(3);
       }},
  };
  const wxDateTime date(7, wxDateTime::Mar, 2012);  // solar cycle 24: flares in the sample
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.what);
    access.reset();
    dialog->Destroy();
    guitest::PumpEvents();
    barywalk::SetFlareLogScale(false);
    dialog = new BarywalkDialog(guitest::TopFrame());
    access = std::make_unique<BarywalkDialogTestAccess>(*dialog);
    access->Timer().Stop();
    access->SetShowMessage([](const wxString&, const wxString&, long) { return wxOK; });
    dialog->Show();
    guitest::PumpEvents();
    c.setDialog(*access);
    access->StartDate()->SetValue(date);
    access->ResetSimulation();
    const wxImage shown = DialogFrame();

    const std::string path = folder + "/frame.png";
    Args args = c.args;
    args.insert(args.end(), {"--at", "2012-03-07", "-o", path});
    const testsupport::ProgramRun run = Render(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const wxImage drawn(path, wxBITMAP_TYPE_PNG);
    EXPECT_EQ(DifferingPixels(drawn, shown), 0);
    std::remove(path.c_str());
  }
}

// The dialog playing forwards from a stop, one frame per tick, and the
// command's frames of the same run: as many, and the same, in PNG and GIF.
TEST_F(RenderTest, ARunHasThePlayersFramesInPngAndGif) {
  // Without the disc over it, every segment of the trail shows.
  SetRun(wxDateTime(1, wxDateTime::Jan, 2000), wxDateTime(1, wxDateTime::Jan, 2001), 60);
  access->ShowOrbit()->SetValue(true);
  access->ShowSun()->SetValue(false);
  access->ShowAcceleration()->SetValue(true);
  access->PlayForward();
  std::vector<wxImage> played;
  while (access->Playing()) {
    access->Tick();
    played.push_back(DialogFrame());
  }
  ASSERT_GT(played.size(), 2u);

  const Args run = {"--from", "2000-01-01", "--to",     "2001-01-01", "--step",
                    "60",     "--trail",    "--no-sun", "--accel",    "1"};
  Args pictures = run, animation = run;
  pictures.insert(pictures.end(), {"-o", folder + "/%02d.png"});
  animation.insert(animation.end(), {"--fps", "20", "-o", folder + "/run.gif"});
  const testsupport::ProgramRun sequence = Render(pictures);
  const testsupport::ProgramRun gif = Render(animation);
  ASSERT_EQ(sequence.status, 0) << sequence.err;
  ASSERT_EQ(gif.status, 0) << gif.err;

  auto numbered = [&](std::size_t number) {
    return folder + (number < 10 ? "/0" : "/") + std::to_string(number) + ".png";
  };
  for (std::size_t i = 0; i < played.size(); ++i) {
    const wxImage frame(numbered(i + 1), wxBITMAP_TYPE_PNG);
    EXPECT_EQ(DifferingPixels(frame, played[i]), 0) << numbered(i + 1);
  }
  EXPECT_FALSE(wxFileExists(numbered(played.size() + 1)));

  wxFileInputStream in(folder + "/run.gif");
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), played.size());
  for (unsigned i = 0; i < decoder.GetFrameCount(); ++i) {
    EXPECT_EQ(decoder.GetDelay(i), 50) << i;  // 20 frames per second
    wxImage frame;
    ASSERT_TRUE(decoder.ConvertToImage(i, &frame));
    // A frame of at most 256 colours goes into the GIF unchanged.
    if (played[i].CountColours(256) <= 256) {
      EXPECT_EQ(DifferingPixels(frame, played[i]), 0) << i;
    }
  }
}

TEST_F(RenderTest, CtrlSSavesTheShownFrameAsPng) {
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = 'S';
  key.m_controlDown = true;
  ASSERT_NE(dialog->GetAcceleratorTable(), nullptr);
  EXPECT_EQ(dialog->GetAcceleratorTable()->GetCommand(key), wxID_SAVE);

  access->ShowOrbit()->SetValue(true);
  SetRun(wxDateTime(1, wxDateTime::Jan, 1990), wxDateTime(1, wxDateTime::Jan, 1991), 15);
  access->PlayForward();
  for (int i = 0; i < 5; ++i) access->Tick();
  access->Pause();
  const std::string path = folder + "/saved.png";
  const wxSize panel = access->Panel()->GetSize();
  ASSERT_TRUE(access->SaveFrameTo(path));
  const wxImage saved(path, wxBITMAP_TYPE_PNG);
  const wxImage shown = barywalk::RenderToImage(
      panel.x, panel.y, [&](wxDC& dc) { dialog->DrawFrame(dc, panel.x, panel.y); });
  EXPECT_EQ(DifferingPixels(saved, shown), 0);
  EXPECT_TRUE(messages.empty());

  // A folder that does not exist: told, and nothing written.
  EXPECT_FALSE(access->SaveFrameTo(folder + "/missing/saved.png"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.Contains("missing/saved.png"));
  EXPECT_FALSE(wxDirExists(folder + "/missing"));
}

}  // namespace
