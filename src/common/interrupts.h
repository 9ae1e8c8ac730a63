// Ctrl+C, SIGTERM and SIGHUP end a program without leaving a temporary
// output behind: every temporary file an output is written to is known
// here and removed when the program is interrupted.
#pragma once

#include <string>

namespace barywalk {

// Installs the handlers. Unless `polled`, an interrupt removes the known
// temporary files, prints "PROGRAM: interrupted; nothing written" and ends
// the program with status 1 at once. A `polled` program (one that must
// stop helpers of its own first) only sees InterruptRequested() become
// true and ends itself.
void CatchInterrupts(const std::string& program, bool polled);
bool InterruptRequested();

// A temporary file to remove on an interrupt, until forgotten.
void RememberTemporary(const std::string& path);
void ForgetTemporary(const std::string& path);

}  // namespace barywalk
