// Apparent areas, the largest symbol size, the visibility window and the
// symbols' geometry.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "flare_settings_guard.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

SolarFlare FlareWithArea(double area) { return SolarFlare(10, 0, 0, area, 1); }

class ApparentAreaTest : public ::testing::Test {
 protected:
  FlareSettingsGuard guard_;
};

TEST_F(ApparentAreaTest, StartsWithClippingAt800AndLinearScale) {
  EXPECT_EQ(GetFlareAreaClip(), 800.0);
  EXPECT_FALSE(GetFlareLogScale());
}

TEST_F(ApparentAreaTest, MissingAreaCountsAs100) {
  for (double area : {0.0, -0.0, -5.0}) {
    EXPECT_EQ(FlareWithArea(area).ApparentArea(), 100.0) << area;
    EXPECT_EQ(FlareWithArea(area).SymbolSize(), 10.0) << area;
  }
  EXPECT_EQ(FlareWithArea(1.0).ApparentArea(), 1.0);
}

TEST_F(ApparentAreaTest, ClippingLimitsLargeAreasOnlyWhenPositive) {
  SetFlareAreaClip(800.0);
  EXPECT_EQ(FlareWithArea(800.0).SymbolSize(), FlareWithArea(5000.0).SymbolSize());
  EXPECT_EQ(FlareWithArea(799.0).ApparentArea(), 799.0);
  for (double off : {-1.0, 0.0}) {
    SetFlareAreaClip(off);
    EXPECT_EQ(FlareWithArea(5000.0).ApparentArea(), 5000.0) << off;
  }
}

TEST_F(ApparentAreaTest, LogScalingTakesLnOfAreaPlusOneAfterClipping) {
  SetFlareLogScale(true);
  EXPECT_NEAR(FlareWithArea(100.0).ApparentArea(), 4.6151, 1e-4);
  EXPECT_NEAR(FlareWithArea(0.0).ApparentArea(), 4.6151, 1e-4);
  SetFlareAreaClip(800.0);
  EXPECT_DOUBLE_EQ(FlareWithArea(5000.0).ApparentArea(), std::log(801.0));
}

TEST_F(ApparentAreaTest, MaxFlareSizeFollowsTheSettings) {
  EXPECT_EQ(MaxFlareSize(FlareMap()), 0.0);
  FlareMap flares;
  flares.emplace(1.0, FlareWithArea(400.0));
  flares.emplace(2.0, FlareWithArea(2500.0));
  flares.emplace(3.0, FlareWithArea(0.0));
  SetFlareAreaClip(800.0);
  EXPECT_DOUBLE_EQ(MaxFlareSize(flares), std::sqrt(800.0));
  SetFlareAreaClip(-1.0);
  EXPECT_DOUBLE_EQ(MaxFlareSize(flares), 50.0);
  SetFlareLogScale(true);
  EXPECT_DOUBLE_EQ(MaxFlareSize(flares), std::sqrt(std::log(2501.0)));
}

TEST(FlareWindowTest, DurationWindowIsCentredOnTheSimulatedTime) {
  const FlareWindow window = FlareVisibilityWindow(2455000.0, true, 300.0, 0.11);
  EXPECT_NEAR(window.from, 2455000.0 - 0.1041666, 1e-6);
  EXPECT_NEAR(window.to, 2455000.0 + 0.1041666, 1e-6);
}

TEST(FlareWindowTest, IncrementWindowReachesTwoDaysFurther) {
  const FlareWindow window = FlareVisibilityWindow(2455000.0, false, 300.0, 0.11);
  EXPECT_NEAR(window.from, 2455000.0 - 2.11, 1e-9);
  EXPECT_NEAR(window.to, 2455000.0 + 2.11, 1e-9);
}

std::vector<int> IndicesInWindow(const FlareMap& flares, const FlareWindow& window) {
  std::vector<int> indices;
  const FlareRange range = FlaresInWindow(flares, window);
  for (auto it = range.first; it != range.second; ++it) indices.push_back(it->second.Index());
  return indices;
}

TEST(FlareWindowTest, BothEndsAreInclusive) {
  const FlareWindow window = FlareVisibilityWindow(2455000.0, true, 300.0, 0.11);
  FlareMap flares;
  flares.emplace(std::nextafter(window.from, 0.0), SolarFlare(0, 0, 0, 0, 1));
  flares.emplace(window.from, SolarFlare(0, 0, 0, 0, 2));
  flares.emplace(2455000.0, SolarFlare(0, 0, 0, 0, 3));
  flares.emplace(window.to, SolarFlare(0, 0, 0, 0, 4));
  flares.emplace(window.to, SolarFlare(0, 0, 0, 0, 5));
  flares.emplace(std::nextafter(window.to, 1e9), SolarFlare(0, 0, 0, 0, 6));
  EXPECT_EQ(IndicesInWindow(flares, window), (std::vector<int>{2, 3, 4, 5}));
}

TEST(FlareWindowTest, InvertedWindowIsEmpty) {
  FlareMap flares;
  for (int i = 1; i <= 5; ++i) flares.emplace(i, SolarFlare(0, 0, 0, 0, i));
  EXPECT_TRUE(IndicesInWindow(flares, {4.0, 2.0}).empty());
  EXPECT_TRUE(IndicesInWindow(flares, {std::nan(""), 2.0}).empty());
  EXPECT_TRUE(IndicesInWindow(FlareMap(), {0.0, 9.0}).empty());
}

