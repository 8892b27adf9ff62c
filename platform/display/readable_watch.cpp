#include "display/readable_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace display {

ReadableWatch::ReadableWatch() : interrupter_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ReadableWatch::~ReadableWatch() {
  if (interrupter_ >= 0) close(interrupter_);
}

bool ReadableWatch::arm(int fd) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto end = armed_.begin() + count_;
  if (fd < 0 || std::find(armed_.begin(), end, fd) != end || count_ == kMostArmed) return false;
  armed_[count_++] = fd;
  return true;
}

bool ReadableWatch::wait(int timeoutMs) {
  std::array<pollfd, kMostArmed + 1> fds{};
  size_t n = 0;
  fds[n++] = pollfd{interrupter_, POLLIN, 0};
  {
    std::lock_guard<std::mutex> hold(mutex_);
    for (size_t i = 0; i < count_; ++i) fds[n++] = pollfd{armed_[i], POLLIN, 0};
  }
  int ready = poll(fds.data(), n, timeoutMs);
  if (ready <= 0) return false;  // the time is up, or a signal arrived: the caller looks again
  if (fds[0].revents) {
    uint64_t count;
    while (read(interrupter_, &count, sizeof count) < 0 && errno == EINTR) {
    }
  }
  bool woken = false;
  std::lock_guard<std::mutex> hold(mutex_);
  for (size_t i = 1; i < n; ++i) {
    if (!fds[i].revents) continue;
    auto end = armed_.begin() + count_;
    auto at = std::find(armed_.begin(), end, fds[i].fd);
    if (at == end) continue;
    *at = armed_[--count_];
    woken = true;
  }
  return woken;
}

void ReadableWatch::interrupt() {
  uint64_t one = 1;
  while (write(interrupter_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

}  // namespace display
