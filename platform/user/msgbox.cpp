// Message boxes: a captioned popup with an icon, the text over one or more lines and a
// row of push buttons of its own (class "MessageBoxButton"), run modally over its owner;
// the window listing shows the text.
// Enter presses the focused button (the default one at first), Tab and the arrow keys
// move between buttons, Escape answers IDCANCEL where there is a Cancel button (IDOK for
// MB_OK). Without a display the box is one line on stderr ("caption: text", or the
// text alone without a caption) and the default button's answer.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "kernel/utf.h"
#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

constexpr LPCWSTR kBoxClass = u"MessageBox";
constexpr LPCWSTR kButtonClass = u"MessageBoxButton";
constexpr int kMargin = 8;
constexpr int kIcon = 32;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;

struct Box {
  std::u16string text;
  UINT icon = 0;
  std::vector<int> buttons;
  int defaultIndex = 0;
  int escapeAnswer = 0;  // 0: Escape does nothing
  int cancelAnswer = 0;  // the answer when the system ends the program
  int answer = 0;
  RECT iconRect{};
  RECT textRect{};
};

std::vector<int> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

const char16_t* Label(int id) {
  switch (id) {
    case IDOK: return u"OK";
    case IDCANCEL: return u"Cancel";
    case IDABORT: return u"Abort";
    case IDRETRY: return u"Retry";
    case IDIGNORE: return u"Ignore";
    case IDYES: return u"Yes";
    default: return u"No";
  }
}

Box* BoxOf(HWND h) { return reinterpret_cast<Box*>(GetWindowLongPtrW(h, GWL_USERDATA)); }

