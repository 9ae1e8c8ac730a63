// Output files and progress for the command-line programs: an output
// appears under its final name only when it is complete (common/output_file.h),
// and long work shows a progress bar on standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "common/output_file.h"

namespace barywalk {

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
