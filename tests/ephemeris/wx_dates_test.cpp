// The Julian day helpers agree with the toolkit's date-time type, which the
// dialog's date controls and date label use: the same Julian day for the same
// instant, and the same calendar breakdown (UTC) for the same Julian day.
#include <gtest/gtest.h>
#include <wx/datetime.h>

#include <random>

#include "ephemeris/julian_day.h"

namespace barywalk {
namespace {

constexpr long long kMillisecondsPerDay = 86400000;

TEST(JulianDayAgainstWxDateTime, SameInstantsYearZeroTo3000) {
  // Milliseconds since 1970 from 0000-01-01 to 3000-01-01.
  // (JD 1721059.5 and 2816787.5; 1970-01-01T00:00Z is JD 2440587.5.)
  const long long first = (1721059 - 2440587) * kMillisecondsPerDay;
  const long long last = (2816787 - 2440587) * kMillisecondsPerDay;
  std::mt19937_64 random(1582);
  std::uniform_int_distribution<long long> instant(first, last);
  for (int n = 0; n < 2000; ++n) {
    const long long ms = n == 0 ? first : n == 1 ? last : instant(random);
    const wxDateTime reference{wxLongLong(ms)};
    const wxDateTime::Tm tm = reference.GetTm(wxDateTime::UTC);
    const double jd = reference.GetJulianDayNumber();

    UtcDateTime utc;
    utc.year = tm.year;
    utc.month = tm.mon + 1;  // wxDateTime::Jan is 0
    utc.day = tm.mday;
    utc.hour = tm.hour;
    utc.minute = tm.min;
    utc.second = tm.sec + tm.msec / 1000.0;
    ASSERT_EQ(JulianDayFromUtc(utc), jd) << ms;

    const UtcDateTime back = UtcFromJulianDay(jd);
    ASSERT_EQ(back.year, utc.year) << ms;
    ASSERT_EQ(back.month, utc.month) << ms;
    ASSERT_EQ(back.day, utc.day) << ms;
    ASSERT_EQ(back.hour, utc.hour) << ms;
    ASSERT_EQ(back.minute, utc.minute) << ms;
    ASSERT_DOUBLE_EQ(back.second, utc.second) << ms;
  }
}

}  // namespace
}  // namespace barywalk
