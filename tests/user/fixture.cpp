#include "fixture.h"

#include <algorithm>

#include "test_support/headless_screen.h"
#include "test_support/pump.h"

namespace user_test {

namespace {

Handler& CurrentHandler() {
  static Handler handler;
  return handler;
}

LRESULT CALLBACK LogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Logged{window, message, wParam, lParam});
  if (CurrentHandler())
    if (auto result = CurrentHandler()(window, message, wParam, lParam)) return *result;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::vector<Logged>& Log() {
  static std::vector<Logged> log;
  return log;
}

void SetHandler(Handler handler) { CurrentHandler() = std::move(handler); }

std::vector<UINT> Messages(const std::vector<UINT>& wanted, HWND window) {
  std::vector<UINT> out;
  for (const Logged& l : Log())
    if ((!window || l.window == window) &&
        std::find(wanted.begin(), wanted.end(), l.message) != wanted.end())
      out.push_back(l.message);
  return out;
}

bool Pump() { return test_support::PumpMessages(); }

int RunLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

HWND MakeTopLevel(DWORD style, DWORD exStyle, const char16_t* title) {
  return CreateWindowExW(exStyle, kLogClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

HWND MakeChild(HWND parent, int id, RECT r, DWORD style, const char16_t* text) {
  return CreateWindowExW(0, kLogClass, text, WS_CHILD | style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(uintptr_t(id)), nullptr,
                         nullptr);
}

void UserTest::Screen(const std::string& script, int width, int height) {
  test_support::InstallScreen(script, width, height);
}

void UserTest::SetUp() {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LogProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kLogClass;
    wc.cbWndExtra = 16;
    return RegisterClassW(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  Screen("");
  Log().clear();
  SetHandler(nullptr);
}

void UserTest::TearDown() {
  SetHandler(nullptr);
  test_support::RemoveScreen();
  Log().clear();
}

}  // namespace user_test
