// The Sun's offset from the barycenter and its acceleration, in view pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "ephemeris/barycenter.h"
#include "ephemeris/constants.h"

namespace barywalk {
namespace {

TEST(SunState, ReferenceValuesAtJ2000) {
  const SunState even = ComputeSunState(2451545.0, 640);
  EXPECT_NEAR(even.offsetX, 434.709, 5e-4);
  EXPECT_NEAR(even.offsetY, 275.180, 5e-4);
  EXPECT_NEAR(even.accelX, -0.84540, 5e-6);
  EXPECT_NEAR(even.accelY, 0.65370, 5e-6);
  // The barycenter lies 1.649 solar radii from the Sun's centre.
  const double scale = 640 * 0.7 / 6;
  EXPECT_NEAR(std::hypot(even.offsetX - 320, even.offsetY - 320) / scale, 1.649, 5e-4);

  // Odd width: same centre pixel (integer division), larger scale.
  const SunState odd = ComputeSunState(2451545.0, 641);
  EXPECT_NEAR(odd.offsetX, 434.888, 5e-4);
  EXPECT_NEAR(odd.offsetY, 275.110, 5e-4);
  EXPECT_EQ(odd.accelX, even.accelX);
  EXPECT_EQ(odd.accelY, even.accelY);
}

TEST(SunState, ScalesWithPanelWidthAroundItsCentre) {
  const double jd = 2455000.5;
  const SunState small = ComputeSunState(jd, 300);
  const SunState large = ComputeSunState(jd, 1200);
  EXPECT_NEAR((large.offsetX - 600) / 4, small.offsetX - 150, 1e-9);
  EXPECT_NEAR((large.offsetY - 600) / 4, small.offsetY - 150, 1e-9);
  EXPECT_EQ(large.accelX, small.accelX);
  EXPECT_EQ(large.accelY, small.accelY);
}

std::array<HeliocentricPosition, kPlanetCount> AllAtSun() {
  std::array<HeliocentricPosition, kPlanetCount> positions{};
  return positions;
}

TEST(SunState, OnePlanetPullsTheSunTowardsIt) {
  // Only Jupiter, 1 au away at longitude 0, which the view draws to the left.
  auto positions = AllAtSun();
  positions[4] = {0.0, 1.0};
  const SunState state = SunStateFromPositions(positions, 600);

  double totalMass = 0;
  for (double mass : kBodyMasses) totalMass += mass;
  const double solarRadii = 317.8 / totalMass * 1.49598e11 / 6.955e8;
  EXPECT_NEAR(state.offsetX, 300 + 70 * solarRadii, 1e-9);  // Sun right of the barycenter
  EXPECT_NEAR(state.offsetY, 300, 1e-12);
  EXPECT_NEAR(state.accelX, -317.8 * 332981.79 / 2.3e7, 1e-9);  // towards Jupiter
  EXPECT_NEAR(state.accelY, 0, 1e-12);
}

TEST(SunState, PlanetWithoutDistanceCountsOnlyInTheBarycenter) {
  const SunState empty = SunStateFromPositions(AllAtSun(), 600);
  EXPECT_EQ(empty.offsetX, 300);
  EXPECT_EQ(empty.offsetY, 300);
  EXPECT_EQ(empty.accelX, 0);
  EXPECT_EQ(empty.accelY, 0);

  // R < 0 shifts the barycenter but adds no pull.
  auto positions = AllAtSun();
  positions[5] = {0.0, -2.0};
  const SunState negative = SunStateFromPositions(positions, 600);
  EXPECT_LT(negative.offsetX, 300);
  EXPECT_EQ(negative.accelX, 0);
  EXPECT_EQ(negative.accelY, 0);
}

}  // namespace
}  // namespace barywalk
