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

bool ProgressWanted() {
  const char* forced = std::getenv("BARYWALK_PROGRESS");
  if (forced != nullptr) return std::strcmp(forced, "1") == 0;
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace

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
