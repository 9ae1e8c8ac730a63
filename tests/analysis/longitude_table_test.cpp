// The tabulated longitudes of the significance test against direct
// evaluation of the theories.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/longitude_table.h"
#include "ephemeris/planets.h"

namespace barywalk {
namespace {

constexpr double kDegPerRad = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;

// Wrapped difference of two longitudes, degrees in [0, 180].
double DifferenceDeg(double a, double b) {
  double d = std::fmod(std::fabs(a - b), kTwoPi);
  if (d > kTwoPi / 2) d = kTwoPi - d;
  return d * kDegPerRad;
}

// Over the span a significance run needs for a 2010-2018 catalog (500
// years either way), at random times and at the nodes' midpoints, where
// interpolation errs most.
TEST(LongitudeTableTest, InterpolationStaysWithinAThousandthOfADegree) {
  const double first = 2455197.5 - 500 * 365.25;
  const double last = 2458300.5 + 500 * 365.25;
  std::mt19937_64 random(12);
  std::uniform_real_distribution<double> time(first, last);
  for (Planet planet : kAllPlanets) {
    const LongitudeTable table(planet, first, last, 2);
    const double step = LongitudeTableStepDays(planet);
    std::vector<double> times = {first, last};  // both ends of the span are readable
    for (int i = 0; i < 4000; ++i) times.push_back(time(random));
    for (double jd = first + step / 2; jd < first + 2000 * step; jd += step) times.push_back(jd);
    double worst = 0;
    for (double jd : times) {
      double L = 0, R = 0;  // the theory evaluated directly
      PlanetPosition(planet, jd, L, R);
      worst = std::max(worst, DifferenceDeg(table.Unwrapped(jd), L));
      ASSERT_EQ(PlanetLongitude(planet, jd), L) << PlanetName(planet) << " " << jd;
    }
    EXPECT_LE(worst, 0.001) << PlanetName(planet);
  }
}

TEST(LongitudeTableTest, UnwrappedLongitudeIsContinuous) {
  const LongitudeTable table(Planet::Mercury, 2451545.0, 2451545.0 + 400, 1);
  double previous = table.Unwrapped(2451545.0);
  for (double jd = 2451545.25; jd <= 2451545.0 + 400; jd += 0.25) {
    const double value = table.Unwrapped(jd);
    EXPECT_GT(value, previous);  // prograde, never wrapped back by a turn
    EXPECT_LT(value - previous, 0.05);
    previous = value;
  }
  EXPECT_GT(previous - table.Unwrapped(2451545.0), 4 * kTwoPi);  // over four orbits
}

}  // namespace
}  // namespace barywalk
