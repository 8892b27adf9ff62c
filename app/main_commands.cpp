// The commands of the menu and the tool bar, and the lesson switches they make.
#include "base/alloc.h"
#include "base/app_state.h"
#include "app/main_window.h"
#include "dialogs/about_dialog.h"
#include "dialogs/article_dialog.h"
#include "dialogs/font_dialog.h"
#include "dialogs/update_address.h"
#include "search/search_dialog.h"
#include "search/search_next.h"
#include "window/main_view.h"
#include "window/menu_bar.h"
#include "calendar/lesson_choice.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"
#include "view/article_draw.h"
#include "view/article_view.h"
#include "resources/resource_ids.h"

namespace {

void ChooseArticle(HWND window) {
  ShowChosenLesson(window, ChooseArticle(App.Instance, App.MainWindow, App.Lesson, &App.Font));
}

void ChooseFont(HWND window) {
  if (RunFontDialog(window, &App.Font) == IDOK) ChangeArticleFont(App.View, &App.Font);
}

void ToggleReverse(HWND window) {
  UpdateReverseCheck(window, 0);
  DrawArticle(App.View, true);
}

void ToggleCurrentBookmark(HWND window) {
  ToggleBookmark(IsBookmarked());
  UpdateBookmarkCheck(window, 1);
}

}  // namespace

int HandleCommand(HWND window, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDM_CHOOSE_ARTICLE:
    case IDM_INDEX:
      ChooseArticle(window);
      return 0;
    case IDM_TODAY:
      ShowLesson(window, 0);
      return 0;
    case IDM_NEXT_ARTICLE:
      StepLesson(window, +1);
      return 0;
    case IDM_PREVIOUS_ARTICLE:
      StepLesson(window, -1);
      return 0;
    case IDM_REVERSE:
      ToggleReverse(window);
      return 0;
    case IDM_BOOKMARK:
      ToggleCurrentBookmark(window);
      return 0;
    case IDM_EXIT:
      DestroyWindow(window);
      return 0;
    case IDM_FONT:
      ChooseFont(window);
      return 0;
    case IDM_CHECK_FOR_UPDATES:
      CheckForUpdates(App.MainWindow);
      return 0;
    case IDM_ABOUT:
      RunAboutDialog(window);
      return 0;
    case IDM_SEARCH:
      RunSearchDialog(App.MainWindow);
      return 0;
    case IDM_SEARCH_AGAIN:
      SearchNext(App.MainWindow);
      return 0;
    default:
      return 1;
  }
}

int ShowLesson(HWND window, WORD lesson) {
  WORD keptLesson = App.Lesson;
  DWORD keptFlags = App.Flags;
  SelectLesson(lesson, true);
  BYTE* text = LoadArticle(App.Lesson);
  WORD placed = text ? PlaceMainViewText(text, true) : LayoutNoText;
  if (placed != LayoutDone) {
    // The view still shows the old lesson: the state goes back to it before memory that
    // ran out is reported, since the orderly end that follows saves it.
    App.Lesson = keptLesson;
    App.Flags = keptFlags;
    if (placed == LayoutOutOfMemory) ReportOutOfMemory();
    return 1;
  }
  App.View->FirstLine = 0;
  RepaintView(window, PaintAll);
  UpdateBookmarkCheck(window, 1);
  return 0;
}

int StepLesson(HWND window, int delta) {
  int n = App.Lesson + delta;
  if (n > LessonCount)
    n = 1;
  else if (n < 1)
    n = LessonCount;
  return ShowLesson(window, static_cast<WORD>(n));
}

void ShowChosenLesson(HWND window, WORD chosen) {
  if (chosen != 0 && chosen != App.Lesson) ShowLesson(window, chosen);
}
