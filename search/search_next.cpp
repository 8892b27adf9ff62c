#include "search/search_next.h"

#include <cstdlib>

#include "base/alloc.h"
#include "base/app_state.h"
#include "calendar/lesson_choice.h"
#include "content/lesson_loader.h"
#include "search/matcher.h"
#include "search/search_pattern.h"
#include "view/article_draw.h"
#include "view/entry_parts.h"
#include "view/line_walker.h"
#include "view/title_banner.h"
#include "window/main_view.h"
#include "window/menu_bar.h"

namespace {

const WCHAR* const NotFoundText = u"Not Found!";
const WCHAR* const NotFoundCaption = u"Vintrel - 5765 (heb)";

// The other lessons in search order, step 1 onward: those after the shown one, going on
// with 1, up to the one before it; all of them when the shown lesson is none (0, or a
// stored number beyond the book).
bool IsLesson(WORD lesson) { return lesson >= 1 && lesson <= LessonCount; }
int OtherLessonCount(WORD shown) { return IsLesson(shown) ? LessonCount - 1 : LessonCount; }
WORD OtherLesson(WORD shown, int step) {
  int from = IsLesson(shown) ? shown : 0;
  return WORD((from + step - 1) % LessonCount + 1);
}

bool SearchShown(WORD start, SearchHit* hit) {
  const ArticleView* view = App.View;
  if (!view->Text) return false;
  hit->Offset = SearchArticle(view->Text, start, &hit->Length);
  hit->Lesson = App.Lesson;
  return hit->Offset != 0;
}

// The found lesson becomes the current one, its text the view's, from its top; when the
// view cannot take the text it keeps the old page, and the lesson stays as it was.
bool MakeLessonCurrent(const SearchHit& hit) {
  WORD keptLesson = App.Lesson;
  DWORD keptFlags = App.Flags;
  SelectLesson(hit.Lesson, true);
  WORD placed = PlaceMainViewText(hit.Text, true);
  if (placed == LayoutDone) {
    App.View->FirstLine = 0;
    return true;
  }
  App.Lesson = keptLesson;
  App.Flags = keptFlags;
  if (placed == LayoutOutOfMemory) ReportOutOfMemory();
  return false;
}

void ShowMatch(HWND window, const SearchHit& hit) {
  ArticleView* view = App.View;
  ScrollToOffset(view, hit.Offset);
  RepaintView(nullptr, PaintAll);
  view->HighlightStart = WORD(hit.Offset - hit.Length + 1);
  view->HighlightEnd = WORD(hit.Offset + 1);
  DrawArticle(view, true);
  UpdateBookmarkCheck(window, 1);
  DrawTitleBanner(view);
  view->BannerShown = true;
}

}  // namespace

WORD SearchArticle(const BYTE* text, WORD start, WORD* length) {
  return SearchArticleFor(App.SearchString, SearchPatternLength(), text, start, length,
                          AllocOrQuit);
}

WORD SearchStartOffset(const ArticleView* view) {
  if (!view || !view->Lines || !view->Text) return 0;
  LineWalker walk(view->Lines);
  walk.SkipUntil([view](const LineEntry&, int line) { return line >= view->FirstLine; });
  // The top line with its hanging word; the closing entry holds nothing.
  TextSpan top = EntrySpan(view, walk.Entry());
  WORD topStart = WORD(top.Last - 1);
  if (!view->HighlightStart) return topStart;
  bool awayFromMatch = view->HighlightEnd < top.First || view->HighlightEnd > top.Last;
  if (awayFromMatch && view->FirstLine < view->LastTopLine) return topStart;
  return ContinueAfterMatch(view->Text, view->HighlightStart);
}

bool FindNextMatch(SearchHit* hit) {
  *hit = SearchHit{};
  if (!App.View || !SearchPatternLength()) return false;
  if (SearchShown(SearchStartOffset(App.View), hit)) return true;
  for (int step = 1; step <= OtherLessonCount(App.Lesson); ++step) {
    WORD lesson = OtherLesson(App.Lesson, step);
    BYTE* text = LoadArticle(lesson);
    if (!text) continue;
    WORD offset = SearchArticle(text, 0, &hit->Length);
    if (offset) {
      *hit = SearchHit{lesson, text, offset, hit->Length};
      return true;
    }
    free(text);
  }
  return SearchShown(0, hit);
}

int SearchNext(HWND window) {
  if (!App.View || !SearchPatternLength()) return 0;
  SearchHit hit;
  if (!FindNextMatch(&hit)) {
    MessageBoxW(window, NotFoundText, NotFoundCaption, MB_OK);
    return 0;
  }
  if (hit.Text && !MakeLessonCurrent(hit)) return 0;
  ShowMatch(window, hit);
  return 1;
}
