// The frame as the dialog draws it: its check boxes and display factor
// reach the view's layers, and the picture lands where the view puts it.
// (The layers' own geometry is tested with the views.)
#include <cmath>
#include <functional>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "dialog_fixture.h"
#include "flares/flare_layer.h"
#include "views/orbit_view.h"

namespace {

constexpr int kSize = 640;
const wxColour kSunColour(255, 150, 30);
const wxColour kAccelColour(200, 50, 150);

// Draws into a fresh bitmap, without anti-aliasing like the program's frame.
wxImage Render(const std::function<void(wxDC&)>& draw) {
  wxBitmap bitmap(kSize, kSize, 24);
  wxMemoryDC dc(bitmap);
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
  draw(dc);
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

bool SameImage(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
}

bool Near(const wxColour& a, const wxColour& b, int tolerance = 8) {
  return std::abs(a.Red() - b.Red()) <= tolerance && std::abs(a.Green() - b.Green()) <= tolerance &&
         std::abs(a.Blue() - b.Blue()) <= tolerance;
}

// Pixels of `image` inside the rectangle with this colour (within a tolerance).
int CountColour(const wxImage& image, const wxRect& rect, const wxColour& colour) {
  int count = 0;
  for (int y = std::max(rect.y, 0); y < std::min(rect.GetBottom() + 1, image.GetHeight()); ++y) {
    for (int x = std::max(rect.x, 0); x < std::min(rect.GetRight() + 1, image.GetWidth()); ++x) {
      if (Near(guitest::PixelAt(image, x, y), colour, 40)) ++count;
    }
  }
  return count;
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

  wxImage DialogFrame() {
    return Render([&](wxDC& dc) { dialog->DrawFrame(dc, kSize, kSize); });
  }

  // The same frame built directly from the view's layers and the settings
  // the check boxes show.
  wxImage ReferenceFrame() {
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
    return Render([&](wxDC& dc) {
      barywalk::PlanetLongitudes longitudes;
      barywalk::DrawBackground(dc, kSize, kSize);
      barywalk::DrawPlanetDirections(dc, kSize, kSize, access->SunOffset(), access->SimTime(),
                                     shown, longitudes);
      barywalk::DrawSunLayer(dc, kSize, access->SunOffset(), access->SunAccel(),
                             access->SimTime(), options, access->SunPath());
      // No flares are loaded here: the flare layer is just its count.
      if (access->ShowFlares()->GetValue()) {
        barywalk::DrawFlareLayer(dc, kSize, barywalk::FlareMap(), barywalk::FlareWindow(),
                                 barywalk::FlareFrame(), nullptr);
      }
    });
  }

  void ExpectFrameMatchesSettings(const char* what) {
    EXPECT_TRUE(SameImage(DialogFrame(), ReferenceFrame())) << what;
  }

  int SunX() const { return static_cast<int>(access->SunOffset().x); }
  int SunY() const { return static_cast<int>(access->SunOffset().y); }
};

TEST_F(FrameTest, EveryCheckBoxAndTheFactorReachTheLayers) {
  ExpectFrameMatchesSettings("defaults");
  struct Toggle {
    const char* what;
    wxCheckBox* box;
  };
  const Toggle toggles[] = {
      {"Sun", access->ShowSun()},         {"Year", access->ShowYear()},
      {"Month", access->ShowMonth()},     {"Day", access->ShowDay()},
      {"Solar orbit", access->ShowOrbit()}, {"Acceleration", access->ShowAcceleration()},
      {"Flares", access->ShowFlares()},
  };
  for (const Toggle& t : toggles) {
    t.box->SetValue(!t.box->GetValue());
    ExpectFrameMatchesSettings(t.what);
    t.box->SetValue(!t.box->GetValue());
  }
  access->ShowAcceleration()->SetValue(true);
  access->AccelFactor()->SetValue(2.5);
  ExpectFrameMatchesSettings("acceleration factor 2.5");
  for (int i = 0; i < barywalk::kPlanetCount; ++i) {
    access->PlanetBox(i)->SetValue(!access->PlanetBox(i)->GetValue());
    ExpectFrameMatchesSettings("one planet toggled");
  }
}

TEST_F(FrameTest, CrosshairAndSunDiscAtTheirPlaces) {
  const wxImage frame = DialogFrame();
  // Rows above 15 and columns left of 5 carry no planet marker.
  EXPECT_EQ(guitest::PixelAt(frame, 320, 2), *wxRED);
  EXPECT_EQ(guitest::PixelAt(frame, 2, 320), *wxRED);
  EXPECT_EQ(guitest::PixelAt(frame, 321, 2), *wxBLACK);
  // Disc of radius 74 around the Sun's centre (the label sits above it).
  EXPECT_TRUE(Near(guitest::PixelAt(frame, SunX(), SunY()), kSunColour));
  EXPECT_TRUE(Near(guitest::PixelAt(frame, SunX(), SunY() + 70), kSunColour));
  EXPECT_TRUE(Near(guitest::PixelAt(frame, SunX() + 70, SunY()), kSunColour));
  EXPECT_FALSE(Near(guitest::PixelAt(frame, SunX(), SunY() + 78), kSunColour));
}

// Whole pixels: the reference circle and the crosshair are pure red on
// black, with no blended edge pixels.
TEST_F(FrameTest, DrawnInWholePixels) {
  for (int i = 0; i < barywalk::kPlanetCount; ++i) access->PlanetBox(i)->SetValue(false);
  access->ShowSun()->SetValue(false);
  access->ShowYear()->SetValue(false);
  const wxImage frame = Render([&](wxDC& dc) {
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    dialog->DrawFrame(dc, kSize, kSize);
  });
  int red = 0, blended = 0;
  for (int y = 150; y < 320; ++y) {
    for (int x = 150; x < 320; ++x) {
      const wxColour c = guitest::PixelAt(frame, x, y);
      if (c == *wxRED) ++red;
      else if (c != *wxBLACK) ++blended;
    }
  }
  EXPECT_GT(red, 100);  // a quarter of the circle and half of each line
  EXPECT_EQ(blended, 0);
}

TEST_F(FrameTest, DateLabelOnTheDiscOrWhiteInTheCorner) {
  const wxRect onDisc(SunX() - 40, SunY() - 20, 80, 14);
  const wxRect corner(25, 10, 100, 14);
  access->PlanetBox(2)->SetValue(false);  // keep Earth's label out of the corner
  wxImage frame = DialogFrame();
  EXPECT_GT(CountColour(frame, onDisc, *wxBLACK), 10);
  EXPECT_EQ(CountColour(frame, corner, *wxWHITE), 0);

  access->ShowSun()->SetValue(false);
  frame = DialogFrame();
  EXPECT_FALSE(Near(guitest::PixelAt(frame, SunX(), SunY() + 60), kSunColour));
  EXPECT_GT(CountColour(frame, corner, *wxWHITE), 10);

  access->ShowYear()->SetValue(false);  // no label at all
  frame = DialogFrame();
  EXPECT_EQ(CountColour(frame, corner, *wxWHITE), 0);
}

TEST_F(FrameTest, AccelerationVectorFollowsItsCheckBoxAndFactor) {
  const barywalk::PixelPoint a = access->SunAccel();
  const double length = 70 * std::hypot(a.x, a.y);
  ASSERT_GT(length, 20);
  // A point one third along a vector of factor 1.5.
  const double k = 70 * 1.5 / 3;
  const int x = static_cast<int>(access->SunOffset().x + k * a.x);
  const int y = static_cast<int>(access->SunOffset().y + k * a.y);
  access->AccelFactor()->SetValue(1.5);
  EXPECT_EQ(CountColour(DialogFrame(), wxRect(x - 1, y - 1, 3, 3), kAccelColour), 0);
  access->ShowAcceleration()->SetValue(true);
  EXPECT_GE(CountColour(DialogFrame(), wxRect(x - 1, y - 1, 3, 3), kAccelColour), 3);
}

TEST_F(FrameTest, LongitudeTableHoldsNinePlanetsWhateverIsShown) {
  for (int i = 0; i < barywalk::kPlanetCount; ++i) access->PlanetBox(i)->SetValue(false);
  DialogFrame();
  EXPECT_EQ(access->PlanetLongitudes().size(), 9u);
  EXPECT_EQ(access->PlanetLongitudes().count("Pluto"), 1u);
}

// Through the real path: UpdateFrame copies the buffer onto the panel.
TEST_F(FrameTest, RewindShowsTheStartOnThePanelAtOnce) {
  access->Stop();
  guitest::PumpEvents();  // no repaint left pending to cover the frame
  access->Rewind();
  const wxImage shown = guitest::GrabWindow(access->Panel());
  ASSERT_EQ(shown.GetWidth(), kSize);
  EXPECT_EQ(guitest::PixelAt(shown, 320, 2), *wxRED);
  EXPECT_TRUE(Near(guitest::PixelAt(shown, SunX(), SunY() + 60), kSunColour));
}

}  // namespace
