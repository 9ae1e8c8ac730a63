// Reading option values: numbers within a range, each problem thrown as
// UsageError with one line naming the option.
#pragma once

#include <string>

namespace barywalk {

// A number option's value within [min, max]; otherwise a UsageError naming
// the option, the text and the range.
double NumberInRange(const std::string& option, const std::string& text, double min, double max);
// A whole-number option's value within [min, max].
long long WholeNumberInRange(const std::string& option, const std::string& text, long long min,
                             long long max);

}  // namespace barywalk
