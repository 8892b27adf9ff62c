// The program's dialogs on the in-memory screen with the shell, with the program's
// resources, run modally as the program runs them and driven from the idle loop: each
// time the dialog's loop waits for input, the next step runs on the active dialog.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform.h"
#include "test_support/dialog_steps.h"
#include "test_support/headless_screen.h"

namespace dialogs_test {

using Step = test_support::DialogStep;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Steps for the next modal dialog, in order; a dialog still open after them is
  // cancelled, so a test never hangs.
  void Steps(std::vector<Step> steps);

 private:
  test_support::DialogSteps steps_;
};

// What a user reads and taps in a dialog.
std::vector<std::u16string> ListItems(HWND dialog, int id);
std::u16string SelectedItem(HWND dialog, int id);  // "" when none
bool Checked(HWND dialog, int id);
std::u16string ItemText(HWND dialog, int id);
void TapItem(HWND dialog, int listId, const std::u16string& item);
void TapControl(HWND dialog, int id);
using test_support::Key;
// A control's place in its dialog's client area.
RECT PlaceInDialog(HWND dialog, int id);

}  // namespace dialogs_test
