// The real main window on the in-memory screen, with the book's resources embedded in
// the test program and a settings folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/app_state.h"
#include "platform.h"
#include "test_support/settings_folder.h"

namespace main_window_test {

class MainWindowTest : public test_support::SettingsFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A headless screen with its task bar, running the script lines given.
  static void Screen(const std::string& script);
  // A headless screen running the script lines given (answers to message boxes, taps);
  // then the main window as the start-up makes it, on `lesson` chosen explicitly.
  HWND Open(WORD lesson, const std::string& script = "");
  // Dispatches everything queued and every pending paint; false once the quit came.
  static bool Pump();

  WORD FirstLine() const;
  HWND window_ = nullptr;
};

}  // namespace main_window_test
