#include "shell/sip.h"

#include <string>

#include "shell/paint.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "user/system.h"
#include "kernel/out_of_memory.h"

namespace shell {
namespace {

constexpr const char16_t* kPanelClass = u"InputPanel";
constexpr int kColumns = 12;
constexpr int kRows = 5;  // four rows of characters, then shift, space, * ? and backspace

// What a key does.
enum class KeyKind { Char, Shift, Backspace };
struct Key {
  KeyKind kind = KeyKind::Char;
  char16_t ch = 0;
  RECT rect{};
};

struct PanelState {
  HWND window = nullptr;
  bool shifted = false;
};

PanelState& State() {
  static PanelState state;
  return state;
}

int KeyWidth() { return user::ScreenWidth() / kColumns; }
int KeyHeight() { return 16 * Scale(); }

std::vector<Key> Keys() {
  std::vector<Key> keys;
  int w = KeyWidth(), h = KeyHeight();
  const auto& rows = kPanelRows[State().shifted ? 1 : 0];
  for (int row = 0; row < 4; ++row)
    for (int col = 0; rows[row][col]; ++col)
      keys.push_back({KeyKind::Char, char16_t(rows[row][col]),
                      RECT{col * w, row * h, (col + 1) * w, (row + 1) * h}});
  int y = 4 * h;
  keys.push_back({KeyKind::Shift, 0, RECT{0, y, 2 * w, y + h}});
  keys.push_back({KeyKind::Char, u' ', RECT{2 * w, y, 8 * w, y + h}});
  keys.push_back({KeyKind::Char, u'*', RECT{8 * w, y, 9 * w, y + h}});
  keys.push_back({KeyKind::Char, u'?', RECT{9 * w, y, 10 * w, y + h}});
  keys.push_back({KeyKind::Backspace, 0, RECT{10 * w, y, 12 * w, y + h}});
  return keys;
}

std::u16string Label(const Key& key) {
  switch (key.kind) {
    case KeyKind::Shift: return u"\u21E7";
    case KeyKind::Backspace: return u"\u2190";
    default: return std::u16string(1, key.ch);
  }
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  user::FillColour(dc, r, RGB(200, 200, 200));
  for (const Key& key : Keys()) {
    RECT k{key.rect.left + 1, key.rect.top + 1, key.rect.right, key.rect.bottom};
    bool on = key.kind == KeyKind::Shift && State().shifted;
    user::FillColour(dc, k, on ? RGB(150, 150, 150) : RGB(250, 250, 250));
    user::FrameColour(dc, k, RGB(120, 120, 120));
    DrawLabel(dc, Label(key), k, RGB(0, 0, 0), DT_CENTER, false);
  }
  EndPaint(window, &ps);
}

// The control that typing goes to: the focused one, else the active window.
HWND TypingTarget() { return GetFocus() ? GetFocus() : GetActiveWindow(); }

void PressKey(const Key& key) {
  if (key.kind == KeyKind::Shift) {
    State().shifted = !State().shifted;
    InvalidateRect(State().window, nullptr, FALSE);
    return;
  }
  HWND target = TypingTarget();
  if (!target) return;
  PostMessageW(target, WM_CHAR, key.kind == KeyKind::Backspace ? 0x08 : WPARAM(key.ch), 1);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_LBUTTONDOWN: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      for (const Key& key : Keys())
        if (PtInRect(&key.rect, p)) {
          PressKey(key);
          break;
        }
      return 0;
    }
    case WM_DESTROY:
      if (State().window == window) State().window = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

RECT PanelRect() {
  int height = kRows * KeyHeight();
  int bottom = user::ScreenHeight();
  for (ToolBar* bar : AllBars()) {
    if (bar->kind != BarKind::MenuBar || !IsWindowVisible(bar->window)) continue;
    RECT r;
    GetWindowRect(bar->window, &r);
    bottom = std::min<int>(bottom, r.top);
  }
  return RECT{0, bottom - height, KeyWidth() * kColumns, bottom};
}

// The active window hears that the panel moved, as the handheld tells it.
void AnnounceChange() {
  if (HWND active = GetActiveWindow()) SendMessageW(active, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
  for (ToolBar* bar : AllBars()) InvalidateRect(bar->window, nullptr, FALSE);
}

}  // namespace

void RegisterInputPanelClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PanelProc;
  wc.lpszClassName = kPanelClass;
  RegisterClassW(&wc);
}

bool InputPanelShown() { return State().window && IsWindowVisible(State().window); }

void ShowInputPanel(bool shown) {
  if (shown == InputPanelShown()) return;
  if (!shown) {
    DestroyWindow(State().window);
    State().window = nullptr;
    AnnounceChange();
    return;
  }
  RECT r = PanelRect();
  HWND panel = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kPanelClass, u"", WS_POPUP,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                               nullptr, nullptr, nullptr);
  if (!panel) return;
  user::MarkSystemWindow(panel);
  State().window = panel;
  ShowWindow(panel, SW_SHOWNA);
  AnnounceChange();
}

void PlaceInputPanel() {
  if (!InputPanelShown()) return;
  RECT r = PanelRect();
  MoveWindow(State().window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void ForgetInputPanel() { State() = PanelState{}; }

}  // namespace shell

BOOL SHSipPreference(HWND window, SIPSTATE state) try {
  (void)window;
  if (state == SIP_UP) shell::ShowInputPanel(true);
  else if (state == SIP_DOWN || state == SIP_FORCEDOWN) shell::ShowInputPanel(false);
  else if (state != SIP_UNCHANGED && state != SIP_INPUTDIALOG) return FALSE;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL SipShowIM(DWORD flags) try {
  if (flags != SIPF_ON && flags != SIPF_OFF) return FALSE;
  shell::ShowInputPanel(flags == SIPF_ON);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
