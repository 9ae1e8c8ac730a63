// Flare lists in CSV with a header line naming the columns, in any order:
//
// hek-csv   a SunPy HEK query table written by astropy: event_starttime,
//           event_endtime (ISO times), hgs_x, hgs_y (Stonyhurst longitude,
//           west positive, and latitude, degrees); optional fl_goescls,
//           ar_noaanum, frm_name.
// goes-csv  the cycle-24 GOES flare list layout: event_starttime,
//           event_endtime ("YYYY-MM-DD HH:MM:SS"), hgs_lat, hgs_lon
//           (west positive); optional goes_class, noaa_ar. Its header has
//           no name for the first column, a row index, so rows have one
//           field more than the header; an end stamped with the start's
//           date but earlier than the start lies after midnight.
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

// Splits one CSV line into its fields, quotes removed. Returns false for
// a quote that is not closed on the line.
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

enum class CsvLayout { Hek, GoesCsv };

// The columns of one CSV catalog, found from its header line.
class CsvCatalog {
 public:
  // Throws CatalogError naming the missing columns.
  CsvCatalog(CsvLayout layout, std::string_view header);

  // One data line (line end removed) as a flare with east-positive
  // longitude, or the reason why not.
  ParsedRow ParseRow(std::string_view line) const;

  bool HasSourceColumn() const { return m_source >= 0; }

 private:
  CsvLayout m_layout;
  std::size_t m_columnCount = 0;
  int m_start = -1, m_end = -1, m_latitude = -1, m_longitude = -1;
  int m_class = -1, m_region = -1, m_source = -1;
  std::vector<std::string> m_names;
};

// The column names of a header line (trimmed), for recognising a format.
std::vector<std::string> CsvHeaderNames(std::string_view header);

}  // namespace barywalk
