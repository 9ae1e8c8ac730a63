// The null catalogs must look like the Sun (regions turning west across
// the Earth-facing half, more of them at the cycle's maximum, nests
// sharing places) and be reproducible; planted signals must land where
// they are aimed and touch nothing else.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "analysis/null_catalog.h"
#include "analysis/significance.h"
#include "ephemeris/constants.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr double kStart = 2455197.5;  // 2010-01-01
constexpr double kEnd = 2458484.5;    // 2019-01-01
constexpr double kEarthRateDegPerDay = 0.9856;

std::vector<SyntheticFlare> Generate(std::uint64_t seed, double nestProbability = 0.4) {
  ActiveRegionModel model;
  model.nestProbability = nestProbability;
  return GenerateActiveRegionFlares(model, kStart, kEnd, seed);
}

TEST(NullCatalogTest, OneSeedOneCatalog) {
  const std::vector<SyntheticFlare> a = Generate(7), b = Generate(7), c = Generate(8);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].jd, b[i].jd);
    EXPECT_EQ(a[i].longitudeDeg, b[i].longitudeDeg);
    EXPECT_EQ(a[i].region, b[i].region);
  }
  EXPECT_NE(a.size(), c.size());
}

TEST(NullCatalogTest, FlaresLieOnTheEarthFacingHalfWithinTheSpanAndTheBand) {
  const ActiveRegionModel model;
  const std::vector<SyntheticFlare> flares = Generate(3);
  ASSERT_GT(flares.size(), 1000u);
  const double latitudeLimit = model.maxLatitudeDeg + 6 * model.siteScatterDeg;
  for (std::size_t i = 0; i < flares.size(); ++i) {
    const SyntheticFlare& f = flares[i];
    EXPECT_LE(std::fabs(f.longitudeDeg), model.maxCentralMeridianDeg);
    EXPECT_LE(std::fabs(f.latitudeDeg), latitudeLimit);
    EXPECT_GE(f.jd, kStart);
    EXPECT_LT(f.jd, kEnd);
    EXPECT_GE(f.fluxWm2, model.minFluxWm2);
    EXPECT_GT(f.region, 0);
    if (i > 0) {
      EXPECT_LE(flares[i - 1].jd, f.jd);
    }
  }
}

