#include "catalog/goes_class.h"

#include <cctype>

namespace barywalk {
namespace {

constexpr char kLetters[] = "ABCMX";
constexpr int kDecimals = 3;             // digits kept after the point
constexpr std::int64_t kPerUnit = 1000;  // 10^kDecimals
// A class number above this is not a flare class but a typing error; the
// limit also keeps the products within 64 bits.
constexpr std::int64_t kMaxNumber = 100000;

// The decade of the letter as a power of ten over the A class, or -1.
int LetterDecade(char letter) {
  for (int i = 0; kLetters[i] != '\0'; ++i) {
    if (kLetters[i] == letter) return i;
  }
  return -1;
}

std::int64_t Pow10(int n) {
  std::int64_t value = 1;
  while (n-- > 0) value *= 10;
  return value;
}

// 1 flux unit is 1e-11 W/m^2, and A1.000 is 1e-8: 1000 units.
GoesClass FromThousandths(int decade, std::int64_t thousandths) {
  return GoesClass{thousandths * Pow10(decade)};
}

}  // namespace

std::optional<GoesClass> ParseGoesClass(std::string_view text) {
  if (text.size() < 2) return std::nullopt;
  const int decade = LetterDecade(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))));
  if (decade < 0) return std::nullopt;
  std::int64_t whole = 0, fraction = 0;
  int fractionDigits = 0;
  std::size_t pos = 1;
  bool anyDigit = false;
  for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
    whole = whole * 10 + (text[pos] - '0');
    anyDigit = true;
    if (whole > kMaxNumber) return std::nullopt;
  }
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
      if (++fractionDigits > kDecimals) return std::nullopt;
      fraction = fraction * 10 + (text[pos] - '0');
      anyDigit = true;
    }
  }
  if (!anyDigit || pos != text.size()) return std::nullopt;
  const std::int64_t thousandths = whole * kPerUnit + fraction * Pow10(kDecimals - fractionDigits);
  if (thousandths <= 0) return std::nullopt;
  return FromThousandths(decade, thousandths);
}

std::optional<GoesClass> GoesClassFromTenths(char letter, int tenths) {
  const int decade = LetterDecade(letter);
  if (decade < 0 || tenths < 0) return std::nullopt;
  return FromThousandths(decade, static_cast<std::int64_t>(tenths) * (kPerUnit / 10));
}

std::string FormatGoesClass(GoesClass goesClass) {
  // The largest letter whose number is at least 1 (A for anything smaller).
  int decade = 4;
  while (decade > 0 && goesClass.flux < kPerUnit * Pow10(decade)) --decade;
  const std::int64_t thousandths = goesClass.flux / Pow10(decade);
  std::string text(1, kLetters[decade]);
  text += std::to_string(thousandths / kPerUnit) + '.';
  std::string digits = std::to_string(kPerUnit + thousandths % kPerUnit).substr(1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return text + digits;
}

}  // namespace barywalk
