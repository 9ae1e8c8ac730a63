// The significance test finds a planted alignment, finds nothing in a
// catalog moved away from its planets, and gives the same answer for the
// same seed on any number of threads.
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
                            NullModel null = NullModel::ShiftPlanets) {
  SignificanceOptions options;
  options.null = null;
  options.planets = DefaultPlanetSet();
  options.replicates = replicates;
  options.seed = seed;
  options.threads = threads;
  return options;
}

const std::pair<const char*, NullModel> kNulls[] = {{"shift", NullModel::ShiftPlanets},
                                                    {"permute", NullModel::PermuteWithinYear}};

TEST(SignificanceTest, FindsFlaresPlantedAtJupitersDirection) {
  const FlareMap flares = PlantedCatalog(400, 60, 2.0, false, 7);
  for (const auto& [name, null] : kNulls) {
    const SignificanceOptions options = Options(1999, 3, 2, null);
    const SignificanceResult result = TestSignificance(flares, options);
    const int jupiter = PositionInSet(options.planets, Planet::Jupiter);
    const NullSummary& j = result.perPlanet[jupiter];
    EXPECT_GE(j.observed, 60) << name;
    EXPECT_LT(j.nullMean, 20) << name;  // about 400 * 10 / 360
    EXPECT_LT(j.pValue, 0.001) << name;
    EXPECT_LT(j.familyWiseP, 0.01) << name;
    EXPECT_LT(result.familyWiseP, 0.01) << name;
    EXPECT_LT(result.anyPlanet.pValue, 0.001) << name;
  }
}

// With --axial the opposite direction counts; without, it does not.
TEST(SignificanceTest, AxialCountsThePlanetsOppositeDirection) {
  const FlareMap flares = PlantedCatalog(300, 50, 2.0, true, 8);
  SignificanceOptions options = Options(1999, 4, 2);
  const int jupiter = PositionInSet(options.planets, Planet::Jupiter);
  EXPECT_GT(TestSignificance(flares, options).perPlanet[jupiter].pValue, 0.01);
  options.axial = true;
  const SignificanceResult axial = TestSignificance(flares, options);
  EXPECT_LT(axial.perPlanet[jupiter].pValue, 0.001);
  for (const FlareAngles& flare : axial.flares) EXPECT_LE(flare.nearestRad, M_PI / 2);
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
  const SignificanceOptions options = Options(999, 5, 2);
  const SignificanceResult result = TestSignificance(moved, options);
  for (std::size_t s = 0; s < options.planets.size(); ++s) {
    EXPECT_GE(result.perPlanet[s].pValue, 0.01) << PlanetName(options.planets[s]) << " " << years;
  }
  EXPECT_GE(result.familyWiseP, 0.01);
  EXPECT_GE(result.anyPlanet.pValue, 0.01);
}

bool SameSummary(const NullSummary& a, const NullSummary& b) {
  return a.observed == b.observed && a.nullMean == b.nullMean && a.null05 == b.null05 &&
         a.null95 == b.null95 && a.pValue == b.pValue && a.familyWiseP == b.familyWiseP;
}

TEST(SignificanceTest, TheSeedAloneDecidesTheResult) {
  const FlareMap flares = PlantedCatalog(500, 20, 3.0, false, 9);
  for (const auto& [name, null] : kNulls) {
    const auto run = [&, null = null](std::uint64_t seed, int threads) {
      return TestSignificance(flares, Options(300, seed, threads, null));
    };
    const SignificanceResult a = run(11, 1), b = run(11, 2), d = run(12, 1);
    bool anyDifference = false;
    for (std::size_t s = 0; s < a.perPlanet.size(); ++s) {
      EXPECT_TRUE(SameSummary(a.perPlanet[s], b.perPlanet[s])) << name << " " << s;
      anyDifference = anyDifference || !SameSummary(a.perPlanet[s], d.perPlanet[s]);
    }
    EXPECT_TRUE(SameSummary(a.kuiper, b.kuiper)) << name;
    EXPECT_EQ(a.histograms[0].nullMean, b.histograms[0].nullMean) << name;
    EXPECT_TRUE(anyDifference) << name << ": another seed, other draws";
  }
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
  EXPECT_EQ(angles[0].nearest, 0);
  const double saturn = PlanetLongitude(Planet::Saturn, jd);
  EXPECT_NEAR(angles[0].planetRad[1], PlanetAngle(angles[0].directionRad, saturn, false), 1e-15);
}

TEST(SignificanceStatisticsTest, KuiperAndQuantiles) {
  // Identical distributions: V = 0; a sample all in the first of two bins
  // against an even reference: V = 0.5.
  EXPECT_DOUBLE_EQ(KuiperV({0.5, 1.0}, {0.5, 1.0}), 0.0);
  EXPECT_DOUBLE_EQ(KuiperV({1.0, 1.0}, {0.5, 1.0}), 0.5);
  // Excess at both ends, deficit in the middle: both maxima add.
  EXPECT_NEAR(KuiperV({0.4, 0.5, 1.0}, {0.2, 0.7, 1.0}), 0.4, 1e-15);
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
