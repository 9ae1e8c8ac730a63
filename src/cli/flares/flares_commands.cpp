#include "flares_commands.h"

#include <iostream>

#include "cli_app.h"

namespace barywalk {

int RunFlaresProgram(const std::vector<std::string>& args, std::ostream& err) {
  CommandLine program("barywalk-flares", "Flare catalogs and their statistics, without the dialog.",
                      "'barywalk-flares COMMAND --help' tells about one command.\n"
                      "\n"
                      "Exit status: 0 done, 1 an output could not be written, 2 bad input.\n");
  AddImportCommand(program, err);
  AddStatsCommand(program, err);
  AddSignificanceCommand(program, err);
  return RunCli(program, args, std::cout, err);
}

}  // namespace barywalk
