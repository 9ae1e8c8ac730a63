// The significance test finds a planted alignment, finds nothing in a
// catalog moved away from its planets, gives the same answer for the same
// seed on any number of threads, and its geometries agree where they must.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/significance.h"
#include "flares/flare_file.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr double kDegPerRad = 57.29577951308232;
constexpr double kCatalogStart = 2455197.5;  // 2010-01-01
constexpr double kCatalogDays = 8.5 * 365.25;

int PositionInSet(const std::vector<Planet>& set, Planet planet) {
  return static_cast<int>(std::find(set.begin(), set.end(), planet) - set.begin());
}

// The longitude from the central meridian (degrees, -180..180) that puts
// a flare at `jd` in direction `directionRad`.
double LongitudeForDirection(double jd, double directionRad) {
  return std::remainder((EarthLongitude(jd) - directionRad) * kDegPerRad, 360.0);
}

// `count` flares at random times over 2010-2018; the first `aligned` of
// them lie within `spreadDeg` of Jupiter's direction (or, with `opposite`,
// of the opposite direction), the others on random places of the disc.
FlareMap PlantedCatalog(int count, int aligned, double spreadDeg, bool opposite,
                        std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> time(kCatalogStart, kCatalogStart + kCatalogDays);
  std::uniform_real_distribution<double> disc(-80, 80);
  std::uniform_real_distribution<double> spread(-spreadDeg, spreadDeg);
  FlareMap flares;
  for (int i = 0; i < count; ++i) {
    const double jd = time(random);
    double lon = disc(random);
    if (i < aligned) {
      const double jupiter = PlanetLongitude(Planet::Jupiter, jd) + (opposite ? M_PI : 0);
      lon = LongitudeForDirection(jd, jupiter + spread(random) / kDegPerRad);
    }
    flares.emplace(jd, SolarFlare(disc(random) / 4, lon, 10.0 / 1440, 100, i + 1));
  }
  return flares;
}

SignificanceOptions Options(int replicates, std::uint64_t seed, int threads,
                            NullModel null = NullModel::ShiftPlanets,
                            Geometry geometry = Geometry::Plane) {
  SignificanceOptions options;
  options.null = null;
  options.geometry = geometry;
  options.planets = DefaultPlanetSet();
  options.replicates = replicates;
  options.seed = seed;
  options.threads = threads;
  options.maxShiftYears = 60;  // short tables: quick tests
  return options;
}

const std::pair<const char*, NullModel> kNulls[] = {{"shift", NullModel::ShiftPlanets},
                                                    {"region", NullModel::ShiftRegions}};

// A 5 % Jupiter signal: the region null, with its hundreds of independent
// units, resolves it far below 0.01; the common shift cannot go below its
// resolution floor, and the signal reaches it.
TEST(SignificanceTest, FindsAFivePercentSignalPlantedAtJupiter) {
  const FlareMap flares = PlantedCatalog(2000, 100, 3.0, false, 7);
  for (const auto& [name, null] : kNulls) {
    // Enough replicates that the min-p adjustment over 8 planets and two
    // tails can itself go below 0.01.
    const SignificanceOptions options = Options(2999, 3, 2, null);
    const SignificanceResult result = TestSignificance(flares, options);
    const NullSummary& j = result.perPlanet[PositionInSet(options.planets, Planet::Jupiter)];
    EXPECT_GE(j.observed, 100) << name;
    EXPECT_LT(j.nullMean, 70) << name;  // about 2000 * 10 / 360
    if (null == NullModel::ShiftRegions) {
      EXPECT_LE(result.familyWiseP, 0.01) << name;
      EXPECT_LE(result.familyWiseUpperP, 0.01) << name;
      EXPECT_LT(result.resolutionFloor, 0.01) << name;
    } else {
      EXPECT_GT(result.resolutionFloor, 0.01) << name;
      EXPECT_LE(j.upperP, result.resolutionFloor) << name;
    }
    EXPECT_GT(result.total.observed, result.total.nullMean) << name;
  }
}

