#include "main_window_fixture.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <unistd.h>

#include "base/settings_store.h"
#include "../support/main_window_start.h"
#include "display/headless.h"
#include "display/script.h"
#include "kernel/registry.h"
#include "shell/shell.h"
#include "user/system.h"
#include "view/article_view.h"

namespace main_window_test {

namespace {

void Store(LPCWSTR keyPath, LPCWSTR name, DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace

void MainWindowTest::SetUp() {
  folder_ = (std::filesystem::temp_directory_path() /
             ("vintrel-main-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                .string();
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  kernel::ForgetRegistry();
  std::memset(&App, 0, sizeof App);
}

void MainWindowTest::TearDown() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  Pump();
  user::ResetForTests();
  display::Install(nullptr);
  user::ResetForTests();
  ::unsetenv("VINTREL_OS_VERSION");
  std::filesystem::remove_all(folder_);
}

void MainWindowTest::StoreNumber(const char16_t* name, DWORD value) {
  Store(ProductKey, name, value);
}

void MainWindowTest::StorePublisherNumber(const char16_t* name, DWORD value) {
  Store(PublisherKey, name, value);
}

void MainWindowTest::Screen(const std::string& script) {
  display::Script parsed;
  std::istringstream in(script);
  EXPECT_TRUE(display::ParseScript(in, parsed).empty()) << script;
  display::Install(display::CreateHeadless(240, 320, std::move(parsed)));
  user::ResetForTests();
  shell::RestartForTests();
}

HWND MainWindowTest::Open(WORD lesson, const std::string& script) {
  Screen(script);
  window_ = StartMainWindow(lesson);
  return window_;
}

bool MainWindowTest::Pump() { return PumpMessages(); }

WORD MainWindowTest::FirstLine() const { return ArticleViewFirstLine(App.View); }

}  // namespace main_window_test
