#include "main_window_fixture.h"

#include <cstdlib>
#include <cstring>

#include "test_support/headless_screen.h"
#include "test_support/main_window_start.h"
#include "test_support/pump.h"
#include "view/article_view.h"

namespace main_window_test {

void MainWindowTest::SetUp() {
  SettingsFolderTest::SetUp();
  std::memset(&App, 0, sizeof App);
}

void MainWindowTest::TearDown() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  Pump();
  test_support::RemoveScreen();
  ::unsetenv("VINTREL_OS_VERSION");
  SettingsFolderTest::TearDown();
}

void MainWindowTest::Screen(const std::string& script) {
  test_support::InstallScreenWithShell(script);
}

HWND MainWindowTest::Open(WORD lesson, const std::string& script) {
  Screen(script);
  window_ = test_support::StartMainWindow(lesson);
  return window_;
}

bool MainWindowTest::Pump() { return test_support::PumpMessages(); }

WORD MainWindowTest::FirstLine() const { return ArticleViewFirstLine(App.View); }

}  // namespace main_window_test