// With --axial the opposite direction counts; without, it does not.
TEST(SignificanceTest, AxialCountsThePlanetsOppositeDirection) {
  const FlareMap flares = PlantedCatalog(300, 50, 2.0, true, 8);
  SignificanceOptions options = Options(999, 4, 2, NullModel::ShiftRegions);
  const int jupiter = PositionInSet(options.planets, Planet::Jupiter);
  EXPECT_GT(TestSignificance(flares, options).perPlanet[jupiter].upperP, 0.01);
  options.axial = true;
  const SignificanceResult axial = TestSignificance(flares, options);
  EXPECT_LT(axial.perPlanet[jupiter].upperP, 0.01);
  for (const FlareAngles& flare : axial.flares) {
    for (double angle : flare.planetRad) EXPECT_LE(angle, M_PI / 2);
  }
}

// The sample catalog with its times moved by one random number of years:
// its flares have nothing to do with the planets any more.
TEST(SignificanceTest, FindsNothingInACatalogMovedByARandomYear) {
  FlareMap sample;
  LoadFlareFiles({FLARE_SAMPLE_FILE}, sample);
  ASSERT_GT(sample.size(), 8000u);
  std::mt19937_64 random(2024);
  const int years = std::uniform_int_distribution<int>(20, 300)(random);
  FlareMap moved;
  for (const auto& [jd, flare] : sample) moved.emplace(jd + years * 365.25, flare);
  for (const auto& [name, null] : kNulls) {
    const SignificanceResult result = TestSignificance(moved, Options(499, 5, 2, null));
    EXPECT_GE(result.familyWiseP, 0.01) << name << " " << years;
    EXPECT_GE(result.total.familyWiseP, 0.01) << name << " " << years;
    // Bursts make a count vary more than independent flares would.
    EXPECT_GT(result.varianceInflation, 1.0) << name;
    EXPECT_LT(result.effectiveFlares, moved.size()) << name;
  }
}

bool SameSummary(const NullSummary& a, const NullSummary& b) {
  return a.observed == b.observed && a.nullMean == b.nullMean && a.null05 == b.null05 &&
         a.null95 == b.null95 && a.upperP == b.upperP && a.lowerP == b.lowerP &&
         a.familyWiseP == b.familyWiseP;
}

TEST(SignificanceTest, TheSeedAloneDecidesTheResult) {
  const FlareMap flares = PlantedCatalog(500, 20, 3.0, false, 9);
  for (const auto& [name, null] : kNulls) {
    for (Geometry geometry : {Geometry::Plane, Geometry::Sphere}) {
      const auto run = [&, null = null](std::uint64_t seed, int threads) {
        return TestSignificance(flares, Options(300, seed, threads, null, geometry));
      };
      const SignificanceResult a = run(11, 1), b = run(11, 3), d = run(12, 1);
      bool anyDifference = false;
      for (std::size_t s = 0; s < a.perPlanet.size(); ++s) {
        EXPECT_TRUE(SameSummary(a.perPlanet[s], b.perPlanet[s])) << name << " " << s;
        anyDifference = anyDifference || !SameSummary(a.perPlanet[s], d.perPlanet[s]);
      }
      EXPECT_TRUE(SameSummary(a.total, b.total)) << name;
      EXPECT_EQ(a.resolutionFloor, b.resolutionFloor) << name;
      EXPECT_EQ(a.histograms[0].nullMean, b.histograms[0].nullMean) << name;
      EXPECT_TRUE(anyDifference) << name << ": another seed, other draws";
    }
  }
}

