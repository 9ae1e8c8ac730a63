// barywalk-flares significance: are these flares nearer to the planets'
// directions than chance allows?
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/significance.h"
#include "analysis/significance_plot.h"
#include "analysis/theory_range.h"
#include "cli_app.h"
#include "cli_args.h"
#include "cli_options.h"
#include "cli_output.h"
#include "common/interrupts.h"
#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "flare_inputs.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

constexpr long long kMaxReplicates = 100000;
constexpr long long kMaxThreads = 64;

const char* const kSignificanceSummary =
    "are flares nearer to planets' directions than chance allows?";

const char* const kSignificanceDescription =
    "Tests whether the flares' directions lie nearer to the planets' directions\n"
    "than chance allows. A flare's direction is the Earth's heliocentric longitude\n"
    "at its time minus its longitude from the central meridian (as in the\n"
    "statistics file); its angle to a planet is the angle to the planet's\n"
    "heliocentric longitude at the same time. Chance is simulated by Monte Carlo.\n";

const char* const kSignificanceFooter =
    "Flare times must lie within the years 0 to 4000 (with the shift null, 500\n"
    "years inside them), where the planetary theories hold. The last of options\n"
    "given twice counts.\n"
    "\n"
    "Exit status: 0 done, 1 an output could not be written, 2 bad arguments.\n";

struct SignificanceRequest {
  std::vector<std::string> files;
  SignificanceOptions options;
  std::string output = "-";
  std::string csv, summaryCsv, plot;
  std::string within = "5";
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::vector<Planet> ParsePlanetSet(const std::string& text) {
  const std::array<bool, kPlanetCount> chosen = PlanetList("--planets", text);
  std::vector<Planet> planets;
  for (int i = 0; i < kPlanetCount; ++i) {
    if (chosen[i]) planets.push_back(kAllPlanets[i]);
  }
  if (planets.empty()) throw UsageError("--planets: no planet given");
  return planets;
}

int DefaultThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxThreads));
}

void CheckPlotName(const std::string& plot) {
  const std::string device = PlotDeviceFor(plot);
  if (device.empty()) {
    throw UsageError("--plot: " + Quoted(plot) + " does not end in .svg, .png or .pdf");
  }
  struct stat info {};
  if (stat(plot.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    throw UsageError("--plot: " + Quoted(plot) + " is not a plain file");
  }
  if (!PlotDeviceAvailable(device)) {
    throw UsageError("--plot: PLplot's " + device +
                     " device is not installed (Debian package plplot-driver-cairo)");
  }
}

// What the options leave to be settled once all of them are read.
void CompleteRequest(SignificanceRequest& request) {
  SignificanceOptions& options = request.options;
  const double largest = options.axial ? 90 : 180;
  options.withinRad = NumberInRange("--within", request.within, 0, largest) * kRadiansPerDegree;
  if (!(options.withinRad > 0)) throw UsageError("--within: the angle must be greater than 0");
  if (request.files.empty()) throw UsageError("no flare file given (see --help)");
  if (request.plot.empty()) options.histogramBins = 0;  // only the figure needs them
  const std::string clash =
      OutputClash(request.files, {{"-o", request.output},
                                  {"--csv", request.csv},
                                  {"--summary-csv", request.summaryCsv},
                                  {"--plot", request.plot}});
  if (!clash.empty()) throw UsageError(clash);
}

std::string UtcText(double jd) {
  const UtcDateTime utc = UtcFromJulianDay(jd);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.year, utc.month, utc.day,
                utc.hour, utc.minute, static_cast<int>(std::floor(utc.second)));
  return text;
}

