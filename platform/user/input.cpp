// Display events become messages: keys to the focused window (or the active one),
// stylus to the window under it (or the capture), the wheel to the nearest window with
// a vertical scroll bar, and the system's requests (close, quit, list the windows).
#include <cstdlib>
#include <iostream>

#include "user/internal.h"

namespace user {

namespace {

HWND okPressed = nullptr;  // a caption "ok" button being pressed

HWND KeyTarget() { return S().focus ? S().focus : S().active; }

void KeyEvent(const display::Event& e, bool down) {
  S().modifiers = e.modifiers;
  S().keysDown[e.key & 0xFF] = down;
  S().keysDown[VK_SHIFT] = (e.modifiers & display::ModShift) != 0;
  S().keysDown[VK_CONTROL] = (e.modifiers & display::ModCtrl) != 0;
  S().keysDown[VK_MENU] = (e.modifiers & display::ModAlt) != 0;
  HWND target = KeyTarget();
  if (!target) return;
  LPARAM lParam = 1;
  if (e.modifiers & display::ModAlt) lParam |= LPARAM(1) << 29;
  if (!down) lParam |= LPARAM(3) << 30;
  if (down && e.ch) lParam |= kKeyTypesText;
  PostInput(target, down ? WM_KEYDOWN : WM_KEYUP, e.key, lParam);
}

void CharEvent(const display::Event& e) {
  HWND target = KeyTarget();
  if (!target || e.ch == 0) return;
  char32_t c = e.ch;
  if (c < 0x10000) {
    PostInput(target, WM_CHAR, WPARAM(c), 1);
    return;
  }
  c -= 0x10000;
  PostInput(target, WM_CHAR, WPARAM(0xD800 + (c >> 10)), 1);
  PostInput(target, WM_CHAR, WPARAM(0xDC00 + (c & 0x3FF)), 1);
}

LPARAM ClientPoint(HWND window, POINT screen) {
  ScreenToClient(window, &screen);
  return MAKELPARAM(screen.x, screen.y);
}

// The window a stylus event at a screen point goes to: the deepest visible child,
// passing over windows that answer WM_NCHITTEST with HTTRANSPARENT.
HWND StylusWindowAt(POINT p) {
  HWND top = TopLevelAt(p);
  if (!top) return nullptr;
  HWND hit = DeepestChildAt(top, p);
  while (hit != top) {
    WindowPtr w = Find(hit);
    if (!w) return nullptr;
    if (Call(hit, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) != HTTRANSPARENT) break;
    hit = w->parent;
  }
  return hit;
}

// Whether a screen point is on one part of the window's frame.
bool OnFramePart(HWND window, POINT screen, RECT Frame::*part) {
  WindowPtr w = Find(window);
  if (!w) return false;
  RECT r = ComputeFrame(*w).*part;
  POINT at = WindowOrigin(*w);
  OffsetRect(&r, at.x, at.y);
  return PtInRect(&r, screen);
}

bool InClient(HWND window, POINT screen) { return OnFramePart(window, screen, &Frame::client); }
bool OnOkButton(HWND window, POINT screen) { return OnFramePart(window, screen, &Frame::okButton); }

void StylusDown(POINT p) {
  S().stylusDown = true;
  S().keysDown[VK_LBUTTON] = true;
  if (HWND capture = S().capture) {
    PostInput(capture, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(capture, p));
    return;
  }
  HWND top = TopLevelAt(p);
  WindowPtr t = Find(top);
  if (!t) return;
  if (t->style & WS_DISABLED) {
    SetForegroundWindow(top);  // brings its modal dialog forward
    return;
  }
  if (top != S().active && !(t->exStyle & WS_EX_NOACTIVATE) && !t->system)
    Activate(top, WA_CLICKACTIVE);
  HWND hit = StylusWindowAt(p);
  if (!hit) return;
  if (ScrollBarPress(hit, p)) {
    S().stylusOnFrame = true;
    return;
  }
  if (OnOkButton(hit, p)) {
    okPressed = hit;
    S().stylusOnFrame = true;
    return;
  }
  if (!InClient(hit, p) || !IsWindowEnabled(hit)) return;
  PostInput(hit, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(hit, p));
}

HWND MoveTarget(POINT p) {
  if (S().capture) return S().capture;
  HWND hit = StylusWindowAt(p);
  return hit && InClient(hit, p) && IsWindowEnabled(hit) ? hit : nullptr;
}

void StylusMove(POINT p) {
  if (S().stylusOnFrame) {
    ScrollBarMove(p);
    return;
  }
  if (HWND target = MoveTarget(p))
    PostInput(target, WM_MOUSEMOVE, S().stylusDown ? MK_LBUTTON : 0, ClientPoint(target, p));
}

void StylusUp(POINT p) {
  S().stylusDown = false;
  S().keysDown[VK_LBUTTON] = false;
  if (S().stylusOnFrame) {
    S().stylusOnFrame = false;
    if (ScrollBarTracking()) {
      ScrollBarRelease(p);
    } else if (okPressed) {
      HWND pressed = okPressed;
      okPressed = nullptr;
      if (OnOkButton(pressed, p)) PostMessageW(pressed, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    }
    return;
  }
  if (HWND target = MoveTarget(p)) PostInput(target, WM_LBUTTONUP, 0, ClientPoint(target, p));
}

void Wheel(POINT p, int clicks) {
  HWND h = WindowFromPoint(p);
  WindowPtr w = Find(h);
  while (w && !w->vscroll.shown) w = Find(w->parent);
  if (!w || clicks == 0 || ScrollBarEmpty(w->vscroll)) return;
  HWND target = w->handle;
  for (int i = 0; i < std::abs(clicks); ++i)
    SendMessageW(target, WM_VSCROLL, MAKEWPARAM(clicks > 0 ? SB_LINEUP : SB_LINEDOWN, 0), 0);
  SendMessageW(target, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

// The system's close request: open dialogs and boxes give their cancel answer, then the
// main window gets WM_CLOSE once their loops have unwound.
void RequestClose() {
  CancelModalLoops();
  S().closeMainWhenUnwound = true;
}

// A program that is still running after a close request: end it regardless.
void ForceQuit() {
  CancelModalLoops();
  std::vector<HWND> windows = S().zorder;
  for (HWND h : windows) DestroyWindow(h);
  if (!S().quitPosted) PostQuitMessage(0);
}

}  // namespace

void CancelModalLoops() {
  std::vector<ModalFrame*> frames(S().modals.rbegin(), S().modals.rend());
  for (ModalFrame* frame : frames)
    if (frame->loop->cancel) frame->loop->cancel();
  // Wakes the innermost loop, so it sees that it is done.
  if (!frames.empty()) PostInput(nullptr, WM_NULL, 0, 0);
}

bool CloseRequestWaiting() {
  return S().closeMainWhenUnwound && S().modals.empty() && MainWindow();
}

// Without a main window yet (a request during the start), the request waits for it.
void CloseMainWhenUnwound() {
  HWND main = MainWindow();
  if (!main) return;
  S().closeMainWhenUnwound = false;
  PostMessageW(main, WM_CLOSE, 0, 0);
}

void HandleDisplayEvent(const display::Event& e) {
  POINT p{e.x, e.y};
  if (e.kind == display::EventKind::StylusDown || e.kind == display::EventKind::StylusMove ||
      e.kind == display::EventKind::StylusUp || e.kind == display::EventKind::Wheel)
    S().last.pt = p;
  switch (e.kind) {
    case display::EventKind::KeyDown: KeyEvent(e, true); break;
    case display::EventKind::KeyUp: KeyEvent(e, false); break;
    case display::EventKind::Char: CharEvent(e); break;
    case display::EventKind::StylusDown: StylusDown(p); break;
    case display::EventKind::StylusMove: StylusMove(p); break;
    case display::EventKind::StylusUp: StylusUp(p); break;
    case display::EventKind::Wheel: Wheel(p, e.wheel); break;
    case display::EventKind::Resize: SetScreenSize(e.width, e.height); break;
    case display::EventKind::Close: RequestClose(); break;
    case display::EventKind::ListWindows:
      PrintWindowList(std::cout);
      std::cout.flush();
      break;
    case display::EventKind::Quit:
      if (++S().quitRequests == 1) RequestClose();
      else ForceQuit();
      break;
  }
}

}  // namespace user

SHORT GetKeyState(int virtualKey) {
  return user::S().keysDown[virtualKey & 0xFF] ? SHORT(0x8000) : SHORT(0);
}

SHORT GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }
