// Shape of the compiled-in tables: term counts per sub-series and rows that
// tell a mis-transcription apart (first and last rows, long-digit rows).
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "ephemeris/pluto.h"
#include "ephemeris/series.h"

namespace barywalk {
namespace {

struct SeriesShape {
  Planet planet;
  std::array<int, kMaxSubSeries> longitude;  // 0: no such sub-series
  std::array<int, kMaxSubSeries> radius;
};

// Terms of L0..L5 and R0..R5 of the published abridged tables.
constexpr SeriesShape kShapes[] = {
    {Planet::Mercury, {38, 16, 10, 8, 6, 1}, {13, 8, 7, 5, 0, 0}},
    {Planet::Venus, {24, 12, 8, 3, 3, 1}, {12, 3, 3, 1, 1, 0}},
    {Planet::Earth, {64, 34, 20, 7, 3, 1}, {40, 10, 6, 2, 1, 0}},
    {Planet::Mars, {69, 46, 33, 12, 8, 2}, {45, 27, 11, 6, 4, 0}},
    {Planet::Jupiter, {64, 61, 57, 39, 19, 5}, {46, 43, 36, 28, 15, 7}},
    {Planet::Saturn, {90, 79, 63, 48, 27, 12}, {44, 38, 32, 28, 23, 18}},
    {Planet::Uranus, {91, 57, 35, 18, 4, 0}, {59, 35, 18, 10, 2, 0}},
    {Planet::Neptune, {38, 18, 7, 4, 1, 0}, {32, 15, 5, 1, 0, 0}},
};

int CountTerms(const Series& series, const std::array<int, kMaxSubSeries>& expected,
               const char* what) {
  int present = 0;
  while (present < kMaxSubSeries && expected[present] > 0) ++present;
  EXPECT_EQ(series.count, present) << what;
  int total = 0;
  for (int k = 0; k < series.count && k < kMaxSubSeries; ++k) {
    EXPECT_EQ(series.subSeries[k].count, expected[k]) << what << k;
    total += series.subSeries[k].count;
  }
  return total;
}

void ExpectTerm(const SeriesTerm& term, double A, double B, double C) {
  EXPECT_EQ(term.A, A);
  EXPECT_EQ(term.B, B);
  EXPECT_EQ(term.C, C);
}

TEST(Vsop87Tables, TermCountsPerSubSeries) {
  int total = 0;
  for (const SeriesShape& shape : kShapes) {
    const PlanetSeries& series = Vsop87Series(shape.planet);
    const std::string name = PlanetName(shape.planet);
    total += CountTerms(series.longitude, shape.longitude, (name + " L").c_str());
    total += CountTerms(series.radius, shape.radius, (name + " R").c_str());
  }
  EXPECT_EQ(total, 2006);
  EXPECT_EQ(Vsop87Series(Planet::Pluto).longitude.count, 0);
}

// Terms of B0..B5 of the published abridged latitude tables.
constexpr std::pair<Planet, std::array<int, kMaxSubSeries>> kLatitudeShapes[] = {
    {Planet::Mercury, {14, 11, 9, 7, 2, 0}}, {Planet::Venus, {9, 4, 4, 4, 1, 0}},
    {Planet::Earth, {5, 2, 0, 0, 0, 0}},     {Planet::Mars, {16, 9, 7, 4, 3, 0}},
    {Planet::Jupiter, {26, 22, 14, 9, 6, 1}}, {Planet::Saturn, {34, 32, 29, 21, 12, 2}},
    {Planet::Uranus, {28, 20, 11, 4, 1, 0}}, {Planet::Neptune, {17, 13, 6, 4, 1, 0}},
};

TEST(Vsop87Tables, LatitudeTermCountsAndTellingRows) {
  int total = 0;
  for (const auto& [planet, shape] : kLatitudeShapes) {
    total += CountTerms(Vsop87LatitudeSeries(planet), shape,
                        (std::string(PlanetName(planet)) + " B").c_str());
  }
  EXPECT_EQ(total, 424);
  EXPECT_EQ(Vsop87LatitudeSeries(Planet::Pluto).count, 0);
  ExpectTerm(Vsop87LatitudeSeries(Planet::Mercury).subSeries[0].terms[0], 11737529, 1.98357499,
             26087.90314157);
  ExpectTerm(Vsop87LatitudeSeries(Planet::Venus).subSeries[0].terms[0], 5923638, 0.2670278,
             10213.2855462);
  ExpectTerm(Vsop87LatitudeSeries(Planet::Earth).subSeries[0].terms[0], 280, 3.199, 84334.662);
  ExpectTerm(Vsop87LatitudeSeries(Planet::Earth).subSeries[1].terms[0], 9, 3.9, 5507.55);
  ExpectTerm(Vsop87LatitudeSeries(Planet::Earth).subSeries[1].terms[1], 6, 1.73, 5223.69);
}

TEST(Vsop87Tables, TellingRows) {
  const PlanetSeries& earth = Vsop87Series(Planet::Earth);
  const SubSeries& earthL0 = earth.longitude.subSeries[0];
  ExpectTerm(earthL0.terms[0], 175347046, 0, 0);
  ExpectTerm(earthL0.terms[1], 3341656, 4.6692568, 6283.07585);
  ExpectTerm(earthL0.terms[2], 34894, 4.6261, 12566.1517);  // the book's digits
  ExpectTerm(earthL0.terms[earthL0.count - 1], 25, 3.16, 4690.48);
  ExpectTerm(earth.longitude.subSeries[1].terms[0], 628331966747, 0, 0);
  ExpectTerm(earth.longitude.subSeries[5].terms[0], 1, 3.14, 0);
  ExpectTerm(earth.radius.subSeries[0].terms[0], 100013989, 0, 0);
  ExpectTerm(earth.radius.subSeries[0].terms[1], 1670700, 3.0984635, 6283.07585);

  ExpectTerm(Vsop87Series(Planet::Mercury).longitude.subSeries[0].terms[0], 440250710, 0, 0);
  ExpectTerm(Vsop87Series(Planet::Mercury).longitude.subSeries[0].terms[1], 40989415,
             1.48302034, 26087.90314157);
  ExpectTerm(Vsop87Series(Planet::Neptune).radius.subSeries[0].terms[0], 3007013206, 0, 0);
  const SubSeries& marsL5 = Vsop87Series(Planet::Mars).longitude.subSeries[5];
  ExpectTerm(marsL5.terms[0], 1, 3.14, 0);
  ExpectTerm(marsL5.terms[1], 1, 4.04, 6681.22);
}

TEST(PlutoTables, TellingRows) {
  struct Row {
    int number;  // 1-based, as published
    double i, j, k, lonA, lonB, radA, radB;
  };
  const Row rows[] = {
      {1, 0, 0, 1, -19799805, 19850055, 66865439, 68951812},
      {2, 0, 0, 2, 897144, -4954829, -11827535, -332538},
      {3, 0, 0, 3, 611149, 1211027, 1593179, -1438890},
      {7, 0, 1, -1, 20442, -9987, -5794, 22161},
      {19, 1, 0, -1, 7042, 788, 36, 45763},
      {43, 3, 0, 0, 0, 0, 10, 3},
  };
  for (const Row& row : rows) {
    const int n = row.number - 1;
    SCOPED_TRACE(row.number);
    EXPECT_EQ(kPlutoArguments[n].i, row.i);
    EXPECT_EQ(kPlutoArguments[n].j, row.j);
    EXPECT_EQ(kPlutoArguments[n].k, row.k);
    EXPECT_EQ(kPlutoLongitudeTerms[n].A, row.lonA);
    EXPECT_EQ(kPlutoLongitudeTerms[n].B, row.lonB);
    EXPECT_EQ(kPlutoRadiusTerms[n].A, row.radA);
    EXPECT_EQ(kPlutoRadiusTerms[n].B, row.radB);
  }
}

TEST(PlutoTables, MultipliersWithinPublishedRanges) {
  for (const PlutoArgument& arg : kPlutoArguments) {
    EXPECT_TRUE(arg.i >= 0 && arg.i <= 3);
    EXPECT_TRUE(arg.j >= -1 && arg.j <= 2);
    EXPECT_TRUE(arg.k >= -6 && arg.k <= 6);
  }
}

}  // namespace
}  // namespace barywalk
