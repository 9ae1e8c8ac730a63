#include "cli_output.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "cli_args.h"

namespace barywalk {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ProgressWanted() {
  const char* forced = std::getenv("BARYWALK_PROGRESS");
  if (forced != nullptr) return std::strcmp(forced, "1") == 0;
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace

std::string ReserveTemporaryBeside(const std::string& path) {
  if (path.empty()) throw UsageError("the output file name is empty");
  std::string pattern = FolderOf(path) + "/." + NameOf(path) + ".tmp-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = mkstemp(buffer.data());
  if (fd < 0) {
    throw UsageError("cannot write " + path + ": " + std::strerror(errno));
  }
  // mkstemp makes the file private; the output gets the permissions of any
  // new file (0666 less the umask) once it takes its final name.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return std::string(buffer.data());
}

std::string RenameTarget(const std::string& path) {
  // Through a symbolic link the file it names is replaced, not the link.
  char target[PATH_MAX];
  struct stat linkInfo {};
  if (lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) &&
      realpath(path.c_str(), target) != nullptr) {
    return target;
  }
  return path;
}

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {
  if (m_path == "-") return;
  struct stat info {};
  if (!m_path.empty() && stat(m_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) throw UsageError("cannot write " + m_path + ": it is a folder");
    // A device or a pipe (/dev/null, a FIFO) is written in place: renaming
    // a temporary file over it would replace it with a plain file.
    m_file.open(m_path, std::ios::binary | std::ios::out);
    if (!m_file) throw UsageError("cannot write " + m_path + ": " + std::strerror(errno));
    m_inPlace = true;
    return;
  }
  m_renameTo = RenameTarget(m_path);
  m_tempPath = ReserveTemporaryBeside(m_renameTo);
  m_file.open(m_tempPath, std::ios::binary | std::ios::trunc);
  if (!m_file) {
    const int error = errno;
    std::remove(m_tempPath.c_str());
    throw UsageError("cannot write " + m_path + ": " + std::strerror(error));
  }
}

OutputFile::~OutputFile() {
  if (!m_committed && !m_tempPath.empty()) {
    m_file.close();
    std::remove(m_tempPath.c_str());
  }
}

std::ostream& OutputFile::stream() {
  return m_tempPath.empty() && !m_inPlace ? std::cout : m_file;
}

void OutputFile::Commit() {
  if (m_inPlace) {
    m_file.flush();
    const bool written = static_cast<bool>(m_file);
    m_file.close();
    if (!written || m_file.fail()) throw std::runtime_error("cannot write " + m_path + " completely");
    m_committed = true;
    return;
  }
  if (m_tempPath.empty()) {
    std::cout.flush();
    if (!std::cout) throw std::runtime_error("cannot write to standard output");
    m_committed = true;
    return;
  }
  m_file.flush();
  const bool written = static_cast<bool>(m_file);
  m_file.close();
  if (!written || m_file.fail()) {
    throw std::runtime_error("cannot write " + m_path + " completely (is the disk full?)");
  }
  if (std::rename(m_tempPath.c_str(), m_renameTo.c_str()) != 0) {
    throw std::runtime_error("cannot write " + m_path + ": " + std::strerror(errno));
  }
  m_committed = true;
}

ProgressBar::ProgressBar(std::string label, std::int64_t total)
    : ProgressBar(std::move(label), total, std::cerr, ProgressWanted()) {}

ProgressBar::ProgressBar(std::string label, std::int64_t total, std::ostream& err, bool enabled)
    : m_label(std::move(label)),
      m_total(total > 0 ? total : 1),
      m_err(err),
      m_enabled(enabled),
      m_start(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(std::int64_t done) {
  if (!m_enabled) return;
  if (!m_shown) {
    if (std::chrono::steady_clock::now() - m_start < std::chrono::seconds(1)) return;
    m_shown = true;
  }
  Draw(done);
}

void ProgressBar::Finish() {
  if (!m_shown) return;
  Draw(m_total);
  m_err << '\n' << std::flush;
  m_shown = false;
  m_enabled = false;
}

void ProgressBar::Draw(std::int64_t done) {
  constexpr int kWidth = 30;
  if (done < 0) done = 0;
  if (done > m_total) done = m_total;
  const int percent = static_cast<int>(done * 100 / m_total);
  if (percent == m_lastPercent) return;
  m_lastPercent = percent;
  const int filled = percent * kWidth / 100;
  m_err << '\r' << m_label << " [" << std::string(filled, '#')
        << std::string(kWidth - filled, ' ') << "] " << (percent < 10 ? "  " : percent < 100 ? " " : "")
        << percent << " %" << std::flush;
}

}  // namespace barywalk
