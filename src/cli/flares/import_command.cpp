// barywalk-flares import: flare catalogs to one flare file, every row
// written or accounted for.
#include <array>
#include <cctype>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog_import.h"
#include "cli_app.h"
#include "cli_args.h"
#include "cli_output.h"
#include "common/interrupts.h"
#include "flare_inputs.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

constexpr int kExampleLines = 5;  // line numbers shown per reason

const char* const kImportSummary =
    "convert flare catalogs (NOAA GOES XRS reports, HEK, GOES, SolarSoft, STIX, any CSV) to .flr";

const char* const kImportDescription =
    "Converts flare catalogs to one flare file (.flr) for Barywalk's view.\n"
    "Several catalogs are merged by start time. Every row is either written or\n"
    "counted under a reason; the summary on standard error gives each reason's\n"
    "count with up to five line numbers. CATALOG \"-\" reads standard input.\n"
    "\n"
    "Formats (recognised from the first line unless --format names one):\n"
    "  noaa-xrs   NOAA GOES XRS event reports (fixed columns, both layouts)\n"
    "  hek-csv    HEK event list as CSV (event_starttime, event_endtime, hgs_x,\n"
    "             hgs_y, or hpc_x, hpc_y or hpc_coord; optional event_peaktime,\n"
    "             fl_goescls, ar_noaanum, frm_name)\n"
    "  goes-csv   GOES flare list as CSV (event_starttime, event_endtime,\n"
    "             hgs_lat, hgs_lon; optional goes_class, noaa_ar)\n"
    "  ssw-csv    SolarSoft latest events (GEV_START, GEV_END, GEV_PEAK,\n"
    "             GOES_CLASS, AIA_XCEN and AIA_YCEN or AIA_LOC)\n"
    "  stix-csv   Solar Orbiter/STIX flare list (start_UTC, end_UTC, peak_UTC,\n"
    "             hgs_lon, hgs_lat; far-side flares keep |lon| > 90)\n"
    "  csv        any CSV list; --columns names its columns (never guessed)\n"
    "\n"
    "Each flare: start time as a Julian day (UT), latitude north positive,\n"
    "longitude from the central meridian EAST positive (the catalogs' west-\n"
    "positive values negated), duration end - start in minutes, area in\n"
    "millionths of the solar disk where the catalog gives one, else 0, then\n"
    "the peak X-ray flux in W/m^2 (the GOES class: M1.2 is 1.2e-05) and the\n"
    "NOAA active region, 0 where unknown. Helioprojective positions (arcsec\n"
    "seen from the Earth) become Stonyhurst ones at the peak time; a point off\n"
    "the disc is rejected. A row equal to one written (start, class and\n"
    "position) is counted as a duplicate. See docs/import.md.\n";

const std::string kImportFooter =
    std::string("TIME: a Julian day, a UTC date-time (2011-02-15T01:44Z), or ") + kDateAloneRule +
    "; within the years 0 to 4000, where the planetary theories hold.\n"
    "The last of options given twice counts.\n"
    "\n"
    "Exit status: 0 done, 1 an output could not be written, 2 bad arguments or\n"
    "an input that cannot be imported (unreadable, unknown format, a header\n"
    "without the needed columns).\n";

struct ImportArgs {
  std::vector<std::string> inputs;
  std::string output = "-";
  std::optional<std::string> rejectsPath;
  std::optional<CatalogFormat> format;
  ImportFilters filters;
  FlareColumns columns = FlareColumns::WithClassAndRegion;
  std::optional<CsvColumnNames> csvColumns;  // --columns, for --format csv
  std::optional<std::string> from, to;  // read once --utc is known
  bool utc = false;
};

// "2011-12-31" (optionally signed, longer years): a calendar date alone.
bool IsDateAlone(const std::string& text) {
  std::size_t pos = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  const std::size_t yearStart = pos;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
  if (pos - yearStart < 4 || text.size() != pos + 6) return false;
  return text[pos] == '-' && std::isdigit(static_cast<unsigned char>(text[pos + 1])) &&
         std::isdigit(static_cast<unsigned char>(text[pos + 2])) && text[pos + 3] == '-' &&
         std::isdigit(static_cast<unsigned char>(text[pos + 4])) &&
         std::isdigit(static_cast<unsigned char>(text[pos + 5]));
}

