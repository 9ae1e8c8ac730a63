// Apparent areas, the visibility window and the symbols' geometry. (The
// largest symbol size under each setting is tested with the dialog.)
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

TEST(ApparentAreaTest, MissingAreaIs100ThenClippingThenLogScale) {
  // The settings at start: clipping at 800, linear scale.
  EXPECT_EQ(FlareScaling().areaClip, 800.0);
  EXPECT_FALSE(FlareScaling().logScale);
  EXPECT_EQ(SolarFlare(10, 0, 0, 0, 1).SymbolSize(FlareScaling()), 10.0);
  struct Case {
    double clip;
    bool logScale;
    double area, apparent;
  };
  const double ln101 = 4.61512051684126, ln801 = 6.68586094706836;
  const Case cases[] = {
      {800, false, 0.0, 100}, {800, false, -0.0, 100}, {800, false, -5, 100},
      {800, false, 1, 1},     {800, false, 799, 799},  {800, false, 5000, 800},
      {-1, false, 5000, 5000}, {0, false, 5000, 5000},  // 0 and below: no clipping
      {800, true, 100, ln101}, {800, true, 0, ln101},   {800, true, 5000, ln801},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(SolarFlare(10, 0, 0, c.area, 1).ApparentArea({c.clip, c.logScale}), c.apparent,
                1e-12)
        << c.clip << " " << c.logScale << " " << c.area;
  }
}

std::vector<int> IndicesInWindow(const FlareMap& flares, const FlareWindow& window) {
  std::vector<int> indices;
  const FlareRange range = FlaresInWindow(flares, window);
  for (auto it = range.first; it != range.second; ++it) indices.push_back(it->second.Index());
  return indices;
}

TEST(FlareWindowTest, DurationOrIncrementWindowCentredOnTheSimulatedTime) {
  const FlareWindow duration = FlareVisibilityWindow(2455000.0, true, 300.0, 0.11);
  EXPECT_NEAR(duration.from, 2455000.0 - 0.1041666, 1e-6);
  EXPECT_NEAR(duration.to, 2455000.0 + 0.1041666, 1e-6);
  const FlareWindow increment = FlareVisibilityWindow(2455000.0, false, 300.0, 0.11);
  EXPECT_NEAR(increment.from, 2455000.0 - 2.11, 1e-9);
  EXPECT_NEAR(increment.to, 2455000.0 + 2.11, 1e-9);
}

TEST(FlareWindowTest, BothEndsAreInclusiveAnInvertedWindowIsEmpty) {
  const FlareWindow window = FlareVisibilityWindow(2455000.0, true, 300.0, 0.11);
  FlareMap flares;
  flares.emplace(std::nextafter(window.from, 0.0), SolarFlare(0, 0, 0, 0, 1));
  flares.emplace(window.from, SolarFlare(0, 0, 0, 0, 2));
  flares.emplace(2455000.0, SolarFlare(0, 0, 0, 0, 3));
  flares.emplace(window.to, SolarFlare(0, 0, 0, 0, 4));
  flares.emplace(window.to, SolarFlare(0, 0, 0, 0, 5));
  flares.emplace(std::nextafter(window.to, 1e9), SolarFlare(0, 0, 0, 0, 6));
  EXPECT_EQ(IndicesInWindow(flares, window), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_TRUE(IndicesInWindow(flares, {window.to, window.from}).empty());
  EXPECT_TRUE(IndicesInWindow(flares, {std::nan(""), window.to}).empty());
  EXPECT_TRUE(IndicesInWindow(FlareMap(), {0.0, 9.0}).empty());
}

// A 640-pixel panel's Sun: radius 0.7 * 640 / 6; the largest flare has
// area 100 (symbol size 10), so it gets radius 0.2 * R = 14.93.
FlareFrame Frame(double earthLongitude = 0.0) {
  return FlareFrame{earthLongitude, 1.0, 320.4, 300.7, 0.7 * 640 / 6, 10.0, FlareScaling()};
}

// The largest flare's radius is scale * 0.2 * R; a radius of 1 pixel or
// less is not drawn; huge radii are clamped to safe pixel values.
TEST(FlareSymbolTest, RadiusScalesWithTheSizeAndSmallOnesAreSkipped) {
  struct Case {
    double area, scale, sunRadius, maxSize;
    int radius;  // 0: no symbol
  };
  const double R = Frame().sunRadius;
  const Case cases[] = {
      {100, 1, R, 10, 14},        {100, 2, R, 10, 29},       {25, 2, R, 10, 14},
      {100, 0.5, 10, 10, 0},      {100, 0.5000001, 10, 10, 1},
      {100, 0, R, 10, 0},         {100, 1, R, 0, 0},         {100, 1, R, -1, 0},
      {100, 1, R, std::nan(""), 0},
      {100, 1, R, 1e-300, 16777216},  // a stale maximum, far too small
  };
  for (const Case& c : cases) {
    FlareFrame frame = Frame();
    frame.scaleFactor = c.scale;
    frame.sunRadius = c.sunRadius;
    frame.maxFlareSize = c.maxSize;
    const auto symbol = ComputeFlareSymbol(SolarFlare(0, 0, 0, c.area, 1), frame);
    EXPECT_EQ(symbol ? symbol->radius : 0, c.radius) << c.area << " " << c.scale << " "
                                                     << c.sunRadius << " " << c.maxSize;
  }
}

// A flare sits R |cos latitude| from the centre, in the direction of the
// Earth's longitude minus its own: longitude 0 faces the Earth, which at
// longitude 0 is to the left of the Sun's centre (320.4, 300.7). Only
// northern flares are red (north), the equator is not.
TEST(FlareSymbolTest, PositionFollowsDirectionAngleAndLatitude) {
  const double R = Frame().sunRadius;
  const int left = static_cast<int>(320.4 - R);
  struct Case {
    double latitude, longitude, earthLongitude;
    int x, y;
    bool north;
  };
  const Case cases[] = {
      {+0.0, 0, 0, left, 300, false},
      {-0.0, 0, M_PI / 2, 320, static_cast<int>(300.7 + R), false},  // straight down
      {1e-9, 90, M_PI / 2, left, 300, true},  // 90 degrees west turns it back
      {-60, 0, 0, static_cast<int>(320.4 - R / 2), 300, false},
      {90, 37, 0, 320, 300, true},  // the poles lie at the centre
      {90, 37, 1, 320, 300, true},
      {-90, 37, 3.5, 320, 300, false},
  };
  for (const Case& c : cases) {
    const auto s = ComputeFlareSymbol(SolarFlare(c.latitude, c.longitude, 0, 100, 1),
                                      Frame(c.earthLongitude));
    ASSERT_TRUE(s);
    EXPECT_EQ(std::make_tuple(s->x, s->y, s->north), std::make_tuple(c.x, c.y, c.north))
        << c.latitude << " " << c.longitude << " " << c.earthLongitude;
  }
}

}  // namespace
}  // namespace barywalk
