#include "common/interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>

namespace barywalk {
namespace {

constexpr std::size_t kSlots = 64;

// Fixed storage that the handler can read without allocating.
struct TemporarySlot {
  char path[PATH_MAX];
  volatile sig_atomic_t used;
};
std::array<TemporarySlot, kSlots> g_temporaries{};
char g_message[256] = "interrupted; nothing written\n";
std::size_t g_messageLength = 0;
volatile sig_atomic_t g_requested = 0;

void RemoveAndExit(int) {
  for (TemporarySlot& slot : g_temporaries) {
    if (slot.used) unlink(slot.path);
  }
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, g_message, g_messageLength);
  _exit(1);
}

void NoteRequest(int) { g_requested = 1; }

}  // namespace

void CatchInterrupts(const std::string& program, bool polled) {
  const std::string message = program + ": interrupted; nothing written\n";
  g_messageLength = std::min(message.size(), sizeof g_message - 1);
  std::memcpy(g_message, message.data(), g_messageLength);
  struct sigaction action {};
  action.sa_handler = polled ? NoteRequest : RemoveAndExit;
  sigemptyset(&action.sa_mask);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

bool InterruptRequested() { return g_requested != 0; }

void RememberTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  for (TemporarySlot& slot : g_temporaries) {
    if (slot.used) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used = 1;  // only once the path is complete
    return;
  }
}

void ForgetTemporary(const std::string& path) {
  for (TemporarySlot& slot : g_temporaries) {
    if (slot.used && path == slot.path) slot.used = 0;
  }
}

}  // namespace barywalk
