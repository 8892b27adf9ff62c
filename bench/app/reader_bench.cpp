// The reader's work on a key press, in the real main window on the 240x320 in-memory
// screen with the book: a lesson switch (load, decompress, closing block, layout, draw)
// by the Right and Left keys, and a page turn (scroll and redraw) by Page Down and Up.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "../../tests/support/main_window_start.h"
#include "base/app_state.h"
#include "display/headless.h"
#include "shell/shell.h"
#include "user/system.h"
#include "view/article_view.h"

namespace {

// The main window as the start-up makes it, on a chosen lesson, with settings of its own.
HWND OpenReader(WORD lesson) {
  static const std::string folder =
      (std::filesystem::temp_directory_path() / ("vintrel-bench-" + std::to_string(::getpid())))
          .string();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  display::Install(display::CreateHeadless(240, 320, {}));
  user::ResetForTests();
  shell::RestartForTests();
  return StartMainWindow(lesson);
}

void Close(HWND window) {
  DestroyWindow(window);
  user::ResetForTests();
  display::Install(nullptr);
}

void LessonSwitch(benchmark::State& state) {
  HWND window = OpenReader(100);
  for (auto _ : state) {
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
  }
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one lesson switch");
  Close(window);
}
BENCHMARK(LessonSwitch)->Unit(benchmark::kMicrosecond);

void PageTurn(benchmark::State& state) {
  HWND window = OpenReader(100);
  for (auto _ : state) {
    SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(window, WM_KEYDOWN, VK_PRIOR, 0);
  }
  if (App.View->FirstLine != 0) state.SkipWithError("the pages did not turn back to the top");
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one page turn");
  Close(window);
}
BENCHMARK(PageTurn)->Unit(benchmark::kMicrosecond);

}  // namespace
