#include "catalog/catalog_import.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "catalog/noaa_xrs.h"
#include "ephemeris/julian_day.h"
#include "flares/flare_file.h"

namespace barywalk {
namespace {

constexpr const char* kFormatNames[] = {"noaa-xrs", "hek-csv", "goes-csv", "ssw-csv", "stix-csv", "csv"};
constexpr const char* kFormatDescriptions[] = {
    "a NOAA GOES XRS event report", "a HEK event list (CSV)", "a GOES flare list (CSV)",
    "a SolarSoft latest-events list (CSV)", "a STIX flare list (CSV)", "a CSV flare list"};

bool Contains(const std::vector<std::string>& names, const char* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The lines of a text in turn: "\n", "\r\n" or a lone "\r" (old Mac
// files) ends a line, and a last line needs none.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : m_text(text) {}
  bool Next(std::string_view& line) {
    if (m_pos >= m_text.size()) return false;
    std::size_t end = m_text.find_first_of("\r\n", m_pos);
    if (end == std::string_view::npos) end = m_text.size();
    line = m_text.substr(m_pos, end - m_pos);
    m_pos = end + 1;
    if (end < m_text.size() && m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
    return true;
  }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

// Control characters (a line end in a file name) would break the header
// line in two.
std::string Printable(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return out;
}


}  // namespace

const char* CatalogFormatName(CatalogFormat format) {
  return kFormatNames[static_cast<int>(format)];
}

std::optional<CatalogFormat> CatalogFormatFromName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kFormatNames); ++i) {
    if (name == kFormatNames[i]) return static_cast<CatalogFormat>(i);
  }
  return std::nullopt;
}

const char* CatalogFormatDescription(CatalogFormat format) {
  return kFormatDescriptions[static_cast<int>(format)];
}

std::optional<CatalogFormat> RecogniseCatalog(std::string_view firstLine) {
  if (LooksLikeNoaaXrsLine(firstLine)) return CatalogFormat::NoaaXrs;
  if (firstLine.size() > kMaxCatalogLineLength) return std::nullopt;
  std::vector<std::string> names;
  try {
    names = CsvHeaderNames(firstLine);
  } catch (const CatalogError&) {
    return std::nullopt;
  }
  const auto has = [&names](const char* a, const char* b = nullptr) {
    return Contains(names, a) && (b == nullptr || Contains(names, b));
  };
  if (has("event_starttime")) {
    if (has("hgs_x", "hgs_y")) return CatalogFormat::HekCsv;
    if (has("hgs_lat", "hgs_lon")) return CatalogFormat::GoesCsv;
    if (has("hpc_x", "hpc_y") || has("hpc_coord")) return CatalogFormat::HekCsv;
  }
  if (has("GEV_START", "GOES_CLASS")) return CatalogFormat::SswCsv;
  if (has("start_UTC", "hgs_lon") && has("hgs_lat")) return CatalogFormat::StixCsv;
  return std::nullopt;
}

CatalogFormat DetectCatalogFormat(std::string_view firstLine) {
  if (const std::optional<CatalogFormat> format = RecogniseCatalog(firstLine)) return *format;
  throw CatalogError(
      "unknown format: the first line is neither a NOAA event report line nor the header of a "
      "HEK, GOES, SolarSoft or STIX list (see --format; --format csv --columns reads other lists)");
}

std::optional<RejectReason> FilterFlare(const CatalogFlare& flare, const ImportFilters& filters) {
  if (filters.source && flare.source != *filters.source) return RejectReason::OtherSource;
  if (filters.fromJd && flare.jd < *filters.fromJd) return RejectReason::BeforeFrom;
  if (filters.toJd && (filters.toExclusive ? flare.jd >= *filters.toJd : flare.jd > *filters.toJd)) {
    return RejectReason::AfterTo;
  }
  if (filters.minClass) {
    if (!flare.goesClass) return RejectReason::NoClass;
    if (*flare.goesClass < *filters.minClass) return RejectReason::BelowClass;
  }
  if (filters.requirePosition && !flare.hasPosition) return RejectReason::NoPosition;
  return std::nullopt;
}

namespace {

CsvLayout LayoutOf(CatalogFormat format) {
  switch (format) {
    case CatalogFormat::HekCsv: return CsvLayout::Hek;
    case CatalogFormat::GoesCsv: return CsvLayout::GoesCsv;
    case CatalogFormat::SswCsv: return CsvLayout::Ssw;
    case CatalogFormat::StixCsv: return CsvLayout::Stix;
    default: return CsvLayout::Generic;
  }
}

// What makes two rows one flare: start, class and position.
using FlareIdentity = std::tuple<double, std::int64_t, bool, double, double>;

FlareIdentity IdentityOf(const CatalogFlare& flare) {
  return {flare.jd, flare.goesClass ? flare.goesClass->flux : -1, flare.hasPosition,
          flare.latitude, flare.longitude};
}

}  // namespace

CatalogImport ImportCatalogText(std::string_view text, std::string name,
                                std::optional<CatalogFormat> format, const ImportFilters& filters,
                                const CsvColumnNames* columns) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte order mark
  LineReader lines(text);
  std::string_view firstLine;
  const bool any = lines.Next(firstLine);
  if (!format && !any) throw CatalogError("the input is empty");
  CatalogImport result;
  result.name = std::move(name);
  if (firstLine.size() > kMaxCatalogLineLength) {
    throw CatalogError("the first line is longer than " + std::to_string(kMaxCatalogLineLength) +
                       " characters");
  }
  result.format = format ? *format : DetectCatalogFormat(firstLine);
  if (result.format == CatalogFormat::Csv && columns == nullptr) {
    throw CatalogError("the csv format needs --columns to name its columns");
  }
  if (filters.source && result.format != CatalogFormat::HekCsv) {
    throw CatalogError(std::string("--frm selects HEK sources, but this is a ") +
                       CatalogFormatName(result.format) + " catalog");
  }
  std::optional<CsvCatalog> csv;
  int lineNumber = 1;
  if (result.format != CatalogFormat::NoaaXrs) {
    const CsvLayout layout = LayoutOf(result.format);
    csv.emplace(layout, layout == CsvLayout::Generic ? *columns : LayoutColumnNames(layout), firstLine);
    if (filters.source && !csv->HasSourceColumn()) {
      throw CatalogError("the header lacks the column frm_name, which --frm selects by");
    }
    // The header is no row: go on with the next line.
    lineNumber = 2;
  } else {
    lines = LineReader(text);
  }

