// The in-memory screen: frames are kept, input comes from the script. A script's wait
// sleeps in poll() on the watched descriptors, so sockets and signals still wake it.
#include "display/headless.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <vector>

#include "display/png.h"
#include "display/readable_watch.h"

namespace display {

namespace {

using Clock = std::chrono::steady_clock;

class Headless final : public Display {
 public:
  Headless(int width, int height, Script script)
      : width_(width), height_(height), frame_(size_t(width) * height, 0xFFFFFF),
        script_(std::move(script)) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  bool isHeadless() const override { return true; }

  void present(const uint32_t* pixels) override {
    std::copy_n(pixels, frame_.size(), frame_.begin());
  }

  bool nextEvent(Event& event, int timeoutMs) override {
    for (;;) {
      if (!pending_.empty()) {
        event = pending_.front();
        pending_.pop_front();
        if (event.kind == EventKind::Resize) Resize(event.width, event.height);
        return true;
      }
      if (waiting_) {
        if (!Wait(timeoutMs)) return false;
        continue;
      }
      if (next_ >= script_.steps.size()) {
        event = Event{};
        event.kind = EventKind::Quit;  // the script's end: what "quit" does, again and again
        return true;
      }
      Run(script_.steps[next_++]);
    }
  }

  void wakeWhenReadable(int fd) override { watch_.arm(fd); }

  const std::vector<uint32_t>& frame() const { return frame_; }

 private:
  void Run(const ScriptStep& step) {
    switch (step.kind) {
      case ScriptStep::Kind::Events:
        pending_.assign(step.events.begin(), step.events.end());
        break;
      case ScriptStep::Kind::Wait:
        waiting_ = true;
        waitEnd_ = Clock::now() + std::chrono::milliseconds(step.waitMs);
        break;
      case ScriptStep::Kind::Screenshot:
        WritePng(step.path, frame_.data(), width_, height_, width_);
        break;
    }
  }

  // Sleeps until the wait's end, the timeout or input on a watched descriptor; true when
  // the wait is over.
  bool Wait(int timeoutMs) {
    auto now = Clock::now();
    if (now < waitEnd_) {
      // Whole milliseconds, rounded up: a wait never ends just short of its end.
      auto left = std::chrono::ceil<std::chrono::milliseconds>(waitEnd_ - now).count();
      int sleep = int(std::min<int64_t>(left, timeoutMs >= 0 ? timeoutMs : left));
      if (watch_.wait(sleep)) return false;
    }
    if (Clock::now() < waitEnd_) return false;
    waiting_ = false;
    return true;
  }

  // The frame is only presented again when it changed: the same size keeps it.
  void Resize(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    frame_.assign(size_t(width) * height, 0xFFFFFF);
  }

  int width_;
  int height_;
  std::vector<uint32_t> frame_;
  Script script_;
  size_t next_ = 0;
  std::deque<Event> pending_;
  bool waiting_ = false;
  Clock::time_point waitEnd_;
  ReadableWatch watch_;
};

}  // namespace

std::unique_ptr<Display> CreateHeadless(int width, int height, Script script) {
  return std::make_unique<Headless>(std::max(1, width), std::max(1, height), std::move(script));
}

const std::vector<uint32_t>* HeadlessFrame(Display* display) {
  auto* headless = dynamic_cast<Headless*>(display);
  return headless ? &headless->frame() : nullptr;
}

}  // namespace display
