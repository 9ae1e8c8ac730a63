// The angle constants, written once: degrees become radians by
// value / 180 * pi with exactly this pi, as the flare files' angles
// always have.
#pragma once

namespace barywalk {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2 * kPi;

}  // namespace barywalk
