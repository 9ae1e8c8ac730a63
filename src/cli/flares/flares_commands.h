// barywalk-flares: flare catalogs and their statistics on the command line,
// git-style: "barywalk-flares COMMAND [OPTIONS] ARGS...".
//
// Each command is declared in its own file: its options with their help,
// and its work, which writes data to standard output or to its -o file and
// messages to `err`. Bad input is thrown as UsageError and printed as one
// line "barywalk-flares COMMAND: message" with status 2.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace barywalk {

class CommandLine;

// barywalk-flares import (import_command.cpp).
void AddImportCommand(CommandLine& program, std::ostream& err);
// barywalk-flares stats (stats_command.cpp).
void AddStatsCommand(CommandLine& program, std::ostream& err);
// barywalk-flares significance (significance_command.cpp).
void AddSignificanceCommand(CommandLine& program, std::ostream& err);

// The whole program for the arguments after its name.
int RunFlaresProgram(const std::vector<std::string>& args, std::ostream& err);

}  // namespace barywalk
