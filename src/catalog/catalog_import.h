// Importing flare catalogs into flare files: format recognition, the
// filters, the accounting of every row, merging several catalogs in time
// order and writing the flare file that the dialog loads.
//
// Every row of an input is either written or rejected with one reason;
// the reasons are checked in the order of RejectReason (a row that cannot
// be read is never tested against the filters).
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_flare.h"
#include "catalog/csv_catalog.h"
#include "flares/flare_file.h"
#include "flares/goes_class.h"

namespace barywalk {

enum class CatalogFormat { NoaaXrs, HekCsv, GoesCsv, SswCsv, StixCsv, Csv };

// "noaa-xrs", "hek-csv", "goes-csv", "ssw-csv", "stix-csv", "csv".
const char* CatalogFormatName(CatalogFormat format);
std::optional<CatalogFormat> CatalogFormatFromName(std::string_view name);
// What the format is, for messages: "a NOAA GOES XRS event report".
const char* CatalogFormatDescription(CatalogFormat format);

// The format of a catalog from its first line, without its line end: a
// NOAA report line, or a CSV header: event_starttime with hgs_x and hgs_y,
// hpc_x and hpc_y or hpc_coord (HEK) or with hgs_lat and hgs_lon (GOES
// list); GEV_START and GOES_CLASS (SolarSoft); start_UTC with hgs_lon and
// hgs_lat (STIX). The generic csv format is never guessed. Nothing when
// none fits.
std::optional<CatalogFormat> RecogniseCatalog(std::string_view firstLine);

// The same, throwing CatalogError when none fits.
CatalogFormat DetectCatalogFormat(std::string_view firstLine);

// The longest catalog line read; a longer one is rejected as unreadable
// (a header that long makes the file unreadable).
constexpr std::size_t kMaxCatalogLineLength = 1 << 20;

struct ImportFilters {
  std::optional<std::string> source;  // keep only this HEK frm_name
  std::optional<double> fromJd;       // keep starts at or after (JD, UT)
  std::optional<double> toJd;         // keep starts at or before, or before
  bool toExclusive = false;           //   when toExclusive
  std::optional<GoesClass> minClass;  // keep this class and above
  bool requirePosition = true;        // leave out flares without a position
};

// The reason why `flare` does not pass `filters`, or nothing.
std::optional<RejectReason> FilterFlare(const CatalogFlare& flare, const ImportFilters& filters);

struct ImportedFlare {
  CatalogFlare flare;
  int line = 0;  // 1-based line of the input
};

struct RejectedRow {
  int line = 0;
  RowRejection rejection;
  std::string text;  // the row as read, line end removed
};

// One input: each of its `rows` is in `flares` or in `rejects`, both in
// the input's order.
struct CatalogImport {
  std::string name;  // the file's name without its folder
  CatalogFormat format = CatalogFormat::NoaaXrs;
  int rows = 0;      // data lines (a CSV's header is not one)
  std::vector<ImportedFlare> flares;
  std::vector<RejectedRow> rejects;
  // Readable rows per frm_name, for catalogs that name one: HEK lists one
  // flare under each method that reported it.
  std::map<std::string, int> rowsPerSource;
};

// Imports a whole catalog held in `text`. The format is recognised from
// the first line unless given; the csv format needs `columns`. Lines end
// at "\n", "\r\n" or a lone "\r". A row equal to one written before it
// (start, class and position) is rejected as a duplicate. Throws
// CatalogError for an unknown format, a header without the needed
// columns, or a source filter on a catalog without frm_name.
CatalogImport ImportCatalogText(std::string_view text, std::string name,
                                std::optional<CatalogFormat> format, const ImportFilters& filters,
                                const CsvColumnNames* columns = nullptr);

// The same for a file; throws CatalogError ("cannot read PATH: reason")
// when it cannot be read.
CatalogImport ImportCatalogFile(const std::string& path, std::optional<CatalogFormat> format,
                                const ImportFilters& filters,
                                const CsvColumnNames* columns = nullptr);

// The written flares of all imports, merged by start time: each input
// keeps its own order, and of two flares at the same time the one of the
// earlier input comes first.
std::vector<const CatalogFlare*> MergeInTimeOrder(const std::vector<CatalogImport>& imports);

// The flare file's header line (no line end): the columns, the inputs'
// names and the filters applied.
std::string FlareFileHeader(const std::vector<std::string>& names, const ImportFilters& filters,
                            FlareColumns columns = FlareColumns::WithClassAndRegion);

// The merged flares as flare file lines hold them.
std::vector<FlareRecord> ToFlareRecords(const std::vector<const CatalogFlare*>& flares);

}  // namespace barywalk
