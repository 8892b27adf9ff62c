// The static control: a line or block of text (left, centred or right), or a bitmap
// that gives the control its size. Without SS_NOTIFY it is transparent to the stylus,
// which then reaches the window below it (the dialog).
#include "user/controls/common.h"

namespace user::controls {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;
  bool ownsBitmap = false;  // loaded from the template's resource id
};

DWORD Type(HWND window) { return DWORD(GetWindowLongW(window, GWL_STYLE)) & SS_TYPEMASK; }

void SizeToBitmap(HWND window, HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return;
  SetWindowPos(window, nullptr, 0, 0, bm.bmWidth, bm.bmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintBitmap(HDC dc, HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void PaintText(HWND window, HDC dc, HFONT font) {
  DWORD style = DWORD(GetWindowLongW(window, GWL_STYLE));
  RECT client;
  GetClientRect(window, &client);
  UINT format = DT_WORDBREAK;
  if (Type(window) == SS_CENTER) format |= DT_CENTER;
  if (Type(window) == SS_RIGHT) format |= DT_RIGHT;
  if (Type(window) == SS_LEFTNOWORDWRAP) format = DT_SINGLELINE;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  std::u16string text = WindowText(window);
  HGDIOBJ old = SelectObject(dc, DrawingFont(font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsWindowEnabled(window) ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), int(text.size()), &client, format);
  SelectObject(dc, old);
}

void Create(HWND window, const CREATESTRUCTW* cs, StaticState* s) {
  if (Type(window) != SS_BITMAP) return;
  // A template names the bitmap by resource id: 0xFFFF, then the id.
  LPCWSTR name = cs->lpszName;
  if (name && name[0] == 0xFFFF) {
    s->bitmap = LoadBitmapW(cs->hInstance, MAKEINTRESOURCEW(name[1]));
    s->ownsBitmap = s->bitmap != nullptr;
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
  } else if (name && IS_INTRESOURCE(name)) {
    s->bitmap = LoadBitmapW(cs->hInstance, name);
    s->ownsBitmap = s->bitmap != nullptr;
  }
  SizeToBitmap(window, s->bitmap);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  StaticState* s = StateOf<StaticState>(window);
  switch (message) {
    case WM_NCCREATE:
      SetState(window, new StaticState);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CREATE:
      if (s) Create(window, reinterpret_cast<const CREATESTRUCTW*>(lParam), s);
      return 0;
    case WM_NCDESTROY:
      if (s && s->ownsBitmap) DeleteObject(s->bitmap);
      delete s;
      SetState<StaticState>(window, nullptr);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCHITTEST:
      if (!(GetWindowLongW(window, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
      return HTCLIENT;
    case WM_LBUTTONDOWN:
      Notify(window, STN_CLICKED);
      return 0;
    case WM_SETFONT:
      if (s) s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return s ? reinterpret_cast<LRESULT>(s->font) : 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return r;
    }
    case STM_SETIMAGE: {
      if (!s || wParam != IMAGE_BITMAP) return 0;
      HBITMAP old = s->bitmap;
      if (s->ownsBitmap) {
        DeleteObject(old);
        old = nullptr;
      }
      s->bitmap = reinterpret_cast<HBITMAP>(lParam);
      s->ownsBitmap = false;
      SizeToBitmap(window, s->bitmap);
      InvalidateRect(window, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
      return s && wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(s->bitmap) : 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillColour(reinterpret_cast<HDC>(wParam), client, GetSysColor(COLOR_WINDOW));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (s && Type(window) == SS_BITMAP)
        PaintBitmap(dc, s->bitmap);
      else if (s)
        PaintText(window, dc, s->font);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

}  // namespace user::controls
