// Paging the reading view: the reader's keys, the scroll bar's requests and taps in the
// upper or lower (left or right) half of the text.
#include "base/app_state.h"
#include "app/main_window.h"
#include "search/search_next.h"
#include "window/main_view.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

// A page by a page mode (the three bits of TapPageMode or KeyPageMode): half the
// lines drawn for modes 2 and 4, else all but one. Never below 0, so a view that has
// drawn nothing yet does not page backwards.
int PageLines(const ArticleView* view, DWORD mode) {
  LONG drawn = view ? view->LinesDrawn : 0;
  LONG lines = (mode == 2 || mode == 4) ? drawn / 2 : drawn - 1;
  return lines > 0 ? static_cast<int>(lines) : 0;
}

// Every scrolling key: move, redraw, and keep the scroll bar in step.
LRESULT ScrollByKey(HWND window, int lines) {
  ScrollArticle(App.View, lines, 1, true);
  SyncScrollBar(window);
  return 0;
}

}  // namespace

int KeyPageLines() { return PageLines(App.View, KeyPageModeOf(App.Flags)); }

LRESULT HandleKey(HWND window, WPARAM key) {
  WORD first = ArticleViewFirstLine(App.View);
  WORD lastTop = App.View ? App.View->LastTopLine : 0;
  switch (key) {
    case VK_RETURN:
      if (App.SearchString[0]) SearchNext(window);  // the next match of the pattern
      return 0;
    case VK_PRIOR:
      return ScrollByKey(window, -KeyPageLines());
    case VK_NEXT:
      return ScrollByKey(window, KeyPageLines());
    case VK_END:
      return ScrollByKey(window, lastTop ? lastTop : KeyPageLines());
    case VK_HOME:
      return ScrollByKey(window, first ? -first : -KeyPageLines());
    case VK_LEFT:
      StepLesson(window, -1);
      return 0;
    case VK_UP:
      return ScrollByKey(window, -1);
    case VK_RIGHT:
      StepLesson(window, +1);
      return 0;
    case VK_DOWN:
      return ScrollByKey(window, 1);
    default:
      return 1;
  }
}

int ScrollBarLines(WPARAM wParam) {
  int first = ArticleViewFirstLine(App.View);
  int page = PageLines(App.View, 0);  // the scroll bar pages by all lines but one
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      return -1;
    case SB_LINEDOWN:
    case SB_BOTTOM:  // one line, as the line arrow: never a jump to the end
      return 1;
    case SB_PAGEUP:
      return -page;
    case SB_PAGEDOWN:
      return page;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return static_cast<SHORT>(HIWORD(wParam)) - first;
    case SB_TOP:
      return -first;
    default:
      return 0;
  }
}

int TapPage(HWND window, ArticleView* view, int x, int y) {
  LONG g = App.SurroundingGutter;
  // The gutter widens the left, right and top edges; the bottom edge gets none.
  if (x < view->Left - g || x > view->Left + view->Width + g) return 0;
  if (y < view->Top - g || y > view->Top + view->Height) return 0;
  if (!TapsPage(App.Flags)) return 0;
  bool vertical = TapsVertically(App.Flags);
  int coordinate = vertical ? y : x;
  int middle = vertical ? view->Top + view->Height / 2 : view->Left + view->Width / 2;
  int lines = PageLines(view, TapPageModeOf(App.Flags));
  ScrollArticle(view, coordinate < middle ? -lines : lines, 1, true);
  SyncScrollBar(window);
  return 1;
}
