// Julian days: the program's one time axis.
//
// A Julian day (JD) is a double counting days; integer values fall on noon
// of universal time. Calendar dates are proleptic Gregorian throughout (as
// the toolkit's date-time type counts them), years may be 0 or negative.
// The JD is used directly as the argument of the planetary theories: no
// delta-T, no light-time correction.
#pragma once

#include <string>

namespace barywalk {

// Julian millennia from J2000.0: (jd - 2451545.0) / 365250.0.
double JulianMillennia(double jd);

// Julian centuries from J2000.0: (jd - 2451545.0) / 36525.0.
double JulianCenturies(double jd);

// A calendar date and clock time in UTC.
struct UtcDateTime {
  int year = 2000;     // astronomical numbering: year 0 is 1 BC
  int month = 1;       // 1..12
  int day = 1;         // 1..31
  int hour = 0;        // 0..23
  int minute = 0;      // 0..59
  double second = 0;   // 0 <= second < 60
};

// The Julian day of a UTC calendar instant (proleptic Gregorian).
double JulianDayFromUtc(const UtcDateTime& utc);

// The UTC calendar instant of a Julian day, rounded to the nearest
// millisecond (so 2451545.0 gives 2000-01-01 12:00:00.000).
// Julian days beyond +-kJulianDayLimit are taken as that limit and NaN as
// J2000.0, so every double gives a valid date.
UtcDateTime UtcFromJulianDay(double jd);

// "YYYY-MM-DDTHH:MM:SSZ" of a Julian day (whole seconds, truncated): the
// form the flare files' headers and the significance outputs name times in.
std::string IsoUtcText(double jd);

// Number of days of `month` (1..12) in `year`, Gregorian leap years; 0 for a
// month outside 1..12.
int DaysInMonth(int year, int month);

// Whether every field of `utc` is within its range (month 1..12, day within
// the month, hour 0..23, minute 0..59, 0 <= second < 60). JulianDayFromUtc
// expects a valid instant; for others its value means nothing (but is safe).
// There are no leap seconds.
bool IsValidUtc(const UtcDateTime& utc);

// The span of Julian days that UtcFromJulianDay represents (about 270
// million years either side of the epoch).
constexpr double kJulianDayLimit = 1e11;

}  // namespace barywalk
