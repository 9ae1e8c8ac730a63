// The flare layer drawn into a memory bitmap.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
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

}  // namespace
}  // namespace barywalk
