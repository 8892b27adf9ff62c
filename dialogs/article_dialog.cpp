#include "dialogs/article_dialog.h"

#include <cstdlib>
#include <cstring>

#include "content/index_stream.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"
#include "index/index_draw.h"
#include "index/index_view.h"
#include "index/outline_expansion.h"
#include "resources/resource_ids.h"
#include "window/menu_bar.h"

ArticleDialogState ArticleDialog;

namespace {

constexpr DWORD DialogScreenFlags =
    SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR;  // 30

ArticleDialogState& S = ArticleDialog;

// The client rectangle, its right edge moved left by the width of a vertical scroll bar.
void TakeClientLessScrollBar(HWND dialog) {
  GetClientRect(dialog, &S.Client);
  S.Client.right -= GetSystemMetrics(SM_CXVSCROLL);
}

// The book's index stream; a record whose data do not end as a stream does gets an end.
BYTE* LoadIndexStream() {
  DWORD length = 0;
  BYTE* stream = LoadLessonResource(IndexLessonNumber, nullptr, &length);
  return EndIndexStreamWithin(stream, length);
}

// Lines the scroll bar's code moves the outline by; 0 for codes that do not move it.
int ScrollBarDelta(WPARAM wParam) {
  const IndexView* view = S.View;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: return -1;
    case SB_LINEDOWN: return +1;
    case SB_PAGEUP: return -view->LinesDrawn;
    case SB_PAGEDOWN: return +view->LinesDrawn;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return SHORT(HIWORD(wParam)) - view->FirstLine;
    case SB_TOP: return -view->FirstLine;
    case SB_BOTTOM: return +1;  // one line, as SB_LINEDOWN
    default: return 0;
  }
}

INT_PTR OnInitDialog(HWND dialog) {
  S.Dialog = dialog;
  S.Dc = GetDC(dialog);
  TakeClientLessScrollBar(dialog);
  OpenIndexView();
  InitDialogScreen(dialog, DialogScreenFlags);
  return 0;
}

// The outline is laid out again for the size the message carries, keeping what was
// open; back at the top when everything fits.
INT_PTR OnSize(HWND dialog, LPARAM lParam) {
  GetClientRect(dialog, &S.Client);
  WORD* expansion = SaveExpansion(S.View);
  S.Client.right -= GetSystemMetrics(SM_CXVSCROLL);
  ResizeIndexView(S.View, LOWORD(lParam), HIWORD(lParam));
  RestoreExpansion(S.View, expansion);
  free(expansion);
  if (S.View && S.View->LastTopLine == 0) S.View->FirstLine = 0;
  DrawIndex(S.View, true);
  UpdateIndexScrollBar();
  return 0;
}

// The DC of the message is filled, and a paint of the outline follows.
INT_PTR OnEraseBackground(WPARAM wParam) {
  FillRect(reinterpret_cast<HDC>(wParam), &S.Client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  InvalidateRect(S.Dialog, &S.Client, FALSE);
  return 1;
}

// Page Up and Page Down move one line, like the arrows.
INT_PTR OnKeyDown(WPARAM key) {
  int delta;
  switch (key) {
    case VK_PRIOR:
    case VK_UP: delta = -1; break;
    case VK_NEXT:
    case VK_DOWN: delta = +1; break;
    default: return 1;
  }
  ScrollIndex(S.View, delta, true, true);
  UpdateIndexScrollBar();
  return 0;
}

INT_PTR OnTap(LPARAM lParam) {
  LONG hit = HitTestIndex(S.View, LOWORD(lParam), HIWORD(lParam));
  if (hit > 0) {
    S.Result = WORD(hit);
    EndDialog(S.Dialog, IDOK);
  } else if (hit < 0) {
    UpdateIndexScrollBar();  // a section was toggled, or the tap fell below the lines
  }
  return 0;
}

INT_PTR OnVScroll(WPARAM wParam, LPARAM lParam) {
  int delta = S.View ? ScrollBarDelta(wParam) : 0;
  if (delta) ScrollIndex(S.View, delta, true, true);
  DefWindowProcW(S.Dialog, WM_VSCROLL, wParam, lParam);
  if (delta) UpdateIndexScrollBar();
  return 1;
}

INT_PTR OnCommand(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:  // the caption's button: the current lesson stays the result
      EndDialog(S.Dialog, IDOK);
      return 1;
    case IDCANCEL:
      S.Result = 0;
      EndDialog(S.Dialog, IDCANCEL);
      return 1;
    default: return 0;
  }
}

INT_PTR OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_ACTIVE && TaskBarWindow) ShowWindow(TaskBarWindow, SW_HIDE);
  return 0;
}

INT_PTR OnDestroy() {
  ReleaseDC(S.Dialog, S.Dc);
  S.Dc = nullptr;
  DestroyIndexView(S.View, true);
  S.View = nullptr;
  return 0;
}

}  // namespace

WORD ChooseArticle(HINSTANCE instance, HWND parent, WORD lesson, FontChoice* font) {
  memset(&S, 0, sizeof S);
  S.Font = font;
  S.Current = lesson;
  S.Result = lesson;
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_CHOOSE_ARTICLE), RT_DIALOG);
  const void* dialogTemplate = found ? LoadResource(instance, found) : nullptr;
  if (dialogTemplate)
    DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), parent,
                            ArticleDialogProc, 0);
  return S.Result;
}

void OpenIndexView() {
  BYTE* stream = MergeBookmarks(LoadIndexStream());
  S.View = CreateIndexView(S.Dc, &S.Client, S.Font, ArticleDialogLines);
  // A stream the outline does not take (no view, or refused) is released here.
  if (LayoutIndex(S.View, stream, false) == IndexUnusable || !S.View) free(stream);
  ExpandToLesson(S.View, S.Result);
  UpdateIndexScrollBar();
}

void UpdateIndexScrollBar() {
  if (!S.View) return;
  SCROLLINFO info = {};
  info.cbSize = 28;
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = 0;
  info.nMax = S.View->LastTopLine;
  info.nPage = 0;
  info.nPos = S.View->FirstLine;
  SetScrollInfo(S.Dialog, SB_VERT, &info, TRUE);
}

INT_PTR CALLBACK ArticleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_SIZE: return OnSize(dialog, lParam);
    case WM_PAINT:
      DrawIndex(S.View, true);
      return 0;  // the default processing validates the window
    case WM_ERASEBKGND: return OnEraseBackground(wParam);
    case WM_KEYDOWN: return OnKeyDown(wParam);
    case WM_LBUTTONDOWN: return OnTap(lParam);
    case WM_VSCROLL: return OnVScroll(wParam, lParam);
    case WM_COMMAND: return OnCommand(wParam);
    case WM_ACTIVATE: return OnActivate(wParam);
    case WM_DESTROY: return OnDestroy();
    default: return 0;
  }
}
