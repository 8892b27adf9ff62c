// Steps for the next modal dialog of a test, run from the idle loop: each time the
// dialog's loop waits for input, the next step runs on the active dialog, and while steps
// remain the sleeping loop comes straight back; a dialog still open after them is
// cancelled (and the test fails), so a test never hangs.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform.h"

namespace test_support {

using DialogStep = std::function<void(HWND dialog)>;

class DialogSteps {
 public:
  void Set(std::vector<DialogStep> steps) { steps_.assign(steps.begin(), steps.end()); }
  void Clear() { steps_.clear(); }
  // Runs the next step when the active window is a dialog; called from an idle hook.
  void RunNext();

 private:
  std::deque<DialogStep> steps_;
};

}  // namespace test_support
