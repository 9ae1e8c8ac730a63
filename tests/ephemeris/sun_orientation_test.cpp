// The Sun's orientation against Meeus' worked example and a table made with
// SunPy (tools/make-sun-orientation-table), and the helioprojective to
// Stonyhurst conversion against the cycle-24 GOES flare list, which gives
// both positions for every flare.
#include "ephemeris/sun_orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ephemeris/julian_day.h"

namespace barywalk {
namespace {

double AngleDifferenceDeg(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return d;
}

// Value at the fraction q of the sorted values (nearest rank).
double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<size_t>(std::ceil(q * values.size()));
  return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}

TEST(SolarOrientation, MeeusExample29a) {
  // 1992 October 13.0 TD; Meeus prints two decimals. His formulas with the
  // VSOP87 Sun give L0 = 238.6406 here, 0.011 above the printed value (SunPy
  // says 238.633), so L0 gets a wider margin than the other two.
  const SunOrientation o = SolarOrientation(2448908.5);
  EXPECT_NEAR(o.P, 26.27, 0.005);
  EXPECT_NEAR(o.B0, 5.99, 0.005);
  EXPECT_NEAR(o.L0, 238.63, 0.015);
}

struct SunPyRow {
  double jd, P, B0, L0, L0geometric, radius;
};

std::vector<SunPyRow> ReadSunPyTable() {
  std::ifstream in(EPHEMERIS_TEST_DATA_DIR "/sun-orientation-sunpy.tsv");
  std::vector<SunPyRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("jd_tt", 0) == 0) continue;
    std::istringstream fields(line);
    SunPyRow r{};
    if (fields >> r.jd >> r.P >> r.B0 >> r.L0 >> r.L0geometric >> r.radius) rows.push_back(r);
  }
  return rows;
}

// SunPy follows the IAU rotation elements: the pole at RA 286.13, Dec 63.87
// (J2000) and 14.1844 deg/day, where Carrington's elements here have the node
// K with its own rate and 360/25.38 deg/day. The rates differ by 2.8e-6
// deg/day, so L0 drifts apart by 0.1 deg per century (they agree near 1986);
// P and B0 drift by 0.01 deg per century. The tolerances are the measured
// maxima over each span, rounded up.
TEST(SolarOrientation, AgreesWithSunPy) {
  const std::vector<SunPyRow> rows = ReadSunPyTable();
  ASSERT_EQ(rows.size(), 500u);
  struct Span {
    double from, to;     // Julian days (TT)
    double pB0Tolerance;  // degrees
    double l0Tolerance;
  };
  const Span spans[] = {
      {2415020.5, 2488070.0, 0.015, 0.13},  // 1900-2100
      {2442778.5, 2462502.5, 0.005, 0.05},  // 1976-2030, the era of flare catalogs
  };
  for (const Span& span : spans) {
    double maxP = 0, maxB0 = 0, maxL0 = 0;
    int compared = 0;
    for (const SunPyRow& r : rows) {
      if (r.jd < span.from || r.jd > span.to) continue;
      const SunOrientation o = SolarOrientation(r.jd);
      maxP = std::max(maxP, std::fabs(o.P - r.P));
      maxB0 = std::max(maxB0, std::fabs(o.B0 - r.B0));
      maxL0 = std::max(maxL0, std::fabs(AngleDifferenceDeg(o.L0, r.L0)));
      ++compared;
    }
    SCOPED_TRACE(span.from);
    EXPECT_GT(compared, 100);
    EXPECT_LT(maxP, span.pB0Tolerance);
    EXPECT_LT(maxB0, span.pB0Tolerance);
    EXPECT_LT(maxL0, span.l0Tolerance);
  }
}

TEST(SunApparentRadius, IsSunPysUpToTheSolarRadiusConstant) {
  // SunPy takes asin(695700 km / distance); 959.63" at 1 au corresponds to
  // 695,990 km. Beyond that constant ratio the two agree to the small-angle
  // approximation (4e-6 relative).
  const double sunPyAtOneAuArcsec = 695700.0 / 149597870.7 * 206264.80624709636;
  const double expectedRatio = kSunSemiDiameterAtOneAuArcsec / sunPyAtOneAuArcsec;
  for (const SunPyRow& r : ReadSunPyTable()) {
    EXPECT_NEAR(SunApparentRadiusArcsec(r.jd) / r.radius, expectedRatio, 1e-5) << r.jd;
  }
}

