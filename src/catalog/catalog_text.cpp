#include "catalog/catalog_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace barywalk {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool ParseDecimal(std::string_view text, double& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  double parsed = 0.0;
  const auto [stop, ec] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || ec != std::errc() || stop != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

ParsedRow UnreadableField(std::string_view field, std::string_view text) {
  return Rejected(RejectReason::Unreadable, std::string(field) + " '" + std::string(text) + "'");
}

}  // namespace barywalk
