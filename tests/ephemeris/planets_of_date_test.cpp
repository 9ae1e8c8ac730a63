// The planets' latitudes and their positions in one frame of date, against
// Meeus' worked examples, and Pluto's precession into that frame.
#include <gtest/gtest.h>

#include <cmath>

#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "ephemeris/pluto.h"
#include "ephemeris/precession.h"

namespace barywalk {
namespace {

constexpr double kTwoPi = 2 * 3.141592653589793;

double LatitudeDeg(Planet planet, double jd) { return PlanetLatitude(planet, jd) * kDegreesPerRadian; }

TEST(PlanetLatitude, MeeusWorkedExamples) {
  // Example 32.a, Venus 1992 Dec 20.0 TD: B = -2.62070 deg; the abridged
  // series give -2.6207031.
  EXPECT_NEAR(LatitudeDeg(Planet::Venus, 2448976.5), -2.6207031, 5e-7);
  // Example 25.b, Earth 1992 Oct 13.0 TD: B = -0.000179 deg (-0.00017901).
  EXPECT_NEAR(LatitudeDeg(Planet::Earth, 2448908.5), -0.00017901, 5e-9);
  // Example 37.a, Pluto 1992 Oct 13.0 TD: b = +14.58782 deg (J2000).
  EXPECT_NEAR(LatitudeDeg(Planet::Pluto, 2448908.5), 14.58782, 5e-6);
  EXPECT_TRUE(std::isnan(PlanetLatitude(static_cast<Planet>(42), 2451545.0)));
}

TEST(PrecessEclipticFromJ2000, AgreesWithAstropy) {
  // Meeus' example 21.c star (lambda 149.48194, beta +1.76549, J2000) taken
  // to the mean ecliptic and equinox of 1900 and 2100 by astropy 5.2.1
  // (HeliocentricMeanEcliptic, equinox J2000 -> equinox of date; IAU 2006
  // precession). The IAU 1976 rates used here differ from those by 0.3"
  // in longitude over a century.
  const struct {
    double jd, lonDeg, latDeg;
  } cases[] = {{2415020.5, 148.08501584, 1.75983819}, {2488069.5, 150.87948034, 1.77103450}};
  for (const auto& c : cases) {
    double lon = 149.48194 * kRadiansPerDegree, lat = 1.76549 * kRadiansPerDegree;
    PrecessEclipticFromJ2000(c.jd, lon, lat);
    EXPECT_NEAR(lon * kDegreesPerRadian, c.lonDeg, 1.5e-4) << c.jd;
    EXPECT_NEAR(lat * kDegreesPerRadian, c.latDeg, 5e-6) << c.jd;
  }
  double lon = 1.0, lat = -0.5;
  PrecessEclipticFromJ2000(kJ2000, lon, lat);
  EXPECT_NEAR(lon, 1.0, 1e-15);
  EXPECT_NEAR(lat, -0.5, 1e-15);
}

TEST(PlanetPositionOfDate, SeriesPlanetsAsTheyAreAndPlutoPrecessed) {
  for (double jd : {2415020.5, 2448908.5, 2451545.0, 2469807.5}) {
    const auto positions = AllPlanetPositionsOfDate(jd);
    for (int i = 0; i < kPlanetCount; ++i) {
      const Planet planet = kAllPlanets[i];
      const EclipticPosition& p = positions[i];
      double L = 0, R = 0;
      PlanetPosition(planet, jd, L, R);
      EXPECT_DOUBLE_EQ(p.radiusAu, R);
      EXPECT_NEAR(p.z, R * std::sin(p.latRad), 1e-12 * R);
      if (planet != Planet::Pluto) {
        EXPECT_NEAR(std::remainder(p.lonRad - L, kTwoPi), 0, 1e-15) << PlanetName(planet);
        EXPECT_EQ(p.latRad, PlanetLatitude(planet, jd));
        continue;
      }
      // Pluto: the theory's J2000 longitude moved by the general precession
      // (50.29"/year), give or take its 17 deg latitude's share (< 0.002 deg).
      const double years = (jd - kJ2000) / 365.25;
      const double shiftDeg = std::remainder(p.lonRad - L, kTwoPi) * kDegreesPerRadian;
      EXPECT_NEAR(shiftDeg, 50.290966 * years / 3600, 0.002) << jd;
      EXPECT_NEAR(p.latRad * kDegreesPerRadian, PlutoLatitude(jd), 0.02) << jd;
    }
  }
}

}  // namespace
}  // namespace barywalk
