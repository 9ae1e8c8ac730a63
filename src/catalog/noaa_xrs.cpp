#include "catalog/noaa_xrs.h"

#include <string>

#include "catalog/catalog_text.h"
#include "catalog/csv_catalog.h"
#include "catalog/flare_area.h"
#include "ephemeris/julian_day.h"

namespace barywalk {
namespace {

constexpr int kMinutesPerDay = 1440;

// Columns `first` to `last` (1-based, inclusive) of `line`, shorter or
// empty where the line ends early.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return line.substr(first - 1, last - first + 1);
}

bool IsBlank(std::string_view text) { return TrimBlanks(text).empty(); }

// Minutes after midnight of an HHMM field with an hour below `hourLimit`,
// or -1.
int ClockMinutes(std::string_view field, int hourLimit) {
  const int hhmm = FixedDigits(field, 4);
  if (hhmm < 0 || hhmm / 100 >= hourLimit || hhmm % 100 >= 60) return -1;
  return hhmm / 100 * 60 + hhmm % 100;
}

bool ReadDate(std::string_view field, UtcDateTime& date) {
  const int yymmdd = FixedDigits(field, 6);
  if (yymmdd < 0) return false;
  const int yy = yymmdd / 10000;
  date.year = yy >= 75 ? 1900 + yy : 2000 + yy;
  date.month = yymmdd / 100 % 100;
  date.day = yymmdd % 100;
  return IsValidUtc(date);
}

// "N12E34" in its fixed columns: latitude north positive, longitude east
// positive. The columns hold two digits each, so a blank at either end,
// which the catalogs' free-form reading would pass over, is refused.
bool ReadLocation(std::string_view field, double& latitude, double& longitude) {
  if (field.size() != 6 || TrimBlanks(field).size() != 6 ||
      (field[3] != 'E' && field[3] != 'W')) {
    return false;
  }
  return ParseLocation(field, latitude, longitude);
}

// Class letter and tenths in columns 60-63; blank means no class.
bool ReadClass(std::string_view field, std::optional<GoesClass>& goesClass) {
  if (IsBlank(field)) return true;
  if (field.size() != 4) return false;
  std::string_view number = field.substr(1);
  while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
  const int tenths = FixedDigits(number, number.size());
  if (number.empty() || tenths <= 0) return false;
  goesClass = GoesClassFromTenths(field[0], tenths);
  return goesClass.has_value();
}

// A zero ("0.0E+00") is a value the reports give for "not measured": it
// reads as 0, which flare files take as no area.
bool ReadAreaNumber(std::string_view field, double& value) {
  return ParseDecimal(field, value) && value >= 0;
}

// Columns 81-85: the active region's number, blank when none was given.
bool ReadRegion(std::string_view field, int& region) {
  const std::string_view digits = TrimBlanks(field);
  if (digits.empty()) return true;
  const int value = FixedDigits(digits, digits.size());
  if (value < 0) return false;
  region = value;
  return true;
}

}  // namespace

bool LooksLikeNoaaXrsLine(std::string_view line) {
  return FixedDigits(Columns(line, 1, 5), 5) >= 0 && FixedDigits(Columns(line, 6, 11), 6) >= 0 &&
         Columns(line, 12, 13) == "  " && FixedDigits(Columns(line, 14, 17), 4) >= 0;
}

ParsedRow ParseNoaaXrsLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (IsBlank(line)) return Rejected(RejectReason::Blank);
  if (line == "\x1a") return Rejected(RejectReason::EndOfFileMark);

  const std::string_view record = Columns(line, 1, 5);
  if (FixedDigits(record, 5) < 0) return UnreadableField("record", record);
  UtcDateTime start;
  const std::string_view dateField = Columns(line, 6, 11);
  if (!ReadDate(dateField, start)) return UnreadableField("date", dateField);
  const std::string_view startField = Columns(line, 14, 17);
  const int startMinutes = ClockMinutes(startField, 24);
  if (startMinutes < 0) return UnreadableField("start time", startField);
  const std::string_view endField = Columns(line, 19, 22);
  int endMinutes = ClockMinutes(endField, 48);
  if (endMinutes < 0) return UnreadableField("end time", endField);
  if (endMinutes < startMinutes) endMinutes += kMinutesPerDay;

  CatalogFlare flare;
  start.hour = startMinutes / 60;
  start.minute = startMinutes % 60;
  flare.jd = JulianDayFromUtc(start);
  flare.durationMinutes = endMinutes - startMinutes;

  const std::string_view classField = Columns(line, 60, 63);
  if (!ReadClass(classField, flare.goesClass)) {
    return UnreadableField("class", classField);
  }
  const std::string_view regionField = Columns(line, 81, 85);
  if (!ReadRegion(regionField, flare.region)) return UnreadableField("region", regionField);
  const std::string_view location = Columns(line, 29, 34);
  if (!IsBlank(location)) {
    if (!ReadLocation(location, flare.latitude, flare.longitude)) {
      return UnreadableField("location", location);
    }
    flare.hasPosition = true;
  }
  if (Columns(line, 35, 37) == "SXI") {
    const std::string_view areaField = Columns(line, 96, 102);
    double squareArcsec = 0.0;
    if (!IsBlank(areaField)) {
      if (!ReadAreaNumber(areaField, squareArcsec)) {
        return UnreadableField("SXI area", areaField);
      }
      if (squareArcsec > 0) flare.area = SxiAreaToMillionths(squareArcsec, flare.jd);
    }
  } else {
    const std::string_view importance = Columns(line, 35, 35);
    if (!IsBlank(importance)) {
      const std::optional<double> area = OpticalImportanceArea(importance[0]);
      if (!area) return UnreadableField("optical importance", importance);
      flare.area = *area;
    }
  }
  ParsedRow row;
  row.flare = std::move(flare);
  return row;
}

}  // namespace barywalk
