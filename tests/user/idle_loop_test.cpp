// The idle loop: it presents the screen only when it changed, sleeps without limit
// unless a timer is due, wakes for input on a watched descriptor, and takes a
// termination signal as the system's close request.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "display/script.h"
#include "fixture.h"

namespace user_test {
namespace {

using Clock = std::chrono::steady_clock;

// The headless screen, recording what the loop asks of it.
class RecordingScreen final : public display::Display {
 public:
  explicit RecordingScreen(const std::string& script) {
    display::Script parsed;
    std::istringstream in(script);
    EXPECT_TRUE(display::ParseScript(in, parsed).empty());
    inner_ = display::CreateHeadless(240, 320, std::move(parsed));
  }
  int width() const override { return inner_->width(); }
  int height() const override { return inner_->height(); }
  bool isHeadless() const override { return true; }
  void present(const uint32_t* pixels) override {
    ++presents;
    inner_->present(pixels);
  }
  bool nextEvent(display::Event& event, int timeoutMs) override {
    timeouts.push_back(timeoutMs);
    return inner_->nextEvent(event, timeoutMs);
  }
  void wakeWhenReadable(int fd) override { inner_->wakeWhenReadable(fd); }

  int presents = 0;
  std::vector<int> timeouts;  // of every wait, in order

 private:
  std::unique_ptr<display::Display> inner_;
};

class IdleLoop : public UserTest {
 protected:
  RecordingScreen& Record(const std::string& script) {
    auto screen = std::make_unique<RecordingScreen>(script);
    RecordingScreen& recording = *screen;
    display::Install(std::move(screen));
    user::ResetForTests();
    return recording;
  }

  // The main window, ending the loop with `code` when it is destroyed.
  HWND MainWindowQuitting(int code) {
    HWND main = MakeTopLevel();
    SetHandler([main, code](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (w == main && m == WM_DESTROY) PostQuitMessage(code);
      return std::nullopt;
    });
    return main;
  }
};

// A pipe whose read end is non-blocking.
struct Pipe {
  Pipe() {
    EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
  }
  ~Pipe() {
    close(fds[0]);
    close(fds[1]);
  }
  bool TakeByte() {
    char byte;
    return read(fds[0], &byte, 1) == 1;
  }
  // Writes one byte after `delay`, from another thread.
  std::thread WriteLater(std::chrono::milliseconds delay) {
    return std::thread([this, delay] {
      std::this_thread::sleep_for(delay);
      EXPECT_EQ(write(fds[1], "x", 1), 1);
    });
  }
  int fds[2] = {-1, -1};
};

TEST_F(IdleLoop, PresentsTheScreenOnlyWhenItChanged) {
  RecordingScreen& screen = Record("wait 20000\n");
  HWND main = MakeTopLevel();
  int passes = 0;
  user::AddIdleHook([&] {
    ++passes;
    user::WakeWithin(std::chrono::milliseconds(1));  // pass after pass, nothing new
    if (passes == 4) {
      HDC dc = GetDC(main);
      RECT r{0, 0, 10, 10};
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ReleaseDC(main, dc);
    }
    if (passes == 8) PostQuitMessage(0);
  });
  RunLoop();
  EXPECT_EQ(passes, 8);
  EXPECT_EQ(screen.presents, 2) << "the first screen and the one with the black square";
}

TEST_F(IdleLoop, SleepsWithoutLimitUnlessATimerIsDue) {
  struct Case {
    std::vector<int> timersMs;  // asked for by the hooks in each pass
    int expectedTimeout;
  };
  for (const Case& c : {Case{{}, -1}, Case{{250, 40, 90}, 40}, Case{{-5}, 0}}) {
    RecordingScreen& screen = Record("wait 100\n");
    MainWindowQuitting(0);
    user::AddIdleHook([&] {
      for (int ms : c.timersMs) user::WakeWithin(std::chrono::milliseconds(ms));
    });
    RunLoop();
    ASSERT_FALSE(screen.timeouts.empty());
    EXPECT_EQ(screen.timeouts.front(), c.expectedTimeout);
    if (c.timersMs.empty()) {
      EXPECT_LE(screen.timeouts.size(), 4u) << "the wait is one sleep, not a poll";
    }
  }
}

TEST_F(IdleLoop, InputOnAWatchedDescriptorWakesTheLoopOnce) {
  RecordingScreen& screen = Record("wait 20000\n");
  Pipe pipe;
  int passes = 0;
  user::AddIdleHook([&] {
    ++passes;
    if (pipe.TakeByte()) {
      PostQuitMessage(5);
      return;
    }
    user::WakeWhenReadable(pipe.fds[0]);
  });
  auto start = Clock::now();
  std::thread writer = pipe.WriteLater(std::chrono::milliseconds(100));
  EXPECT_EQ(RunLoop(), 5);
  writer.join();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10)) << "woken long before the wait's end";
  EXPECT_LE(passes, 3) << "the loop slept until the byte came";
  EXPECT_LE(screen.timeouts.size(), 3u);
}

TEST_F(IdleLoop, InputLeftUnreadWakesTheLoopOnlyOnce) {
  Record("wait 400\n");
  MainWindowQuitting(0);
  Pipe pipe;
  int passes = 0;
  bool watched = false;
  user::AddIdleHook([&] {
    ++passes;
    if (!watched) user::WakeWhenReadable(pipe.fds[0]);
    watched = true;
  });
  std::thread writer = pipe.WriteLater(std::chrono::milliseconds(20));
  RunLoop();  // the script's end closes the main window
  writer.join();
  EXPECT_LE(passes, 6) << "the unread byte woke the loop again and again";
}

TEST_F(IdleLoop, ATerminationSignalClosesTheMainWindowAsTheSystemWould) {
  EXPECT_EXIT(
      {
        Record("wait 20000\n");
        HWND main = MainWindowQuitting(3);
        user::CloseOnTerminationRequests();
        bool raised = false;
        user::AddIdleHook([&] {
          if (!raised) raise(SIGTERM);
          raised = true;
        });
        int code = RunLoop();
        _exit(code == 3 && Messages({WM_CLOSE}, main).size() == 1 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace user_test
