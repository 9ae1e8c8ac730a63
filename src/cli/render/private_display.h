// An X display for drawing without one: the toolkit (GTK) needs a display
// to start even when nothing is shown. When $DISPLAY is unset, a private
// Xvfb server is started for the life of this object, with its own
// authorization cookie so that no other program can use it.
#pragma once

#include <sys/types.h>

#include <string>

namespace barywalk {

class PrivateDisplay {
 public:
  PrivateDisplay() = default;
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  // Does nothing when $DISPLAY is set. Otherwise starts Xvfb and sets
  // DISPLAY and XAUTHORITY for this process; throws UsageError when the
  // server cannot be started.
  void StartIfNeeded();
  bool Started() const { return m_pid > 0; }

 private:
  void Stop();

  pid_t m_pid = -1;
  std::string m_folder;  // private temporary folder of the cookie and the log
  std::string m_authPath;
  std::string m_logPath;
};

}  // namespace barywalk
