#include <ostream>

#include "cli_args.h"
#include "flares_commands.h"

namespace barywalk {

int RunImportCommand(const FlaresCommandArgs&, std::ostream&) {
  throw UsageError("not available yet");
}

}  // namespace barywalk
