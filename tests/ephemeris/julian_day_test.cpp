// Julian days and UTC calendar instants, proleptic Gregorian.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ephemeris/julian_day.h"

namespace barywalk {
namespace {

UtcDateTime Utc(int year, int month, int day, int hour = 0, int minute = 0, double second = 0) {
  UtcDateTime utc;
  utc.year = year;
  utc.month = month;
  utc.day = day;
  utc.hour = hour;
  utc.minute = minute;
  utc.second = second;
  return utc;
}

void ExpectSameInstant(const UtcDateTime& actual, const UtcDateTime& expected) {
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hour, expected.hour);
  EXPECT_EQ(actual.minute, expected.minute);
  EXPECT_DOUBLE_EQ(actual.second, expected.second);
}

struct Anchor {
  UtcDateTime utc;
  double jd;
};

TEST(JulianDay, AnchorsBothWays) {
  const Anchor anchors[] = {
      {Utc(2000, 1, 1, 12), 2451545.0},        // J2000.0
      {Utc(1970, 1, 1), 2440587.5},            // Unix epoch
      {Utc(0, 1, 1), 1721059.5},               // year 0 (1 BC)
      {Utc(-1, 12, 31, 18), 1721059.25},       // before year 0
      {Utc(-4713, 11, 24, 12), 0.0},           // JD 0, proleptic Gregorian
      {Utc(1582, 10, 15), 2299160.5},          // first Gregorian day...
      {Utc(1582, 10, 4), 2299149.5},           // ...and no gap before it
      {Utc(1957, 10, 4, 19, 26, 24), 2436116.31},  // Sputnik 1 (Meeus, ex. 7.a)
      {Utc(3000, 1, 1), 2816787.5},
  };
  for (const Anchor& anchor : anchors) {
    SCOPED_TRACE(anchor.jd);
    EXPECT_NEAR(JulianDayFromUtc(anchor.utc), anchor.jd, 1e-9);
    ExpectSameInstant(UtcFromJulianDay(anchor.jd), anchor.utc);
  }
  EXPECT_EQ(JulianDayFromUtc(Utc(2000, 1, 1, 12)), 2451545.0);
  EXPECT_EQ(JulianDayFromUtc(Utc(1970, 1, 1)), 2440587.5);
}

TEST(JulianDay, LeapYears) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(0, 2), 29);
  EXPECT_EQ(DaysInMonth(-4, 2), 29);
  EXPECT_EQ(DaysInMonth(-100, 2), 28);
  EXPECT_EQ(DaysInMonth(1500, 2), 28);  // proleptic: no Julian-calendar leap day
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
  EXPECT_EQ(DaysInMonth(2023, 0), 0);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  // The leap day is a day of its own on the Julian day axis.
  EXPECT_EQ(JulianDayFromUtc(Utc(2000, 3, 1)) - JulianDayFromUtc(Utc(2000, 2, 28)), 2.0);
  EXPECT_EQ(JulianDayFromUtc(Utc(1900, 3, 1)) - JulianDayFromUtc(Utc(1900, 2, 28)), 1.0);
  EXPECT_EQ(JulianDayFromUtc(Utc(1, 1, 1)) - JulianDayFromUtc(Utc(0, 1, 1)), 366.0);
  ExpectSameInstant(UtcFromJulianDay(JulianDayFromUtc(Utc(2000, 2, 29, 6))), Utc(2000, 2, 29, 6));
}

TEST(JulianDay, RoundTripsAcrossYearsZeroTo3000) {
  for (double jd = 1721059.5; jd < 2816787.5; jd += 997.123456789) {
    const UtcDateTime utc = UtcFromJulianDay(jd);
    ASSERT_TRUE(IsValidUtc(utc)) << jd;
    // Half a millisecond of rounding, plus the Julian day's own rounding.
    ASSERT_NEAR(JulianDayFromUtc(utc), jd, 0.5 / 86400000.0 + 1e-9) << jd;
  }
}

TEST(JulianDay, RoundsToTheNearestMillisecond) {
  // Truncation would give 11:59:59.913.
  ExpectSameInstant(UtcFromJulianDay(2451544.999999), Utc(2000, 1, 1, 11, 59, 59.914));
  // Less than half a millisecond before midnight carries into the next day.
  ExpectSameInstant(UtcFromJulianDay(2451545.5 - 1e-9), Utc(2000, 1, 2));
  ExpectSameInstant(UtcFromJulianDay(2451545.5 - 2.5e-8), Utc(2000, 1, 1, 23, 59, 59.998));
}

TEST(JulianDay, TimeArguments) {
  EXPECT_EQ(JulianMillennia(2451545.0), 0.0);
  EXPECT_EQ(JulianCenturies(2451545.0), 0.0);
  EXPECT_EQ(JulianMillennia(2451545.0 + 365250.0), 1.0);
  EXPECT_EQ(JulianCenturies(2451545.0 - 36525.0), -1.0);
}

TEST(JulianDay, ValidityAndLimits) {
  EXPECT_TRUE(IsValidUtc(Utc(2000, 2, 29, 23, 59, 59.999)));
  EXPECT_FALSE(IsValidUtc(Utc(1900, 2, 29)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 13, 1)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 1, 0)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 1, 1, 24)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 1, 1, 0, 60)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 1, 1, 0, 0, 60)));
  EXPECT_FALSE(IsValidUtc(Utc(2000, 1, 1, 0, 0, std::nan(""))));
  // Any double gives some valid instant, without overflow.
  for (double jd : {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300,
                    std::numeric_limits<double>::infinity(), kJulianDayLimit, -kJulianDayLimit}) {
    EXPECT_TRUE(IsValidUtc(UtcFromJulianDay(jd))) << jd;
  }
  ExpectSameInstant(UtcFromJulianDay(std::nan("")), Utc(2000, 1, 1, 12));
}

}  // namespace
}  // namespace barywalk
