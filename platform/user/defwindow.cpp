// The default handling of messages.
#include <algorithm>

#include "kernel/utf.h"
#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

LRESULT EraseBackground(Window& w, HDC dc) {
  HBRUSH brush = w.cls->wc.hbrBackground;
  if (!brush) return 0;
  RECT client;
  GetClientRect(w.handle, &client);
  // A system colour index + 1 stands for that colour.
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value <= COLOR_3DLIGHT + 1)
    FillColour(dc, client, GetSysColor(int(value) - 1));
  else
    FillRect(dc, &client, brush);
  return 1;
}

LRESULT HitTest(Window& w, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  POINT at = WindowOrigin(w);
  p.x -= at.x, p.y -= at.y;
  Frame f = ComputeFrame(w);
  RECT all{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
  if (!PtInRect(&all, p)) return HTNOWHERE;
  if (PtInRect(&f.client, p)) return HTCLIENT;
  if (PtInRect(&f.vscroll, p)) return HTVSCROLL;
  if (PtInRect(&f.captionBar, p)) return HTCAPTION;
  return HTBORDER;
}

LRESULT SetText(Window& w, LPARAM lParam) {
  w.text = Utf16(reinterpret_cast<LPCWSTR>(lParam));
  w.frameDirty = true;
  if (!w.parent && !w.system) ShowTitleOnDisplay();
  return TRUE;
}

LRESULT GetText(Window& w, WPARAM size, LPARAM lParam) {
  auto* buffer = reinterpret_cast<LPWSTR>(lParam);
  if (!buffer || size == 0) return 0;
  size_t n = std::min(w.text.size(), size_t(size) - 1);
  std::copy_n(w.text.data(), n, buffer);
  buffer[n] = 0;
  return LRESULT(n);
}

}  // namespace

}  // namespace user

using namespace user;

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  WindowPtr w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_ERASEBKGND: return EraseBackground(*w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCHITTEST: return HitTest(*w, lParam);
    case WM_SETTEXT: return SetText(*w, lParam);
    case WM_GETTEXT: return GetText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(S().focus && (S().focus == window || IsChild(window, S().focus))))
        SetFocus(window);
      return 0;
    case WM_CANCELMODE:
      if (S().capture == window) ReleaseCapture();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == 0xF060) SendMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default: return 0;
  }
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? user::CallProcedure(proc, window, message, wParam, lParam) : 0;
}
