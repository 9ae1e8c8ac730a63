// barywalk-render: see render_cli.h, or run with --help.
#include <malloc.h>

#include <iostream>
#include <string>
#include <vector>

#include "render_cli.h"

int main(int argc, char** argv) {
  // Every frame allocates and frees pictures of the same size: keep them on
  // the heap instead of mapping fresh pages each time.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return barywalk::RunRenderProgram(args, std::cout, std::cerr);
}
