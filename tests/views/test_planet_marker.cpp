#include <cmath>

#include <gtest/gtest.h>

#include "views/planet_marker.h"

namespace barywalk {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kW = 640, kH = 640;
constexpr double kCentre = 320;

// Heliocentric vector in screen orientation: ecliptic (X, Y) drawn as (-X, +Y).
void ScreenVector(double L, double R, double& dx, double& dy) {
  dx = -R * std::cos(L);
  dy = R * std::sin(L);
}

bool InsideMargins(double x, double y, int w, int h) {
  return x >= 5 && x <= w - 45 && y >= 15 && y <= h - 15;
}

bool InsideMargins(const MarkerPlacement& m, int w, int h) { return InsideMargins(m.tx, m.ty, w, h); }

// The label corner one shortening step earlier.
bool PreviousStepInside(const MarkerPlacement& m, double sx, double sy, int w, int h) {
  return InsideMargins(sx + (m.tx - sx) / 0.995, sy + (m.ty - sy) / 0.995, w, h);
}

TEST(PlaceMarker, EarthAtOneAuLongitudeZeroRunsLeftToItsLabel) {
  double dx, dy;
  ScreenVector(0, 1, dx, dy);
  const MarkerPlacement m = PlaceMarker(kCentre, kCentre, kW, kH, dx, dy, 1.0);
  ASSERT_TRUE(m.visible);
  EXPECT_NEAR(m.tx, 118.4, 1e-9);
  EXPECT_DOUBLE_EQ(m.ty, 320);
}

TEST(PlaceMarker, LongitudeTurnsCounterClockwiseOnScreen) {
  double dx, dy;
  ScreenVector(kPi / 2, 1, dx, dy);
  const MarkerPlacement down = PlaceMarker(kCentre, kCentre, kW, kH, dx, dy, 1.0);
  ASSERT_TRUE(down.visible);
  EXPECT_NEAR(down.tx, 320, 1e-9);
  EXPECT_NEAR(down.ty, 521.6, 1e-9);

  ScreenVector(kPi, 1, dx, dy);
  const MarkerPlacement right = PlaceMarker(kCentre, kCentre, kW, kH, dx, dy, 1.0);
  ASSERT_TRUE(right.visible);
  EXPECT_NEAR(right.tx, 521.6, 1e-9);
  EXPECT_NEAR(right.ty, 320, 1e-9);
}

TEST(PlaceMarker, LengthGrowsWithDistanceOverReferenceDistance) {
  // Saturn-like reference distance 10 AU at 5 and 10 AU: both fit unshortened.
  const MarkerPlacement half = PlaceMarker(kCentre, kCentre, kW, kH, -5, 0, 10);
  const MarkerPlacement full = PlaceMarker(kCentre, kCentre, kW, kH, -10, 0, 10);
  ASSERT_TRUE(half.visible && full.visible);
  EXPECT_NEAR(kCentre - half.tx, 100.8, 1e-9);
  EXPECT_NEAR(kCentre - full.tx, 201.6, 1e-9);
  // Scales with the panel width too.
  const MarkerPlacement wide = PlaceMarker(640, 640, 1280, 1280, -10, 0, 10);
  ASSERT_TRUE(wide.visible);
  EXPECT_NEAR(640 - wide.tx, 403.2, 1e-9);
}

TEST(PlaceMarker, TooLongMarkerShrinksStepwiseKeepingItsDirection) {
  // Twice the reference distance toward lower right: 403.2 px along x would
  // cross the right margin at 595.
  const double dx = 2.0, dy = 0.5;
  const MarkerPlacement m = PlaceMarker(kCentre, kCentre, kW, kH, dx, dy, 1.0);
  ASSERT_TRUE(m.visible);
  EXPECT_TRUE(InsideMargins(m, kW, kH));
  const double ex = m.tx - kCentre, ey = m.ty - kCentre;
  EXPECT_NEAR(ey / ex, dy / dx, 1e-12);
  // It stopped at the first step that fits: one step less is still outside.
  EXPECT_LE(m.tx, 595);
  EXPECT_GT(kCentre + ex / 0.995, 595);
  // Every step takes 0.5 %, so the length is 403.2 * 0.995^n for a whole n.
  const double steps = std::log(ex / 403.2) / std::log(0.995);
  EXPECT_NEAR(steps, std::round(steps), 1e-6);
  EXPECT_GT(steps, 0);
}

TEST(PlaceMarker, EveryMarginIsRespected) {
  const double directions[][2] = {{-3, 0}, {3, 0}, {0, -3}, {0, 3}, {-3, -3}, {3, 3}};
  for (const auto& d : directions) {
    const MarkerPlacement m = PlaceMarker(kCentre, kCentre, kW, kH, d[0], d[1], 1.0);
    ASSERT_TRUE(m.visible);
    EXPECT_TRUE(InsideMargins(m, kW, kH)) << d[0] << "," << d[1] << " -> " << m.tx << "," << m.ty;
    EXPECT_FALSE(PreviousStepInside(m, kCentre, kCentre, kW, kH)) << d[0] << "," << d[1];
  }
}

TEST(PlaceMarker, SkippedWhenTheSunIsOutsideTheMargins) {
  const double suns[][2] = {{100000, 320}, {-5000, 320}, {320, 1e9}, {320, 10}, {600, 320}};
  for (const auto& s : suns) {
    const MarkerPlacement m = PlaceMarker(s[0], s[1], kW, kH, -1, 0, 1.0);
    EXPECT_FALSE(m.visible) << s[0] << "," << s[1];
  }
  // A panel too small to leave any room inside the margins.
  EXPECT_FALSE(PlaceMarker(20, 20, 40, 40, -1, 0, 1.0).visible);
}

TEST(PlaceMarker, SunOnTheMarginStillEndsAfterBoundedSteps) {
  // The corner approaches x = 595 from outside; with a huge marker it cannot
  // get there in a sensible number of steps, so the marker is skipped.
  EXPECT_FALSE(PlaceMarker(595, 320, kW, kH, 1, 0, 1e-200).visible);
  // A marker pointing away from the margin fits as usual.
  const MarkerPlacement m = PlaceMarker(595, 320, kW, kH, -1, 0, 1.0);
  ASSERT_TRUE(m.visible);
  EXPECT_NEAR(m.tx, 595 - 201.6, 1e-9);
}

TEST(PlaceMarker, UnusableInputIsSkipped) {
  EXPECT_FALSE(PlaceMarker(kCentre, kCentre, kW, kH, -1, 0, 0).visible);
  EXPECT_FALSE(PlaceMarker(kCentre, kCentre, kW, kH, -1, 0, -1).visible);
  EXPECT_FALSE(PlaceMarker(kCentre, kCentre, kW, kH, NAN, 0, 1).visible);
  EXPECT_FALSE(PlaceMarker(kCentre, kCentre, kW, kH, -1, INFINITY, 1).visible);
  EXPECT_FALSE(PlaceMarker(NAN, kCentre, kW, kH, -1, 0, 1).visible);
  EXPECT_FALSE(PlaceMarker(kCentre, kCentre, kW, kH, -1, 0, NAN).visible);
  // A planet at the Sun's place: a zero-length marker at the Sun's centre.
  const MarkerPlacement zero = PlaceMarker(kCentre, kCentre, kW, kH, 0, 0, 1);
  ASSERT_TRUE(zero.visible);
  EXPECT_EQ(zero.tx, kCentre);
  EXPECT_EQ(zero.ty, kCentre);
}

}  // namespace
}  // namespace barywalk
