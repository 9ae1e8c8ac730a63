// The longitude convention of flare files, checked against the Sun's
// rotation on real flares: the flares of one active region must advance in
// direction angle at the Sun's sidereal rate, and a flare on the west limb
// (where the rotation carries features out of the Earth's view) must be
// drawn on the limb the Sun turns away from the Earth.
#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flares/flare_constants.h"
#include "flares/flare_file.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

constexpr double kDegPerRad = 180.0 / kFlarePi;

std::vector<std::string> DataLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Least-squares slope of y against x.
double FitSlope(const std::vector<double>& x, const std::vector<double>& y) {
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < x.size(); ++i) mx += x[i], my += y[i];
  mx /= x.size();
  my /= y.size();
  double sxy = 0, sxx = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
  }
  return sxy / sxx;
}

// Each angle moved by whole turns to lie within half a turn of the one
// before it.
std::vector<double> Unwrapped(const std::vector<double>& angles) {
  std::vector<double> out;
  for (double a : angles) {
    if (!out.empty()) a += kFlareTwoPi * std::round((out.back() - a) / kFlareTwoPi);
    out.push_back(a);
  }
  return out;
}

struct Region {
  const char* file;  // an excerpt of the sample file: the region's flares
  int minFlares;
};

TEST(FlareRotationTest, RegionsAdvanceAtTheSunsSiderealRateInBothHemispheres) {
  const std::vector<std::string> sample = DataLines(FLARE_SAMPLE_FILE);
  const std::set<std::string> sampleLines(sample.begin(), sample.end());
  const Region regions[] = {{"region-12192-south.flr", 100}, {"region-11476-north.flr", 90}};
  for (const Region& region : regions) {
    SCOPED_TRACE(region.file);
    const std::string path = std::string(FLARE_TEST_DATA_DIR) + "/" + region.file;
    // The excerpt holds real lines of the sample file, unchanged.
    for (const std::string& line : DataLines(path)) {
      ASSERT_EQ(sampleLines.count(line), 1u) << line;
    }
    FlareMap flares;
    const std::vector<FlareFileReport> reports = LoadFlareFiles({path}, flares);
    ASSERT_TRUE(reports.at(0).opened);
    ASSERT_GE(static_cast<int>(flares.size()), region.minFlares);
    EXPECT_EQ(reports[0].result.incompleteLines, 0);

    std::vector<double> days, angles;
    for (const auto& [jd, flare] : flares) {
      days.push_back(jd);
      angles.push_back(FlareDirectionAngle(EarthLongitude(jd), flare));
    }
    const double slopeDegPerDay = FitSlope(days, Unwrapped(angles)) * kDegPerRad;
    EXPECT_GT(slopeDegPerDay, 12.0);
    EXPECT_LT(slopeDegPerDay, 16.0);
  }
}

// The sense in which the Sun turns, seen from above its north pole: the
// same as the planets go round, so the sign of the Earth's advance in
// heliocentric longitude.
double RotationSense(double jd) {
  const double advance = std::remainder(EarthLongitude(jd + 1.0) - EarthLongitude(jd), kFlareTwoPi);
  return advance > 0 ? 1.0 : -1.0;
}

TEST(FlareRotationTest, WestLimbFlareIsDrawnOnTheLimbTurnedAwayFromTheEarth) {
  // A flare reported "W90" on the equator: 90 degrees from the central
  // meridian toward the west, that is -90 in a flare file (east positive).
  const SolarFlare w90(0.0, -90.0, 0.0, 100.0, 1);
  const SolarFlare centralMeridian(0.0, 0.0, 0.0, 100.0, 2);
  for (double jd : {2455198.5, 2456946.8, 2457800.25}) {
    SCOPED_TRACE(jd);
    FlareFrame frame;
    frame.earthLongitude = EarthLongitude(jd);
    frame.centreX = 320;
    frame.centreY = 320;
    frame.sunRadius = 74.0;
    frame.maxFlareSize = w90.SymbolSize(frame.scaling);
    // A point under the Earth, carried a quarter turn on by the rotation,
    // reaches the limb that the Sun turns away from the Earth. Where it is
    // drawn: a central-meridian flare seen from an Earth standing there.
    FlareFrame turnedAway = frame;
    turnedAway.earthLongitude += RotationSense(jd) * kFlarePi / 2;
    const auto limb = ComputeFlareSymbol(centralMeridian, turnedAway);
    const auto drawn = ComputeFlareSymbol(w90, frame);
    ASSERT_TRUE(limb && drawn);
    EXPECT_NEAR(drawn->x, limb->x, 1);
    EXPECT_NEAR(drawn->y, limb->y, 1);
    // ... and not on the other limb, a whole disc away.
    FlareFrame otherLimb = frame;
    otherLimb.earthLongitude -= RotationSense(jd) * kFlarePi / 2;
    const auto other = ComputeFlareSymbol(centralMeridian, otherLimb);
    EXPECT_GT(std::hypot(drawn->x - other->x, drawn->y - other->y), 1.9 * frame.sunRadius);
  }
}

}  // namespace
}  // namespace barywalk
