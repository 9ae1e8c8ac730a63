#include "common/output_file.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "common/interrupts.h"

namespace barywalk {
namespace {

[[noreturn]] void CannotWrite(const std::string& path, int error) {
  throw OutputError("cannot write " + path + ": " + std::strerror(error));
}

// One file whatever its spelling: the device and inode of an existing
// file, or else the real path of its folder with its name. Nothing for
// "-" and for devices and pipes, which may be named any number of times.
std::optional<std::string> FileIdentity(const std::string& path) {
  if (path.empty() || path == "-") return std::nullopt;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    return "inode " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  }
  char folder[PATH_MAX];
  if (realpath(FolderOf(path).c_str(), folder) == nullptr) return "path " + path;
  return "path " + std::string(folder) + "/" + NameOf(path);
}

}  // namespace

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

std::string ReserveTemporaryBeside(const std::string& path) {
  if (path.empty()) throw OutputError("the output file name is empty");
  // A file the user may not write stays as it is, as with the shell's ">".
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) CannotWrite(path, errno);
  std::string pattern = FolderOf(path) + "/." + NameOf(path) + ".tmp-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = mkstemp(buffer.data());
  if (fd < 0) CannotWrite(path, errno);
  // mkstemp makes the file private; the output gets the permissions of any
  // new file (0666 less the umask) once it takes its final name.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  RememberTemporary(buffer.data());
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

ReservedTemporary::ReservedTemporary(std::string target)
    : m_target(std::move(target)), m_path(ReserveTemporaryBeside(m_target)) {}

ReservedTemporary::~ReservedTemporary() {
  if (!m_committed) std::remove(m_path.c_str());
  ForgetTemporary(m_path);
}

bool ReservedTemporary::Commit() {
  if (std::rename(m_path.c_str(), m_target.c_str()) != 0) return false;
  m_committed = true;
  ForgetTemporary(m_path);
  return true;
}

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {
  if (m_path == "-") return;
  struct stat info {};
  if (!m_path.empty() && stat(m_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) throw OutputError("cannot write " + m_path + ": it is a folder");
    // A device or a pipe (/dev/null, a FIFO) is written in place: renaming
    // a temporary file over it would replace it with a plain file.
    m_file.open(m_path, std::ios::binary | std::ios::out);
    if (!m_file) CannotWrite(m_path, errno);
    m_inPlace = true;
    return;
  }
  m_temp.emplace(RenameTarget(m_path));
  m_file.open(m_temp->path(), std::ios::binary | std::ios::trunc);
  if (!m_file) {
    const int error = errno;
    m_temp.reset();
    CannotWrite(m_path, error);
  }
}

OutputFile::~OutputFile() {
  // Closed before an uncommitted temporary file is removed.
  m_file.close();
}

std::ostream& OutputFile::stream() {
  return !m_temp && !m_inPlace ? std::cout : m_file;
}

void OutputFile::Commit() {
  if (m_inPlace) {
    m_file.flush();  // a failed write leaves its reason in errno
    const bool written = static_cast<bool>(m_file);
    const int error = errno;
    m_file.close();
    if (!written || m_file.fail()) {
      throw OutputError("cannot write " + m_path + " completely" +
                        (error != 0 ? std::string(": ") + std::strerror(error) : ""));
    }
    return;
  }
  if (!m_temp) {
    std::cout.flush();
    if (!std::cout) throw OutputError("cannot write to standard output");
    return;
  }
  m_file.flush();
  const bool written = static_cast<bool>(m_file);
  m_file.close();
  if (!written || m_file.fail()) {
    throw OutputError("cannot write " + m_path + " completely (is the disk full?)");
  }
  if (!m_temp->Commit()) CannotWrite(m_path, errno);
}

std::string OutputClash(const std::vector<std::string>& inputs,
                        const std::vector<NamedOutput>& outputs) {
  // Each file is looked up once, not once for every name it is compared with.
  std::vector<std::optional<std::string>> inputIds, outputIds;
  for (const std::string& input : inputs) inputIds.push_back(FileIdentity(input));
  for (const NamedOutput& output : outputs) outputIds.push_back(FileIdentity(output.path));
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::optional<std::string>& output = outputIds[i];
    if (!output) continue;
    for (std::size_t k = 0; k < inputs.size(); ++k) {
      if (inputIds[k] == output) {
        return outputs[i].option + " '" + outputs[i].path + "' names the input '" + inputs[k] + "'";
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (outputIds[j] == output) {
        return outputs[j].option + " and " + outputs[i].option + " name the same file '" +
               outputs[i].path + "'";
      }
    }
  }
  return "";
}

}  // namespace barywalk
