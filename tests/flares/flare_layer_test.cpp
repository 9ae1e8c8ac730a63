// The flare layer drawn into a memory bitmap.
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include "flares/flare_layer.h"
#include "gui_test_support.h"

namespace barywalk {
namespace {

constexpr int kPanel = 640;
const wxColour kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0);

// Draws on black, with the given anti-aliasing mode.
wxImage Render(const std::function<void(wxDC&)>& draw,
               wxAntialiasMode antialias = wxANTIALIAS_DEFAULT) {
  wxBitmap bitmap(kPanel, kPanel, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxBLACK_BRUSH);
  dc.Clear();
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(antialias);
  draw(dc);
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

// The Sun of a 640-pixel panel.
FlareFrame Frame(double centreX, double centreY, double scaleFactor, double maxFlareSize,
                 const FlareScaling& scaling = {}) {
  return FlareFrame{0.0, scaleFactor, centreX, centreY, 0.7 * kPanel / 6, maxFlareSize, scaling};
}

TEST(FlareLayerTest, SymbolsAreRedNorthBlueOtherwiseAtTheirPlaces) {
  const FlareFrame frame = Frame(320, 320, 1.0, 10.0);  // area 100: radius 14
  const double R = frame.sunRadius;
  FlareMap flares;
  flares.emplace(10.0, SolarFlare(30, 0, 0, 100, 1));    // north, Earth's direction: left
  flares.emplace(10.0, SolarFlare(0, -90, 0, 100, 2));   // equator, 90 deg east: screen down
  flares.emplace(11.0, SolarFlare(-90, 0, 0, 100, 3));   // south pole: the centre
  flares.emplace(20.0, SolarFlare(0, 90, 0, 100, 4));    // outside the window: screen up
  flares.emplace(10.5, SolarFlare(10, 60, 0, 0.01, 5));  // radius below one pixel
  int drawn = -1;
  std::vector<int> recorded;
  bool brushLeftSet = true, penLeftSet = true;
  const wxImage image = Render([&](wxDC& dc) {
    drawn = DrawFlareLayer(dc, kPanel, flares, {9.0, 11.0}, frame,
                           [&](double, const SolarFlare& flare, const FlareSymbol&) {
                             recorded.push_back(flare.Index());
                           });
    brushLeftSet = dc.GetBrush().IsOk();
    penLeftSet = dc.GetPen().IsOk();
  });

  const int northX = static_cast<int>(320 - R * std::cos(30 * M_PI / 180));
  EXPECT_EQ(guitest::PixelAt(image, northX, 320), kRed);
  EXPECT_EQ(guitest::PixelAt(image, 320, static_cast<int>(320 + R)), kBlue);
  EXPECT_EQ(guitest::PixelAt(image, 320 + 10, 320), kBlue);  // radius 14
  EXPECT_EQ(guitest::PixelAt(image, 320, static_cast<int>(320 - R)), kBlack);

  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(recorded, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(brushLeftSet);
  EXPECT_FALSE(penLeftSet);
}

// The view looks down on the Sun's north pole, and a flare sits in its own
// heliocentric direction: a far-side flare (|longitude| > 90, as STIX sees
// them) is painted on the half of the disc turned away from the Earth,
// never mirrored onto the Earth-facing half as an Earth-view projection
// would put it. With the Earth at longitude 0 that half is the right one.
TEST(FlareLayerTest, FarSideFlaresArePaintedOnTheHalfTurnedAwayFromTheEarth) {
  const FlareFrame frame = Frame(320, 320, 1.0, 10.0);
  const std::pair<double, bool> cases[] = {  // longitude (east positive), far side
      {0, false},  {60, false},  {-60, false}, {89, false},  {-89, false},
      {91, true},  {120, true},  {150, true},  {180, true},  {-120, true}, {-179, true}};
  for (const auto& [longitude, far] : cases) {
    FlareMap flares;
    flares.emplace(10.0, SolarFlare(10, longitude, 0, 100, 1));
    const wxImage image = Render([&](wxDC& dc) { DrawFlareLayer(dc, kPanel, flares, {9.0, 11.0}, frame, nullptr); });
    // The painted symbol's centre of mass against the Sun's centre (the
    // count text lies far below the disc).
    long pixels = 0, offset = 0;
    for (int y = 0; y < kPanel - 40; ++y) {
      for (int x = 0; x < kPanel; ++x) {
        if (guitest::PixelAt(image, x, y) == kBlack) continue;
        ++pixels;
        offset += x - 320;
      }
    }
    EXPECT_GT(pixels, 0) << longitude;
    EXPECT_EQ(offset > 0, far) << longitude;
  }
}

// Expects the layer to give the picture of its count of loaded flares in
// white at (10, panel height - 20) with every symbol of the window painted
// in turn over it, pixel for pixel. Returns the number of symbols the layer
// actually painted: it leaves out those that later ones cover completely.
int PaintedForTheExpectedPicture(const FlareMap& flares, const FlareFrame& frame,
                                 wxAntialiasMode mode) {
  const FlareWindow all{0.0, 100.0};
  int drawn = -1, painted = -1, visited = -1;
  const wxImage layer = Render(
      [&](wxDC& dc) { drawn = DrawFlareLayer(dc, kPanel, flares, all, frame, nullptr, &painted); },
      mode);
  const wxImage expected = Render(
      [&](wxDC& dc) {
        dc.SetTextForeground(*wxWHITE);
        dc.DrawText(wxString::Format("%d flares", static_cast<int>(flares.size())), 10,
                    kPanel - 20);
        dc.SetPen(*wxTRANSPARENT_PEN);
        visited = ForEachFlareSymbol(
            flares, all, frame, [&](double, const SolarFlare&, const FlareSymbol& s) {
              dc.SetBrush(wxBrush(s.north ? kRed : kBlue));
              dc.DrawEllipse(s.x - s.radius, s.y - s.radius, 2 * s.radius, 2 * s.radius);
            });
      },
      mode);
  EXPECT_TRUE(SamePixels(layer, expected)) << "anti-aliasing " << mode << ", centre "
                                           << frame.centreX << ", " << frame.centreY;
  EXPECT_EQ(drawn, visited);
  return painted;
}

TEST(FlareLayerTest, CountIsDrawnAlsoWithoutSymbols) {
  FlareMap one;
  one.emplace(10.0, SolarFlare(30, 0, 0, 100, 1));
  EXPECT_EQ(PaintedForTheExpectedPicture(one, Frame(320, 320, 0.0, 10.0), wxANTIALIAS_DEFAULT), 0);
  EXPECT_EQ(PaintedForTheExpectedPicture({}, Frame(320, 320, 1.0, 10.0), wxANTIALIAS_DEFAULT), 0);
}

// Mixed hemispheres, places and areas (0 and 10 to 2,000 millionths).
FlareMap RandomFlares(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> latitude(-60.0, 60.0);
  std::uniform_real_distribution<double> longitude(-180.0, 180.0);
  std::uniform_real_distribution<double> logArea(1.0, 3.3);
  FlareMap flares;
  for (int i = 0; i < count; ++i) {
    const double area = i % 3 == 0 ? 0.0 : std::pow(10.0, logArea(random));
    const SolarFlare flare(latitude(random), longitude(random), 0, area, i + 1);
    flares.emplace(10.0 + i * 1e-4, flare);
  }
  return flares;
}

// Leaving out hidden symbols must not change the picture, whole-pixel or
// anti-aliased.
TEST(FlareLayerTest, HiddenSymbolsAreLeftOutWithoutChangingThePicture) {
  const FlareMap many = RandomFlares(4000, 7), few = RandomFlares(40, 3);
  for (wxAntialiasMode mode : {wxANTIALIAS_NONE, wxANTIALIAS_DEFAULT}) {
    auto paintedOf = [mode](const FlareMap& flares, double x, double y, double scaleFactor,
                            const FlareScaling& scaling = {}) {
      return PaintedForTheExpectedPicture(
          flares, Frame(x, y, scaleFactor, MaxFlareSize(flares, scaling), scaling), mode);
    };
    // Thousands of symbols on the panel's middle, and partly off the panel
    // at two corners: most lie under later ones.
    for (const auto& [x, y] : {std::pair{320.5, 300.25}, {20.0, 630.0}, {-30.0, -10.0}}) {
      const int painted = paintedOf(many, x, y, 1.0);
      EXPECT_GT(painted, 0);
      EXPECT_LT(painted, 2000);
    }
    // A few symbols are all painted.
    EXPECT_EQ(paintedOf(few, 320, 320, 1.0), 40);
    // Radii beyond those measured (scale factor 6: up to 89 pixels) are all
    // painted and cover nothing, next to small ones that are searched. The
    // log scale brings the sizes close together: many large ones.
    const FlareScaling logScale{FlareScaling().areaClip, true};
    EXPECT_LE(paintedOf(RandomFlares(600, 11), 320, 320, 6.0, logScale), 600);
  }
}

}  // namespace
}  // namespace barywalk
