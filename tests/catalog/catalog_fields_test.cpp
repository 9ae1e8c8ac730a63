// The fields that catalogs write: GOES classes, ISO times, flare areas.
#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "catalog/catalog_time.h"
#include "catalog/flare_area.h"
#include "flares/goes_class.h"

namespace barywalk {
namespace {

TEST(GoesClassTest, ParsesExactlyAndOrdersByPeakFlux) {
  const std::pair<const char*, double> valid[] = {  // text, peak flux in W/m^2
      {"C1.0", 1e-6}, {"C1", 1e-6}, {"c1.0", 1e-6}, {"M2.5", 2.5e-5}, {"X17.2", 1.72e-3},
      {"A0.5", 5e-9}, {"B1.234", 1.234e-7}, {"C1.05", 1.05e-6}, {"B12.345", 1.2345e-6},
      {"X1.0000001", 1.0000001e-4}};
  for (const auto& [text, flux] : valid) {
    ASSERT_TRUE(ParseGoesClass(text)) << text;
    EXPECT_NEAR(ParseGoesClass(text)->flux * 1e-11, flux, flux * 1e-12) << text;
  }
  for (const char* text : {"", "C", "C.", "D1.0", "C-1", "C0", "C0.0", "A1.2345", "C1.234567", "C1.0 ", "C1,0", "1.0",
                           "C1e3"}) {
    EXPECT_FALSE(ParseGoesClass(text)) << text;
  }
  // Equal classes compare equal however they are written, so a limit of
  // C1.0 keeps C1.0; the letters' decades order the classes.
  EXPECT_EQ(*ParseGoesClass("C1.0"), *ParseGoesClass("C1"));
  EXPECT_EQ(*ParseGoesClass("C10"), *ParseGoesClass("M1.0"));
  EXPECT_LT(*ParseGoesClass("B9.9"), *ParseGoesClass("C1.0"));
  EXPECT_LT(*ParseGoesClass("M9.99"), *ParseGoesClass("X1"));
  // Written exactly, never cut: the text reads back as the same class.
  const std::pair<const char*, const char*> written[] = {
      {"C1.0", "C1.0"},       {"X17.2", "X17.2"},   {"M1.25", "M1.25"},       {"A0.5", "A0.5"},
      {"B1.234", "B1.234"},   {"B12.345", "C1.2345"}, {"X1.0000001", "X1.0000001"}, {"c10", "M1.0"}};
  for (const auto& [text, exact] : written) {
    EXPECT_EQ(FormatGoesClass(*ParseGoesClass(text)), exact);
    EXPECT_EQ(*ParseGoesClass(exact), *ParseGoesClass(text));
  }
  // The flux a flare file stores gives its class back.
  for (const char* text : {"A0.001", "C1.2", "M9.99", "X17.2", "B12.345", "X100000"}) {
    EXPECT_EQ(GoesClassFromFlux(GoesClassFlux(*ParseGoesClass(text))), ParseGoesClass(text)) << text;
  }
  for (double flux : {0.0, -1e-6, 1e-30, 1.0e3}) EXPECT_FALSE(GoesClassFromFlux(flux)) << flux;
}

TEST(CatalogTimeTest, IsoTimesWithBlankOrTAndOptionalMilliseconds) {
  struct Case {
    const char* text;
    double jd;
  };
  const double midnight = 2455198.5;  // 2010-01-02 00:00 UT
  const Case cases[] = {
      {"2010-01-02 07:09:00", midnight + (7 * 60 + 9) / 1440.0},
      {"2010-01-02T07:09:00.000", midnight + (7 * 60 + 9) / 1440.0},
      {" 2010-01-02T07:09:30.5Z ", midnight + (7 * 3600 + 9 * 60 + 30.5) / 86400.0},
      {"2010/01/02 07:09:00", midnight + (7 * 60 + 9) / 1440.0},
      {"2-Jan-2010 07:09:00.000", midnight + (7 * 60 + 9) / 1440.0},  // SolarSoft
      {"02-JAN-2010 07:09:00", midnight + (7 * 60 + 9) / 1440.0},
  };
  for (const Case& c : cases) {
    UtcDateTime utc;
    ASSERT_TRUE(ParseCatalogTime(c.text, utc)) << c.text;
    EXPECT_NEAR(JulianDayFromUtc(utc), c.jd, 1e-9) << c.text;
  }
  for (const char* bad : {"2010-01-02", "2010-01-02 7:09:00", "2010-02-30 00:00:00", "2010-01-02 24:00:00",
                          "2010-01-02 07:09:00.", "2010-01-02 07:09:00x", "2010/01-02 07:09:00",
                          "2-Jam-2010 07:09:00", "123-Jan-2010 07:09:00"}) {
    UtcDateTime utc;
    EXPECT_FALSE(ParseCatalogTime(bad, utc)) << bad;
  }
  // Whole seconds give whole minutes, not 30.999999.
  EXPECT_EQ(MinutesBetween(midnight + 0.3, midnight + 0.3 + 31.0 / 1440.0), 31.0);
  EXPECT_EQ(MinutesBetween(midnight, midnight + 90.0 / 86400.0), 1.5);
}

TEST(FlareAreaTest, SxiAreasAreAShareOfTheDiskSeenFromTheEarth) {
  // The solar disk is pi * (959.63" / r)^2 with the Earth at r au: at
  // perihelion (2005-01-02, r = 0.98329) and aphelion (2005-07-05,
  // r = 1.01672) the same square arcseconds are a different share of it.
  const double pi = 3.141592653589793;
  const auto expected = [&](double arcsec2, double r) {
    return arcsec2 / (pi * std::pow(959.63 / r, 2)) * 1e6;
  };
  EXPECT_NEAR(SxiAreaToMillionths(2.1e4, 2453372.5), expected(2.1e4, 0.98329), 0.5);
  EXPECT_NEAR(SxiAreaToMillionths(2.1e4, 2453556.5), expected(2.1e4, 1.01672), 0.5);
}

}  // namespace
}  // namespace barywalk
