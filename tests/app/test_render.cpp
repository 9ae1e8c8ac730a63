// barywalk-render draws what the dialog draws: the same frame at a date,
// the same frames over a run, in PNG and in GIF; and Ctrl+S in the dialog saves the frame it shows.
#include <gtest/gtest.h>
#include <wx/accel.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "gif_frames.h"
#include "program_run.h"
#include "render/frame_drawing.h"

namespace {

using Args = std::vector<std::string>;

// The number of pixels in which two pictures differ; -1 for other sizes.
long DifferingPixels(const wxImage& a, const wxImage& b) {
  if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) return -1;
  long differing = 0;
  for (long i = 0, n = 3L * a.GetWidth() * a.GetHeight(); i < n; i += 3) {
    differing += std::memcmp(a.GetData() + i, b.GetData() + i, 3) != 0;
  }
  return differing;
}

class RenderTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
  }

  void TearDown() override {
    std::filesystem::remove_all(folder);
    DialogTest::TearDown();
  }

  // The panel as the dialog laid it out; the command draws at this width.
  int PanelWidth() const { return access->Panel()->GetSize().x; }

  // The frame the dialog draws for its state, at the panel's width.
  wxImage DialogFrame() {
    const int w = PanelWidth();
    return barywalk::RenderToImage(w, w, [&](wxDC& dc) { dialog->DrawFrame(dc, w, w); });
  }

  // Runs the command with `args` and `more` at the panel's width; it must
  // succeed.
  void Render(Args args, std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
    args.insert(args.end(), {"--width", std::to_string(PanelWidth())});
    const testsupport::ProgramRun run = testsupport::RunProgram(BARYWALK_RENDER_PROGRAM, args);
    ASSERT_EQ(run.status, 0) << run.err;
  }

  // A new dialog in its start state, for the next case of a table.
  void RestartDialog() {
    DialogTest::TearDown();
    DialogTest::SetUp();
  }

  const std::string folder =
      testsupport::TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

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
    RestartDialog();
    c.setDialog(*access);
    access->StartDate()->SetValue(date);
    access->ResetSimulation();
    const wxImage shown = DialogFrame();

    const std::string path = folder + "/frame.png";
    Render(c.args, {"--at", "2012-03-07", "-o", path});
    EXPECT_EQ(DifferingPixels(wxImage(path, wxBITMAP_TYPE_PNG), shown), 0);
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
  Render(run, {"-o", folder + "/%02d.png"});
  Render(run, {"--fps", "20", "-o", folder + "/run.gif"});

  auto numbered = [&](std::size_t n) { return wxString::Format("%s/%02zu.png", folder, n); };
  for (std::size_t i = 0; i < played.size(); ++i) {
    const wxImage frame(numbered(i + 1), wxBITMAP_TYPE_PNG);
    EXPECT_EQ(DifferingPixels(frame, played[i]), 0) << numbered(i + 1);
  }
  EXPECT_FALSE(wxFileExists(numbered(played.size() + 1)));

  wxFileInputStream in(folder + "/run.gif");
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), played.size());
  const std::vector<wxImage> shown =
      testsupport::ShownGifFrames(testsupport::ReadFileBytes(folder + "/run.gif"));
  ASSERT_EQ(shown.size(), played.size());
  for (unsigned i = 0; i < decoder.GetFrameCount(); ++i) {
    EXPECT_EQ(decoder.GetDelay(i), 50) << i;  // 20 frames per second
    const wxImage& frame = shown[i];
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
  ASSERT_TRUE(access->SaveFrameTo(path));
  EXPECT_EQ(DifferingPixels(wxImage(path, wxBITMAP_TYPE_PNG), DialogFrame()), 0);
  EXPECT_TRUE(messages.empty());

  // A folder that does not exist: told, and nothing written.
  EXPECT_FALSE(access->SaveFrameTo(folder + "/missing/saved.png"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.Contains("missing/saved.png"));
  EXPECT_FALSE(wxDirExists(folder + "/missing"));
}

}  // namespace