TEST(HelioprojectiveToStonyhurst, DiscCentreAndOffDisc) {
  const double jd = 2448908.5;
  const double radius = SunApparentRadiusArcsec(jd);
  double lat = 0, lon = 0;
  ASSERT_TRUE(HelioprojectiveToStonyhurst(jd, 0, 0, lat, lon));
  EXPECT_NEAR(lat, SolarOrientation(jd).B0, 1e-9);
  EXPECT_NEAR(lon, 0, 1e-9);
  // Just inside the west limb on the disc's equator line: far west (negative
  // east longitude); just inside the north limb: beyond latitude 80.
  ASSERT_TRUE(HelioprojectiveToStonyhurst(jd, radius * 0.999, 0, lat, lon));
  EXPECT_LT(lon, -85);
  ASSERT_TRUE(HelioprojectiveToStonyhurst(jd, 0, radius * 0.999, lat, lon));
  EXPECT_GT(lat, 80);

  const struct {
    double x, y;
  } offDisc[] = {{radius * 1.001, 0}, {0, -radius * 1.001}, {radius * 0.72, radius * 0.72},
                 {1296000, 0}, {std::nan(""), 0}, {0, INFINITY}};
  for (const auto& p : offDisc) {
    lat = lon = 12.5;
    EXPECT_FALSE(HelioprojectiveToStonyhurst(jd, p.x, p.y, lat, lon)) << p.x << " " << p.y;
    EXPECT_EQ(lat, 12.5);
    EXPECT_EQ(lon, 12.5);
  }
}

// One flare of the cycle-24 list: its start time (the list's positions are
// those of the start: some peaks carry the wrong date), the helioprojective
// position and the Stonyhurst position the list gives (west positive, whole
// degrees as in its "S26W41" location).
struct ListedFlare {
  double jd, hpcX, hpcY, hgsLat, hgsLonWest;
};

std::vector<std::string> SplitCommas(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  return fields;
}

std::vector<ListedFlare> ReadCycle24List(int& rowsWithoutHpc) {
  std::ifstream in(CATALOG_TEST_DATA_DIR "/final_flare_list_sc24.csv");
  std::string line;
  std::getline(in, line);  // header
  std::vector<ListedFlare> flares;
  rowsWithoutHpc = 0;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = SplitCommas(line);
    if (f.size() < 14 || f[12].empty() || f[13].empty()) {
      ++rowsWithoutHpc;
      continue;
    }
    UtcDateTime start;
    sscanf(f[1].c_str(), "%d-%d-%d %d:%d:%lf", &start.year, &start.month, &start.day, &start.hour,
           &start.minute, &start.second);
    flares.push_back({JulianDayFromUtc(start), std::stod(f[12]), std::stod(f[13]), std::stod(f[10]),
                      std::stod(f[11])});
  }
  return flares;
}

double GreatCircleDeg(double lat1, double lon1, double lat2, double lon2) {
  const double r = 3.141592653589793 / 180;
  const double c = std::sin(lat1 * r) * std::sin(lat2 * r) +
                   std::cos(lat1 * r) * std::cos(lat2 * r) * std::cos((lon1 - lon2) * r);
  return std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / r;
}

TEST(HelioprojectiveToStonyhurst, ReproducesTheCycle24List) {
  int rowsWithoutHpc = 0;
  const std::vector<ListedFlare> flares = ReadCycle24List(rowsWithoutHpc);
  ASSERT_EQ(flares.size() + rowsWithoutHpc, 8606u);
  std::vector<double> distance;
  int offDisc = 0;
  for (const ListedFlare& f : flares) {
    double lat = 0, lonEast = 0;
    if (!HelioprojectiveToStonyhurst(f.jd, f.hpcX, f.hpcY, lat, lonEast)) {
      ++offDisc;
      continue;
    }
    distance.push_back(GreatCircleDeg(lat, -lonEast, f.hgsLat, f.hgsLonWest));
  }
  const double median = Quantile(distance, 0.5);
  const double p99 = Quantile(distance, 0.99);
  const double max = Quantile(distance, 1.0);
  std::cout << flares.size() << " flares with hpc, " << offDisc << " off the disc; distance to "
            << "the listed position (deg): median " << median << ", 99th percentile " << p99
            << ", max " << max << "\n";
  // The list's hgs positions are whole degrees, but its hpc positions were
  // computed from them, so the two agree far better than a degree. Measured:
  // median 0.0011, 99th percentile 0.011; two rows of 2012-08-07 (S87E26 and
  // S15E89) disagree by 7.6 and 1.9 deg within the list itself.
  EXPECT_EQ(offDisc, 0);
  EXPECT_LT(median, 0.005);
  EXPECT_LT(p99, 0.05);
  EXPECT_LE(std::count_if(distance.begin(), distance.end(), [](double d) { return d > 1.0; }), 2);
}

}  // namespace
}  // namespace barywalk
