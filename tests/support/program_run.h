// Running a built command-line program from a test: its exit status, what
// it wrote to standard output and standard error.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProgramRun {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;  // empty when standard output went to a file
  std::string err;
};

// An environment change for the program: set to the value, or unset.
using EnvChange = std::pair<std::string, std::optional<std::string>>;

// Runs `program` with `args` and the environment changes. Standard output
// goes to `outPath` when given, otherwise into ProgramRun::out.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<EnvChange>& env = {}, std::string outPath = "");

// A path in $TMPDIR (or /tmp) that names this test process and `name`.
std::string TempPath(const std::string& name);

std::string ReadFileBytes(const std::string& path);

// The number of lines of `text` (its '\n' characters).
int CountLines(const std::string& text);

}  // namespace testsupport
