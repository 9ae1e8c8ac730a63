// barywalk-flares: see flares_commands.h, or run with --help.
#include <iostream>
#include <string>
#include <vector>

#include "flares_commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return barywalk::RunFlaresProgram(args, std::cerr);
}
