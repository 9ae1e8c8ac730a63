#include "private_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

#include "cli_args.h"

namespace barywalk {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr const char* kCookieName = "MIT-MAGIC-COOKIE-1";
constexpr int kCookieBytes = 16;

void PutLength(std::ofstream& out, std::size_t length) {
  out.put(static_cast<char>((length >> 8) & 0xff));
  out.put(static_cast<char>(length & 0xff));
}

// An authority file with one entry that fits every display of any host
// (family "wild", empty address and display number): the server and its
// clients share the cookie.
bool WriteAuthority(const std::string& path) {
  std::random_device random;
  std::string cookie;
  for (int i = 0; i < kCookieBytes; ++i) cookie += static_cast<char>(random() & 0xff);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  constexpr std::size_t kFamilyWild = 0xffff;
  PutLength(out, kFamilyWild);
  PutLength(out, 0);  // address
  PutLength(out, 0);  // display number
  PutLength(out, std::strlen(kCookieName));
  out << kCookieName;
  PutLength(out, cookie.size());
  out << cookie;
  out.close();
  return static_cast<bool>(out);
}

std::string LastLineOf(const std::string& path) {
  std::ifstream in(path);
  std::string line, last;
  while (std::getline(in, line)) {
    if (!line.empty()) last = line;
  }
  return last;
}

// Reads the display number that Xvfb writes to `fd` once it accepts
// clients; -1 when it ends or does not answer in time.
int ReadDisplayNumber(int fd) {
  std::string text;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (text.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return -1;
    pollfd waiting{fd, POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return -1;
    char buffer[32];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return -1;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  long long number = -1;
  return ParseWholeNumber(text.substr(0, text.find('\n')), number) && number >= 0
             ? static_cast<int>(number)
             : -1;
}

}  // namespace

PrivateDisplay::~PrivateDisplay() { Stop(); }

void PrivateDisplay::StartIfNeeded() {
  const char* display = std::getenv("DISPLAY");
  if (display != nullptr && *display != '\0') return;

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                        "/barywalk-render-display-XXXXXX";
  std::vector<char> folder(pattern.begin(), pattern.end());
  folder.push_back('\0');
  if (mkdtemp(folder.data()) == nullptr) {
    throw UsageError(std::string("no X display and no folder for a private one: ") +
                     std::strerror(errno));
  }
  m_folder = folder.data();
  m_authPath = m_folder + "/Xauthority";
  m_logPath = m_folder + "/Xvfb.log";
  if (!WriteAuthority(m_authPath)) {
    Stop();
    throw UsageError("no X display and the private one's cookie cannot be written");
  }

  int fds[2];
  if (pipe(fds) != 0) {
    Stop();
    throw UsageError(std::string("no X display: ") + std::strerror(errno));
  }
  const pid_t parent = getpid();
  m_pid = fork();
  if (m_pid == 0) {
    // The server ends with this program, however it ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);
    close(fds[0]);
    const int devNull = open("/dev/null", O_RDWR);
    const int log = open(m_logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (devNull >= 0) dup2(devNull, STDIN_FILENO);
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-auth", m_authPath.c_str(), "-nolisten",
           "tcp", "-screen", "0", "1280x1024x24", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (m_pid < 0) {
    close(fds[0]);
    Stop();
    throw UsageError(std::string("no X display: ") + std::strerror(errno));
  }
  const int number = ReadDisplayNumber(fds[0]);
  close(fds[0]);
  if (number < 0) {
    int status = 0;
    const bool ended = waitpid(m_pid, &status, WNOHANG) == m_pid;
    if (ended) m_pid = -1;
    const bool missing = ended && WIFEXITED(status) && WEXITSTATUS(status) == 127;
    const std::string reason = LastLineOf(m_logPath);
    Stop();
    throw UsageError(missing ? "DISPLAY is not set and Xvfb was not found (Debian package xvfb)"
                             : "DISPLAY is not set and the private Xvfb did not start" +
                                   (reason.empty() ? std::string() : ": " + reason));
  }
  const std::string name = ":" + std::to_string(number);
  setenv("DISPLAY", name.c_str(), 1);
  setenv("XAUTHORITY", m_authPath.c_str(), 1);
}

void PrivateDisplay::Stop() {
  if (m_pid > 0) {
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
  }
  if (!m_folder.empty()) {
    std::remove(m_authPath.c_str());
    std::remove(m_logPath.c_str());
    rmdir(m_folder.c_str());
    m_folder.clear();
  }
}

}  // namespace barywalk
