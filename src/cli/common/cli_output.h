// Output files and progress for the command-line programs: an output
// appears under its final name only when it is complete, and long work
// shows a progress bar on standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iosfwd>
#include <string>

namespace barywalk {

// Output that is written to a temporary file in the same folder and
// renamed to `path` by Commit(), so that a failed or interrupted run never
// leaves a partial file under the final name. "-" writes to standard
// output instead (Commit() then only flushes); so does an existing device
// or pipe (/dev/null, a FIFO), which is written in place. A symbolic link
// keeps pointing at its file, which is replaced. Destroying an uncommitted
// OutputFile removes the temporary file.
class OutputFile {
 public:
  // Throws UsageError ("cannot write PATH: reason") when the temporary
  // file cannot be created, e.g. in a missing or read-only folder.
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::ostream& stream();
  const std::string& path() const { return m_path; }
  // Flushes, closes and renames. Throws std::runtime_error naming the file
  // and the reason when the data could not be written completely.
  void Commit();

 private:
  std::string m_path;
  std::string m_tempPath;  // empty for standard output and in-place outputs
  std::string m_renameTo;  // the regular file that Commit() replaces
  bool m_inPlace = false;  // a device or pipe, written directly
  std::ofstream m_file;
  bool m_committed = false;
};

// The file that renaming a finished output onto `path` should replace:
// `path` itself, or the file a symbolic link at `path` names.
std::string RenameTarget(const std::string& path);

// A temporary path beside `path` ("dir/.name.tmp-XXXXXX"), created empty
// and so reserved; for outputs that another program (an encoder) writes.
// Throws UsageError when the folder cannot take it.
std::string ReserveTemporaryBeside(const std::string& path);

// A progress bar on standard error: "label [#####     ]  42 %". It appears
// only once the work has taken more than a second, and only when standard
// error is a terminal or BARYWALK_PROGRESS=1 is set, so that logs and
// pipes stay clean. Finish() (or the destructor) ends its line.
class ProgressBar {
 public:
  ProgressBar(std::string label, std::int64_t total);
  ProgressBar(std::string label, std::int64_t total, std::ostream& err, bool enabled);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(std::int64_t done);
  void Finish();

 private:
  void Draw(std::int64_t done);

  std::string m_label;
  std::int64_t m_total;
  std::ostream& m_err;
  bool m_enabled;
  bool m_shown = false;
  int m_lastPercent = -1;
  std::chrono::steady_clock::time_point m_start;
};

}  // namespace barywalk
