// Small text helpers shared by the catalog readers.
#pragma once

#include <string>
#include <string_view>

#include "catalog/catalog_flare.h"

namespace barywalk {

// `text` without the white space at both ends.
std::string_view TrimBlanks(std::string_view text);

// A whole field (blanks around it allowed) as a finite decimal number,
// "." the decimal point whatever the locale, an optional sign.
bool ParseDecimal(std::string_view text, double& value);

// A field of exactly `width` digits as a number, or -1 (0 for an empty
// field of width 0).
int FixedDigits(std::string_view field, std::size_t width);

// A row rejected for the field `field` holding `text`: the detail reads
// "start time '12x4'".
ParsedRow UnreadableField(std::string_view field, std::string_view text);

}  // namespace barywalk
