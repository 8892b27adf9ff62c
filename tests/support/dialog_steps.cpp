#include "test_support/dialog_steps.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string_view>

#include "user/system.h"

namespace test_support {

void DialogSteps::RunNext() {
  HWND dialog = GetActiveWindow();
  WCHAR name[16] = {};
  GetClassNameW(dialog, name, 16);
  if (std::u16string_view(name) != WC_DIALOG) return;
  if (steps_.empty()) {
    ADD_FAILURE() << "a dialog was still open after its steps";
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  DialogStep step = std::move(steps_.front());
  steps_.pop_front();
  step(dialog);
  if (!steps_.empty()) user::WakeWithin(std::chrono::milliseconds(0));
}

}  // namespace test_support