// Every flare and the times the null evaluates for it must lie where the
// theories hold.
void CheckTimes(const LoadedCatalogs& catalogs, const SignificanceOptions& options) {
  if (catalogs.flares.empty()) throw UsageError("no flares in the files given");
  const double margin =
      options.null == NullModel::ShiftPlanets ? options.maxShiftYears * kDaysPerJulianYear : 0;
  for (const auto& [jd, flare] : catalogs.flares) {
    if (WithinTheoryRange(jd - margin) && WithinTheoryRange(jd + margin)) continue;
    std::ostringstream message;
    message.precision(12);
    message << catalogs.Where(flare.Index()) << ": time " << jd << " (" << UtcText(jd) << ") "
            << (margin > 0 ? "shifted by up to 500 years lies" : "lies")
            << " outside the years 0 to 4000 that the planetary theories cover";
    throw UsageError(message.str());
  }
}

std::string PlanetList(const std::vector<Planet>& planets) {
  std::string list;
  for (Planet planet : planets) list += (list.empty() ? "" : ", ") + std::string(PlanetName(planet));
  return list;
}

bool HasEarth(const std::vector<Planet>& planets) {
  return std::find(planets.begin(), planets.end(), Planet::Earth) != planets.end();
}

std::string NullDescription(const SignificanceOptions& options) {
  if (options.null == NullModel::ShiftPlanets) {
    return "per replicate, every planet moved by one common random time shift\n"
           "  of 1 to 500 years either way; the flares keep their times and directions";
  }
  return "per replicate, the flare times shuffled within each calendar year;\n"
         "  each flare keeps its place on the disc";
}

std::string Number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Ratio(const NullSummary& s) {
  return s.nullMean > 0 ? Number(s.observed / s.nullMean, 3) : "-";
}

std::string PValue(double p) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", p);
  return text;
}

void WriteTableRow(std::ostream& out, const std::string& name, const NullSummary& s, bool family) {
  char line[256];
  std::snprintf(line, sizeof line, "%-12s %8.0f %10.1f %9.1f - %-9.1f %7s %9s", name.c_str(),
                s.observed, s.nullMean, s.null05, s.null95, Ratio(s).c_str(),
                PValue(s.pValue).c_str());
  out << line;
  if (family) {
    std::snprintf(line, sizeof line, " %13s", PValue(s.familyWiseP).c_str());
    out << line;
  }
  out << '\n';
}

void WriteTable(std::ostream& out, const SignificanceRequest& request, const LoadedCatalogs& catalogs,
                const SignificanceResult& result) {
  const SignificanceOptions& o = request.options;
  const double withinDeg = o.withinRad * kDegreesPerRadian;
  out << "Flares: " << result.flares.size() << " from";
  for (const std::string& path : catalogs.paths) out << ' ' << path;
  out << ", " << UtcText(result.flares.front().jd).substr(0, 10) << " to "
      << UtcText(result.flares.back().jd).substr(0, 10) << "\n";
  out << "Question: do the flares' directions lie within " << Number(withinDeg, 2) << " deg of a "
      << (o.axial ? "planet's direction or its opposite" : "planet's direction")
      << "\n  more often than chance allows?\n";
  out << "Planets: " << PlanetList(o.planets) << "\n";
  if (HasEarth(o.planets)) {
    out << "Note: the Earth is included. A flare's angle to the Earth is its distance from the\n"
           "  central meridian, fixed by where we observe from: its row measures the observing\n"
           "  geometry, not the Earth.\n";
  } else {
    out << "The Earth is left out: a flare's angle to the Earth is its distance from the central\n"
           "  meridian, fixed by where we observe from, so it would measure the observing\n"
           "  geometry only (--planets all includes it).\n";
  }
  out << "Null hypothesis: the flares' directions are unrelated to the planets' positions.\n"
      << "  Simulated: " << NullDescription(o) << ".\n";
  out << "Monte Carlo: " << o.replicates << " replicates, seed " << o.seed
      << ";\n  p = (1 + k) / (N + 1), k = replicates at least as large as observed.\n\n";
  char header[256];
  std::snprintf(header, sizeof header, "%-12s %8s %10s    %-18s %7s %9s %13s\n", "planet",
                "observed", "null mean", "null 5 - 95 %", "ratio", "p-value", "family-wise p");
  out << header;
  for (std::size_t s = 0; s < o.planets.size(); ++s) {
    WriteTableRow(out, PlanetName(o.planets[s]), result.perPlanet[s], true);
  }
  WriteTableRow(out, "any planet", result.anyPlanet, false);
  out << "\nFamily-wise p-value over the " << o.planets.size()
      << " planets (max-statistic method): " << PValue(result.familyWiseP) << "\n";
  out << "Kuiper V of the nearest-planet angles against the null: observed "
      << Number(result.kuiper.observed, 4) << ", null mean " << Number(result.kuiper.nullMean, 4)
      << ", 5 - 95 % " << Number(result.kuiper.null05, 4) << " - "
      << Number(result.kuiper.null95, 4) << ", p = " << PValue(result.kuiper.pValue) << "\n";
}

