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

#include "flare_settings_guard.h"
#include "flares/flare_layer.h"
#include "gui_test_support.h"

namespace barywalk {
namespace {

constexpr int kPanel = 640;

class FlareLayerTest : public ::testing::Test {
 protected:
  FlareLayerTest() {
    frame_.earthLongitude = 0.0;
    frame_.scaleFactor = 1.0;
    frame_.centreX = 320.0;
    frame_.centreY = 320.0;
    frame_.sunRadius = 0.7 * kPanel / 6;
    frame_.maxFlareSize = 10.0;  // area 100: radius 14
  }

  // Draws the layer on black and returns the picture.
  wxImage Draw(const FlareMap& flares, const FlareWindow& window) {
    wxBitmap bitmap(kPanel, kPanel, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    drawnCount_ = DrawFlareLayer(dc, kPanel, flares, window, frame_,
                                 [this](double jd, const SolarFlare& flare, const FlareSymbol&) {
                                   recorded_.push_back(flare.Index());
                                   recordedKeys_.push_back(jd);
                                 });
    brushLeftSet_ = dc.GetBrush().IsOk();
    penLeftSet_ = dc.GetPen().IsOk();
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
  }

  static int BrightPixels(const wxImage& image, int x0, int y0, int width, int height) {
    int bright = 0;
    for (int y = y0; y < y0 + height; ++y) {
      for (int x = x0; x < x0 + width; ++x) {
        if (image.GetRed(x, y) > 128 && image.GetGreen(x, y) > 128 && image.GetBlue(x, y) > 128) {
          ++bright;
        }
      }
    }
    return bright;
  }

  FlareSettingsGuard guard_;
  FlareFrame frame_;
  int drawnCount_ = -1;
  std::vector<int> recorded_;
  std::vector<double> recordedKeys_;
  bool brushLeftSet_ = true;
  bool penLeftSet_ = true;
};

TEST_F(FlareLayerTest, SymbolsAreRedNorthBlueOtherwiseAtTheirPlaces) {
  const double R = frame_.sunRadius;
  FlareMap flares;
  flares.emplace(10.0, SolarFlare(30, 0, 0, 100, 1));    // north, Earth's direction: left
  flares.emplace(10.0, SolarFlare(0, -90, 0, 100, 2));   // equator, 90 deg east: screen down
  flares.emplace(11.0, SolarFlare(-90, 0, 0, 100, 3));   // south pole: the centre
  flares.emplace(20.0, SolarFlare(0, 90, 0, 100, 4));    // outside the window: screen up
  flares.emplace(10.5, SolarFlare(10, 60, 0, 0.01, 5));  // radius below one pixel
  const wxImage image = Draw(flares, {9.0, 11.0});

  const int northX = static_cast<int>(320 - R * std::cos(30 * M_PI / 180));
  EXPECT_EQ(guitest::PixelAt(image, northX, 320), wxColour(255, 0, 0));
  EXPECT_EQ(guitest::PixelAt(image, 320, static_cast<int>(320 + R)), wxColour(0, 0, 255));
  EXPECT_EQ(guitest::PixelAt(image, 320, 320), wxColour(0, 0, 255));
  EXPECT_EQ(guitest::PixelAt(image, 320, static_cast<int>(320 - R)), wxColour(0, 0, 0));
  // No outline: the symbol's edge is its fill or the background.
  EXPECT_EQ(guitest::PixelAt(image, 320 + 10, 320), wxColour(0, 0, 255));
  EXPECT_EQ(guitest::PixelAt(image, 320 + 16, 320), wxColour(0, 0, 0));

  EXPECT_EQ(drawnCount_, 3);
  EXPECT_EQ(recorded_, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(recordedKeys_, (std::vector<double>{10.0, 10.0, 11.0}));
  EXPECT_FALSE(brushLeftSet_);
  EXPECT_FALSE(penLeftSet_);
}

TEST_F(FlareLayerTest, CountTextIsDrawnAlsoWithoutSymbols) {
  FlareMap flares;
  flares.emplace(10.0, SolarFlare(30, 0, 0, 100, 1));
  frame_.scaleFactor = 0.0;  // no symbols, no statistics
  const wxImage image = Draw(flares, {9.0, 11.0});
  EXPECT_GT(BrightPixels(image, 10, kPanel - 20, 100, 18), 10);
  EXPECT_EQ(BrightPixels(image, 120, 0, kPanel - 120, kPanel), 0);
  EXPECT_EQ(drawnCount_, 0);
  EXPECT_TRUE(recorded_.empty());
  EXPECT_FALSE(brushLeftSet_);
}

TEST_F(FlareLayerTest, EmptyCollectionDrawsOnlyTheCount) {
  const wxImage image = Draw(FlareMap(), {9.0, 11.0});
  EXPECT_GT(BrightPixels(image, 10, kPanel - 20, 100, 18), 10);
  EXPECT_EQ(BrightPixels(image, 0, 0, kPanel, kPanel - 25), 0);
  EXPECT_EQ(drawnCount_, 0);
}

// Symbols hidden under later ones are left out: the picture must be the
// one of painting every symbol in turn, pixel for pixel.
class HiddenSymbolTest : public ::testing::TestWithParam<wxAntialiasMode> {
 protected:
  // Draws on black with the anti-aliasing mode of the test.
  wxImage Render(const std::function<void(wxDC&)>& draw) {
    wxBitmap bitmap(kPanel, kPanel, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (gc != nullptr) gc->SetAntialiasMode(GetParam());
    draw(dc);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
  }

  // Every symbol painted with its own ellipse, in key order.
  wxImage PaintEverySymbol(const FlareMap& flares, const FlareWindow& window,
                           const FlareFrame& frame) {
    return Render([&](wxDC& dc) {
      const wxBrush north(wxColour(255, 0, 0)), south(wxColour(0, 0, 255));
      dc.SetPen(*wxTRANSPARENT_PEN);
      ForEachFlareSymbol(flares, window, frame,
                         [&](double, const SolarFlare&, const FlareSymbol& s) {
                           dc.SetBrush(s.north ? north : south);
                           dc.DrawEllipse(s.x - s.radius, s.y - s.radius, 2 * s.radius,
                                          2 * s.radius);
                         });
    });
  }

  wxImage Layer(const FlareMap& flares, const FlareWindow& window, const FlareFrame& frame,
                int& drawn, int& painted) {
    return Render([&](wxDC& dc) {
      drawn = DrawFlareLayer(dc, kPanel, flares, window, frame, nullptr, &painted);
    });
  }

  // Mixed hemispheres, places and areas (0 and 10 to 2,000 millionths).
  static FlareMap RandomFlares(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> latitude(-60.0, 60.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::uniform_real_distribution<double> logArea(1.0, 3.3);
    FlareMap flares;
    for (int i = 0; i < count; ++i) {
      const double area = i % 3 == 0 ? 0.0 : std::pow(10.0, logArea(random));
      flares.emplace(10.0 + i * 1e-4,
                     SolarFlare(latitude(random), longitude(random), 0, area, i + 1));
    }
    return flares;
  }

  static int DifferingPixels(const wxImage& a, const wxImage& b) {
    int differing = 0;
    for (int i = 0; i < a.GetWidth() * a.GetHeight(); ++i) {
      if (!std::equal(a.GetData() + 3 * i, a.GetData() + 3 * i + 3, b.GetData() + 3 * i)) {
        ++differing;
      }
    }
    return differing;
  }

  static FlareFrame Frame(double centreX, double centreY, double scaleFactor,
                          const FlareMap& flares) {
    FlareFrame frame;
    frame.earthLongitude = 0.7;
    frame.scaleFactor = scaleFactor;
    frame.centreX = centreX;
    frame.centreY = centreY;
    frame.sunRadius = 0.7 * kPanel / 6;
    frame.maxFlareSize = MaxFlareSize(flares);
    return frame;
  }

  FlareSettingsGuard guard_;
  const FlareWindow all_{0.0, 100.0};
};

TEST_P(HiddenSymbolTest, ThousandsOfSymbolsGiveTheSamePictureWithFewerPainted) {
  const FlareMap flares = RandomFlares(4000, 7);
  // On the panel's middle, and half off the panel at a corner.
  const FlareFrame frames[] = {Frame(320.5, 300.25, 1.0, flares), Frame(20.0, 630.0, 1.0, flares),
                               Frame(-30.0, -10.0, 1.0, flares)};
  for (const FlareFrame& frame : frames) {
    int drawn = 0, painted = 0;
    const wxImage layer = Layer(flares, all_, frame, drawn, painted);
    const wxImage reference = PaintEverySymbol(flares, all_, frame);
    // Only the count text may differ: compare above it.
    const wxImage top = layer.GetSubImage(wxRect(0, 0, kPanel, kPanel - 24));
    EXPECT_EQ(DifferingPixels(top, reference.GetSubImage(wxRect(0, 0, kPanel, kPanel - 24))), 0)
        << "centre " << frame.centreX << ", " << frame.centreY;
    EXPECT_EQ(drawn, 4000);
    EXPECT_LT(painted, drawn / 2);  // most lie under later ones
    EXPECT_GT(painted, 0);
  }
}

// Radii beyond those measured (scale factor 6: up to 89 pixels) are all
// painted and cover nothing, next to small ones that are searched.
TEST_P(HiddenSymbolTest, LargeSymbolsAmongSmallOnesGiveTheSamePicture) {
  FlareMap flares = RandomFlares(600, 11);
  SetFlareLogScale(true);  // sizes close together: many large ones
  const FlareFrame frame = Frame(320.0, 320.0, 6.0, flares);
  int drawn = 0, painted = 0;
  const wxImage layer = Layer(flares, all_, frame, drawn, painted);
  const wxImage reference = PaintEverySymbol(flares, all_, frame);
  EXPECT_EQ(DifferingPixels(layer.GetSubImage(wxRect(0, 0, kPanel, kPanel - 24)),
                            reference.GetSubImage(wxRect(0, 0, kPanel, kPanel - 24))),
            0);
  EXPECT_EQ(drawn, 600);
  EXPECT_LE(painted, drawn);
}

TEST_P(HiddenSymbolTest, AFewSymbolsAreAllPainted) {
  const FlareMap flares = RandomFlares(40, 3);
  int drawn = 0, painted = 0;
  Layer(flares, all_, Frame(320.0, 320.0, 1.0, flares), drawn, painted);
  EXPECT_EQ(drawn, 40);
  EXPECT_EQ(painted, 40);
}

INSTANTIATE_TEST_SUITE_P(AntialiasModes, HiddenSymbolTest,
                         ::testing::Values(wxANTIALIAS_NONE, wxANTIALIAS_DEFAULT),
                         [](const ::testing::TestParamInfo<wxAntialiasMode>& info) {
                           return std::string(info.param == wxANTIALIAS_NONE ? "Whole"
                                                                              : "Antialiased");
                         });

}  // namespace
}  // namespace barywalk
