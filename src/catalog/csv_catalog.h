// Flare lists in CSV with a header line naming the columns, in any order:
//
// hek-csv     a SunPy HEK query table written by astropy: event_starttime,
//             event_endtime (ISO times) and a position: hgs_x, hgs_y
//             (Stonyhurst longitude, west positive, and latitude, degrees),
//             or where those are missing hpc_x, hpc_y or hpc_coord
//             "POINT(x y)" (helioprojective arcsec seen from the Earth);
//             optional event_peaktime, fl_goescls, ar_noaanum, frm_name.
// goes-csv    the cycle-24 GOES flare list layout: event_starttime,
//             event_endtime ("YYYY-MM-DD HH:MM:SS"), hgs_lat, hgs_lon
//             (west positive); optional goes_class, noaa_ar. Its header has
//             no name for the first column, a row index, so rows have one
//             field more than the header; an end stamped with the start's
//             date but earlier than the start lies after midnight.
// ssw-csv     the SolarSoft latest-events lists: GEV_START, GEV_END,
//             GEV_PEAK, GOES_CLASS ("M1.2", "X17.", "X18+"), AIA_XCEN,
//             AIA_YCEN (arcsec) or AIA_LOC ("S01E22").
// stix-csv    the Solar Orbiter/STIX flare list: start_UTC, end_UTC,
//             peak_UTC, hgs_lon (west positive, -180..180: the far side
//             too), hgs_lat; the GOES class only where visible_from_earth.
// csv         any list, its columns named with --columns.
//
// Fields may be quoted ("a,b", "" for a quote) within one line.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_flare.h"

namespace barywalk {

// Input that cannot be imported at all: an unknown format, a header
// without the needed columns. what() is one line for the user.
class CatalogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The most fields a CSV line may hold. HEK tables have about 130 columns;
// the limit keeps a line of commas from taking memory without end.
constexpr std::size_t kMaxCsvFields = 4096;

enum class CsvSplit { Ok, OpenQuote, TooManyFields };

// Splits one CSV line into its fields, quotes removed. Stops at
// kMaxCsvFields fields.
CsvSplit SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

enum class CsvLayout { Hek, GoesCsv, Ssw, Stix, Generic };

// Which column gives what; empty for none.
struct CsvColumnNames {
  std::string start, end, peak;     // times; the peak places hpc positions
  std::string latitude, longitude;  // Stonyhurst degrees
  bool longitudeEast = false;       // east positive (catalogs: west positive)
  std::string location;             // "N12E34"
  std::string hpcX, hpcY;           // helioprojective arcsec, Earth view
  std::string hpcPoint;             // "POINT(x y)"
  bool hpcFirst = false;            // hpc before lat/lon and location
  std::string goesClass, region, source;
  std::string visible;              // "False": the GOES class is not this flare's
  std::string flux;                 // W/m^2, for a class letter without a number
};

// The columns of a fixed layout.
CsvColumnNames LayoutColumnNames(CsvLayout layout);

// The value of --columns: "start=Start Time,end=End Time,class=GOES Class,
// hpc-x=hpc_x,hpc-y=hpc_y" with the keys start, end, peak, class, region,
// lat, lon (west positive), lon-east, location, hpc-x, hpc-y, hpc-point.
// Throws CatalogError for an unknown key or a set without start, end and
// one position.
CsvColumnNames ParseColumnsOption(std::string_view text);

// The columns of one CSV catalog, found from its header line.
class CsvCatalog {
 public:
  // Throws CatalogError naming the missing columns.
  CsvCatalog(CsvLayout layout, CsvColumnNames names, std::string_view header);
  // A fixed layout's columns.
  CsvCatalog(CsvLayout layout, std::string_view header)
      : CsvCatalog(layout, LayoutColumnNames(layout), header) {}

  // One data line (line end removed) as a flare with east-positive
  // longitude, or the reason why not.
  ParsedRow ParseRow(std::string_view line) const;

  bool HasSourceColumn() const { return m_source >= 0; }

 private:
  // A data row's fields after any leading row index: a column's field
  // trimmed, empty for a column the header lacks (-1).
  struct RowFields {
    const std::vector<std::string>& fields;
    std::size_t offset;
    std::string operator()(int column) const;
  };

  bool ReadPosition(const RowFields& field, double jd, CatalogFlare& flare,
                    ParsedRow& rejection) const;

  CsvLayout m_layout;
  CsvColumnNames m_names;
  std::size_t m_columnCount = 0;
  int m_start = -1, m_end = -1, m_peak = -1, m_latitude = -1, m_longitude = -1;
  int m_location = -1, m_hpcX = -1, m_hpcY = -1, m_hpcPoint = -1;
  int m_class = -1, m_region = -1, m_source = -1, m_visible = -1, m_flux = -1;
};

// The column names of a header line (trimmed), for recognising a format.
std::vector<std::string> CsvHeaderNames(std::string_view header);

// A GOES class as the lists write it: "M1.2", and also "X17." and the
// saturated "X18+" (read as X18, a lower limit). Nothing for other text.
std::optional<GoesClass> ParseListedGoesClass(std::string_view text);

// "N12E34", "S01W100": latitude north positive and longitude EAST
// positive, in degrees; false for anything else.
bool ParseLocation(std::string_view text, double& latitude, double& longitudeEast);

}  // namespace barywalk