// What the options leave to be checked once all of them are read.
void CompleteImportArgs(ImportArgs& parsed) {
  ImportFilters& filters = parsed.filters;
  if (parsed.from) filters.fromJd = TimeArgument("--from", *parsed.from, parsed.utc);
  if (parsed.to) {
    filters.toJd = TimeArgument("--to", *parsed.to, parsed.utc);
    // A date alone keeps its whole day: up to the next midnight.
    filters.toExclusive = IsDateAlone(*parsed.to);
    if (filters.toExclusive) *filters.toJd += 1.0;
  }
  if (parsed.inputs.empty()) throw UsageError("no catalog given; see 'barywalk-flares import --help'");
  const std::string clash = OutputClash(
      parsed.inputs, {{"-o", parsed.output}, {"--rejects", parsed.rejectsPath.value_or("")}});
  if (!clash.empty()) throw UsageError(clash);
  if (parsed.filters.fromJd && parsed.filters.toJd && *parsed.filters.toJd < *parsed.filters.fromJd) {
    throw UsageError("--to lies before --from");
  }
  if (parsed.csvColumns && parsed.format != CatalogFormat::Csv) {
    throw UsageError("--columns goes with --format csv");
  }
}

CatalogImport ImportInput(const std::string& path, const ImportArgs& args) {
  try {
    const CsvColumnNames* columns = args.csvColumns ? &*args.csvColumns : nullptr;
    if (path != "-") return ImportCatalogFile(path, args.format, args.filters, columns);
    const std::string text(std::istreambuf_iterator<char>(std::cin), {});
    return ImportCatalogText(text, "standard input", args.format, args.filters, columns);
  } catch (const CatalogError& error) {
    throw UsageError(error.what());
  }
}

std::string RejectionText(const RowRejection& rejection) {
  std::string text = RejectReasonText(rejection.reason);
  if (!rejection.detail.empty()) text += ": " + rejection.detail;
  return text;
}

// HEK lists one flare under each method that found it: without --frm
// the rows of several methods are most likely the same flares again.
void WriteSourceCounts(std::ostream& err, const CatalogImport& import) {
  if (import.rowsPerSource.size() < 2) return;
  err << "  rows per frm_name:";
  const char* separator = " ";
  for (const auto& [source, count] : import.rowsPerSource) {
    err << separator << Quoted(source) << ' ' << count;
    separator = ", ";
  }
  err << "\n  several methods list the same flares; choose one with --frm NAME\n";
}

// One input's lines of the summary.
void WriteInputSummary(std::ostream& err, const CatalogImport& import, bool sourceChosen) {
  err << import.name << " (" << CatalogFormatName(import.format) << "): " << import.rows
      << " rows, " << import.flares.size() << " written, " << import.rejects.size()
      << " rejected\n";
  std::array<int, kRejectReasonCount> counts{};
  std::array<std::vector<int>, kRejectReasonCount> examples;
  for (const RejectedRow& row : import.rejects) {
    const int reason = static_cast<int>(row.rejection.reason);
    if (++counts[reason] <= kExampleLines) examples[reason].push_back(row.line);
  }
  for (int reason = 0; reason < kRejectReasonCount; ++reason) {
    if (counts[reason] == 0) continue;
    err << "  " << RejectReasonText(static_cast<RejectReason>(reason)) << ": " << counts[reason]
        << " (line" << (examples[reason].size() > 1 ? "s " : " ");
    for (std::size_t i = 0; i < examples[reason].size(); ++i) {
      err << (i ? ", " : "") << examples[reason][i];
    }
    err << (counts[reason] > kExampleLines ? ", ...)\n" : ")\n");
  }
  if (!sourceChosen) WriteSourceCounts(err, import);
}

void WriteRejects(std::ostream& out, const std::vector<CatalogImport>& imports) {
  out << "# file:line\treason\trow\n";
  for (const CatalogImport& import : imports) {
    for (const RejectedRow& row : import.rejects) {
      out << import.name << ':' << row.line << '\t' << RejectionText(row.rejection) << '\t'
          << row.text << '\n';
    }
  }
}

