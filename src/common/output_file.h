// Outputs that appear only when complete: written to a temporary file
// beside the final name and renamed onto it, so that a failed or
// interrupted run never leaves a partial file under the final name. Every
// program and the dialog write their files this way.
#pragma once

#include <fstream>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace barywalk {

// An output that cannot be written: "cannot write PATH: reason".
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A temporary file reserved beside `target` (see ReserveTemporaryBeside)
// for an output that another program or library writes, then renamed onto
// `target` by Commit(). Destroyed uncommitted, it removes the file. Once
// renamed or removed the file is no longer removed on an interrupt, so
// that the interrupt handler's few places are not used up.
class ReservedTemporary {
 public:
  // Throws OutputError as ReserveTemporaryBeside does.
  explicit ReservedTemporary(std::string target);
  ~ReservedTemporary();
  ReservedTemporary(const ReservedTemporary&) = delete;
  ReservedTemporary& operator=(const ReservedTemporary&) = delete;

  const std::string& path() const { return m_path; }
  // Renames the file onto the target. False, with the reason in errno,
  // when that fails; the file then stays reserved.
  bool Commit();

 private:
  std::string m_target;
  std::string m_path;
  bool m_committed = false;
};

// "-" writes to standard output instead (Commit() then only flushes); so
// does an existing device or pipe (/dev/null, a FIFO), which is written in
// place. A symbolic link keeps pointing at its file, which is replaced. A
// file the user may not write is refused, as the shell's redirection
// refuses it, although renaming over it would succeed. Destroying an
// uncommitted OutputFile removes the temporary file; so does an interrupt
// (see interrupts.h).
class OutputFile {
 public:
  // Throws OutputError when the output cannot be begun: a missing or
  // read-only folder, a folder as the name, a read-only file.
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::ostream& stream();
  const std::string& path() const { return m_path; }
  // Flushes, closes and renames. Throws OutputError naming the file and
  // the reason when the data could not be written completely.
  void Commit();

 private:
  std::string m_path;
  // Renamed onto the regular file that Commit() replaces; none for
  // standard output and in-place outputs.
  std::optional<ReservedTemporary> m_temp;
  bool m_inPlace = false;  // a device or pipe, written directly
  std::ofstream m_file;
};

// The folder of `path` ("." for a bare name, "/" for a file at the root)
// and the name after its last '/'.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// The file that renaming a finished output onto `path` should replace:
// `path` itself, or the file a symbolic link at `path` names.
std::string RenameTarget(const std::string& path);

// A temporary path beside `path` ("dir/.name.tmp-XXXXXX"), created empty
// and so reserved, and removed on an interrupt; for outputs that another
// program or library writes. Throws OutputError when the folder cannot
// take it or `path` names a file the user may not write.
std::string ReserveTemporaryBeside(const std::string& path);

// An output named on a command line: the option that names it and the name.
struct NamedOutput {
  std::string option;
  std::string path;
};

// Whether an output names one of the inputs or another output: the same
// file through any spelling ("x", "./x", "../dir/x"), a symbolic link or a
// hard link. Returns a one-line message naming both, or "" when every
// output is a file of its own. "-" (standard input or output) and devices
// never clash.
std::string OutputClash(const std::vector<std::string>& inputs,
                        const std::vector<NamedOutput>& outputs);

}  // namespace barywalk
