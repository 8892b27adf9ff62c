// A connection to the X server in $DISPLAY that watches top-level windows being mapped
// and destroyed, and presses keys and the close button on them as a desktop would.
#pragma once

#include <chrono>
#include <map>
#include <memory>

namespace bench {

class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ok() const;
  // Follows the windows for timeoutMs, or until a window is mapped when untilMapped.
  void watch(int timeoutMs, bool untilMapped = false);
  // The newest top-level window that is mapped (viewable: no window manager reparents
  // it) and still exists; 0 when there is none.
  unsigned long window() const;
  // When the window was mapped.
  std::chrono::steady_clock::time_point mappedAt(unsigned long window) const;
  // A key press and release sent to the window, by key symbol name ("Page_Down").
  void pressKey(unsigned long window, const char* keyName);
  // The close button's message (WM_DELETE_WINDOW).
  void close(unsigned long window);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
  std::map<unsigned long, std::chrono::steady_clock::time_point> mapped_;
  unsigned long newest_ = 0;
};

}  // namespace bench
