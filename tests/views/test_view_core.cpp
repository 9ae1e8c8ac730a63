// The orbit view's numbers: panel geometry, the Sun trail and marker placement.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "views/planet_marker.h"
#include "views/solar_path.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

constexpr double kJan1980 = 2444239.5;
constexpr int kW = 640, kH = 640;

TEST(ViewGeometry, CentreScaleAndReferenceRadiusFollowThePanel) {
  struct Case {
    int w, h, cx, cy;
    double scale;
    int refRadius;
  };
  const Case cases[] = {
      {640, 640, 320, 320, 74.6667, 149},    // a Sun disc of radius 74
      {641, 641, 320, 320, 74.7833, 149},    // integer half; trunc(149.57)
      {1280, 900, 640, 450, 149.3333, 298},  // trunc(298.67)
      {-10, -3, 0, 0, 0, 0},                 // negative sizes count as empty
  };
  for (const Case& c : cases) {
    const ViewGeometry g = MakeViewGeometry(c.w, c.h);
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    EXPECT_EQ(g.w, std::max(c.w, 0));
    EXPECT_EQ(g.h, std::max(c.h, 0));
    EXPECT_EQ(g.cx, c.cx);
    EXPECT_EQ(g.cy, c.cy);
    EXPECT_NEAR(g.scale, c.scale, 1e-4);
    EXPECT_EQ(g.refRadius, c.refRadius);
  }
}

TEST(ViewGeometry, ToPixelTruncatesTowardZeroAndNeverOverflows) {
  EXPECT_EQ(ToPixel(118.4), 118);
  EXPECT_EQ(ToPixel(-0.7), 0);
  EXPECT_EQ(ToPixel(-3.9), -3);
  EXPECT_EQ(ToPixel(NAN), 0);
  EXPECT_EQ(ToPixel(1e300), 1000000000);
  EXPECT_EQ(ToPixel(-INFINITY), -1000000000);
}

TEST(SolarPath, ClearEmptiesTheTrailSoTheNextPointStores) {
  SolarPath path;
  path.AddPoint(kJan1980, {1, 2});
  path.AddPoint(kJan1980 + 20, {3, 4});
  ASSERT_EQ(path.Points().size(), 2u);
  path.Clear();
  EXPECT_TRUE(path.Points().empty());
  EXPECT_EQ(path.LastTime(), -1000.0);
  path.AddPoint(kJan1980, {5, 6});  // though earlier than the last point
  ASSERT_EQ(path.Points().size(), 1u);
  EXPECT_EQ(path.Points().back().y, 6);
}

// A new trail counts as last stored at day -1000.
TEST(SolarPath, StoresOnlyMoreThanTenDaysAfterTheLastStoredPoint) {
  struct Case {
    std::optional<double> last;  // the point already stored, if any
    double time;
    bool stores;
  };
  const Case cases[] = {
      {{}, kJan1980, true},  {{}, -989.999, true}, {{}, -990.0, false}, {{}, NAN, false},
      {kJan1980, kJan1980 + 10.0, false}, {kJan1980, kJan1980 + 10.001, true},
      {kJan1980, kJan1980 - 50, false},  // played in reverse
      {kJan1980, NAN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "last " << c.last.value_or(-1000) << ", time " << c.time);
    SolarPath path;
    if (c.last) path.AddPoint(*c.last, {0, 0});
    const size_t before = path.Points().size();
    const double lastBefore = path.LastTime();
    path.AddPoint(c.time, {7, 8});
    EXPECT_EQ(path.Points().size(), before + (c.stores ? 1 : 0));
    EXPECT_EQ(path.LastTime(), c.stores ? c.time : lastBefore);
  }
}

// Played forward at 0.11 days per step the trail keeps the first step, then
// every 91st (90 steps are 9.9 days), oldest first.
TEST(SolarPath, SmallIncrementStoresFirstStepThenEvery91st) {
  SolarPath path;
  double time = kJan1980;
  for (int step = 0; step < 1000; ++step, time += 0.11)
    path.AddPoint(time, PixelPoint{static_cast<double>(step), 0});
  std::vector<double> steps;
  for (const PixelPoint& p : path.Points()) steps.push_back(p.x);
  EXPECT_EQ(steps, (std::vector<double>{0, 91, 182, 273, 364, 455, 546, 637, 728, 819, 910}));
}

