// Runs a dialog from the test resources and drives it from the idle loop: each time
// the loop waits for input, the next step runs (keys, taps, checks), as a script would.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "display/display.h"
#include "platform.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace test {

struct Session {
  // Sees each message first; a non-zero answer is the procedure's answer.
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> onMessage;
  std::deque<std::function<void(HWND dialog)>> steps;
  INT_PTR initAnswer = TRUE;
  HWND dialog = nullptr;
  std::vector<WPARAM> commands;  // wParam of every WM_COMMAND the dialog received
};

// Runs dialog template `id` modally with the session; returns DialogBoxIndirectParamW's
// answer. A dialog still open after its steps ends with -2.
INT_PTR RunDialog(int id, Session& session, HWND owner = nullptr, LPARAM param = 0);
const DLGTEMPLATE* Template(int id, DWORD* size = nullptr);

using test_support::Key;
void Type(char32_t ch);
using test_support::Tap;
void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);
// The centre of a control (or window) on the screen.
POINT CentreOf(HWND window);

}  // namespace test
