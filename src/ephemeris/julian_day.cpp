#include "ephemeris/julian_day.h"

#include <cmath>
#include <cstdio>

#include "ephemeris/constants.h"

namespace barywalk {
namespace {

constexpr long long kMillisecondsPerHour = 3600000;
constexpr long long kMillisecondsPerMinute = 60000;
constexpr double kMillisecondsPerSecond = 1000.0;

// Days from 1970-01-01 to year-month-day in the proleptic Gregorian calendar
// (the calendar counted in 400-year eras of 146097 days from 0000-03-01).
long long DaysFromCivil(long long year, long long month, long long day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  long long year;
  int month;
  int day;
};

// Inverse of DaysFromCivil.
CivilDate CivilFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

long long FloorDiv(long long a, long long b) {
  const long long q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool IsLeapYear(long long year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

double JulianMillennia(double jd) { return (jd - kJ2000) / kDaysPerJulianMillennium; }

double JulianCenturies(double jd) { return (jd - kJ2000) / kDaysPerJulianCentury; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidUtc(const UtcDateTime& utc) {
  return utc.month >= 1 && utc.month <= 12 && utc.day >= 1 &&
         utc.day <= DaysInMonth(utc.year, utc.month) && utc.hour >= 0 && utc.hour <= 23 &&
         utc.minute >= 0 && utc.minute <= 59 && utc.second >= 0 && utc.second < 60;
}

double JulianDayFromUtc(const UtcDateTime& utc) {
  // Milliseconds since 1970-01-01T00:00Z, then days, the way the toolkit's
  // date-time type forms its Julian day number. Doubles hold whole
  // milliseconds exactly for 285000 years either side of 1970.
  const double days = static_cast<double>(DaysFromCivil(utc.year, utc.month, utc.day));
  const double ms = days * static_cast<double>(kMillisecondsPerDay) +
                    utc.hour * static_cast<double>(kMillisecondsPerHour) +
                    utc.minute * static_cast<double>(kMillisecondsPerMinute) +
                    utc.second * kMillisecondsPerSecond;
  return ms / static_cast<double>(kMillisecondsPerDay) + kUnixEpochJulianDayNumber + kHalfDay;
}

UtcDateTime UtcFromJulianDay(double jd) {
  if (std::isnan(jd)) jd = kJ2000;
  jd = std::fmin(std::fmax(jd, -kJulianDayLimit), kJulianDayLimit);
  const double msSinceEpoch =
      (jd - (kUnixEpochJulianDayNumber + kHalfDay)) * static_cast<double>(kMillisecondsPerDay);
  const long long ms = std::llround(msSinceEpoch);  // within +-8.7e18: fits
  const long long days = FloorDiv(ms, kMillisecondsPerDay);
  const long long msOfDay = ms - days * kMillisecondsPerDay;
  const CivilDate date = CivilFromDays(days);

  UtcDateTime utc;
  utc.year = static_cast<int>(date.year);
  utc.month = date.month;
  utc.day = date.day;
  utc.hour = static_cast<int>(msOfDay / kMillisecondsPerHour);
  utc.minute = static_cast<int>(msOfDay % kMillisecondsPerHour / kMillisecondsPerMinute);
  utc.second = static_cast<double>(msOfDay % kMillisecondsPerMinute) / kMillisecondsPerSecond;
  return utc;
}

std::string IsoUtcText(double jd) {
  const UtcDateTime t = UtcFromJulianDay(jd);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day,
                t.hour, t.minute, static_cast<int>(std::floor(t.second)));
  return text;
}

}  // namespace barywalk
