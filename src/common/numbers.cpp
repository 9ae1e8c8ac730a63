#include "common/numbers.h"

#include <charconv>
#include <cmath>

namespace barywalk {
namespace {

// from_chars takes a "-" but no "+"; a "+" is skipped here, and a second
// sign after it refused.
bool SkipPlus(const char*& first, const char* last) {
  if (first != last && *first == '+') {
    ++first;
    if (first != last && (*first == '+' || *first == '-')) return false;
  }
  return first != last;
}

}  // namespace

bool ParseStrictNumber(std::string_view text, double& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (!SkipPlus(first, last)) return false;
  double parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseStrictWholeNumber(std::string_view text, long long& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (!SkipPlus(first, last)) return false;
  long long parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || end != last) return false;
  value = parsed;
  return true;
}

}  // namespace barywalk
