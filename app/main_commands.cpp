// The commands of the menu and the tool bar, and the lesson switches they make.
#include "base/app_state.h"
#include "app/dialog_hooks.h"
#include "app/main_window.h"
#include "window/main_view.h"
#include "window/menu_bar.h"
#include "calendar/lesson_choice.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

enum Command : WORD {
  ChooseArticleButton = 107,
  TodayCommand = 108,
  NextArticle = 109,
  PreviousArticle = 110,
  SearchCommand = 116,
  SearchAgain = 117,
  IndexCommand = 119,
  ReverseCommand = 122,
  BookmarkCommand = 123,
  CheckForUpdates = 129,
  AboutCommand = 40004,
  ExitCommand = 40005,
  FontCommand = 40006,
};

constexpr int FontDialogId = 105;

void ChooseArticle(HWND window) {
  ShowChosenLesson(window, RunChooseArticle(App.Instance, App.MainWindow, App.Lesson, &App.Font));
}

void ChooseFont(HWND window) {
  if (RunFontDialog(window, FontDialogId, &App.Font) == 1) ChangeArticleFont(App.View, &App.Font);
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
    case ChooseArticleButton:
    case IndexCommand:
      ChooseArticle(window);
      return 0;
    case TodayCommand:
      ShowLesson(window, 0);
      return 0;
    case NextArticle:
      StepLesson(window, +1);
      return 0;
    case PreviousArticle:
      StepLesson(window, -1);
      return 0;
    case ReverseCommand:
      ToggleReverse(window);
      return 0;
    case BookmarkCommand:
      ToggleCurrentBookmark(window);
      return 0;
    case ExitCommand:
      DestroyWindow(window);
      return 0;
    case FontCommand:
      ChooseFont(window);
      return 0;
    case SearchCommand:
    case SearchAgain:
    case CheckForUpdates:
    case AboutCommand:
      return 0;  // the search, the update link and the About dialog come with their code
    default:
      return 1;
  }
}

int ShowLesson(HWND window, WORD lesson) {
  WORD keptLesson = App.Lesson;
  DWORD keptFlags = App.Flags;
  SelectLesson(lesson, true);
  BYTE* text = LoadArticle(App.Lesson);
  if (!text || !PlaceMainViewText(text, true)) {
    App.Lesson = keptLesson;
    App.Flags = keptFlags;
    if (text) RepaintView(window, PaintAll);  // the view let its old text go
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
