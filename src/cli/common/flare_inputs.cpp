#include "flare_inputs.h"

#include <ostream>

#include "catalog/flare_input.h"
#include "cli_args.h"
#include "flares/flare_file.h"
#include "flares/flare_selection.h"

namespace barywalk {
namespace {

std::string Lines(int count, const char* what) {
  return std::to_string(count) + (count == 1 ? " line " : " lines ") + what;
}

void Warn(std::ostream& err, const std::string& prefix, const std::string& path, const std::string& text) {
  err << prefix << ": warning: " << path << ": " << text << '\n';
}

// The flares of at least `minClass`, counting the others on `err`.
void KeepClass(LoadedCatalogs& loaded, GoesClass minClass, const std::string& prefix, std::ostream& err) {
  const int total = static_cast<int>(loaded.flares.size());
  ClassSelection selection = KeepFlaresOfClassAtLeast(loaded.flares, minClass);
  const std::string limit = "class " + FormatGoesClass(minClass) + " and above";
  if (selection.kept.empty()) {
    std::string why = std::to_string(selection.below) + " below it, " +
                      std::to_string(selection.withoutClass) + " without a class";
    if (selection.withoutClass > 0) why += " (flare files from before the class field: import them again)";
    throw UsageError("no flare of " + limit + " in the files given: " + why);
  }
  err << prefix << ": " << selection.kept.size() << " of " << total << " flares of " << limit
      << "; left out " << selection.below << " below it and " << selection.withoutClass
      << " without a class\n";
  loaded.flares = std::move(selection.kept);
}

}  // namespace

std::string LoadedCatalogs::Where(int index) const {
  int first = 1;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (index <= lastIndex[i]) {
      return paths[i] + " line " + std::to_string(index - first + 2);
    }
    first = lastIndex[i] + 1;
  }
  return "flare " + std::to_string(index);
}

LoadedCatalogs LoadCatalogs(const std::vector<std::string>& paths, const std::string& program,
                            std::ostream& err, const FlareLoadOptions& options) {
  if (paths.empty()) throw UsageError("no flare file given (see --help)");
  LoadedCatalogs loaded;
  loaded.paths = paths;
  const std::vector<FlareFileReport> reports =
      LoadFlareFiles(paths, loaded.flares, FlareFileReadOptions(FlareColumns::WithClassAndRegion));
  int last = 0;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const FlareFileReport& report = reports[i];
    if (!report.opened) throw UsageError("cannot read " + Quoted(paths[i]) + ": " + report.error);
    if (report.result.status == FlareReadStatus::OtherFormat) {
      throw UsageError(OtherFormatMessage(paths[i], report.result));
    }
    if (report.result.status != FlareReadStatus::Ok) {
      throw UsageError("reading " + Quoted(paths[i]) + " stopped: " + report.error);
    }
    last += report.result.flareCount;
    loaded.lastIndex.push_back(last);
    if (report.result.incompleteLines > 0) {
      Warn(err, program, paths[i],
           Lines(report.result.incompleteLines, "with fields that are not numbers; they are read as 0"));
    }
    if (report.result.invalidClassOrRegion > 0) {
      Warn(err, program, paths[i],
           Lines(report.result.invalidClassOrRegion,
                 "with a flux or region that is not one (field 6 or 7); taken as unknown"));
    }
  }
  if (options.minClass) KeepClass(loaded, *options.minClass, program, err);
  return loaded;
}

GoesClass GoesClassArgument(const std::string& option, const std::string& text) {
  const std::optional<GoesClass> goesClass = ParseGoesClass(text);
  if (!goesClass) {
    throw UsageError(option + ": " + Quoted(text) +
                     " is not a GOES class such as C1.0 (a letter A, B, C, M or X and a number "
                     "down to 1e-11 W/m^2: three decimals for A, four for B, ...)");
  }
  return *goesClass;
}

}  // namespace barywalk