// A region's flares move west (towards negative east-positive longitude)
// at the synodic rate of its latitude: the sign convention of the files.
TEST(NullCatalogTest, RegionsTurnWestAtTheSynodicRate) {
  std::map<int, std::vector<const SyntheticFlare*>> byRegion;
  const std::vector<SyntheticFlare> flares = Generate(5);
  for (const SyntheticFlare& f : flares) byRegion[f.region].push_back(&f);
  int checked = 0;
  for (const auto& [region, list] : byRegion) {
    const SyntheticFlare& first = *list.front();
    const SyntheticFlare& last = *list.back();
    const double days = last.jd - first.jd;
    // Four days at least, and within one passage across the disc (a
    // region that lives longer shows again a rotation later).
    if (days < 4 || days > 12) continue;
    const double s = std::sin(first.latitudeDeg * kRadiansPerDegree);
    const double synodic = 14.52 - 2.84 * s * s - kEarthRateDegPerDay;
    // Site scatter (1.5 degrees each end) over at least four days.
    EXPECT_NEAR((last.longitudeDeg - first.longitudeDeg) / days, -synodic, 3.0) << "region " << region;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

TEST(NullCatalogTest, TheCycleEnvelopeShapesTheRate) {
  const std::vector<SyntheticFlare> flares = Generate(11);
  const double maximum = ActiveRegionModel().cycleStartJd + ActiveRegionModel().cycleLengthDays / 2;
  int nearMinimum = 0, nearMaximum = 0;
  for (const SyntheticFlare& f : flares) {
    nearMinimum += f.jd < kStart + 365;
    nearMaximum += std::fabs(f.jd - maximum) < 182.6;
  }
  EXPECT_GT(nearMaximum, 3 * nearMinimum);
}

TEST(NullCatalogTest, NestsGroupRegionsIntoComplexes) {
  struct Case {
    double nestProbability;
    bool fewerComplexesThanRegions;
  };
  for (const Case& c : {Case{0.0, false}, Case{0.4, true}}) {
    std::set<int> regions, complexes;
    for (const SyntheticFlare& f : Generate(13, c.nestProbability)) {
      regions.insert(f.region);
      complexes.insert(f.complex);
    }
    EXPECT_EQ(complexes.size() < regions.size() * 0.9, c.fewerComplexesThanRegions)
        << "nest probability " << c.nestProbability << ": " << regions.size() << " regions, "
        << complexes.size() << " complexes";
  }
}

TEST(NullCatalogTest, FlareMapCarriesTheRegionOrItsNest) {
  const std::vector<SyntheticFlare> flares = Generate(29);
  for (bool complexes : {false, true}) {
    const FlareMap map = ToFlareMap(flares, complexes);
    ASSERT_EQ(map.size(), flares.size());
    std::size_t i = 0;
    for (const auto& [jd, flare] : map) {
      const SyntheticFlare& f = flares[i++];
      EXPECT_EQ(jd, f.jd);
      EXPECT_EQ(flare.Region(), complexes ? f.complex : f.region);
      EXPECT_EQ(flare.Flux(), f.fluxWm2);
    }
  }
}

TEST(NullCatalogTest, ShiftedCatalogMovesEveryTimeAlike) {
  const FlareMap flares = ToFlareMap(Generate(17));
  const double shift = DrawCatalogShiftDays(4, 20, 300);
  EXPECT_GE(std::fabs(shift), 20 * 365.25);
  EXPECT_LE(std::fabs(shift), 300 * 365.25);
  const FlareMap shifted = ShiftedCatalog(flares, shift);
  ASSERT_EQ(shifted.size(), flares.size());
  for (auto a = flares.begin(), b = shifted.begin(); a != flares.end(); ++a, ++b) {
    EXPECT_NEAR(b->first - a->first, shift, 1e-6);
    EXPECT_EQ(b->second.Longitude(), a->second.Longitude());
    EXPECT_EQ(b->second.Region(), a->second.Region());
  }
}

// The planted flares' angle to the planet, measured as the significance
// test measures it in each geometry.
double AngleInGeometry(Geometry geometry, double jd, const SolarFlare& flare, Planet planet) {
  const SkyDirection site = FlareSiteIn(geometry, jd, flare);
  const double L = PlanetLongitudeIn(geometry, planet, jd);
  if (geometry != Geometry::Sphere) return PlanetAngle(site.lonRad, L, false);
  return SphereAngle(site.lonRad, site.latRad, L, PlanetLatitudeOfDate(planet, jd), false);
}

TEST(NullCatalogTest, PlantedFlaresLieWithinTheHalfWidthOfThePlanet) {
  const FlareMap flares = ToFlareMap(Generate(19));
  struct Case {
    Geometry geometry;
    double fraction;
  };
  for (const Case& c : {Case{Geometry::Plane, 0.01}, Case{Geometry::Plane, 0.2},
                        Case{Geometry::Longitude, 0.05}, Case{Geometry::Sphere, 0.05}}) {
    PlantedSignal signal;
    signal.planet = PlanetInGeometry(c.geometry, Planet::Jupiter);
    signal.useLatitude = c.geometry == Geometry::Sphere;
    signal.fraction = c.fraction;
    int moved = 0;
    const FlareMap planted = PlantSignal(flares, signal, SiteInGeometry(c.geometry), 23, &moved);
    ASSERT_EQ(planted.size(), flares.size());
    EXPECT_EQ(moved, static_cast<int>(std::lround(c.fraction * flares.size())));
    int changed = 0, near = 0;
    for (auto a = flares.begin(), b = planted.begin(); a != flares.end(); ++a, ++b) {
      EXPECT_EQ(a->first, b->first);
      EXPECT_EQ(a->second.Region(), b->second.Region());
      EXPECT_EQ(a->second.Flux(), b->second.Flux());
      EXPECT_LE(std::fabs(b->second.Longitude()), 90.0);
      if (a->second.Longitude() == b->second.Longitude()) continue;
      ++changed;
      near += AngleInGeometry(c.geometry, b->first, b->second, Planet::Jupiter) <= 3.001 * kRadiansPerDegree;
    }
    EXPECT_EQ(changed, moved) << GeometryName(c.geometry);
    EXPECT_EQ(near, moved) << GeometryName(c.geometry);
  }
}

}  // namespace
}  // namespace barywalk
