// Times as the catalogs write them.
#pragma once

#include <string_view>

#include "ephemeris/julian_day.h"

namespace barywalk {

// A UTC date-time "YYYY-MM-DD HH:MM:SS" with "T" or a blank between date
// and time, optional decimals of the second and an optional "Z", blanks
// around it ignored (the CSV lists, astropy's ISO times); the date may
// also be written "YYYY/MM/DD" or, as SolarSoft writes it, "24-Oct-2014". Returns false
// for anything else or an invalid calendar instant.
bool ParseCatalogTime(std::string_view text, UtcDateTime& utc);

// Minutes from `startJd` to `endJd`, the time difference rounded to the
// millisecond: catalogs give times to the second or millisecond, so whole
// seconds give exact minutes (31 minutes, not 30.99999999).
double MinutesBetween(double startJd, double endJd);

}  // namespace barywalk