// Left 5, right 45, top and bottom 15 pixels.
bool InsideMargins(double x, double y) { return x >= 5 && x <= kW - 45 && y >= 15 && y <= kH - 15; }

// Markers that fit get their full length, 0.315 * w * |(dx, dy)| / K pixels.
TEST(PlaceMarker, FullLengthWhenTheLabelCornerFits) {
  struct Case {
    double sx, sy;
    int w;
    double dx, dy, K, tx, ty;
  };
  const Case cases[] = {
      {320, 320, 640, -1, 0, 1, 118.4, 320},
      {320, 320, 640, 0, 1, 1, 320, 521.6},
      {320, 320, 640, -5, 0, 10, 219.2, 320},    // half the reference distance
      {640, 640, 1280, -10, 0, 10, 236.8, 640},  // twice the panel, twice the length
      {595, 320, 640, -1, 0, 1, 393.4, 320},     // the Sun on a margin, pointing away
      {320, 320, 640, 0, 0, 1, 320, 320},        // a planet at the Sun's place
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "toward " << c.dx << "," << c.dy << " K " << c.K);
    const MarkerPlacement m = PlaceMarker(c.sx, c.sy, c.w, c.w, c.dx, c.dy, c.K);
    ASSERT_TRUE(m.visible);
    EXPECT_NEAR(m.tx, c.tx, 1e-9);
    EXPECT_NEAR(m.ty, c.ty, 1e-9);
  }
}

// Too long markers lose 0.5 % per step, keeping their direction, and stop at
// the first step whose label corner lies inside the margins.
TEST(PlaceMarker, TooLongMarkersShrinkToTheFirstStepThatFits) {
  const double directions[][2] = {{2, 0.5}, {-3, 0}, {3, 0}, {0, -3}, {0, 3}, {-3, -3}, {3, 3}};
  for (const auto& d : directions) {
    SCOPED_TRACE(testing::Message() << "toward " << d[0] << "," << d[1]);
    const MarkerPlacement m = PlaceMarker(320, 320, kW, kH, d[0], d[1], 1.0);
    ASSERT_TRUE(m.visible);
    const double ex = m.tx - 320, ey = m.ty - 320;
    EXPECT_TRUE(InsideMargins(m.tx, m.ty)) << m.tx << "," << m.ty;
    EXPECT_FALSE(InsideMargins(320 + ex / 0.995, 320 + ey / 0.995));  // one step earlier
    EXPECT_NEAR(ex * d[1] - ey * d[0], 0, 1e-9);
    EXPECT_GT(ex * d[0] + ey * d[1], 0);
    const double fullLength = 201.6 * std::hypot(d[0], d[1]);
    const double steps = std::log(std::hypot(ex, ey) / fullLength) / std::log(0.995);
    EXPECT_NEAR(steps, std::round(steps), 1e-6);
    EXPECT_GE(steps, 1);
  }
}

// Shortening pulls the corner toward the Sun's centre, so a Sun outside the
// margins can never get its marker in; the loop must still end.
TEST(PlaceMarker, SkippedWhenItCannotFitOrTheInputIsUnusable) {
  struct Case {
    const char* why;
    double sx, sy;
    int w;
    double dx, dy, K;
  };
  const Case cases[] = {
      {"Sun left of the margins", -5000, 320, kW, -1, 0, 1},
      {"Sun right of the margins", 600, 320, kW, -1, 0, 1},
      {"Sun above the margins", 320, 10, kW, -1, 0, 1},
      {"Sun far below", 320, 1e9, kW, -1, 0, 1},
      {"no room inside the margins", 20, 20, 40, -1, 0, 1},
      {"corner approaching the margin from outside for ever", 595, 320, kW, 1, 0, 1e-200},
      {"K zero", 320, 320, kW, -1, 0, 0},
      {"K negative", 320, 320, kW, -1, 0, -1},
      {"dx NaN", 320, 320, kW, NAN, 0, 1},
      {"dy infinite", 320, 320, kW, -1, INFINITY, 1},
      {"Sun NaN", NAN, 320, kW, -1, 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(PlaceMarker(c.sx, c.sy, c.w, c.w, c.dx, c.dy, c.K).visible) << c.why;
}

}  // namespace
}  // namespace barywalk
