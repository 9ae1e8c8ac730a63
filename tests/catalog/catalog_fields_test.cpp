// The fields that catalogs write: GOES classes, ISO times, flare areas.
#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "catalog/catalog_time.h"
#include "catalog/flare_area.h"
#include "catalog/goes_class.h"

namespace barywalk {
namespace {

TEST(GoesClassTest, ParsesExactlyAndOrdersByPeakFlux) {
  struct Case {
    const char* text;
    double wattsPerSquareMetre;  // 0: not a class
  };
  const Case cases[] = {
      {"C1.0", 1e-6},  {"C1", 1e-6},       {"c1.0", 1e-6},   {"M2.5", 2.5e-5}, {"X17.2", 1.72e-3},
      {"A0.5", 5e-9},  {"B1.234", 1.234e-7}, {"C1.05", 1.05e-6},
      {"", 0},         {"C", 0},           {"C.", 0},        {"D1.0", 0},      {"C-1", 0},
      {"C0", 0},       {"C0.0", 0},        {"C1.2345", 0},   {"C1.0 ", 0},     {"C1,0", 0},
      {"1.0", 0},      {"C1e3", 0},
  };
  for (const Case& c : cases) {
    const std::optional<GoesClass> parsed = ParseGoesClass(c.text);
    if (c.wattsPerSquareMetre == 0) {
      EXPECT_FALSE(parsed) << c.text;
    } else {
      ASSERT_TRUE(parsed) << c.text;
      EXPECT_NEAR(parsed->flux * 1e-11, c.wattsPerSquareMetre, c.wattsPerSquareMetre * 1e-12) << c.text;
    }
  }
  // Equal classes compare equal however they are written, so a limit of
  // C1.0 keeps C1.0; the letters' decades order the classes.
  EXPECT_EQ(*ParseGoesClass("C1.0"), *ParseGoesClass("C1"));
  EXPECT_EQ(*ParseGoesClass("C10"), *ParseGoesClass("M1.0"));
  EXPECT_EQ(*ParseGoesClass("C1.2"), *GoesClassFromTenths('C', 12));
  EXPECT_LT(*ParseGoesClass("B9.9"), *ParseGoesClass("C1.0"));
  EXPECT_LT(*ParseGoesClass("M9.99"), *ParseGoesClass("X1"));
  EXPECT_FALSE(GoesClassFromTenths('Q', 12));
  for (const char* text : {"C1.0", "X17.2", "M1.25", "A0.5", "B1.234"}) {
    EXPECT_EQ(FormatGoesClass(*ParseGoesClass(text)), text);
  }
}

TEST(CatalogTimeTest, IsoTimesWithBlankOrTAndOptionalMilliseconds) {
  struct Case {
    const char* text;
    bool valid;
    double jd;
  };
  const double midnight = 2455198.5;  // 2010-01-02 00:00 UT
  const Case cases[] = {
      {"2010-01-02 07:09:00", true, midnight + (7 * 60 + 9) / 1440.0},
      {"2010-01-02T07:09:00.000", true, midnight + (7 * 60 + 9) / 1440.0},
      {" 2010-01-02T07:09:30.5Z ", true, midnight + (7 * 3600 + 9 * 60 + 30.5) / 86400.0},
      {"2010-01-02", false, 0},          {"2010-01-02 7:09:00", false, 0},
      {"2010-02-30 00:00:00", false, 0}, {"2010-01-02 24:00:00", false, 0},
      {"2010-01-02 07:09:00.", false, 0}, {"2010-01-02 07:09:00x", false, 0},
      {"2010/01/02 07:09:00", false, 0},
  };
  for (const Case& c : cases) {
    UtcDateTime utc;
    ASSERT_EQ(ParseCatalogTime(c.text, utc), c.valid) << c.text;
    if (c.valid) {
      EXPECT_NEAR(JulianDayFromUtc(utc), c.jd, 1e-9) << c.text;
    }
  }
  // Whole seconds give whole minutes, not 30.999999.
  EXPECT_EQ(MinutesBetween(midnight + 0.3, midnight + 0.3 + 31.0 / 1440.0), 31.0);
  EXPECT_EQ(MinutesBetween(midnight, midnight + 90.0 / 86400.0), 1.5);
}

TEST(FlareAreaTest, OpticalImportanceAndSxiAreas) {
  // Twice the middle of each importance class in millionths of the
  // hemisphere (the disk is half the hemisphere's area).
  const std::pair<char, double> classes[] = {{'S', 100}, {'1', 350}, {'2', 850}, {'3', 1800}, {'4', 2400}};
  for (const auto& [importance, area] : classes) EXPECT_EQ(OpticalImportanceArea(importance), area);
  for (char other : {'5', 'F', 's', ' '}) EXPECT_FALSE(OpticalImportanceArea(other));

  // The solar disk is pi * (959.63" / r)^2 with the Earth at r au: at
  // perihelion (2005-01-02, r = 0.98329) and aphelion (2005-07-05,
  // r = 1.01672) the same square arcseconds are a different share of it.
  const double pi = 3.141592653589793;
  const auto expected = [&](double arcsec2, double r) {
    return arcsec2 / (pi * std::pow(959.63 / r, 2)) * 1e6;
  };
  EXPECT_NEAR(SxiAreaToMillionths(2.1e4, 2453372.5), expected(2.1e4, 0.98329), 0.5);
  EXPECT_NEAR(SxiAreaToMillionths(2.1e4, 2453556.5), expected(2.1e4, 1.01672), 0.5);
  EXPECT_NEAR(SxiAreaToMillionths(2.1e4, 2453556.5) / SxiAreaToMillionths(2.1e4, 2453372.5),
              std::pow(1.01672 / 0.98329, 2), 1e-4);
}

}  // namespace
}  // namespace barywalk
