// GOES soft X-ray flare classes ("C1.0", "X17.2") as exact integers, so
// that a class limit keeps the flares of exactly that class.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace barywalk {

// A class's peak flux in units of 1e-11 W/m^2: the letter's decade (A 1e-8,
// B 1e-7, C 1e-6, M 1e-5, X 1e-4 W/m^2) times the number, which is kept to
// three decimals. C1.0 is 1,000,000; X17.2 is 1,720,000,000.
struct GoesClass {
  std::int64_t flux = 0;

  friend bool operator<(GoesClass a, GoesClass b) { return a.flux < b.flux; }
  friend bool operator==(GoesClass a, GoesClass b) { return a.flux == b.flux; }
};

// A class written as a letter and a number: "C1.0", "M2", "X17.2",
// "c3.15" (lower case letters taken as upper case). The number has at
// most three decimals and is positive. Nothing else is accepted.
std::optional<GoesClass> ParseGoesClass(std::string_view text);

// A class from a letter and a count of tenths, as the NOAA event reports
// write it ("C" and 12 is C1.2). Returns nothing for another letter or a
// negative count.
std::optional<GoesClass> GoesClassFromTenths(char letter, int tenths);

// "C1.0", "X17.2", "M1.25": the letter and the number with at least one
// decimal.
std::string FormatGoesClass(GoesClass goesClass);

}  // namespace barywalk