  std::set<FlareIdentity> written;
  for (std::string_view line; lines.Next(line); ++lineNumber) {
    ++result.rows;
    ParsedRow row;
    if (line.size() > kMaxCatalogLineLength) {
      row = Rejected(RejectReason::Unreadable, "a line of " + std::to_string(line.size()) +
                                                   " characters, more than " +
                                                   std::to_string(kMaxCatalogLineLength));
      line = line.substr(0, 80);  // enough of it for the rejects file
    } else {
      row = csv ? csv->ParseRow(line) : ParseNoaaXrsLine(line);
    }
    if (row.flare && !row.flare->source.empty()) ++result.rowsPerSource[row.flare->source];
    if (row.flare) {
      if (const std::optional<RejectReason> reason = FilterFlare(*row.flare, filters)) {
        row.rejection = {*reason, {}};
        row.flare.reset();
      } else if (!written.insert(IdentityOf(*row.flare)).second) {
        row.rejection = {RejectReason::Duplicate, {}};
        row.flare.reset();
      }
    }
    if (row.flare) {
      result.flares.push_back({std::move(*row.flare), lineNumber});
    } else {
      result.rejects.push_back({lineNumber, std::move(row.rejection), std::string(line)});
    }
  }
  return result;
}

CatalogImport ImportCatalogFile(const std::string& path, std::optional<CatalogFormat> format,
                                const ImportFilters& filters, const CsvColumnNames* columns) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw CatalogError("cannot read " + path + ": is a directory");
  errno = 0;
  std::ifstream in(path, std::ios::in | std::ios::binary);
  if (!in) throw CatalogError("cannot read " + path + ": " + (errno ? std::strerror(errno) : "cannot be opened"));
  // One read of the whole file where its size is known (a regular file),
  // else in pieces (a pipe).
  std::string content;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) content.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) content.append(buffer, in.gcount());
  if (in.bad()) throw CatalogError("cannot read " + path + ": read error");
  try {
    return ImportCatalogText(content, FlareFileDisplayName(path), format, filters, columns);
  } catch (const CatalogError& error) {
    throw CatalogError(path + ": " + error.what());
  }
}

std::vector<const CatalogFlare*> MergeInTimeOrder(const std::vector<CatalogImport>& imports) {
  std::size_t total = 0;
  for (const CatalogImport& import : imports) total += import.flares.size();
  std::vector<const CatalogFlare*> merged;
  merged.reserve(total);
  std::vector<std::size_t> next(imports.size(), 0);
  while (merged.size() < total) {
    std::size_t best = imports.size();
    for (std::size_t i = 0; i < imports.size(); ++i) {
      if (next[i] == imports[i].flares.size()) continue;
      if (best == imports.size() ||
          imports[i].flares[next[i]].flare.jd < imports[best].flares[next[best]].flare.jd) {
        best = i;
      }
    }
    merged.push_back(&imports[best].flares[next[best]++].flare);
  }
  return merged;
}

std::string FlareFileHeader(const std::vector<std::string>& names, const ImportFilters& filters,
                            FlareColumns columns) {
  std::string header = FlareColumnsHeader(columns);
  header += "; from ";
  for (std::size_t i = 0; i < names.size(); ++i) header += (i ? ", " : "") + Printable(names[i]);
  header += filters.requirePosition ? "; rows without a position left out"
                                    : "; rows without a position at lat 0 lon 0";
  if (filters.source) header += "; frm_name " + Printable(*filters.source);
  if (filters.fromJd) header += "; start >= " + IsoUtcText(*filters.fromJd);
  if (filters.toJd) {
    header += std::string("; start ") + (filters.toExclusive ? "< " : "<= ") +
              IsoUtcText(*filters.toJd);
  }
  if (filters.minClass) header += "; class >= " + FormatGoesClass(*filters.minClass);
  return header;
}

std::vector<FlareRecord> ToFlareRecords(const std::vector<const CatalogFlare*>& flares) {
  std::vector<FlareRecord> records;
  records.reserve(flares.size());
  for (const CatalogFlare* flare : flares) {
    FlareRecord record;
    record.jd = flare->jd;
    record.latitude = flare->latitude;
    record.longitude = flare->longitude;
    record.durationMinutes = flare->durationMinutes;
    record.area = flare->area;
    record.flux = flare->goesClass ? GoesClassFlux(*flare->goesClass) : 0.0;
    record.region = flare->region;
    records.push_back(record);
  }
  return records;
}

}  // namespace barywalk
