// The reader's page turn in its real window at zoom 1, 2 and 3, under the X server in
// $DISPLAY: a Page Down or Page Up key sent to the window as the desktop sends it, timed
// from the moment the SDL window hands the key over to the moment the next frame has
// been shown (the window's surface copied to the server). The counter from_send_us is
// the same from the moment the key was sent, the X server's delivery included.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/settings_store.h"
#include "display/display.h"
#include "display/sdl_module.h"
#include "shell/shell.h"
#include "test_support/headless_screen.h"
#include "test_support/main_window_start.h"
#include "test_support/settings_folder.h"
#include "user/system.h"
#include "x_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// The SDL window with two notes: when an awaited key came out of it and when the frame
// after it was shown. That frame posts a message, so that the bench's loop gets control
// back from the message loop.
class TimedDisplay final : public display::Display {
 public:
  explicit TimedDisplay(std::unique_ptr<display::Display> window) : window_(std::move(window)) {}

  int width() const override { return window_->width(); }
  int height() const override { return window_->height(); }
  void present(const uint32_t* pixels) override {
    window_->present(pixels);
    if (awaiting_ != Awaiting::Frame) return;
    awaiting_ = Awaiting::Nothing;
    shown_ = Clock::now();
    PostMessageW(nullptr, WM_NULL, 0, 0);
  }
  bool nextEvent(display::Event& event, int timeoutMs) override {
    if (!window_->nextEvent(event, timeoutMs)) return false;
    if (event.kind == display::EventKind::KeyDown && awaiting_ == Awaiting::Key) {
      arrived_ = Clock::now();
      awaiting_ = Awaiting::Frame;
    }
    return true;
  }
  void wakeWhenReadable(int fd) override { window_->wakeWhenReadable(fd); }
  void setTitle(const std::string& title) override { window_->setTitle(title); }
  bool hasFocus() const override { return window_->hasFocus(); }
  void raise() override { window_->raise(); }
  void setIcon(const uint32_t* pixels, const uint8_t* alpha, int width, int height) override {
    window_->setIcon(pixels, alpha, width, height);
  }

  // The next frame, or a key and the frame after it.
  void awaitFrame() {
    arrived_ = Clock::now();
    awaiting_ = Awaiting::Frame;
  }
  void awaitKey() { awaiting_ = Awaiting::Key; }
  bool waiting() const { return awaiting_ != Awaiting::Nothing; }
  Clock::time_point arrived() const { return arrived_; }
  Clock::time_point shown() const { return shown_; }

 private:
  enum class Awaiting { Nothing, Key, Frame };
  std::unique_ptr<display::Display> window_;
  Awaiting awaiting_ = Awaiting::Nothing;
  Clock::time_point arrived_;
  Clock::time_point shown_;
};

// Runs the message loop until the awaited frame has been shown.
bool RunUntilShown(const TimedDisplay& screen) {
  MSG message;
  while (screen.waiting()) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_WindowPageTurn(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) return state.SkipWithError("no X server: set DISPLAY");
  test_support::SettingsFolder settings;
  WriteText(u"FontName", u"Miriam CLM");
  WriteNumber(u"FontSize", 16);
  bench::XSession x;
  std::string error;
  auto window = display::OpenSdlDisplay(240, 320, int(state.range(0)), error);
  if (!window || !x.ok()) return state.SkipWithError(("no window: " + error).c_str());
  auto* screen = new TimedDisplay(std::move(window));
  display::Install(std::unique_ptr<display::Display>(screen));
  user::ResetForTests();
  shell::RestartForTests();
  HWND reader = test_support::StartMainWindow(100);
  screen->awaitFrame();
  if (!RunUntilShown(*screen)) return state.SkipWithError("the reader ended");
  x.watch(5000, true);
  double fromSend = 0;
  bool down = true;
  for (auto _ : state) {
    screen->awaitKey();
    const auto sent = Clock::now();
    x.pressKey(x.window(), down ? "Page_Down" : "Page_Up");
    down = !down;
    if (!RunUntilShown(*screen)) return state.SkipWithError("the reader ended");
    state.SetIterationTime(Seconds(screen->shown() - screen->arrived()));
    fromSend += Seconds(screen->shown() - sent);
  }
  state.counters["from_send_us"] =
      benchmark::Counter(fromSend * 1e6, benchmark::Counter::kAvgIterations);
  DestroyWindow(reader);
  test_support::RemoveScreen();
}
BENCHMARK(BM_WindowPageTurn)->ArgName("zoom")->DenseRange(1, 3)->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