// Flares on the solar equator near the disc centre, at the times when the
// Earth lies in the plane of the solar equator (early June and December):
// their sites lie in the ecliptic, so the three geometries must agree to
// within the planets' small latitudes. A flare at 60 degrees latitude
// does not lie there, and the plane's angle misses its true direction.
TEST(SignificanceTest, GeometriesAgreeForEquatorialFlaresNearTheEcliptic) {
  FlareMap flares;
  const double equatorCrossings[] = {2455353.5, 2455537.5, 2456449.5, 2456633.5};  // 2010/2013
  int index = 0;
  for (double jd : equatorCrossings) {
    for (double lon : {-3.0, 0.0, 3.0}) flares.emplace(jd, SolarFlare(0, lon, 0.01, 0, ++index));
  }
  SignificanceOptions options = Options(1, 1, 1);
  options.planets = {Planet::Jupiter, Planet::Saturn, Planet::Uranus};
  auto anglesIn = [&](Geometry geometry) {
    options.geometry = geometry;
    return ObservedFlareAngles(flares, options);
  };
  const std::vector<FlareAngles> plane = anglesIn(Geometry::Plane);
  const std::vector<FlareAngles> longitude = anglesIn(Geometry::Longitude);
  const std::vector<FlareAngles> sphere = anglesIn(Geometry::Sphere);
  for (std::size_t i = 0; i < plane.size(); ++i) {
    EXPECT_NEAR(longitude[i].eclipticLatDeg, 0, 0.6) << i;
    for (std::size_t s = 0; s < options.planets.size(); ++s) {
      EXPECT_NEAR(plane[i].planetRad[s] * kDegPerRad, longitude[i].planetRad[s] * kDegPerRad, 0.25);
      EXPECT_NEAR(sphere[i].planetRad[s] * kDegPerRad, longitude[i].planetRad[s] * kDegPerRad, 2.5);
    }
  }
  FlareMap polar;
  polar.emplace(equatorCrossings[0], SolarFlare(60, 40, 0.01, 0, 1));
  options.geometry = Geometry::Plane;
  const double flat = ObservedFlareAngles(polar, options)[0].siteLonRad * kDegPerRad;
  options.geometry = Geometry::Longitude;
  const double truth = ObservedFlareAngles(polar, options)[0].siteLonRad * kDegPerRad;
  EXPECT_GT(std::fabs(std::remainder(truth - flat, 360.0)), 10.0);
}

// The observed angles are the statistics file's: direction = Earth's
// longitude minus the flare's, and the wrapped angle to each planet.
TEST(SignificanceTest, ObservedAnglesFollowTheFlaresDirection) {
  const double jd = 2456000.5;
  FlareMap flares;
  const double mars = PlanetLongitude(Planet::Mars, jd);
  flares.emplace(jd, SolarFlare(5, LongitudeForDirection(jd, mars + 3 / kDegPerRad), 0, 0, 1));
  SignificanceOptions options = Options(1, 1, 1);
  options.planets = {Planet::Mars, Planet::Saturn};
  const std::vector<FlareAngles> angles = ObservedFlareAngles(flares, options);
  ASSERT_EQ(angles.size(), 1u);
  EXPECT_NEAR(angles[0].planetRad[0] * kDegPerRad, 3.0, 1e-9);
  const double saturn = PlanetLongitude(Planet::Saturn, jd);
  EXPECT_NEAR(angles[0].planetRad[1], PlanetAngle(angles[0].siteLonRad, saturn, false), 1e-15);
}

TEST(SignificanceStatisticsTest, QuantilesAndAngles) {
  const std::vector<double> sorted = {1, 2, 3, 4, 5};
  const std::pair<double, double> quantiles[] = {{0.0, 1}, {0.5, 3}, {0.05, 1.2}, {1.0, 5}};
  for (const auto& [q, value] : quantiles) {
    EXPECT_DOUBLE_EQ(SortedQuantile(sorted, q), value) << q;
  }
  // PlanetAngle wraps any number of turns and folds for the axial case.
  EXPECT_NEAR(PlanetAngle(0.1, 0.1 + 40 * 2 * M_PI + 0.2, false), 0.2, 1e-9);
  EXPECT_NEAR(PlanetAngle(0.0, M_PI - 0.3, true), 0.3, 1e-12);
  EXPECT_NEAR(PlanetAngle(0.0, M_PI - 0.3, false), M_PI - 0.3, 1e-12);
  // A flare longitude of 1e300 degrees in a file still gives an angle.
  EXPECT_TRUE(PlanetAngle(1e300, 0.5, false) >= 0 && PlanetAngle(1e300, 0.5, false) <= M_PI);
}

}  // namespace
}  // namespace barywalk
