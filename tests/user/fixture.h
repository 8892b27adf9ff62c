// Shared set-up for the window layer's tests: a headless screen, a logging window class
// and a message pump.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "display/headless.h"
#include "platform.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace user_test {

struct Logged {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Messages reaching windows of the logging class, in order.
std::vector<Logged>& Log();
// A test's own handling: a value ends the message there, nothing passes it on to
// DefWindowProcW.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void SetHandler(Handler handler);

inline constexpr const char16_t* kLogClass = u"LogWindow";

// The messages of the log that are in `wanted`, in order, optionally for one window.
std::vector<UINT> Messages(const std::vector<UINT>& wanted, HWND window = nullptr);

// Dispatches everything queued and every pending WM_PAINT; false when WM_QUIT came.
bool Pump();

// Runs the message loop (GetMessageW) until WM_QUIT; its exit code.
int RunLoop();

HWND MakeTopLevel(DWORD style = WS_VISIBLE, DWORD exStyle = 0, const char16_t* title = u"Main");
HWND MakeChild(HWND parent, int id, RECT rect, DWORD style = WS_VISIBLE, const char16_t* text = u"");

using test_support::Tap;

class UserTest : public ::testing::Test {
 protected:
  // A headless screen with the given script (one command a line).
  void Screen(const std::string& script, int width = 240, int height = 320);
  void SetUp() override;
  void TearDown() override;
};

}  // namespace user_test
