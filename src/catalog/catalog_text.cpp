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

ParsedRow UnreadableField(std::string_view field, std::string_view text) {
  return Rejected(RejectReason::Unreadable, std::string(field) + " '" + std::string(text) + "'");
}

}  // namespace barywalk
