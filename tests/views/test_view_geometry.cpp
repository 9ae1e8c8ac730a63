#include <cmath>

#include <gtest/gtest.h>

#include "views/view_geometry.h"

namespace barywalk {
namespace {

TEST(ViewGeometry, SquarePanelOf640) {
  const ViewGeometry g = MakeViewGeometry(640, 640);
  EXPECT_EQ(g.w, 640);
  EXPECT_EQ(g.h, 640);
  EXPECT_EQ(g.cx, 320);
  EXPECT_EQ(g.cy, 320);
  EXPECT_NEAR(g.scale, 74.6667, 1e-4);
  EXPECT_EQ(g.refRadius, 149);
  EXPECT_EQ(ToPixel(g.scale), 74);  // the Sun disc's radius
}

TEST(ViewGeometry, OddAndLargerPanels) {
  const ViewGeometry odd = MakeViewGeometry(641, 641);
  EXPECT_EQ(odd.cx, 320);
  EXPECT_EQ(odd.cy, 320);
  EXPECT_NEAR(odd.scale, 74.7833, 1e-4);
  EXPECT_EQ(odd.refRadius, 149);  // trunc(149.57)

  const ViewGeometry wide = MakeViewGeometry(1280, 900);
  EXPECT_EQ(wide.cx, 640);
  EXPECT_EQ(wide.cy, 450);
  EXPECT_EQ(wide.refRadius, 298);  // trunc(298.67)
}

TEST(ViewGeometry, NegativeSizesCountAsEmpty) {
  const ViewGeometry g = MakeViewGeometry(-10, -3);
  EXPECT_EQ(g.w, 0);
  EXPECT_EQ(g.h, 0);
  EXPECT_EQ(g.cx, 0);
  EXPECT_EQ(g.scale, 0);
  EXPECT_EQ(g.refRadius, 0);
}

TEST(ViewGeometry, ToPixelTruncatesTowardZeroAndNeverOverflows) {
  EXPECT_EQ(ToPixel(118.4), 118);
  EXPECT_EQ(ToPixel(434.99), 434);
  EXPECT_EQ(ToPixel(-0.7), 0);
  EXPECT_EQ(ToPixel(-3.9), -3);
  EXPECT_EQ(ToPixel(NAN), 0);
  EXPECT_EQ(ToPixel(1e300), 1000000000);
  EXPECT_EQ(ToPixel(-INFINITY), -1000000000);
}

}  // namespace
}  // namespace barywalk
