#include "window/main_view.h"

#include "base/alloc.h"
#include "base/app_state.h"
#include "content/lesson_loader.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

constexpr WORD InitialLineCapacity = 100;

// The client rectangle less the menu bar and, on each axis wide enough, the gutter.
RECT ViewRectangle(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  if (App.MenuBarOnBottom)
    r.bottom -= App.MenuBarHeight;
  else
    r.top += App.MenuBarHeight;
  LONG g = App.SurroundingGutter;
  if (r.bottom - r.top > 2 * g) r.top += g, r.bottom -= g;
  if (r.right - r.left > 2 * g) r.left += g, r.right -= g;
  return r;
}

}  // namespace

WORD PlaceMainViewText(BYTE* text, bool freeOld) {
  WORD status = LayoutArticle(App.View, text, freeOld);
  if (status != LayoutDone) free(text);
  return status;
}

int CreateMainView(HWND window) {
  HDC dc = GetDC(window);
  RECT r = ViewRectangle(window);
  App.View = CreateArticleView(dc, &r, &App.Font, InitialLineCapacity);
  if (!App.View) {
    ReleaseDC(window, dc);
    return 1;
  }
  BYTE* text = LoadArticle(App.Lesson);
  if (!text) {
    MessageBoxW(window, u"Resource not found", u"Error", MB_ICONEXCLAMATION);
    return 0;
  }
  // The stored position stays the view's even when its text cannot be laid out, so that
  // an end right after (out of memory) writes it back unchanged.
  App.View->FirstLine = App.LastPosition;
  if (PlaceMainViewText(text, false) == LayoutOutOfMemory) ReportOutOfMemory();
  SyncScrollBar(window);
  return 0;
}

void ResizeMainView(HWND window, LPARAM lParam) {
  LONG cx = LOWORD(lParam), cy = HIWORD(lParam);
  LONG twice = 2 * App.SurroundingGutter;
  if (cx > twice) cx -= twice;
  if (cy > twice) cy -= twice;
  if (!App.View || (App.View->Width == cx && App.View->Height == cy)) return;
  // The comparison above is made before the menu bar's height is taken off.
  ResizeArticleView(App.View, cx, cy - App.MenuBarHeight);
  SyncScrollBar(window);
}

void SyncScrollBar(HWND window) {
  if (!HasScrollBar(App.Flags) || !App.View) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = 0;
  info.nMax = App.View->LastTopLine;
  info.nPos = App.View->FirstLine;
  SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void PaintView(HDC dc, HWND window, UINT flags) {
  PAINTSTRUCT paint;
  if (!dc) BeginPaint(window, &paint);
  if (flags & PaintDraw) DrawArticle(App.View, (flags & PaintErase) != 0);
  if (!dc) EndPaint(window, &paint);
}

void RepaintView(HWND window, UINT flags) {
  if (!window) window = App.MainWindow;
  HDC dc = GetDC(window);
  PaintView(dc, window, flags);
  ReleaseDC(window, dc);
  SyncScrollBar(window);
}
