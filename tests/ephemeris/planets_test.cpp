// Heliocentric positions against the worked examples of Meeus, Astronomical
// Algorithms (2nd ed.), and the longitude reduction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "ephemeris/pluto.h"
#include "ephemeris/series.h"

namespace barywalk {
namespace {

constexpr double kTwoPi = 2 * 3.141592653589793;

double LongitudeDegrees(Planet planet, double jd) {
  double L = 0, R = 0;
  PlanetPosition(planet, jd, L, R);
  return L * kDegreesPerRadian;
}

double Radius(Planet planet, double jd) {
  double L = 0, R = 0;
  PlanetPosition(planet, jd, L, R);
  return R;
}

TEST(PlanetPosition, ReferenceValues) {
  // J2000.0: tau = 0, only L0 and R0 count.
  double L = 0, R = 0;
  PlanetPosition(Planet::Earth, 2451545.0, L, R);
  EXPECT_NEAR(L, 1.7519227, 5e-8);
  EXPECT_NEAR(R, 0.98332758, 5e-9);
  // 1992-10-13 0h (Meeus, example 25.b): all sub-series at work.
  EXPECT_NEAR(LongitudeDegrees(Planet::Earth, 2448908.5), 19.907372, 5e-7);
  EXPECT_NEAR(Radius(Planet::Earth, 2448908.5), 0.99760775, 5e-9);
  // 1992-12-20 0h (Meeus, example 32.a).
  EXPECT_NEAR(LongitudeDegrees(Planet::Venus, 2448976.5), 26.11428, 5e-6);
  EXPECT_NEAR(Radius(Planet::Venus, 2448976.5), 0.724603, 5e-7);
}

TEST(PlanetPosition, PlutoReferenceValues) {
  EXPECT_NEAR(PlutoLongitude(2448908.5), 232.74071, 5e-6);  // Meeus, example 37.a
  EXPECT_NEAR(PlutoRadius(2448908.5), 29.711111, 5e-7);
  EXPECT_NEAR(PlutoLongitude(2451545.0), 250.54623, 5e-6);  // T = 0
  EXPECT_NEAR(PlutoRadius(2451545.0), 30.223230, 5e-7);
  EXPECT_NEAR(LongitudeDegrees(Planet::Pluto, 2448908.5), 232.74071, 5e-6);
  EXPECT_NEAR(Radius(Planet::Pluto, 2448908.5), 29.711111, 5e-7);
}

TEST(PlanetPosition, DispatchesToEachPlanetsRoutine) {
  using Routine = void (*)(double, double&, double&);
  const Routine routines[kPlanetCount] = {MercuryPosition, VenusPosition, EarthPosition,
                                          MarsPosition,    JupiterPosition, SaturnPosition,
                                          UranusPosition,  NeptunePosition, PlutoPosition};
  const char* names[kPlanetCount] = {"Mercury", "Venus",  "Earth",   "Mars", "Jupiter",
                                     "Saturn",  "Uranus", "Neptune", "Pluto"};
  const double jd = 2460000.25;
  const auto all = AllPlanetPositions(jd);
  for (int i = 0; i < kPlanetCount; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_STREQ(PlanetName(kAllPlanets[i]), names[i]);
    double L = 0, R = 0, directL = 0, directR = 0;
    PlanetPosition(kAllPlanets[i], jd, L, R);
    routines[i](jd, directL, directR);
    EXPECT_EQ(L, directL);
    EXPECT_EQ(R, directR);
    EXPECT_EQ(all[i].L, L);
    EXPECT_EQ(all[i].R, R);
  }
  // Mean distances tell a swapped routine apart.
  EXPECT_NEAR(all[4].R, 5.2, 0.3);   // Jupiter
  EXPECT_NEAR(all[7].R, 30.1, 0.4);  // Neptune
}

TEST(PlanetPosition, InvalidPlanetGivesNaN) {
  double L = 0, R = 0;
  PlanetPosition(static_cast<Planet>(42), 2451545.0, L, R);
  EXPECT_TRUE(std::isnan(L));
  EXPECT_TRUE(std::isnan(R));
  EXPECT_STREQ(PlanetName(static_cast<Planet>(42)), "");
}

TEST(PlanetPosition, LongitudeWithinOneTurnFarFromJ2000) {
  // Year -4713, year 0, year 1000, J2000 and year 2999 and beyond: the raw
  // longitude sums run to many negative or positive turns.
  for (double jd : {0.0, 1721059.5, 2086302.5, 2451545.0, 2816422.5, 5e6, -1e7}) {
    for (Planet planet : kAllPlanets) {
      double L = 0, R = 0;
      PlanetPosition(planet, jd, L, R);
      EXPECT_TRUE(L >= 0 && L <= kTwoPi) << PlanetName(planet) << " at " << jd << ": " << L;
      EXPECT_FALSE(std::signbit(L));
    }
  }
}

// The reduction as written: one turn at a time.
double ReduceByTurns(double degrees) {
  while (degrees < 0) degrees += 360;
  while (degrees > 360) degrees -= 360;
  return degrees;
}

TEST(ReduceDegrees, SameAsTurnByTurn) {
  for (double d : {0.0, 359.999, 360.0, 360.5, 720.0, -0.25, -360.0, -720.0, -1e-20, 1e-20,
                   -1024.0 * 360 - 1e-9, 1024.0 * 360 + 0.5, 1025.0 * 360, -1025.0 * 360,
                   -741234.567890123, 5.5e6 + 1.0 / 3}) {
    EXPECT_EQ(ReduceDegrees(d), ReduceByTurns(d) + 0.0) << d;
  }
  std::mt19937_64 random(2006);
  std::uniform_real_distribution<double> wide(-4e6, 4e6);
  for (int n = 0; n < 300; ++n) {
    const double d = wide(random);
    ASSERT_EQ(ReduceDegrees(d), ReduceByTurns(d)) << d;
  }
}

TEST(ReduceDegrees, HugeAndNonFiniteValuesEnd) {
  EXPECT_EQ(ReduceDegrees(360.0 * 1e12 + 12.5), 12.5);
  EXPECT_EQ(ReduceDegrees(-360.0 * 1e12 + 12.5), 12.5);
  EXPECT_EQ(ReduceDegrees(360.0 * 1e12), 360.0);  // like the loop: exactly 360 stays
  EXPECT_EQ(ReduceDegrees(-360.0 * 1e12), 0.0);
  EXPECT_GE(ReduceDegrees(1e300), 0.0);
  EXPECT_LE(ReduceDegrees(-1e300), 360.0);
  EXPECT_TRUE(std::isnan(ReduceDegrees(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(ReduceDegrees(-std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(ReduceDegrees(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_FALSE(std::signbit(ReduceDegrees(-0.0)));
}

}  // namespace
}  // namespace barywalk
