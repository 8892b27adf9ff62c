// Descriptors that end a display's wait for input: each armed descriptor ends one wait
// once it has something to read (a connection waiting, a byte on a pipe) and is then
// disarmed until armed again, so input nobody reads yet never wakes a wait twice.
#pragma once

#include <array>
#include <mutex>

namespace display {

class ReadableWatch {
 public:
  ReadableWatch();
  ~ReadableWatch();
  ReadableWatch(const ReadableWatch&) = delete;
  ReadableWatch& operator=(const ReadableWatch&) = delete;

  // Adds fd to the armed descriptors; false when it was armed already (or no room is
  // left). Safe from any thread.
  bool arm(int fd);
  // Waits at most timeoutMs milliseconds (negative: without limit) until an armed
  // descriptor is readable (true: it is disarmed) or interrupt() is called (false).
  bool wait(int timeoutMs);
  // Ends the current or the next wait. Safe from any thread.
  void interrupt();

 private:
  static constexpr size_t kMostArmed = 8;
  std::mutex mutex_;
  std::array<int, kMostArmed> armed_{};
  size_t count_ = 0;
  int interrupter_;  // an eventfd, readable after interrupt()
};

}  // namespace display