// A 640-pixel panel's Sun: radius 0.7 * 640 / 6; the largest flare has
// area 100 (symbol size 10), so it gets radius 0.2 * R = 14.93.
class FlareSymbolTest : public ::testing::Test {
 protected:
  FlareFrame Frame(double earthLongitude = 0.0, double scale = 1.0) const {
    FlareFrame frame;
    frame.earthLongitude = earthLongitude;
    frame.scaleFactor = scale;
    frame.centreX = 320.4;
    frame.centreY = 300.7;
    frame.sunRadius = 0.7 * 640 / 6;
    frame.maxFlareSize = 10.0;
    return frame;
  }
  FlareSettingsGuard guard_;
};

TEST_F(FlareSymbolTest, LargestFlareGetsAFifthOfTheSunRadiusTimesTheScale) {
  const auto symbol = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), Frame());
  ASSERT_TRUE(symbol);
  EXPECT_EQ(symbol->radius, 14);
  const auto doubled = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), Frame(0.0, 2.0));
  EXPECT_EQ(doubled->radius, 29);
  const auto quarterArea = ComputeFlareSymbol(SolarFlare(0, 0, 0, 25, 1), Frame(0.0, 2.0));
  EXPECT_EQ(quarterArea->radius, 14);
}

TEST_F(FlareSymbolTest, RadiusOfOnePixelOrLessIsNotDrawn) {
  FlareFrame frame = Frame();
  frame.sunRadius = 10.0;  // the largest symbol's radius is 2 * scale
  frame.scaleFactor = 0.5;
  EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), frame));
  frame.scaleFactor = 0.5000001;
  const auto justOver = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), frame);
  ASSERT_TRUE(justOver);
  EXPECT_EQ(justOver->radius, 1);
  frame.scaleFactor = 0.0;
  EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), frame));
}

TEST_F(FlareSymbolTest, NoSymbolWithoutAPositiveMaximumSize) {
  FlareFrame frame = Frame();
  for (double maxSize : {0.0, -1.0, std::nan("")}) {
    frame.maxFlareSize = maxSize;
    EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), frame)) << maxSize;
  }
}

TEST_F(FlareSymbolTest, OnlyNorthernLatitudesAreRed) {
  EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(+0.0, 0, 0, 100, 1), Frame())->north);
  EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(-0.0, 0, 0, 100, 1), Frame())->north);
  EXPECT_FALSE(ComputeFlareSymbol(SolarFlare(-20, 0, 0, 100, 1), Frame())->north);
  EXPECT_TRUE(ComputeFlareSymbol(SolarFlare(1e-9, 0, 0, 100, 1), Frame())->north);
}

TEST_F(FlareSymbolTest, PositionFollowsDirectionAngleAndLatitude) {
  const double R = Frame().sunRadius;
  // Longitude 0 lies in the Earth's direction; the Earth at longitude 0 is
  // to the left of the Sun's centre.
  auto s = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), Frame(0.0));
  EXPECT_EQ(s->x, static_cast<int>(320.4 - R));
  EXPECT_EQ(s->y, 300);
  EXPECT_EQ(s->angle, 0.0);
  // Earth at 90 degrees: straight down on the screen.
  s = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), Frame(M_PI / 2));
  EXPECT_EQ(s->x, 320);
  EXPECT_EQ(s->y, static_cast<int>(300.7 + R));
  // A flare 90 degrees west of the central meridian turns the angle back.
  s = ComputeFlareSymbol(SolarFlare(0, 90, 0, 100, 1), Frame(M_PI / 2));
  EXPECT_NEAR(s->angle, 0.0, 1e-15);
  EXPECT_EQ(s->x, static_cast<int>(320.4 - R));
  // Latitude 60 degrees halves the distance from the centre.
  s = ComputeFlareSymbol(SolarFlare(-60, 0, 0, 100, 1), Frame(0.0));
  EXPECT_EQ(s->x, static_cast<int>(320.4 - R * 0.5));
}

TEST_F(FlareSymbolTest, PolesLieAtTheCentre) {
  for (double lat : {90.0, -90.0}) {
    for (double earth : {0.0, 1.0, 3.5}) {
      const auto s = ComputeFlareSymbol(SolarFlare(lat, 37, 0, 100, 1), Frame(earth));
      ASSERT_TRUE(s);
      EXPECT_EQ(s->x, 320) << lat << " " << earth;
      EXPECT_EQ(s->y, 300) << lat << " " << earth;
    }
  }
}

TEST_F(FlareSymbolTest, HugeSizesAreClampedToSafePixelValues) {
  FlareFrame frame = Frame();
  frame.maxFlareSize = 1e-300;  // stale maximum, far too small
  const auto s = ComputeFlareSymbol(SolarFlare(0, 0, 0, 100, 1), frame);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->radius, 16777216);
  EXPECT_LT(s->x - s->radius, 0);  // no overflow in the caller's arithmetic
}

TEST_F(FlareSymbolTest, FrameVisitsDrawableFlaresOfTheWindowInKeyOrder) {
  FlareMap flares;
  flares.emplace(9.0, SolarFlare(0, 0, 0, 100, 1));   // outside the window
  flares.emplace(12.0, SolarFlare(5, 0, 0, 100, 2));
  flares.emplace(10.0, SolarFlare(-5, 0, 0, 100, 3));
  flares.emplace(11.0, SolarFlare(0, 0, 0, 0.01, 4));  // radius below one pixel
  std::vector<int> visited;
  std::vector<double> keys;
  const int drawn = ForEachFlareSymbol(flares, {10.0, 12.0}, Frame(),
                                       [&](double jd, const SolarFlare& flare, const FlareSymbol&) {
                                         visited.push_back(flare.Index());
                                         keys.push_back(jd);
                                       });
  EXPECT_EQ(drawn, 2);
  EXPECT_EQ(visited, (std::vector<int>{3, 2}));
  EXPECT_EQ(keys, (std::vector<double>{10.0, 12.0}));
}

}  // namespace
}  // namespace barywalk