// A disc (or, for the exclamation, a triangle) with its sign.
void DrawIcon(HDC dc, const RECT& r, UINT icon) {
  COLORREF colour = icon == MB_ICONHAND          ? RGB(204, 0, 0)
                    : icon == MB_ICONEXCLAMATION ? RGB(240, 200, 0)
                                                 : RGB(0, 64, 192);
  int size = r.right - r.left, cx = r.left + size / 2;
  for (int row = 0; row < size; ++row) {
    int half;
    if (icon == MB_ICONEXCLAMATION) {
      half = row / 2;
    } else {
      int dy = 2 * row + 1 - size;
      half = 0;
      while ((2 * half + 2) * (2 * half + 2) + dy * dy <= size * size) ++half;
    }
    FillColour(dc, RECT{cx - half, r.top + row, cx + half + 1, r.top + row + 1}, colour);
  }
  const char16_t* sign = icon == MB_ICONHAND          ? u"X"
                         : icon == MB_ICONEXCLAMATION ? u"!"
                         : icon == MB_ICONQUESTION    ? u"?"
                                                      : u"i";
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, CaptionFont());
  RECT signRect = r;
  if (icon == MB_ICONEXCLAMATION) signRect.top += size / 4;
  DrawTextW(dc, sign, 1, &signRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

void PaintBox(HWND h, Box& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  if (box.icon) DrawIcon(dc, box.iconRect, box.icon);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(dc, TextFont());
  RECT text = box.textRect;
  DrawTextW(dc, box.text.c_str(), int(box.text.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

void Answer(HWND h, int id) {
  if (Box* box = BoxOf(h); box && id) box->answer = id;
}

LRESULT CALLBACK BoxProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) try {
  Box* box = BoxOf(h);
  switch (message) {
    case WM_PAINT:
      if (box) PaintBox(h, *box);
      return 0;
    case WM_COMMAND: Answer(h, LOWORD(wParam)); return 0;
    case WM_CLOSE:
      if (box) Answer(h, box->escapeAnswer);
      return 0;
    default: return DefWindowProcW(h, message, wParam, lParam);
  }
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

// Button state in the window's user data: bit 0 pressed, bit 1 the stylus is on it.
void PaintButton(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  bool pressed = (GetWindowLongPtrW(h, GWL_USERDATA) & 3) == 3;
  bool focused = GetFocus() == h;
  FillColour(dc, r, GetSysColor(COLOR_BTNFACE));
  int thick = focused ? 2 : 1;
  FrameColour(dc, r, GetSysColor(COLOR_WINDOWFRAME), thick);
  if (pressed) FillColour(dc, RECT{r.left + thick, r.top + thick, r.right - thick, r.bottom - thick},
                    GetSysColor(COLOR_BTNSHADOW));
  WCHAR text[32];
  int n = GetWindowTextW(h, text, 32);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(dc, TextFont());
  DrawTextW(dc, text, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

void SetButtonState(HWND h, LONG_PTR state) {
  if (GetWindowLongPtrW(h, GWL_USERDATA) == state) return;
  SetWindowLongPtrW(h, GWL_USERDATA, state);
  InvalidateRect(h, nullptr, FALSE);
}

bool Inside(HWND h, LPARAM lParam) {
  RECT r;
  GetClientRect(h, &r);
  return PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

LRESULT CALLBACK ButtonProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) try {
  switch (message) {
    case WM_PAINT: PaintButton(h); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(h, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
      SetCapture(h);
      SetButtonState(h, 3);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == h) SetButtonState(h, Inside(h, lParam) ? 3 : 1);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != h) return 0;
      bool clicked = Inside(h, lParam);
      ReleaseCapture();
      SetButtonState(h, 0);
      if (clicked) SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), 0),
                                reinterpret_cast<LPARAM>(h));
      return 0;
    }
    default: return DefWindowProcW(h, message, wParam, lParam);
  }
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

// The window listing shows a box's text beside its caption, every line of it.
std::string BoxDetail(HWND h) {
  Box* box = BoxOf(h);
  return box ? " text=" + QuoteForListing(box->text) : std::string();
}

void RegisterClasses() {
  WNDCLASSW wc{};
  if (!GetClassInfoW(nullptr, kBoxClass, &wc)) {
    wc.lpfnWndProc = BoxProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
    wc.lpszClassName = kBoxClass;
    RegisterClassW(&wc);
    SetListingDetail(kBoxClass, BoxDetail);
  }
  if (!GetClassInfoW(nullptr, kButtonClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = ButtonProc;
    wc.lpszClassName = kButtonClass;
    RegisterClassW(&wc);
  }
}

// The width the caption's text needs in the caption bar (4 pixels before it, as many
// after), so that the box's title is never cut.
int CaptionWidth(LPCWSTR caption) {
  if (!caption || !*caption) return 0;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, CaptionFont());
  RECT text{0, 0, 0, 0};
  DrawTextW(dc, caption, -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return int(text.right) + 8;
}

// Lays the box out (client coordinates) under its caption and returns its client size.
SIZE Layout(Box& box, LPCWSTR caption) {
  int screen = ScreenWidth();
  int iconSpace = box.icon ? kIcon + kMargin : 0;
  int buttons = int(box.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int maxText = std::max(40, screen - 4 * kMargin - 2 - iconSpace);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, TextFont());
  RECT text{0, 0, maxText, 0};
  DrawTextW(dc, box.text.c_str(), int(box.text.size()), &text,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int textWidth = std::min(maxText, int(text.right));
  int textHeight = std::max(int(text.bottom), 1);
  int width = std::max({iconSpace + textWidth + 2 * kMargin, buttons + 2 * kMargin,
                        CaptionWidth(caption)});
  width = std::min(width, screen - 2 * kMargin);
  int body = std::max(textHeight, box.icon ? kIcon : 0);
  box.iconRect = RECT{kMargin, kMargin, kMargin + kIcon, kMargin + kIcon};
  box.textRect = RECT{kMargin + iconSpace, kMargin, width - kMargin, kMargin + textHeight};
  return SIZE{width, kMargin + body + 10 + kButtonHeight + kMargin};
}

HWND CreateBox(HWND owner, Box& box, LPCWSTR caption) {
  SIZE client = Layout(box, caption);
  DWORD style = WS_POPUP | WS_CAPTION;
  int width = client.cx + 2, height = client.cy + 2 + GetSystemMetrics(SM_CYCAPTION);
  RECT area = WorkArea();
  int x = area.left + std::max(0, int(area.right - area.left - width) / 2);
  int y = area.top + std::max(0, int(area.bottom - area.top - height) / 2);
  HWND h = CreateWindowExW(WS_EX_TOPMOST, kBoxClass, caption ? caption : u"", style, x, y, width,
                           height, owner, nullptr, nullptr, nullptr);
  if (!h) return nullptr;
  SetWindowLongPtrW(h, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&box));
  int n = int(box.buttons.size());
  int left = (client.cx - (n * (kButtonWidth + kButtonGap) - kButtonGap)) / 2;
  int top = client.cy - kMargin - kButtonHeight;
  for (int i = 0; i < n; ++i)
    CreateWindowExW(0, kButtonClass, Label(box.buttons[size_t(i)]),
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP, left + i * (kButtonWidth + kButtonGap), top,
                    kButtonWidth, kButtonHeight, h,
                    reinterpret_cast<HMENU>(uintptr_t(box.buttons[size_t(i)])), nullptr, nullptr);
  return h;
}

// Keys of the box: Enter, Space, Escape, Tab and the arrows.
bool BoxKeys(HWND h, Box& box, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.hwnd != h && !IsChild(h, msg.hwnd))) return false;
  int n = int(box.buttons.size());
  HWND focus = GetFocus();
  int current = GetParent(focus) == h ? GetDlgCtrlID(focus) : box.buttons[size_t(box.defaultIndex)];
  auto index = int(std::find(box.buttons.begin(), box.buttons.end(), current) - box.buttons.begin());
  switch (msg.wParam) {
    case VK_RETURN:
    case VK_SPACE: box.answer = current; return true;
    case VK_ESCAPE:
      if (box.escapeAnswer) box.answer = box.escapeAnswer;
      return true;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN: SetFocus(GetDlgItem(h, box.buttons[size_t((index + 1) % n)])); return true;
    case VK_LEFT:
    case VK_UP: SetFocus(GetDlgItem(h, box.buttons[size_t((index + n - 1) % n)])); return true;
    default: return true;
  }
}

Box MakeBox(LPCWSTR text, UINT type) {
  Box box;
  box.text = Utf16(text);
  box.icon = type & MB_ICONMASK;
  box.buttons = ButtonsFor(type);
  box.defaultIndex = std::min(int((type & MB_DEFMASK) >> 8), int(box.buttons.size()) - 1);
  bool hasCancel =
      std::find(box.buttons.begin(), box.buttons.end(), IDCANCEL) != box.buttons.end();
  UINT kind = type & MB_TYPEMASK;
  box.escapeAnswer = hasCancel ? IDCANCEL : kind == MB_OK ? IDOK : 0;
  box.cancelAnswer = box.escapeAnswer ? box.escapeAnswer
                     : kind == MB_YESNO ? IDNO
                                        : box.buttons.front();
  return box;
}

}  // namespace

}  // namespace user

