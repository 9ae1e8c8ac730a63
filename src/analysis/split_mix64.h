// The analysis' one random generator, the same on every platform: the
// Monte Carlo's replicates and the calibration suite's catalogs both draw
// from it, so a seed gives the same result everywhere.
#pragma once

#include <cstdint>

namespace barywalk {

// SplitMix64 (Steele, Lea and Flood 2014): a small generator whose output
// depends only on its 64-bit state, the same on every platform.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t state) : m_state(state) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1) with 53 random bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform in [0, n) without bias (rejection of the incomplete last block).
  std::uint64_t Below(std::uint64_t n) {
    const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % n);
    std::uint64_t x = Next();
    while (x >= limit) x = Next();
    return x % n;
  }

 private:
  std::uint64_t m_state;
};

}  // namespace barywalk
