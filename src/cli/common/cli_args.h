// What every command-line program of Barywalk shares: reading numbers and
// times from arguments, the exit statuses, and the one-line error manner
// ("PROGRAM: message" on standard error, status 2 for bad input).
#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include "ephemeris/planets.h"

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

// The rule for a date alone, the same in every program and stated in every
// help text that takes a time.
extern const char* const kDateAloneRule;

// A time argument of option `option` ("" for a positional TIME) as every
// program reads it: a Julian day, a UTC date-time, or a calendar date alone
// ("1980-01-01"), which means local midnight of that date, as the dialog's
// date fields take it (the zone of TZ), or UTC midnight when `utc` is set.
// The time must lie within the span the planetary theories cover. Throws
// UsageError naming the option and the text.
double TimeArgument(const std::string& option, const std::string& text, bool utc);

// Planets chosen by a list: "all", "none", or names separated by commas,
// in any case, with spaces around a name ignored. Throws UsageError naming
// `option` for a name it does not know.
std::array<bool, kPlanetCount> PlanetList(const std::string& option, const std::string& text);

// "'text'", for naming an argument in a message.
std::string Quoted(const std::string& text);

// `text` in lower case, for names and suffixes given in any case.
std::string Lower(std::string text);

}  // namespace barywalk
