#include "catalog/csv_catalog.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cmath>
#include <functional>

#include "catalog/catalog_text.h"
#include "catalog/catalog_time.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/sun_orientation.h"

namespace barywalk {
namespace {

std::string Trimmed(std::string_view text) { return std::string(TrimBlanks(text)); }

bool IsMissing(const std::string& text) {
  return text.empty() || text == "nan" || text == "NaN" || text == "--";
}

// "POINT(x y)" as x and y.
bool ParsePoint(std::string_view text, double& x, double& y) {
  text = TrimBlanks(text);
  constexpr std::string_view kOpen = "POINT(";
  if (text.substr(0, kOpen.size()) != kOpen || text.empty() || text.back() != ')') return false;
  text = text.substr(kOpen.size(), text.size() - kOpen.size() - 1);
  text = TrimBlanks(text);
  const std::size_t blank = text.find_first_of(" \t");
  return blank != std::string_view::npos && ParseDecimal(text.substr(0, blank), x) &&
         ParseDecimal(text.substr(blank + 1), y);
}

// One to three digits as a number, or -1.
int SmallNumber(std::string_view text) {
  return text.empty() || text.size() > 3 ? -1 : FixedDigits(text, text.size());
}

const std::pair<const char*, std::string CsvColumnNames::*> kColumnKeys[] = {
    {"start", &CsvColumnNames::start},       {"end", &CsvColumnNames::end},
    {"peak", &CsvColumnNames::peak},         {"class", &CsvColumnNames::goesClass},
    {"region", &CsvColumnNames::region},     {"lat", &CsvColumnNames::latitude},
    {"lon", &CsvColumnNames::longitude},     {"lon-east", &CsvColumnNames::longitude},
    {"location", &CsvColumnNames::location}, {"hpc-x", &CsvColumnNames::hpcX},
    {"hpc-y", &CsvColumnNames::hpcY},        {"hpc-point", &CsvColumnNames::hpcPoint},
};

// A number for a message: up to 6 significant digits.
std::string FormatDecimal(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

}  // namespace

CsvSplit SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
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
      if (fields.size() + 1 >= kMaxCsvFields) return CsvSplit::TooManyFields;
      fields.push_back(std::move(field));
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(std::move(field));
  return quoted ? CsvSplit::OpenQuote : CsvSplit::Ok;
}

std::vector<std::string> CsvHeaderNames(std::string_view header) {
  if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
  std::vector<std::string> names;
  if (SplitCsvLine(header, names) == CsvSplit::TooManyFields) {
    throw CatalogError("the header names more than " + std::to_string(kMaxCsvFields) + " columns");
  }
  for (std::string& name : names) name = Trimmed(name);
  return names;
}

std::optional<GoesClass> ParseListedGoesClass(std::string_view text) {
  text = TrimBlanks(text);
  // A saturated detector: the class is a lower limit, kept as its number.
  if (!text.empty() && text.back() == '+') text.remove_suffix(1);
  // "X17." : a number with its point but no decimals.
  if (text.size() > 2 && text.back() == '.') text.remove_suffix(1);
  return ParseGoesClass(text);
}

bool ParseLocation(std::string_view text, double& latitude, double& longitudeEast) {
  text = TrimBlanks(text);
  if (text.size() < 4 || (text[0] != 'N' && text[0] != 'S')) return false;
  const std::size_t ew = text.find_first_of("EW", 1);
  if (ew == std::string_view::npos) return false;
  const int lat = SmallNumber(text.substr(1, ew - 1));
  const int lon = SmallNumber(text.substr(ew + 1));
  if (lat < 0 || lat > 90 || lon < 0 || lon > 180) return false;
  latitude = text[0] == 'N' ? lat : -lat;
  // West counts positive in the catalogs, east in flare files (0 stays +0).
  longitudeEast = text[ew] == 'E' ? lon : (lon == 0 ? 0.0 : -lon);
  return true;
}

CsvColumnNames LayoutColumnNames(CsvLayout layout) {
  CsvColumnNames names;
  switch (layout) {
    case CsvLayout::Hek:
      names.start = "event_starttime", names.end = "event_endtime", names.peak = "event_peaktime";
      names.latitude = "hgs_y", names.longitude = "hgs_x";
      names.hpcX = "hpc_x", names.hpcY = "hpc_y", names.hpcPoint = "hpc_coord";
      names.goesClass = "fl_goescls", names.region = "ar_noaanum", names.source = "frm_name";
      break;
    case CsvLayout::GoesCsv:
      names.start = "event_starttime", names.end = "event_endtime";
      names.latitude = "hgs_lat", names.longitude = "hgs_lon";
      names.goesClass = "goes_class", names.region = "noaa_ar";
      break;
    case CsvLayout::Ssw:
      names.start = "GEV_START", names.end = "GEV_END", names.peak = "GEV_PEAK";
      names.goesClass = "GOES_CLASS";
      // The centre in arcsec is finer than the whole degrees of AIA_LOC.
      names.hpcX = "AIA_XCEN", names.hpcY = "AIA_YCEN", names.hpcFirst = true;
      names.location = "AIA_LOC";
      break;
    case CsvLayout::Stix:
      names.start = "start_UTC", names.end = "end_UTC", names.peak = "peak_UTC";
      names.latitude = "hgs_lat", names.longitude = "hgs_lon";
      names.goesClass = "GOES_class_time_of_flare", names.flux = "GOES_flux_time_of_flare";
      names.visible = "visible_from_earth";
      break;
    case CsvLayout::Generic:
      break;
  }
  return names;
}

CsvColumnNames ParseColumnsOption(std::string_view text) {
  CsvColumnNames names;
  std::vector<std::string> pairs;
  if (SplitCsvLine(text, pairs) != CsvSplit::Ok) throw CatalogError("--columns: cannot be read");
  for (const std::string& pair : pairs) {
    const std::size_t equals = pair.find('=');
    const std::string key = Trimmed(std::string_view(pair).substr(0, equals));
    const auto known = std::find_if(std::begin(kColumnKeys), std::end(kColumnKeys),
                                    [&](const auto& entry) { return key == entry.first; });
    if (equals == std::string::npos || known == std::end(kColumnKeys)) {
      throw CatalogError("--columns: '" + pair + "' is not KEY=COLUMN with a key of start, end, peak, "
                         "class, region, lat, lon, lon-east, location, hpc-x, hpc-y, hpc-point");
    }
    names.*(known->second) = Trimmed(std::string_view(pair).substr(equals + 1));
    if (key == "lon-east") names.longitudeEast = true;
  }
  const bool latLon = !names.latitude.empty() && !names.longitude.empty();
  const bool hpc = !names.hpcX.empty() && !names.hpcY.empty();
  if (names.start.empty() || names.end.empty() ||
      (!latLon && !hpc && names.location.empty() && names.hpcPoint.empty())) {
    throw CatalogError("--columns needs start, end and a position: lat and lon, location, "
                       "hpc-x and hpc-y, or hpc-point");
  }
  return names;
}

CsvCatalog::CsvCatalog(CsvLayout layout, CsvColumnNames names, std::string_view header)
    : m_layout(layout), m_names(std::move(names)) {
  const std::vector<std::string> columns = CsvHeaderNames(header);
  m_columnCount = columns.size();
  const auto find = [&columns](const std::string& name) {
    if (name.empty()) return -1;
    const auto it = std::find(columns.begin(), columns.end(), name);
    return it == columns.end() ? -1 : static_cast<int>(it - columns.begin());
  };
  m_start = find(m_names.start), m_end = find(m_names.end), m_peak = find(m_names.peak);
  m_latitude = find(m_names.latitude), m_longitude = find(m_names.longitude);
  m_location = find(m_names.location);
  m_hpcX = find(m_names.hpcX), m_hpcY = find(m_names.hpcY), m_hpcPoint = find(m_names.hpcPoint);
  m_class = find(m_names.goesClass), m_region = find(m_names.region), m_source = find(m_names.source);
  m_visible = find(m_names.visible), m_flux = find(m_names.flux);
  // A pair counts only whole.
  if (m_latitude < 0 || m_longitude < 0) m_latitude = m_longitude = -1;
  if (m_hpcX < 0 || m_hpcY < 0) m_hpcX = m_hpcY = -1;

  std::string missing;
  const auto need = [&missing](int index, const std::string& name) {
    if (index < 0) missing += (missing.empty() ? "" : ", ") + name;
  };
  need(m_start, m_names.start);
  need(m_end, m_names.end);
  if (m_latitude < 0 && m_location < 0 && m_hpcX < 0 && m_hpcPoint < 0) {
    std::string position;
    const auto add = [&position](const std::string& a, const std::string& b = {}) {
      if (a.empty()) return;
      position += (position.empty() ? "" : " or ") + a + (b.empty() ? "" : " and " + b);
    };
    add(m_names.latitude, m_names.longitude);
    add(m_names.location);
    add(m_names.hpcX, m_names.hpcY);
    add(m_names.hpcPoint);
    need(-1, position);
  }
  if (!missing.empty()) throw CatalogError("the header lacks the columns " + missing);
}

std::string CsvCatalog::RowFields::operator()(int column) const {
  return column < 0 ? std::string() : Trimmed(fields[column + offset]);
}

bool CsvCatalog::ReadPosition(const RowFields& field, double jd, CatalogFlare& flare,
                              ParsedRow& rejection) const {
  enum class Given { Found, Absent, Bad };
  const auto bad = [&rejection](const std::string& column, const std::string& text) {
    rejection = UnreadableField(column, text);
    return Given::Bad;
  };
  const auto onDisc = [&](double x, double y) {
    double lat = 0, lonEast = 0;
    if (!HelioprojectiveToStonyhurst(jd, x, y, lat, lonEast)) {
      rejection = Rejected(RejectReason::OffDisc, "x " + FormatDecimal(x) + " y " + FormatDecimal(y) + " arcsec");
      return Given::Bad;
    }
    flare.latitude = lat + 0.0;
    flare.longitude = lonEast + 0.0;
    return Given::Found;
  };
  const auto helioprojective = [&]() {
    const std::string xText = field(m_hpcX), yText = field(m_hpcY);
    double x = 0, y = 0;
    if (!IsMissing(xText) && !IsMissing(yText)) {
      if (!ParseDecimal(xText, x)) return bad(m_names.hpcX, xText);
      if (!ParseDecimal(yText, y)) return bad(m_names.hpcY, yText);
      return onDisc(x, y);
    }
    const std::string point = field(m_hpcPoint);
    if (IsMissing(point)) return Given::Absent;
    if (!ParsePoint(point, x, y)) return bad(m_names.hpcPoint, point);
    return onDisc(x, y);
  };
  const auto stonyhurst = [&]() {
    const std::string latText = field(m_latitude), lonText = field(m_longitude);
    if (IsMissing(latText) && IsMissing(lonText)) return Given::Absent;
    double lat = 0, lon = 0;
    if (!ParseDecimal(latText, lat) || std::fabs(lat) > 90) return bad(m_names.latitude, latText);
    if (!ParseDecimal(lonText, lon) || std::fabs(lon) > 180) return bad(m_names.longitude, lonText);
    flare.latitude = lat + 0.0;
    // West positive in the catalogs, east positive in flare files; + 0.0
    // keeps a zero from turning into -0.
    flare.longitude = (m_names.longitudeEast ? lon : -lon) + 0.0;
    return Given::Found;
  };
  const auto location = [&]() {
    const std::string text = field(m_location);
    if (IsMissing(text)) return Given::Absent;
    if (!ParseLocation(text, flare.latitude, flare.longitude)) return bad(m_names.location, text);
    return Given::Found;
  };
  const std::function<Given()> order[] = {
      m_names.hpcFirst ? std::function<Given()>(helioprojective) : stonyhurst,
      m_names.hpcFirst ? std::function<Given()>(stonyhurst) : location,
      m_names.hpcFirst ? std::function<Given()>(location) : helioprojective};
  for (const auto& source : order) {
    const Given given = source();
    if (given == Given::Bad) return false;
    if (given == Given::Found) {
      flare.hasPosition = true;
      return true;
    }
  }
  return true;  // no position given
}

ParsedRow CsvCatalog::ParseRow(std::string_view line) const {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (TrimBlanks(line).empty()) return Rejected(RejectReason::Blank);
  std::vector<std::string> fields;
  switch (SplitCsvLine(line, fields)) {
    case CsvSplit::Ok: break;
    case CsvSplit::OpenQuote: return Rejected(RejectReason::Unreadable, "a quote is not closed");
    case CsvSplit::TooManyFields:
      return Rejected(RejectReason::Unreadable, "more than " + std::to_string(kMaxCsvFields) + " fields");
  }
  // A first, unnamed row index (pandas' default) precedes the named fields.
  const std::size_t offset = fields.size() == m_columnCount + 1 ? 1 : 0;
  if (fields.size() != m_columnCount + offset) {
    return Rejected(RejectReason::Unreadable, std::to_string(fields.size()) + " fields, the header names " +
                                                  std::to_string(m_columnCount));
  }
  const RowFields field{fields, offset};

  const std::string startText = field(m_start), endText = field(m_end);
  UtcDateTime start, end;
  if (!ParseCatalogTime(startText, start)) return UnreadableField(m_names.start, startText);
  if (!ParseCatalogTime(endText, end)) return UnreadableField(m_names.end, endText);
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

  // Positions given in the sky are placed on the Sun at the peak, where
  // the lists measure them; at the start where no peak is given.
  double placeJd = flare.jd;
  const std::string peakText = field(m_peak);
  if (!IsMissing(peakText)) {
    UtcDateTime peak;
    if (!ParseCatalogTime(peakText, peak)) return UnreadableField(m_names.peak, peakText);
    placeJd = JulianDayFromUtc(peak);
  }
  ParsedRow rejection;
  if (!ReadPosition(field, placeJd, flare, rejection)) return rejection;

  const std::string classText = field(m_class);
  const bool classIsThisFlares = m_visible < 0 || field(m_visible) != "False";
  if (!IsMissing(classText) && classIsThisFlares) {
    flare.goesClass = ParseListedGoesClass(classText);
    double flux = 0;
    // STIX writes a bare "A" below B1.0 and gives the flux beside it.
    if (!flare.goesClass && classText == "A" && ParseDecimal(field(m_flux), flux)) {
      flare.goesClass = GoesClassFromFlux(flux);
    }
    if (!flare.goesClass) return UnreadableField(m_names.goesClass, classText);
  }
  const std::string regionText = field(m_region);
  double region = 0;
  if (!IsMissing(regionText) && (!ParseDecimal(regionText, region) || region < 0 ||
                                  region > INT_MAX || region != std::floor(region))) {
    return UnreadableField(m_names.region, regionText);
  }
  flare.region = static_cast<int>(region);
  flare.source = field(m_source);
  ParsedRow row;
  row.flare = std::move(flare);
  return row;
}

}  // namespace barywalk
