#include "cli_args.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "analysis/theory_range.h"
#include "common/numbers.h"
#include "ephemeris/julian_day.h"

#include <wx/datetime.h>

namespace barywalk {
namespace {

constexpr int kMaxYearDigits = 9;
constexpr int kMinYearDigits = 4;

// --- ISO 8601 date-times ------------------------------------------------------

// Reads ISO 8601 date-time text step by step.
class DateTimeReader {
 public:
  explicit DateTimeReader(const std::string& text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }
  bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

  bool Take(char c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }

  // Between minDigits and maxDigits decimal digits.
  bool Digits(int minDigits, int maxDigits, long long& value) {
    std::size_t count = 0;
    value = 0;
    while (pos_ < text_.size() && count < static_cast<std::size_t>(maxDigits) &&
           text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++count;
    }
    return count >= static_cast<std::size_t>(minDigits) &&
           !(pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9');
  }

  // Seconds with an optional decimal fraction: "05" or "05.250".
  bool Seconds(double& seconds) {
    const std::size_t start = pos_;
    long long whole = 0;
    if (!Digits(2, 2, whole)) return false;
    if (Take('.')) {
      const std::size_t fractionStart = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      if (pos_ == fractionStart) return false;
    }
    const char* first = text_.data() + start;
    const auto [end, ec] = std::from_chars(first, text_.data() + pos_, seconds);
    return ec == std::errc() && end == text_.data() + pos_;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

enum class DateTimeSyntax { kOk, kNotDateTime, kZoneOffset };

DateTimeSyntax ReadDateTime(const std::string& text, UtcDateTime& utc) {
  DateTimeReader reader(text);
  const bool negative = reader.Take('-');
  if (!negative) reader.Take('+');
  long long year = 0, month = 0, day = 0, hour = 0, minute = 0;
  if (!reader.Digits(kMinYearDigits, kMaxYearDigits, year) || !reader.Take('-') ||
      !reader.Digits(2, 2, month) || !reader.Take('-') || !reader.Digits(2, 2, day)) {
    return DateTimeSyntax::kNotDateTime;
  }
  utc = UtcDateTime{};
  utc.year = static_cast<int>(negative ? -year : year);
  utc.month = static_cast<int>(month);
  utc.day = static_cast<int>(day);
  if (reader.AtEnd()) return DateTimeSyntax::kOk;

  if (!reader.Take('T') || !reader.Digits(2, 2, hour) || !reader.Take(':') ||
      !reader.Digits(2, 2, minute)) {
    return DateTimeSyntax::kNotDateTime;
  }
  utc.hour = static_cast<int>(hour);
  utc.minute = static_cast<int>(minute);
  if (reader.Take(':') && !reader.Seconds(utc.second)) return DateTimeSyntax::kNotDateTime;
  if (reader.Peek('+') || reader.Peek('-')) return DateTimeSyntax::kZoneOffset;
  reader.Take('Z');
  return reader.AtEnd() ? DateTimeSyntax::kOk : DateTimeSyntax::kNotDateTime;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value) { return ParseStrictNumber(text, value); }

bool ParseWholeNumber(const std::string& text, long long& value) {
  return ParseStrictWholeNumber(text, value);
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParseTime(const std::string& text, double& jd, std::string& error) {
  if (!ParseNumber(text, jd)) {
    UtcDateTime utc;
    switch (ReadDateTime(text, utc)) {
      case DateTimeSyntax::kNotDateTime:
        error = "cannot read the time " + Quoted(text) +
                ": expected a Julian day such as 2451545.0 or a UTC date-time such as "
                "2000-01-01T12:00:00Z";
        return false;
      case DateTimeSyntax::kZoneOffset:
        error = "the time " + Quoted(text) + " has a zone offset; give it in UTC (ending in Z)";
        return false;
      case DateTimeSyntax::kOk:
        break;
    }
    if (!IsValidUtc(utc)) {
      error = "no such date or time of day: " + Quoted(text);
      return false;
    }
    jd = JulianDayFromUtc(utc);
  }
  if (!(std::fabs(jd) <= kJulianDayLimit)) {
    error = "the time " + Quoted(text) + " lies beyond Julian day +-1e11";
    return false;
  }
  return true;
}

const char* const kDateAloneRule =
    "a date alone (1980-01-01), which is local midnight in the zone of TZ as the dialog's "
    "date fields take it, or UTC midnight with --utc";

namespace {

// Local midnight of a calendar date by the toolkit's own arithmetic, so
// that the time is the dialog's to the bit.
bool LocalMidnight(const UtcDateTime& date, double& jd) {
  const wxDateTime local(static_cast<wxDateTime::wxDateTime_t>(date.day),
                         static_cast<wxDateTime::Month>(date.month - 1), date.year);
  if (!local.IsValid()) return false;
  jd = local.GetJulianDayNumber();
  return true;
}

std::string Named(const std::string& option, const std::string& message) {
  return option.empty() ? message : option + ": " + message;
}

std::string Trimmed(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

double TimeArgument(const std::string& option, const std::string& text, bool utc) {
  double jd = 0;
  std::string error;
  UtcDateTime date;
  const bool dateAlone = !utc && ReadDateTime(text, date) == DateTimeSyntax::kOk &&
                         text.find('T') == std::string::npos && IsValidUtc(date);
  if (dateAlone ? !LocalMidnight(date, jd) : !ParseTime(text, jd, error)) {
    throw UsageError(Named(option, dateAlone ? "no such date: " + Quoted(text) : error));
  }
  if (!WithinTheoryRange(jd)) {
    throw UsageError(Named(option, "the time " + Quoted(text) +
                                       " lies outside the years 0 to 4000 that the planetary "
                                       "theories cover"));
  }
  return jd;
}

std::array<bool, kPlanetCount> PlanetList(const std::string& option, const std::string& text) {
  std::array<bool, kPlanetCount> chosen{};
  const std::string whole = Lower(Trimmed(text));
  if (whole == "all") chosen.fill(true);
  if (whole == "all" || whole == "none") return chosen;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find(',', begin);
    if (end == std::string::npos) end = text.size();
    const std::string name = Trimmed(text.substr(begin, end - begin));
    bool known = false;
    for (int i = 0; i < kPlanetCount; ++i) {
      if (Lower(name) == Lower(PlanetName(kAllPlanets[i]))) chosen[i] = known = true;
    }
    if (!known) {
      throw UsageError(option + ": unknown planet " + Quoted(name) +
                       " (Mercury, Venus, Earth, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto, "
                       "or all or none)");
    }
    begin = end + 1;
  }
  return chosen;
}

}  // namespace barywalk
