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
// "c3.15" (lower case letters taken as upper case). The number is
// positive and has at most as many decimals as reach 1e-11 W/m^2: three
// for A, four for B, five for C, ... (B12.345 and C1.2345 are one class).
// Nothing else is accepted.
std::optional<GoesClass> ParseGoesClass(std::string_view text);

// A class from a letter and a count of tenths, as the NOAA event reports
// write it ("C" and 12 is C1.2). Returns nothing for another letter or a
// negative count.
std::optional<GoesClass> GoesClassFromTenths(char letter, int tenths);

// "C1.0", "X17.2", "M1.25": the largest letter whose number is at least
// 1, and the number with at least one decimal and as many as it needs to
// be exact, so that the text reads back as the same class ("B12.345" is
// written "C1.2345", never rounded).
std::string FormatGoesClass(GoesClass goesClass);

// The class's peak flux in W/m^2: C1.2 is 1.2e-6.
double GoesClassFlux(GoesClass goesClass);

// The class of a peak flux in W/m^2 as a flare file stores it, rounded to
// 1e-11 W/m^2 (the flux unit above, far finer than any catalog's three
// digits). Nothing for 0 (unknown), a negative or non-finite value, or a
// flux beyond X100000.
std::optional<GoesClass> GoesClassFromFlux(double wattsPerSquareMetre);

}  // namespace barywalk
