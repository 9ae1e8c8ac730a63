#include "catalog/csv_catalog.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

#include "catalog/catalog_text.h"
#include "catalog/catalog_time.h"
#include "ephemeris/julian_day.h"

namespace barywalk {
namespace {

struct LayoutColumns {
  const char* start;
  const char* end;
  const char* latitude;
  const char* longitude;
  const char* goesClass;
  const char* region;
  const char* source;  // nullptr: the layout has none
};

const LayoutColumns& ColumnsOf(CsvLayout layout) {
  static const LayoutColumns hek{"event_starttime", "event_endtime", "hgs_y",   "hgs_x",
                                 "fl_goescls",      "ar_noaanum",    "frm_name"};
  static const LayoutColumns goes{"event_starttime", "event_endtime", "hgs_lat", "hgs_lon",
                                  "goes_class",      "noaa_ar",       nullptr};
  return layout == CsvLayout::Hek ? hek : goes;
}

std::string Trimmed(std::string_view text) { return std::string(TrimBlanks(text)); }

bool IsMissing(const std::string& text) {
  return text.empty() || text == "nan" || text == "NaN" || text == "--";
}


}  // namespace

bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(std::move(field));
  return !quoted;
}

std::vector<std::string> CsvHeaderNames(std::string_view header) {
  if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
  std::vector<std::string> names;
  SplitCsvLine(header, names);
  for (std::string& name : names) name = Trimmed(name);
  return names;
}

CsvCatalog::CsvCatalog(CsvLayout layout, std::string_view header)
    : m_layout(layout), m_names(CsvHeaderNames(header)) {
  m_columnCount = m_names.size();
  const LayoutColumns& columns = ColumnsOf(layout);
  const auto find = [this](const char* name) {
    if (name == nullptr) return -1;
    const auto it = std::find(m_names.begin(), m_names.end(), name);
    return it == m_names.end() ? -1 : static_cast<int>(it - m_names.begin());
  };
  m_start = find(columns.start);
  m_end = find(columns.end);
  m_latitude = find(columns.latitude);
  m_longitude = find(columns.longitude);
  m_class = find(columns.goesClass);
  m_region = find(columns.region);
  m_source = find(columns.source);
  std::string missing;
  const std::pair<int, const char*> needed[] = {{m_start, columns.start},
                                                {m_end, columns.end},
                                                {m_longitude, columns.longitude},
                                                {m_latitude, columns.latitude}};
  for (const auto& [index, name] : needed) {
    if (index < 0) missing += (missing.empty() ? "" : ", ") + std::string(name);
  }
  if (!missing.empty()) throw CatalogError("the header lacks the columns " + missing);
}

ParsedRow CsvCatalog::ParseRow(std::string_view line) const {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (TrimBlanks(line).empty()) return Rejected(RejectReason::Blank);
  std::vector<std::string> fields;
  if (!SplitCsvLine(line, fields)) return Rejected(RejectReason::Unreadable, "a quote is not closed");
  // A first, unnamed row index (pandas' default) precedes the named fields.
  const std::size_t offset = fields.size() == m_columnCount + 1 ? 1 : 0;
  if (fields.size() != m_columnCount + offset) {
    return Rejected(RejectReason::Unreadable, std::to_string(fields.size()) + " fields, the header names " +
                                                  std::to_string(m_columnCount));
  }
  const auto field = [&](int column) { return column < 0 ? std::string() : Trimmed(fields[column + offset]); };
  const LayoutColumns& names = ColumnsOf(m_layout);

  const std::string startText = field(m_start), endText = field(m_end);
  UtcDateTime start, end;
  if (!ParseCatalogTime(startText, start)) {
    return UnreadableField(names.start, startText);
  }
  if (!ParseCatalogTime(endText, end)) {
    return UnreadableField(names.end, endText);
  }
  CatalogFlare flare;
  flare.jd = JulianDayFromUtc(start);
  double endJd = JulianDayFromUtc(end);
  if (endJd < flare.jd) {
    const bool sameDate = start.year == end.year && start.month == end.month && start.day == end.day;
    // The GOES list stamps an end after midnight with the start's date.
    if (m_layout != CsvLayout::GoesCsv || !sameDate) {
      return Rejected(RejectReason::EndBeforeStart, startText + " to " + endText);
    }
    endJd += 1.0;
  }
  flare.durationMinutes = MinutesBetween(flare.jd, endJd);

  const std::string latText = field(m_latitude), lonText = field(m_longitude);
  if (!IsMissing(latText) || !IsMissing(lonText)) {
    double lat = 0, lon = 0;
    if (!ParseDecimal(latText, lat) || std::fabs(lat) > 90) {
      return UnreadableField(names.latitude, latText);
    }
    if (!ParseDecimal(lonText, lon) || std::fabs(lon) > 180) {
      return UnreadableField(names.longitude, lonText);
    }
    flare.hasPosition = true;
    flare.latitude = lat + 0.0;
    // West positive in the catalogs, east positive in flare files; + 0.0
    // keeps a zero from turning into -0.
    flare.longitude = -lon + 0.0;
  }

  const std::string classText = field(m_class);
  if (!IsMissing(classText)) {
    flare.goesClass = ParseGoesClass(classText);
    if (!flare.goesClass) return UnreadableField(names.goesClass, classText);
  }
  const std::string regionText = field(m_region);
  double region = 0;
  if (!IsMissing(regionText) && (!ParseDecimal(regionText, region) || region < 0 ||
                                  region > INT_MAX || region != std::floor(region))) {
    return UnreadableField(names.region, regionText);
  }
  flare.region = static_cast<int>(region);
  flare.source = field(m_source);
  ParsedRow row;
  row.flare = std::move(flare);
  return row;
}

}  // namespace barywalk
