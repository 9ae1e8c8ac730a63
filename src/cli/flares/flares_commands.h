// barywalk-flares: flare catalogs and their statistics on the command line,
// git-style: "barywalk-flares COMMAND [OPTIONS] ARGS...".
//
// Each command is one function in its own file. It reads its arguments
// (everything after the command name), writes data to standard output or
// to its -o file and messages to `err`, and returns the exit status. Bad
// input is thrown as UsageError; main() prints it as one line
// "barywalk-flares COMMAND: message" and exits with kExitBadArguments.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace barywalk {

using FlaresCommandArgs = std::vector<std::string>;

struct FlaresCommand {
  const char* name;
  const char* summary;  // one line for "barywalk-flares --help"
  int (*run)(const FlaresCommandArgs& args, std::ostream& err);
};

// The commands in the order "--help" lists them.
const std::vector<FlaresCommand>& FlaresCommands();

// The whole program for the arguments after its name.
int RunFlaresProgram(const std::vector<std::string>& args, std::ostream& err);

// barywalk-flares import (import_command.cpp).
int RunImportCommand(const FlaresCommandArgs& args, std::ostream& err);

// barywalk-flares stats (stats_command.cpp).
int RunStatsCommand(const FlaresCommandArgs& args, std::ostream& err);

// barywalk-flares significance (significance_command.cpp).
int RunSignificanceCommand(const FlaresCommandArgs& args, std::ostream& err);

}  // namespace barywalk