void WriteSummaryCsv(std::ostream& out, const SignificanceRequest& request,
                     const SignificanceResult& result) {
  const SignificanceOptions& o = request.options;
  out << "statistic,planet,observed,null_mean,null_p05,null_p95,ratio,p_value,p_familywise,"
         "replicates,seed,null\n";
  const std::string tail = "," + std::to_string(o.replicates) + "," + std::to_string(o.seed) + "," +
                           (o.null == NullModel::ShiftPlanets ? "shift" : "permute") + "\n";
  auto row = [&](const std::string& statistic, const std::string& planet, const NullSummary& s,
                 bool family) {
    out.precision(10);
    out << statistic << ',' << planet << ',' << s.observed << ',' << s.nullMean << ','
        << s.null05 << ',' << s.null95 << ',' << (s.nullMean > 0 ? Ratio(s) : "") << ','
        << s.pValue << ',';
    if (family) out << s.familyWiseP;
    out << tail;
  };
  for (std::size_t s = 0; s < o.planets.size(); ++s) {
    row("count_within", PlanetName(o.planets[s]), result.perPlanet[s], true);
  }
  row("count_within", "any", result.anyPlanet, false);
  out << "familywise,all,,,,,," << result.familyWiseP << "," << result.familyWiseP << tail;
  row("kuiper_v", "nearest", result.kuiper, false);
}

double Degrees0To360(double rad) {
  double deg = std::fmod(rad * kDegreesPerRadian, 360.0);
  if (deg < 0) deg += 360.0;
  return deg;
}

void WriteFlareCsv(std::ostream& out, const SignificanceOptions& o, const SignificanceResult& result) {
  out << "index,jd,utc,latitude_deg,longitude_deg,direction_deg";
  for (Planet planet : o.planets) out << ',' << Lower(PlanetName(planet)) << "_deg";
  out << ",nearest_planet,nearest_deg\n";
  out.precision(15);
  for (const FlareAngles& f : result.flares) {
    out << f.index << ',' << f.jd << ',' << UtcText(f.jd) << ',' << f.latitudeDeg << ','
        << f.longitudeDeg << ',' << Degrees0To360(f.directionRad);
    for (double angle : f.planetRad) out << ',' << angle * kDegreesPerRadian;
    out << ',' << PlanetName(o.planets[f.nearest]) << ',' << f.nearestRad * kDegreesPerRadian << '\n';
  }
}

void WritePlot(const SignificanceRequest& request, const SignificanceResult& result) {
  const SignificanceOptions& o = request.options;
  const std::string target = RenameTarget(request.plot);
  const std::string temp = ReserveTemporaryBeside(target);
  const std::string note = std::string(o.null == NullModel::ShiftPlanets ? "shift" : "permute") +
                           " null, N = " + std::to_string(o.replicates) + ", seed " +
                           std::to_string(o.seed);
  WriteSignificancePlot(result, o.withinRad, note, PlotDeviceFor(request.plot), temp);
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    throw std::runtime_error("cannot write " + request.plot);
  }
}