int RunImport(ImportArgs parsed, std::ostream& err) {
  CompleteImportArgs(parsed);
  CatchInterrupts("barywalk-flares import", false);
  // The outputs are begun before the inputs are read, so that one that
  // cannot be written fails at once; an input that cannot be imported
  // still leaves no file behind, as uncommitted outputs remove themselves.
  OutputFile output(parsed.output);
  std::optional<OutputFile> rejects;
  if (parsed.rejectsPath) rejects.emplace(*parsed.rejectsPath);
  std::vector<CatalogImport> imports;
  std::vector<std::string> names;
  for (const std::string& path : parsed.inputs) {
    imports.push_back(ImportInput(path, parsed));
    names.push_back(imports.back().name);
  }
  const std::vector<const CatalogFlare*> merged = MergeInTimeOrder(imports);
  WriteFlareFile(output.stream(), FlareFileHeader(names, parsed.filters, parsed.columns),
                 ToFlareRecords(merged), parsed.columns);
  if (rejects) WriteRejects(rejects->stream(), imports);
  output.Commit();
  if (rejects) rejects->Commit();

  std::size_t rows = 0, rejected = 0;
  for (const CatalogImport& import : imports) {
    WriteInputSummary(err, import, parsed.filters.source.has_value());
    rows += import.rows;
    rejected += import.rejects.size();
  }
  err << "wrote " << merged.size() << " flares of " << rows << " rows to "
      << (parsed.output == "-" ? "standard output" : parsed.output);
  if (rejects) err << "; " << rejected << " rejected rows to " << *parsed.rejectsPath;
  err << '\n';
  return kExitOk;
}

}  // namespace

void AddImportCommand(CommandLine& program, std::ostream& err) {
  const auto parsed = std::make_shared<ImportArgs>();
  ImportFilters& filters = parsed->filters;
  program
      .Command("import", kImportSummary, kImportDescription, kImportFooter,
               [parsed, &err] { return RunImport(*parsed, err); })
      .Option("-o,--output", "FILE",
              "write the flare file to FILE (default: standard output); it appears only when "
              "complete",
              [parsed](const std::string& path) { parsed->output = path; })
      .Option("--format", "NAME",
              "read every CATALOG as noaa-xrs, hek-csv, goes-csv, ssw-csv, stix-csv or csv",
              [parsed](const std::string& name) {
                parsed->format = CatalogFormatFromName(name);
                if (!parsed->format) {
                  throw UsageError("unknown format " + Quoted(name) +
                                   " (noaa-xrs, hek-csv, goes-csv, ssw-csv, stix-csv or csv)");
                }
              })
      .Option("--columns", "KEY=COLUMN,...",
              "the columns of a --format csv list: start, end, optional peak, class and "
              "region, and a position: lat and lon (west positive) or lon-east, location "
              "(N12E34), hpc-x and hpc-y (arcsec) or hpc-point; e.g. \"start=Start Time,"
              "end=End Time,peak=Peak Time,class=GOES Class,hpc-x=hpc_x,hpc-y=hpc_y\"",
              [parsed](const std::string& text) {
                try {
                  parsed->csvColumns = ParseColumnsOption(text);
                } catch (const CatalogError& error) {
                  throw UsageError(error.what());
                }
              })
      .Flag("--five-fields", "write only the five numbers of older flare files, without the "
            "flux and region",
            [parsed] { parsed->columns = FlareColumns::Five; })
      .Option("--frm", "NAME", "keep only rows whose frm_name is NAME (hek-csv)",
              [&filters](const std::string& name) { filters.source = name; })
      .Option("--min-class", "CLASS",
              "keep flares of GOES class CLASS and above (C1.0 keeps C1.0); rows without a "
              "class are left out",
              [&filters](const std::string& text) {
                filters.minClass = GoesClassArgument("--min-class", text);
              })
      .Option("--from", "TIME", "keep flares starting at TIME or later",
              [parsed](const std::string& text) { parsed->from = text; })
      .Option("--to", "TIME",
              "keep flares starting at TIME or earlier; a date alone keeps that whole day",
              [parsed](const std::string& text) { parsed->to = text; })
      .Flag("--utc", "a date alone is UTC midnight instead of local midnight",
            [parsed] { parsed->utc = true; })
      .Flag("--require-position", "leave out flares without a position (the default)",
            [&filters] { filters.requirePosition = true; })
      .Flag("--no-require-position", "write them too, at latitude 0 and longitude 0",
            [&filters] { filters.requirePosition = false; })
      .Option("--rejects", "FILE", "write every row left out, with its file, line and reason",
              [parsed](const std::string& path) { parsed->rejectsPath = path; })
      .Positionals("CATALOG", "catalog files, \"-\" for standard input",
                   [parsed](const std::string& path) { parsed->inputs.push_back(path); });
}

}  // namespace barywalk
