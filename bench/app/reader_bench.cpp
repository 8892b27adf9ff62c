// The reader's work on a key press, in the real main window on the 240x320 in-memory
// screen with the book: a lesson switch (load, decompress, closing block, layout, draw)
// by the Right and Left keys, and a page turn (scroll and redraw) by Page Down and Up.
#include <benchmark/benchmark.h>

#include "base/app_state.h"
#include "test_support/headless_screen.h"
#include "test_support/main_window_start.h"
#include "test_support/settings_folder.h"
#include "view/article_view.h"

namespace {

// The main window as the start-up makes it, on a chosen lesson, with settings of its own,
// for the length of one run.
class Reader {
 public:
  explicit Reader(WORD lesson) {
    test_support::InstallScreenWithShell();
    window_ = test_support::StartMainWindow(lesson);
  }
  ~Reader() {
    DestroyWindow(window_);
    test_support::RemoveScreen();
  }
  HWND Window() const { return window_; }

 private:
  test_support::SettingsFolder settings_;
  HWND window_ = nullptr;
};

void LessonSwitch(benchmark::State& state) {
  Reader reader(100);
  HWND window = reader.Window();
  for (auto _ : state) {
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
  }
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one lesson switch");
}
BENCHMARK(LessonSwitch)->Unit(benchmark::kMicrosecond);

void PageTurn(benchmark::State& state) {
  Reader reader(100);
  HWND window = reader.Window();
  for (auto _ : state) {
    SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(window, WM_KEYDOWN, VK_PRIOR, 0);
  }
  if (App.View->FirstLine != 0) state.SkipWithError("the pages did not turn back to the top");
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one page turn");
}
BENCHMARK(PageTurn)->Unit(benchmark::kMicrosecond);

}  // namespace
