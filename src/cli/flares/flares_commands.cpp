#include "flares_commands.h"

#include <exception>
#include <iostream>
#include <ostream>

#include "cli_args.h"

namespace barywalk {
namespace {

constexpr const char* kProgram = "barywalk-flares";

void WriteUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " COMMAND [OPTIONS] ARGS...\n"
      << "\n"
      << "Flare catalogs and their statistics, without the dialog.\n"
      << "\n"
      << "Commands:\n";
  for (const FlaresCommand& command : FlaresCommands()) {
    out << "  " << command.name << std::string(14 - std::string(command.name).size(), ' ')
        << command.summary << '\n';
  }
  out << "\n"
      << "'" << kProgram << " COMMAND --help' tells about one command.\n";
}

}  // namespace

const std::vector<FlaresCommand>& FlaresCommands() {
  static const std::vector<FlaresCommand> commands = {
      {"import", "convert flare catalogs (NOAA GOES XRS reports, HEK CSV, GOES CSV) to .flr",
       RunImportCommand},
      {"stats", "the flare statistics file of Play forward, without the dialog", RunStatsCommand},
      {"significance", "are flares nearer to planets' directions than chance allows?",
       RunSignificanceCommand},
  };
  return commands;
}

int RunFlaresProgram(const std::vector<std::string>& args, std::ostream& err) {
  if (args.empty()) {
    WriteUsage(err);
    return kExitBadArguments;
  }
  const std::string& name = args.front();
  if (name == "--help" || name == "-h" || name == "help") {
    WriteUsage(std::cout);
    return kExitOk;
  }
  for (const FlaresCommand& command : FlaresCommands()) {
    if (name != command.name) continue;
    const FlaresCommandArgs rest(args.begin() + 1, args.end());
    try {
      return command.run(rest, err);
    } catch (const UsageError& error) {
      err << kProgram << ' ' << command.name << ": " << error.what() << '\n';
      return kExitBadArguments;
    } catch (const std::exception& error) {
      err << kProgram << ' ' << command.name << ": " << error.what() << '\n';
      return kExitOutputFailed;
    }
  }
  err << kProgram << ": '" << name << "' is not a command; see '" << kProgram << " --help'\n";
  return kExitBadArguments;
}

}  // namespace barywalk
