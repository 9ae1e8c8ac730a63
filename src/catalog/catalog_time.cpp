#include "catalog/catalog_time.h"

#include <cctype>
#include <cmath>
#include <string>

#include "catalog/catalog_text.h"

namespace barywalk {
namespace {

// SolarSoft's "24-Oct-2014 21:07:00.000" (day of one or two digits) as
// "2014-10-24 21:07:00.000"; other text unchanged.
std::string FromSolarSoftDate(std::string_view text) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  const std::size_t dash = text.find('-');
  if (dash != 1 && dash != 2) return std::string(text);
  if (text.size() < dash + 10 || text[dash + 4] != '-') return std::string(text);
  std::string month(text.substr(dash + 1, 3));
  for (char& c : month) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  int number = 0;
  while (number < 12 && month != kMonths[number]) ++number;
  if (number == 12) return std::string(text);
  std::string iso(text.substr(dash + 5, 4));
  iso += '-';
  iso += static_cast<char>('0' + (number + 1) / 10);
  iso += static_cast<char>('0' + (number + 1) % 10);
  iso += '-';
  if (dash == 1) iso += '0';
  iso += text.substr(0, dash);
  iso += text.substr(dash + 9);
  return iso;
}

}  // namespace

bool ParseCatalogTime(std::string_view original, UtcDateTime& utc) {
  const std::string normalised = FromSolarSoftDate(TrimBlanks(original));
  std::string_view text = normalised;
  if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
  // YYYY-MM-DD?HH:MM:SS, or with "/" between the date's parts
  const bool slashes = text.size() >= 19 && text[4] == '/' && text[7] == '/';
  if (text.size() < 19 || (!slashes && (text[4] != '-' || text[7] != '-')) ||
      (text[10] != ' ' && text[10] != 'T') ||
      text[13] != ':' || text[16] != ':') {
    return false;
  }
  UtcDateTime parsed;
  parsed.year = FixedDigits(text.substr(0, 4), 4);
  parsed.month = FixedDigits(text.substr(5, 2), 2);
  parsed.day = FixedDigits(text.substr(8, 2), 2);
  parsed.hour = FixedDigits(text.substr(11, 2), 2);
  parsed.minute = FixedDigits(text.substr(14, 2), 2);
  const int second = FixedDigits(text.substr(17, 2), 2);
  if (parsed.year < 0 || parsed.month < 0 || parsed.day < 0 || parsed.hour < 0 ||
      parsed.minute < 0 || second < 0) {
    return false;
  }
  double fraction = 0.0;
  if (text.size() > 19) {
    if (text[19] != '.' || text.size() == 20 || text.size() > 29) return false;
    double scale = 0.1;
    for (std::size_t i = 20; i < text.size(); ++i, scale /= 10) {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
      fraction += (text[i] - '0') * scale;
    }
  }
  parsed.second = second + fraction;
  if (!IsValidUtc(parsed)) return false;
  utc = parsed;
  return true;
}

double MinutesBetween(double startJd, double endJd) {
  const double ms = std::round((endJd - startJd) * 86400000.0);
  return ms / 60000.0;
}

}  // namespace barywalk
