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
#include "flares_commands.h"

namespace barywalk {
namespace {

constexpr int kExampleLines = 5;  // line numbers shown per reason

const char* const kImportSummary =
    "convert flare catalogs (NOAA GOES XRS reports, HEK CSV, GOES CSV) to .flr";

const char* const kImportDescription =
    "Converts flare catalogs to one flare file (.flr) for Barywalk's view.\n"
    "Several catalogs are merged by start time. Every row is either written or\n"
    "counted under a reason; the summary on standard error gives each reason's\n"
    "count with up to five line numbers. CATALOG \"-\" reads standard input.\n"
    "\n"
    "Formats (recognised from the first line unless --format names one):\n"
    "  noaa-xrs   NOAA GOES XRS event reports (fixed columns, both layouts)\n"
    "  hek-csv    HEK event list as CSV (event_starttime, event_endtime, hgs_x,\n"
    "             hgs_y; optional fl_goescls, ar_noaanum, frm_name)\n"
    "  goes-csv   GOES flare list as CSV (event_starttime, event_endtime,\n"
    "             hgs_lat, hgs_lon; optional goes_class, noaa_ar)\n"
    "\n"
    "Each flare: start time as a Julian day (UT), latitude north positive,\n"
    "longitude from the central meridian EAST positive (the catalogs' west-\n"
    "positive values negated), duration end - start in minutes, area in\n"
    "millionths of the solar disk where the catalog gives one, else 0.\n";

const char* const kImportFooter =
    "TIME: a date (00:00 UTC), an ISO date-time in UTC (2011-02-15T01:44Z) or a\n"
    "Julian day. The last of options given twice counts.\n"
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

double TimeArgument(const std::string& option, const std::string& text) {
  double jd = 0;
  std::string error;
  if (!ParseTime(text, jd, error)) throw UsageError(option + ": " + error);
  return jd;
}

// What the options leave to be checked once all of them are read.
void CheckImportArgs(const ImportArgs& parsed) {
  if (parsed.inputs.empty()) throw UsageError("no catalog given; see 'barywalk-flares import --help'");
  if (parsed.rejectsPath && *parsed.rejectsPath == parsed.output) {
    throw UsageError("-o and --rejects name the same file " + Quoted(parsed.output));
  }
  if (parsed.filters.fromJd && parsed.filters.toJd && *parsed.filters.toJd < *parsed.filters.fromJd) {
    throw UsageError("--to lies before --from");
  }
}

CatalogImport ImportInput(const std::string& path, const ImportArgs& args) {
  try {
    if (path != "-") return ImportCatalogFile(path, args.format, args.filters);
    const std::string text(std::istreambuf_iterator<char>(std::cin), {});
    return ImportCatalogText(text, "standard input", args.format, args.filters);
  } catch (const CatalogError& error) {
    throw UsageError(error.what());
  }
}

std::string RejectionText(const RowRejection& rejection) {
  std::string text = RejectReasonText(rejection.reason);
  if (!rejection.detail.empty()) text += ": " + rejection.detail;
  return text;
}

// One input's lines of the summary.
void WriteInputSummary(std::ostream& err, const CatalogImport& import) {
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

int RunImport(const ImportArgs& parsed, std::ostream& err) {
  CheckImportArgs(parsed);
  // Every input is read before any output is begun: an input that cannot
  // be imported leaves no file behind.
  std::vector<CatalogImport> imports;
  std::vector<std::string> names;
  for (const std::string& path : parsed.inputs) {
    imports.push_back(ImportInput(path, parsed));
    names.push_back(imports.back().name);
  }
  const std::vector<const CatalogFlare*> merged = MergeInTimeOrder(imports);

  OutputFile output(parsed.output);
  std::optional<OutputFile> rejects;
  if (parsed.rejectsPath) rejects.emplace(*parsed.rejectsPath);
  WriteFlareFile(output.stream(), FlareFileHeader(names, parsed.filters, parsed.columns),
                 ToFlareRecords(merged), parsed.columns);
  if (rejects) WriteRejects(rejects->stream(), imports);
  output.Commit();
  if (rejects) rejects->Commit();

  std::size_t rows = 0, rejected = 0;
  for (const CatalogImport& import : imports) {
    WriteInputSummary(err, import);
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
      .Option("--format", "NAME", "read every CATALOG as noaa-xrs, hek-csv or goes-csv",
              [parsed](const std::string& name) {
                parsed->format = CatalogFormatFromName(name);
                if (!parsed->format) {
                  throw UsageError("unknown format " + Quoted(name) +
                                   " (noaa-xrs, hek-csv or goes-csv)");
                }
              })
      .Option("--frm", "NAME", "keep only rows whose frm_name is NAME (hek-csv)",
              [&filters](const std::string& name) { filters.source = name; })
      .Option("--min-class", "CLASS",
              "keep flares of GOES class CLASS and above (C1.0 keeps C1.0); rows without a "
              "class are left out",
              [&filters](const std::string& text) {
                filters.minClass = ParseGoesClass(text);
                if (!filters.minClass) {
                  throw UsageError("--min-class: " + Quoted(text) + " is not a GOES class such as C1.0");
                }
              })
      .Option("--from", "TIME", "keep flares starting at TIME or later",
              [&filters](const std::string& text) { filters.fromJd = TimeArgument("--from", text); })
      .Option("--to", "TIME",
              "keep flares starting at TIME or earlier; a date alone keeps that whole day",
              [&filters](const std::string& text) {
                filters.toJd = TimeArgument("--to", text);
                // A date alone keeps its whole day: up to the next midnight.
                filters.toExclusive = IsDateAlone(text);
                if (filters.toExclusive) *filters.toJd += 1.0;
              })
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
