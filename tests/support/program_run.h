// Runs a built command-line program as a user would: its own process, its
// standard output and error captured, its exit status returned.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A path in the temporary folder, unique to this process.
inline std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir != nullptr ? dir : "/tmp") + "/barywalk-test-" +
         std::to_string(getpid()) + "-" + name;
}

// Runs `program` with `args` and TZ set to `tz` (empty: inherited);
// standard output goes to `outPath`, or is captured when that is empty.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::string& tz = "UTC", std::string outPath = "") {
  const std::string errPath = TempPath("err");
  const bool captureOut = outPath.empty();
  if (captureOut) outPath = TempPath("out");
  std::vector<std::string> argStrings = {program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    if (!tz.empty()) setenv("TZ", tz.c_str(), 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ProgramRun run;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  if (captureOut) {
    run.out = ReadFile(outPath);
    std::remove(outPath.c_str());
  }
  run.err = ReadFile(errPath);
  std::remove(errPath.c_str());
  return run;
}

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace testsupport
