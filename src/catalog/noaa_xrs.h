// The NOAA GOES XRS event reports: one event per line in fixed columns
// (1-based, inclusive):
//
//   1-5    record type and station ("31777"), digits
//   6-11   date YYMMDD; years 75-99 are 19xx, 00-74 are 20xx
//   14-17  start HHMM (UT); 18 a qualifier letter or blank
//   19-22  end HHMM; an end before the start, or an hour of 24 or more,
//          lies on the next day; 23 a qualifier letter or blank
//   29-34  location "N12E34" (degrees; E/W west positive), blank if unknown
//   35-37  old layout: optical importance (35: S, 1-4) and brightness (36);
//          from 2004: "SXI" when the location comes from the SXI imager
//   60     X-ray class letter; 61-63 its number in tenths (" 12" = 1.2)
//   81-85  the NOAA active region's number, blank if none
//   96-102 with "SXI": the flare's area in square arcseconds, where given;
//          0.0E+00 means not measured and reads as no area
//
// The time of maximum (24-27) and the fields after the class other than
// the region and the SXI area are not used and not checked.
#pragma once

#include <string_view>

#include "catalog/catalog_flare.h"

namespace barywalk {

// Reads one report line (its line end removed, a trailing "\r" allowed)
// into a flare with east-positive longitude, or the reason why not.
ParsedRow ParseNoaaXrsLine(std::string_view line);

// Whether `line` looks like a report line: digits in the record, date and
// start time columns. Used to recognise the format.
bool LooksLikeNoaaXrsLine(std::string_view line);

}  // namespace barywalk
