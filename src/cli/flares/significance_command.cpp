// barywalk-flares significance: are these flares nearer to the planets'
// directions than chance allows?
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
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
#include "common/version.h"
#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "flare_inputs.h"
#include "flares/goes_class.h"
#include "flares_commands.h"

namespace barywalk {
namespace {

constexpr long long kMaxReplicates = 100000;
constexpr long long kMaxThreads = 64;
constexpr int kMinRegionUnits = 20;

const char* const kSignificanceSummary =
    "are flares nearer to, or farther from, the planets' directions than chance allows?";

const char* const kSignificanceDescription =
    "Tests whether the flares lie nearer to the planets' directions, or farther\n"
    "from them, than chance allows. Chance is simulated by Monte Carlo: the planets\n"
    "are moved in time while every flare keeps its time and place.\n";

const char* const kSignificanceFooter =
    "Flare times must lie within the years 0 to 4000, 500 years inside them, where\n"
    "the planetary theories hold. The last of options given twice counts.\n"
    "\n"
    "Exit status: 0 done, 1 an output could not be written, 2 bad arguments.\n";

struct SignificanceRequest {
  std::vector<std::string> files;
  SignificanceOptions options;
  std::string output = "-";
  std::string csv, summaryCsv, plot;
  std::string within = "5";
  std::optional<GoesClass> minClass;
};

std::vector<Planet> ParsePlanetSet(const std::string& text) {
  const std::array<bool, kPlanetCount> chosen = PlanetList("--planets", text);
  std::vector<Planet> planets;
  for (int i = 0; i < kPlanetCount; ++i) {
    if (chosen[i]) planets.push_back(kAllPlanets[i]);
  }
  if (planets.empty()) throw UsageError("--planets: no planet given");
  return planets;
}

NullModel ParseNull(const std::string& text) {
  for (NullModel null : {NullModel::ShiftPlanets, NullModel::ShiftRegions}) {
    if (text == NullName(null)) return null;
  }
  throw UsageError("--null: " + Quoted(text) + " is not 'shift' or 'region'");
}

Geometry ParseGeometry(const std::string& text) {
  for (Geometry geometry : {Geometry::Longitude, Geometry::Sphere, Geometry::Plane}) {
    if (text == GeometryName(geometry)) return geometry;
  }
  throw UsageError("--geometry: " + Quoted(text) + " is not 'longitude', 'sphere' or 'plane'");
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

// Every flare and the times the null evaluates for it must lie where the
// theories hold.
void CheckTimes(const LoadedCatalogs& catalogs, const SignificanceOptions& options) {
  if (catalogs.flares.empty()) throw UsageError("no flares in the files given");
  const double margin = options.maxShiftYears * kDaysPerJulianYear;
  for (const auto& [jd, flare] : catalogs.flares) {
    if (WithinTheoryRange(jd - margin) && WithinTheoryRange(jd + margin)) continue;
    std::ostringstream message;
    message.precision(12);
    message << catalogs.Where(flare.Index()) << ": time " << jd << " (" << IsoUtcText(jd) << ") "
            << "shifted by up to 500 years lies"
            << " outside the years 0 to 4000 that the planetary theories cover";
    throw UsageError(message.str());
  }
}

// The region null needs many independent units; with a handful it is
// the common shift again, without saying so.
void CheckRegionUnits(const LoadedCatalogs& catalogs, const SignificanceOptions& options) {
  if (options.null != NullModel::ShiftRegions) return;
  if (options.geometry == Geometry::Sphere) {
    // A 3-D count depends on the planets' latitudes, which every region
    // shares at the catalog's epoch; independent shifts would draw them
    // anew for each region and understate the null's spread.
    throw UsageError("--null region cannot be used with --geometry sphere: all regions share the "
                     "planets' latitudes at one epoch (use --null shift)");
  }
  const int units = CountRegionUnits(catalogs.flares, options.regions);
  if (units >= kMinRegionUnits) return;
  throw UsageError("--null region: the flares form only " + std::to_string(units) +
                   " independent units (active regions by field 7, flares without a number "
                   "grouped by time and place on the Sun); at least " +
                   std::to_string(kMinRegionUnits) + " are needed (use --null shift)");
}

std::string PlanetList(const std::vector<Planet>& planets) {
  std::string list;
  for (Planet planet : planets) list += (list.empty() ? "" : ", ") + std::string(PlanetName(planet));
  return list;
}

bool HasEarth(const std::vector<Planet>& planets) {
  return std::find(planets.begin(), planets.end(), Planet::Earth) != planets.end();
}

std::string NullDescription(const SignificanceOptions& options, const SignificanceResult& result) {
  if (options.null == NullModel::ShiftPlanets) {
    return "(--null shift): per replicate, every planet moved by one common random time shift\n"
           "  of 1 to 500 years either way; the flares keep their times and places";
  }
  return "(--null region): per replicate, each of " + std::to_string(result.units) +
         " independent units gets its own random time shift\n"
         "  of 1 to 500 years either way for every planet. A unit is an active region\n"
         "  (field 7; flares without a number grouped by time and place on the Sun)" +
         std::string(options.regions.mergeNests ? ",\n  and regions close in time and place "
                                                  "(activity complexes) form one unit"
                                                : "; activity complexes are NOT merged");
}

std::string GeometryDescription(Geometry geometry) {
  switch (geometry) {
    case Geometry::Plane:
      return "plane: the view's angle, the Earth's longitude minus the flare's longitude\n"
             "  from the central meridian, against the planets' longitudes (as the statistics\n"
             "  file); it treats every flare as if on the solar equator in the ecliptic";
    case Geometry::Longitude:
      return "longitude: the flare site's true heliocentric ecliptic longitude against\n"
             "  the planets' longitudes, ecliptic of date";
    case Geometry::Sphere:
      return "sphere: the 3-D angle between the site's direction from the Sun's centre\n"
             "  and the planet's heliocentric direction (with its latitude), of date";
  }
  return "";
}

std::string Number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Ratio(const NullSummary& s) {
  return s.nullMean > 0 ? Number(s.observed / s.nullMean, 3) : "-";
}

// A p-value as far as the replicates and the resolution floor support it:
// two significant digits, no more decimals than 1 / (N + 1) resolves, and
// a value at or below the floor as "<=floor" (the floor rounded up).
class PFormat {
 public:
  PFormat(int replicates, double floor)
      : m_maxDecimals(std::max(1, static_cast<int>(std::ceil(std::log10(replicates + 1.0))))),
        m_floor(floor) {}

  double Shown(double p) const { return std::max(p, m_floor); }
  bool AtFloor(double p) const { return p <= m_floor; }

  std::string Text(double p) const {
    if (AtFloor(p)) return "<=" + Rounded(m_floor, true);
    return Rounded(p, false);
  }
  // The number printed, for CSV: the floor when at or below it.
  std::string Value(double p) const { return Rounded(Shown(p), AtFloor(p)); }

 private:
  std::string Rounded(double p, bool up) const {
    const int decimals = std::min(m_maxDecimals, std::max(1, static_cast<int>(std::ceil(-std::log10(p))) + 1));
    const double scale = std::pow(10.0, decimals);
    const double value = up ? std::ceil(p * scale - 1e-9) / scale : std::round(p * scale) / scale;
    return value >= 1 ? "1.0" : Number(value, decimals);
  }

  int m_maxDecimals;
  double m_floor;
};

void WriteTableRow(std::ostream& out, const std::string& name, const NullSummary& s,
                   const PFormat& format, const std::string& last) {
  char line[256];
  std::snprintf(line, sizeof line, "%-16s %8.0f %10.1f %9.1f - %-9.1f %7s %9s %9s %13s\n",
                name.c_str(), s.observed, s.nullMean, s.null05, s.null95, Ratio(s).c_str(),
                format.Text(s.upperP).c_str(), format.Text(s.lowerP).c_str(), last.c_str());
  out << line;
}

// What the calibration suite (make calibrate: 70 null catalogs of each
// kind, 999 replicates, shifts of 1-500 years) measured: the shift null
// keeps every size; the region null's deficits and totals run above their
// size on time-shifted real catalogs, whose bursts are real.
const char* const kDeficitCalibrationNote =
    "Calibration: under the shift null every p-value kept its size on null catalogs.\n"
    "  Under the region null the deficits and the total of counts did not on time-shifted\n"
    "  real catalogs: at 0.05 a planet's deficit p was reached 7.0 % of the time, the set's\n"
    "  deficit p 11.4 % and the total's deficit p 12.9 %. Read those as pointers, not as\n"
    "  tests (see the calibration page).\n";

void WriteTable(std::ostream& out, const SignificanceRequest& request, const LoadedCatalogs& catalogs,
                const std::string& classLine, const SignificanceResult& result) {
  const SignificanceOptions& o = request.options;
  const double withinDeg = o.withinRad * kDegreesPerRadian;
  const PFormat format(o.replicates, result.resolutionFloor);
  out << "Barywalk " << kBarywalkVersion << ", barywalk-flares significance\n";
  out << "Flares: " << result.flares.size() << " from";
  for (const std::string& path : catalogs.paths) out << ' ' << path;
  out << ", " << IsoUtcText(result.flares.front().jd).substr(0, 10) << " to "
      << IsoUtcText(result.flares.back().jd).substr(0, 10) << "\n";
  if (!classLine.empty()) {
    out << "Class: " << classLine << " (--min-class, by field 6 of the flare file)\n";
  }
  out << "Question: do the flares lie within " << Number(withinDeg, 2) << " deg (--within) of a "
      << (o.axial ? "planet's direction or its opposite (--axial)" : "planet's direction")
      << "\n  more often, or less often, than chance allows?\n";
  out << "Geometry: " << GeometryDescription(o.geometry) << ".\n";
  out << "Planets: " << PlanetList(o.planets) << "\n";
  if (HasEarth(o.planets)) {
    out << "Note: the Earth is included. A flare's angle to the Earth is its distance from the\n"
           "  central meridian, fixed by where we observe from: its row measures the observing\n"
           "  geometry, not the Earth.\n";
  } else {
    out << "The Earth is left out: a flare's angle to the Earth is its distance from the central\n"
           "  meridian, fixed by where we observe from (--planets all includes it).\n";
  }
  out << "Null hypothesis: the flares are unrelated to the planets' positions.\n"
      << "  Simulated " << NullDescription(o, result) << ".\n";
  out << "Monte Carlo: " << o.replicates << " replicates, seed " << o.seed
      << "; p = (1 + k) / (N + 1), k = replicates\n  at least as extreme as observed "
         "(excess: as large or larger; deficit: as small or smaller).\n";
  if (result.resolutionFloor * (o.replicates + 1.0) < 1.5) {
    out << "Resolution floor: " << format.Value(result.resolutionFloor)
        << " = 1 / (N + 1), set by the replicates alone: no replicate put a planet\n"
           "  back within --within of its observed phase.\n";
  } else {
    out << "Resolution floor: " << format.Value(result.resolutionFloor)
        << ". No p-value can be smaller: in that share of replicates a planet\n"
           "  came back within --within of its observed phase and so repeated the observation.\n"
           "  Values at the floor are printed as \"<=floor\".\n";
  }
  out << "Effective sample size: " << Number(result.effectiveFlares, 0) << " independent flares of "
      << result.flares.size() << " (the null's variance of a count\n  is "
      << Number(result.varianceInflation, 2) << " times the binomial variance of independent flares).\n\n";
  char header[256];
  std::snprintf(header, sizeof header, "%-16s %8s %10s    %-18s %7s %9s %9s %13s\n", "planet",
                "observed", "null mean", "null 5 - 95 %", "ratio", "p excess", "p deficit",
                "family-wise p");
  out << header;
  for (std::size_t s = 0; s < o.planets.size(); ++s) {
    WriteTableRow(out, PlanetName(o.planets[s]), result.perPlanet[s], format,
                  format.Text(result.perPlanet[s].familyWiseP));
  }
  WriteTableRow(out, "total of counts", result.total, format,
                "(2-sided " + format.Text(result.total.familyWiseP) + ")");
  out << "\nA planet's family-wise p takes both tails of all " << o.planets.size()
      << " planets into account (max-statistic\n  method). Over the whole set: excess "
      << format.Text(result.familyWiseUpperP) << ", deficit " << format.Text(result.familyWiseLowerP)
      << ", either tail (two-sided) " << format.Text(result.familyWiseP) << ".\n";
  out << kDeficitCalibrationNote;
}

void WriteSummaryCsv(std::ostream& out, const SignificanceRequest& request,
                     const SignificanceResult& result) {
  const SignificanceOptions& o = request.options;
  const PFormat format(o.replicates, result.resolutionFloor);
  out << "statistic,planet,observed,null_mean,null_p05,null_p95,ratio,p_excess,p_deficit,"
         "p_familywise,replicates,seed,null,geometry,within_deg,axial,resolution_floor,"
         "effective_flares,barywalk_version\n";
  std::ostringstream tail;
  tail.precision(10);
  tail << ',' << o.replicates << ',' << o.seed << ',' << NullName(o.null) << ','
       << GeometryName(o.geometry) << ',' << o.withinRad * kDegreesPerRadian << ','
       << (o.axial ? "yes" : "no") << ',' << format.Value(result.resolutionFloor) << ','
       << Number(result.effectiveFlares, 0) << ',' << kBarywalkVersion << '\n';
  auto row = [&](const std::string& statistic, const std::string& planet, const NullSummary& s) {
    out.precision(10);
    out << statistic << ',' << planet << ',' << s.observed << ',' << s.nullMean << ','
        << s.null05 << ',' << s.null95 << ',' << (s.nullMean > 0 ? Ratio(s) : "") << ','
        << format.Value(s.upperP) << ',' << format.Value(s.lowerP) << ','
        << format.Value(s.familyWiseP) << tail.str();
  };
  for (std::size_t s = 0; s < o.planets.size(); ++s) {
    row("count_within", PlanetName(o.planets[s]), result.perPlanet[s]);
  }
  row("total_count", "all", result.total);
  out << "familywise,all,,,,,," << format.Value(result.familyWiseUpperP) << ','
      << format.Value(result.familyWiseLowerP) << ',' << format.Value(result.familyWiseP) << tail.str();
}

void WriteFlareCsv(std::ostream& out, const SignificanceOptions& o, const SignificanceResult& result) {
  out << "index,jd,utc,latitude_deg,longitude_deg,flux,region,unit,ecliptic_lon_deg,ecliptic_lat_deg";
  for (Planet planet : o.planets) out << ',' << Lower(PlanetName(planet)) << "_deg";
  out << '\n';
  out.precision(15);
  for (const FlareAngles& f : result.flares) {
    out << f.index << ',' << f.jd << ',' << IsoUtcText(f.jd) << ',' << f.latitudeDeg << ','
        << f.longitudeDeg << ',' << f.flux << ',' << f.region << ',' << f.unit << ','
        << f.eclipticLonDeg << ',' << f.eclipticLatDeg;
    for (double angle : f.planetRad) out << ',' << angle * kDegreesPerRadian;
    out << '\n';
  }
}

// The figure's file, reserved beside its final name before the long work
// so that a folder that cannot take it fails at once.
class PlotOutput {
 public:
  explicit PlotOutput(const std::string& path) : m_path(path), m_temp(RenameTarget(path)) {}

  void Write(const SignificanceRequest& request, const LoadedCatalogs& catalogs,
             const SignificanceResult& result) {
    const SignificanceOptions& o = request.options;
    PlotTitle title;
    for (const std::string& path : catalogs.paths) {
      title.heading += (title.heading.empty() ? "" : ", ") + path;
    }
    title.heading += ": " + std::to_string(result.flares.size()) + " flares, " +
                     IsoUtcText(result.flares.front().jd).substr(0, 10) + " to " +
                     IsoUtcText(result.flares.back().jd).substr(0, 10);
    title.details = "within " + Number(o.withinRad * kDegreesPerRadian, 2) + " deg" +
                    (o.axial ? " (axial)" : "") + ", " + NullName(o.null) + " null (" +
                    std::to_string(o.replicates) + " replicates, seed " + std::to_string(o.seed) +
                    "), " + GeometryName(o.geometry) + " geometry, Barywalk " + kBarywalkVersion;
    if (!WriteSignificancePlot(result, o.withinRad, title, PlotDeviceFor(m_path), m_temp.path()) ||
        !m_temp.Commit()) {
      throw std::runtime_error("cannot write " + m_path + ": the figure could not be written completely");
    }
  }

 private:
  std::string m_path;
  ReservedTemporary m_temp;
};

int RunSignificance(SignificanceRequest request, std::ostream& err) {
  CompleteRequest(request);
  const std::string program = "barywalk-flares significance";
  CatchInterrupts(program, false);
  FlareLoadOptions load;
  load.minClass = request.minClass;
  const LoadedCatalogs catalogs = LoadCatalogs(request.files, program, err, load);
  const std::string classLine =
      request.minClass ? FormatGoesClass(*request.minClass) + " and above" : "";
  CheckTimes(catalogs, request.options);
  CheckRegionUnits(catalogs, request.options);

  // Every output is opened before the long work, so that a bad path fails at once.
  OutputFile table(request.output);
  std::unique_ptr<OutputFile> csv, summary;
  std::unique_ptr<PlotOutput> plot;
  if (!request.csv.empty()) csv = std::make_unique<OutputFile>(request.csv);
  if (!request.summaryCsv.empty()) summary = std::make_unique<OutputFile>(request.summaryCsv);
  if (!request.plot.empty()) plot = std::make_unique<PlotOutput>(request.plot);

  SignificanceResult result;
  {
    ProgressBar progress("significance", request.options.replicates);
    result = TestSignificance(catalogs.flares, request.options,
                              [&progress](int done) { progress.Update(done); });
    progress.Finish();
  }
  WriteTable(table.stream(), request, catalogs, classLine, result);
  if (csv) WriteFlareCsv(csv->stream(), request.options, result);
  if (summary) WriteSummaryCsv(summary->stream(), request, result);
  if (plot) plot->Write(request, catalogs, result);
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
      .Option("--geometry", "NAME",
              "longitude (default): the flare site's true heliocentric ecliptic longitude against "
              "the planets' longitudes, of date. sphere: the 3-D angle between the site's "
              "direction from the Sun and the planet's, with the planets' latitudes. plane: the "
              "view's angle, the Earth's longitude minus the flare's longitude from the central "
              "meridian (as the statistics file)",
              [&options](const std::string& text) { options.geometry = ParseGeometry(text); })
      .Option("--null", "NAME",
              "shift (default): per replicate, every planet is moved by one common random time "
              "shift of 1 to 500 years either way; the flares keep their times and places. "
              "region: each active region (field 7 of the flare file; unnumbered flares grouped "
              "by time and place on the Sun) gets its own random shift (not with --geometry "
              "sphere)",
              [&options](const std::string& text) { options.null = ParseNull(text); })
      .Flag("--no-nests",
            "with --null region, regions close in time and place (activity complexes) get "
            "shifts of their own too (default: they share one)",
            [&options] { options.regions.mergeNests = false; })
      .Option("--min-class", "CLASS",
              "test only flares of GOES class CLASS and above (C1.0 keeps C1.0), by field 6 of "
              "the flare file; flares without a class are left out",
              [request](const std::string& text) {
                request->minClass = GoesClassArgument("--min-class", text);
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
      .Option("--csv", "FILE",
              "one row per flare: its flux, region, true ecliptic direction and angles to every "
              "planet tested",
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
