// Numbers read from text by one rule everywhere: the whole text is one
// decimal number with at most one sign ("+5", "-5"; "+-5" is refused), a
// "." as the decimal point whatever the locale, and a finite value.
#pragma once

#include <string_view>

namespace barywalk {

// Fraction and exponent allowed ("2.5e6").
bool ParseStrictNumber(std::string_view text, double& value);
// Digits only after the sign.
bool ParseStrictWholeNumber(std::string_view text, long long& value);

}  // namespace barywalk