int RunSignificance(SignificanceRequest request, std::ostream& err) {
  CompleteRequest(request);
  CatchInterrupts("barywalk-flares significance", false);
  const LoadedCatalogs catalogs = LoadCatalogs(request.files, "significance", err);
  CheckTimes(catalogs, request.options);

  // Every output is opened before the long work, so that a bad path fails at once.
  OutputFile table(request.output);
  std::unique_ptr<OutputFile> csv, summary;
  if (!request.csv.empty()) csv = std::make_unique<OutputFile>(request.csv);
  if (!request.summaryCsv.empty()) summary = std::make_unique<OutputFile>(request.summaryCsv);

  SignificanceResult result;
  {
    ProgressBar progress("significance", request.options.replicates);
    result = TestSignificance(catalogs.flares, request.options,
                              [&progress](int done) { progress.Update(done); });
    progress.Finish();
  }
  WriteTable(table.stream(), request, catalogs, result);
  if (csv) WriteFlareCsv(csv->stream(), request.options, result);
  if (summary) WriteSummaryCsv(summary->stream(), request, result);
  if (!request.plot.empty()) WritePlot(request, result);
  if (csv) csv->Commit();
  if (summary) summary->Commit();
  table.Commit();
  return kExitOk;
}

}  // namespace

void AddSignificanceCommand(CommandLine& program, std::ostream& err) {
  const auto request = std::make_shared<SignificanceRequest>();
  SignificanceOptions& options = request->options;
  options.planets = DefaultPlanetSet();
  options.threads = DefaultThreads();
  program
      .Command("significance", kSignificanceSummary, kSignificanceDescription, kSignificanceFooter,
               [request, &err] { return RunSignificance(*request, err); })
      .Option("--planets", "LIST",
              "planets tested: names separated by commas, or all (default: all but the Earth)",
              [&options](const std::string& text) { options.planets = ParsePlanetSet(text); })
      .Option("--within", "DEG", "a flare counts for a planet within DEG degrees (5)",
              [request](const std::string& text) { request->within = text; })
      .Flag("--axial", "a planet and its opposite direction count alike",
            [&options] { options.axial = true; })
      .Option("--null", "NAME",
              "shift (default): per replicate, every planet is moved by one common random time "
              "shift of 1 to 500 years either way; the flares keep their times and directions. "
              "permute: per replicate, flare times are shuffled within each calendar year; each "
              "flare keeps its place on the disc",
              [&options](const std::string& null) {
                if (null == "shift") {
                  options.null = NullModel::ShiftPlanets;
                } else if (null == "permute") {
                  options.null = NullModel::PermuteWithinYear;
                } else {
                  throw UsageError("--null: " + Quoted(null) + " is not 'shift' or 'permute'");
                }
              })
      .Option("--replicates", "N", "Monte Carlo replicates (10000), 1 to 100000",
              [&options](const std::string& text) {
                options.replicates =
                    static_cast<int>(WholeNumberInRange("--replicates", text, 1, kMaxReplicates));
              })
      .Option("--seed", "S",
              "seed of the replicates (1); the same seed gives the same output on any number of "
              "threads",
              [&options](const std::string& text) {
                options.seed = static_cast<std::uint64_t>(
                    WholeNumberInRange("--seed", text, 0, 9223372036854775807LL));
              })
      .Option("--threads", "N", "threads to use (default: all cores)",
              [&options](const std::string& text) {
                options.threads =
                    static_cast<int>(WholeNumberInRange("--threads", text, 1, kMaxThreads));
              })
      .Option("-o,--output", "FILE", "the table (default standard output)",
              [request](const std::string& path) { request->output = path; })
      .Option("--csv", "FILE", "one row per flare: its angles to every planet tested",
              [request](const std::string& path) { request->csv = path; })
      .Option("--summary-csv", "FILE", "the table as CSV",
              [request](const std::string& path) { request->summaryCsv = path; })
      .Option("--plot", "FILE",
              "the figure (.svg, .png or .pdf): histograms of the angles against the null's "
              "mean and 5-95 % band",
              [request](const std::string& path) {
                CheckPlotName(path);
                request->plot = path;
              })
      .Positionals("FILE.flr", "flare files, read in order",
                   [request](const std::string& path) { request->files.push_back(path); });
}

}  // namespace barywalk
