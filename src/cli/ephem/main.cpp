// barywalk-ephem: planet positions and the Sun's place around the barycenter
// as CSV. See UsageText() in ephem_cli.cpp or run with --help.
#include <iostream>
#include <string>
#include <vector>

#include "ephem_cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // buffered output for long ranges
  const std::vector<std::string> args(argv + 1, argv + argc);
  return barywalk::RunEphem(args, std::cout, std::cerr);
}
