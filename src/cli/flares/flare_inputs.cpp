#include "flare_inputs.h"

#include <ostream>

#include "cli_args.h"
#include "flares/flare_file.h"

namespace barywalk {

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

LoadedCatalogs LoadCatalogs(const std::vector<std::string>& paths, const std::string& command,
                            std::ostream& err) {
  if (paths.empty()) throw UsageError("no flare file given (see --help)");
  LoadedCatalogs loaded;
  loaded.paths = paths;
  // The commands read the flux and region too (the dialog does not).
  FlareReadOptions options;
  options.columns = FlareColumns::WithClassAndRegion;
  const std::vector<FlareFileReport> reports = LoadFlareFiles(paths, loaded.flares, options);
  int last = 0;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const FlareFileReport& report = reports[i];
    if (!report.opened) throw UsageError("cannot read " + Quoted(paths[i]) + ": " + report.error);
    if (report.result.status != FlareReadStatus::Ok) {
      throw UsageError("reading " + Quoted(paths[i]) + " stopped: " + report.error);
    }
    last += report.result.flareCount;
    loaded.lastIndex.push_back(last);
    const int incomplete = report.result.incompleteLines;
    if (incomplete > 0) {
      err << "barywalk-flares " << command << ": warning: " << paths[i] << ": " << incomplete
          << (incomplete == 1 ? " line has" : " lines have")
          << " fields that are not numbers; they are read as 0\n";
    }
  }
  return loaded;
}

}  // namespace barywalk
