#include "shell/taskbar.h"

#include <chrono>
#include <string>

#include "shell/paint.h"
#include "shell/shell.h"
#include "user/system.h"

namespace shell {
namespace {

constexpr COLORREF kBarColour = RGB(0, 48, 144);
constexpr COLORREF kTextColour = RGB(255, 255, 255);

struct TaskBarState {
  HWND window = nullptr;
  bool startIcon = true;
  std::u16string shownTitle;
  int shownMinute = -1;
};

TaskBarState& State() {
  static TaskBarState state;
  return state;
}

// The title of the active window's top-level window; the shell's own windows have none.
std::u16string ActiveTitle() {
  HWND top = GetActiveWindow();
  for (HWND up = top; up; up = GetParent(up)) top = up;
  if (!top) return u"";
  WCHAR text[256] = {};
  GetWindowTextW(top, text, 256);
  return text;
}

std::u16string ClockText(int& minuteOfDay) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  minuteOfDay = now.wHour * 60 + now.wMinute;
  WCHAR text[16];
  swprintf(text, u"%d:%02d", int(now.wHour), int(now.wMinute));
  return text;
}

// From now to just past the next minute, when the clock's text changes.
std::chrono::milliseconds UntilNextMinute() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return std::chrono::milliseconds((60 - now.wSecond) * 1000 - now.wMilliseconds + 5);
}

// The start icon: a white square frame around a white square.
void DrawStartIcon(HDC dc, const RECT& r) {
  int s = Scale();
  int size = 13 * s;
  int x = r.left + 4 * s, y = (r.top + r.bottom) / 2 - size / 2;
  user::FillColour(dc, RECT{x, y, x + size, y + size}, RGB(255, 255, 255));
  user::FillColour(dc, RECT{x + 2 * s, y + 2 * s, x + size - 2 * s, y + size - 2 * s}, kBarColour);
  user::FillColour(dc, RECT{x + 5 * s, y + 5 * s, x + size - 5 * s, y + size - 5 * s}, RGB(255, 255, 255));
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  user::FillColour(dc, r, kBarColour);
  int s = Scale();
  int left = 4 * s;
  if (State().startIcon) {
    DrawStartIcon(dc, r);
    left = 22 * s;
  }
  int minute = 0;
  std::u16string clock = ClockText(minute);
  int clockWidth = LabelWidth(dc, clock, false);
  RECT clockRect{r.right - clockWidth - 6 * s, r.top, r.right - 4 * s, r.bottom};
  DrawLabel(dc, clock, clockRect, kTextColour, DT_RIGHT, false);
  RECT titleRect{left, r.top, clockRect.left - 4 * s, r.bottom};
  DrawLabel(dc, State().shownTitle, titleRect, kTextColour, DT_LEFT, true);
  State().shownMinute = minute;
  EndPaint(window, &ps);
}

RECT BelowTaskBar() {
  return RECT{0, BarHeight(), user::ScreenWidth(), user::ScreenHeight()};
}

LRESULT CALLBACK TaskBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SHOWWINDOW:
      // Hidden, the work area takes the whole screen.
      user::SetWorkArea(wParam ? BelowTaskBar()
                               : RECT{0, 0, user::ScreenWidth(), user::ScreenHeight()});
      return 0;
    case WM_DESTROY:
      if (State().window == window) State().window = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

}  // namespace

void RegisterTaskBarClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TaskBarProc;
  wc.lpszClassName = kTaskBarClass;
  RegisterClassW(&wc);
}

HWND CreateTaskBar() {
  HWND bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTaskBarClass, u"", WS_POPUP, 0,
                             0, user::ScreenWidth(), BarHeight(), nullptr, nullptr, nullptr,
                             nullptr);
  if (!bar) return nullptr;
  user::MarkSystemWindow(bar);
  State().window = bar;
  State().shownTitle = ActiveTitle();
  ShowWindow(bar, SW_SHOWNA);
  return bar;
}

HWND TaskBar() { return IsWindow(State().window) ? State().window : nullptr; }

void ForgetTaskBar() { State() = TaskBarState{}; }

void ShowStartIcon(bool shown) {
  if (State().startIcon == shown) return;
  State().startIcon = shown;
  if (HWND bar = TaskBar()) InvalidateRect(bar, nullptr, FALSE);
}

void RefreshTaskBar() {
  HWND bar = TaskBar();
  if (!bar || !IsWindowVisible(bar)) return;
  user::WakeWithin(UntilNextMinute());
  std::u16string title = ActiveTitle();
  int minute = 0;
  ClockText(minute);
  if (title == State().shownTitle && minute == State().shownMinute) return;
  State().shownTitle = title;
  InvalidateRect(bar, nullptr, FALSE);
}

void FitTaskBar() {
  HWND bar = TaskBar();
  if (!bar) return;
  MoveWindow(bar, 0, 0, user::ScreenWidth(), BarHeight(), TRUE);
  if (IsWindowVisible(bar)) user::SetWorkArea(BelowTaskBar());
}

}  // namespace shell
