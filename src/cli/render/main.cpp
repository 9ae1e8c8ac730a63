// barywalk-render: see render_cli.h, or run with --help.
#include <iostream>
#include <string>
#include <vector>

#include "render_cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return barywalk::RunRenderProgram(args, std::cout, std::cerr);
}
