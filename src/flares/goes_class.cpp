#include "flares/goes_class.h"

#include <cctype>
#include <cmath>

namespace barywalk {
namespace {

constexpr char kLetters[] = "ABCMX";
constexpr int kDecimals = 3;             // digits kept after the point
constexpr std::int64_t kPerUnit = 1000;  // 10^kDecimals
// A class number above this is not a flare class but a typing error; the
// limit also keeps the products within 64 bits.
constexpr std::int64_t kMaxNumber = 100000;
// Flux units (1e-11 W/m^2) in 1 W/m^2.
constexpr double kFluxUnitsPerWatt = 1e11;

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
  // Down to one flux unit: three decimals for A, one more per letter up.
  const int maxDecimals = kDecimals + decade;
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
      if (++fractionDigits > maxDecimals) return std::nullopt;
      fraction = fraction * 10 + (text[pos] - '0');
      anyDigit = true;
    }
  }
  if (!anyDigit || pos != text.size()) return std::nullopt;
  const std::int64_t units = whole * Pow10(maxDecimals) + fraction * Pow10(maxDecimals - fractionDigits);
  if (units <= 0) return std::nullopt;
  return GoesClass{units};
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
  // One unit of the number in flux units: every digit down to one flux
  // unit is written, so nothing is cut off.
  const std::int64_t perNumber = kPerUnit * Pow10(decade);
  std::string text(1, kLetters[decade]);
  text += std::to_string(goesClass.flux / perNumber) + '.';
  std::string digits = std::to_string(perNumber + goesClass.flux % perNumber).substr(1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return text + digits;
}

double GoesClassFlux(GoesClass goesClass) {
  // One division of exact integers: the nearest double to the class's
  // value, so M1.2 gives the same double as the text "1.2e-5".
  return static_cast<double>(goesClass.flux) / kFluxUnitsPerWatt;
}

std::optional<GoesClass> GoesClassFromFlux(double wattsPerSquareMetre) {
  if (!(wattsPerSquareMetre > 0) || !std::isfinite(wattsPerSquareMetre)) return std::nullopt;
  const double units = std::round(wattsPerSquareMetre * kFluxUnitsPerWatt);
  if (units < 1 || units > static_cast<double>(kMaxNumber * kPerUnit * Pow10(4))) return std::nullopt;
  return GoesClass{static_cast<std::int64_t>(units)};
}

}  // namespace barywalk
