#include "catalog/catalog_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "common/numbers.h"

namespace barywalk {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool ParseDecimal(std::string_view text, double& value) {
  return ParseStrictNumber(TrimBlanks(text), value);
}

int FixedDigits(std::string_view field, std::size_t width) {
  if (field.size() != width) return -1;
  int value = 0;
  for (char c : field) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

ParsedRow UnreadableField(std::string_view field, std::string_view text) {
  return Rejected(RejectReason::Unreadable, std::string(field) + " '" + std::string(text) + "'");
}

}  // namespace barywalk
