// What every command-line program of Barywalk shares: reading numbers and
// times from arguments, the exit statuses, and the one-line error manner
// ("PROGRAM: message" on standard error, status 2 for bad input).
#pragma once

#include <stdexcept>
#include <string>

namespace barywalk {

// Exit statuses of every command-line program.
constexpr int kExitOk = 0;
constexpr int kExitOutputFailed = 1;
constexpr int kExitBadArguments = 2;

// Bad input: the program prints "PROGRAM: what()" as one line and exits
// with kExitBadArguments.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A whole-string decimal number (optional sign, fraction, exponent), finite.
// The decimal point is "." whatever the locale.
bool ParseNumber(const std::string& text, double& value);
// A whole-string decimal integer with an optional sign.
bool ParseWholeNumber(const std::string& text, long long& value);

// A TIME argument: a Julian day ("2451545.0", "-1000", "2.4e6") or a UTC
// date-time in ISO 8601 ("2000-01-01", "2000-01-01T12:00",
// "2000-01-01T12:00:30.25Z"; years may be signed and longer than four
// digits, year 0 is 1 BC). A date alone means 00:00 UTC. The Julian day must
// lie within +-kJulianDayLimit. Returns false and sets `error` otherwise.
bool ParseTime(const std::string& text, double& jd, std::string& error);

// A TIME argument of a setting that the dialog takes from its date
// controls (--from, --to, --at): a calendar date alone ("1980-01-01") means
// local midnight of that date, as the dialog's date fields do (the zone of
// TZ), or UTC midnight when `utc` is set; every other form is read as by
// ParseTime (a Julian day, or a date-time in UTC).
bool ParseDialogTime(const std::string& text, bool utc, double& jd, std::string& error);

// "'text'", for naming an argument in a message.
std::string Quoted(const std::string& text);

}  // namespace barywalk
