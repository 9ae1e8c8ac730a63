// The frame as the dialog draws it: its check boxes and display factor
// reach the view's layers, in whole pixels, and UpdateFrame puts the
// picture on the panel. (The layers' own pixels are tested with the views.)
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialog_fixture.h"
#include "flares/flare_layer.h"
#include "views/orbit_view.h"

namespace {

bool SameImage(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
}

class FrameTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    // A date whose Sun lies well inside the panel; fed a real trail.
    SetRun(wxDateTime(1, wxDateTime::Jan, 1990), wxDateTime(1, wxDateTime::Jan, 2040), 30);
    access->PlayForward();
    for (int i = 0; i < 40; ++i) access->Tick();
    access->Pause();
    access->Tick();
    ASSERT_GE(access->SunPath().Points().size(), 30u);
  }

  // The same frame built directly from the view's layers, without
  // anti-aliasing, and the settings the controls show, at the panel's size.
  wxImage ReferenceFrame() {
    const int side = PanelSide();
    std::array<bool, barywalk::kPlanetCount> shown{};
    for (int i = 0; i < barywalk::kPlanetCount; ++i) shown[i] = access->PlanetBox(i)->GetValue();
    barywalk::SunLayerOptions options;
    options.orbit = access->ShowOrbit()->GetValue();
    options.sun = access->ShowSun()->GetValue();
    options.year = access->ShowYear()->GetValue();
    options.month = access->ShowMonth()->GetValue();
    options.day = access->ShowDay()->GetValue();
    options.acceleration = access->ShowAcceleration()->GetValue();
    options.accelFactor = access->AccelFactor()->GetValue();
    return Render(side, [&](wxDC& dc) {
      wxGraphicsContext* gc = dc.GetGraphicsContext();
      ASSERT_NE(gc, nullptr);  // else the dialog's frame could not anti-alias either
      gc->SetAntialiasMode(wxANTIALIAS_NONE);
      barywalk::PlanetLongitudes longitudes;
      barywalk::DrawBackground(dc, side, side);
      barywalk::DrawPlanetDirections(dc, side, side, access->SunOffset(),
                                     access->SimTime(), shown, longitudes);
      barywalk::DrawSunLayer(dc, side, access->SunOffset(), access->SunAccel(),
                             access->SimTime(), options, access->SunPath());
      // No flares are loaded here: the flare layer is just its count.
      if (access->ShowFlares()->GetValue()) {
        barywalk::DrawFlareLayer(dc, side, barywalk::FlareMap(), barywalk::FlareWindow(),
                                 barywalk::FlareFrame(), nullptr);
      }
    });
  }

  // The setting changed by `change` shows in the frame as the layers draw it.
  void ExpectChangeReachesTheLayers(const std::string& what, const std::function<void()>& change) {
    const wxImage before = DrawnFrame();
    change();
    const wxImage after = DrawnFrame();
    EXPECT_FALSE(SameImage(before, after)) << what << " changes nothing";
    EXPECT_TRUE(SameImage(after, ReferenceFrame())) << what;
  }
};

TEST_F(FrameTest, EveryCheckBoxAndTheFactorReachTheLayersInWholePixels) {
  EXPECT_TRUE(SameImage(DrawnFrame(), ReferenceFrame())) << "defaults";
  std::vector<std::pair<std::string, wxCheckBox*>> boxes = {
      {"Sun", access->ShowSun()},           {"Year", access->ShowYear()},
      {"Month", access->ShowMonth()},       {"Day", access->ShowDay()},
      {"Solar orbit", access->ShowOrbit()}, {"Acceleration", access->ShowAcceleration()},
      {"Flares", access->ShowFlares()}};
  for (int i = 0; i < barywalk::kPlanetCount; ++i) {
    boxes.emplace_back("planet " + std::to_string(i), access->PlanetBox(i));
  }
  for (const auto& [what, box] : boxes) {
    ExpectChangeReachesTheLayers(what, [box = box] { box->SetValue(!box->GetValue()); });
    box->SetValue(!box->GetValue());
  }
  access->ShowAcceleration()->SetValue(true);
  ExpectChangeReachesTheLayers("acceleration factor", [&] { access->AccelFactor()->SetValue(2.5); });
}

// Through the real path: UpdateFrame copies the buffer onto the panel as
// laid out. The crosshair meets in the middle of the panel; 60 pixels below
// the Sun's centre is inside its disc (a radius of 0.7 / 6 of the side, 74
// pixels on the smallest panel).
TEST_F(FrameTest, RewindShowsTheStartOnThePanelAtOnce) {
  access->Stop();
  guitest::PumpEvents();  // no repaint left pending to cover the frame
  access->Rewind();
  const int side = PanelSide();
  ASSERT_GE(side, kSmallestPanelSide);
  const wxImage shown = guitest::GrabWindow(access->Panel());
  ASSERT_EQ(shown.GetSize(), wxSize(side, side));
  EXPECT_EQ(guitest::PixelAt(shown, side / 2, 2), *wxRED);  // the crosshair
  EXPECT_EQ(guitest::PixelAt(shown, 2, side / 2), *wxRED);
  const wxColour sun = guitest::PixelAt(shown, static_cast<int>(access->SunOffset().x),
                                        static_cast<int>(access->SunOffset().y) + 60);
  EXPECT_EQ(sun, wxColour(255, 150, 30)) << sun.GetAsString();
}

}  // namespace