using namespace user;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) try {
  Box box = MakeBox(text, type);
  if (!display::Current()) {
    std::string title = kernel::Utf16ToUtf8(Utf16(caption));
    std::string body = kernel::Utf16ToUtf8(box.text);
    if (title.empty()) std::fprintf(stderr, "%s\n", body.c_str());
    else std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    return box.buttons[size_t(box.defaultIndex)];
  }
  RegisterClasses();
  WindowPtr ownerWindow = Find(owner);
  HWND top = ownerWindow ? TopLevelOf(ownerWindow.get())->handle : nullptr;
  HWND previousFocus = GetFocus();
  HWND h = CreateBox(top, box, caption);
  if (!h) return 0;
  ShowWindow(h, SW_SHOW);
  SetFocus(GetDlgItem(h, box.buttons[size_t(box.defaultIndex)]));
  ModalLoop loop;
  loop.window = h;
  loop.owner = top;
  loop.done = [&] { return box.answer != 0 || !IsWindow(h); };
  loop.cancel = [&] { box.answer = box.cancelAnswer; };
  loop.filter = [&](MSG& msg) { return BoxKeys(h, box, msg); };
  RunModalLoop(loop);
  if (IsWindow(h)) {
    SetWindowLongPtrW(h, GWL_USERDATA, 0);
    DestroyWindow(h);
  }
  if (IsWindow(previousFocus)) SetFocus(previousFocus);
  return box.answer ? box.answer : box.cancelAnswer;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
