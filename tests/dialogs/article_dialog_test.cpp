// The Choose Article dialog with the book's index: opened at the current lesson, the
// lesson chosen by a tap, OK and Cancel, sections opened and closed, the scroll bar and
// keys, a resize, the bookmarks on top, the screen modes and memory running out.
#include <cstring>

#include "article_dialog_fixture.h"
#include "index/outline_expansion.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace dialog_test {
namespace {

constexpr WORD Tishrei = 0xBFFE;    // the first section: lessons 1 to 19
constexpr WORD Cheshvan = 0xBFEA;   // the second
constexpr WORD Bookmarks = 0x8877;  // the section of the bookmarks

TEST_F(ArticleDialogTest, TheOutlineOpensAtTheCurrentLessonBesideItsScrollBar) {
  Choose(5, {[](HWND dialog) {
               std::vector<WORD> keys = VisibleKeys();
               ASSERT_GE(keys.size(), 4u);
               EXPECT_EQ(std::vector<WORD>(keys.begin(), keys.begin() + 4),
                         (std::vector<WORD>{Tishrei, ArticleKey(5), ArticleKey(6), Cheshvan}));
               EXPECT_FALSE(IsEntryExpanded(ArticleDialog.View->Lines[0].EntryFlags));
               EXPECT_EQ(ArticleDialog.View->FirstLine, 0);
               // The dialog fills the work area below the task bar; the bar is shown
               // and the outline takes the client area beside it.
               RECT window, client;
               GetWindowRect(dialog, &window);
               GetClientRect(dialog, &client);
               EXPECT_EQ(window.top, 26);
               EXPECT_EQ(window.bottom, 320);
               EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & WS_VSCROLL);
               EXPECT_EQ(ArticleDialog.View->Width, client.right);
               EXPECT_EQ(ArticleDialog.View->Height, client.bottom);
               SCROLLINFO bar = ScrollBar(dialog);
               EXPECT_EQ(bar.nMax, ArticleDialog.View->LastTopLine);
               EXPECT_GT(bar.nMax, 0);
               EXPECT_EQ(bar.nPos, 0);
               EXPECT_GT(ArticleDialog.View->LinesDrawn, 0);
             },
             [](HWND dialog) { TapOk(dialog); }});
}

TEST_F(ArticleDialogTest, TheLessonChosenOkAndCancel) {
  struct Case {
    const char* what;
    Step step;
    WORD chosen;
  };
  const Case cases[] = {
      {"ok", [](HWND dialog) { TapOk(dialog); }, 5},
      {"Enter", [](HWND) { Key(VK_RETURN); }, 5},
      {"Escape", [](HWND) { Key(VK_ESCAPE); }, 0},
      {"the current lesson", [](HWND dialog) { TapTitle(dialog, ArticleKey(5)); }, 5},
      {"the next lesson", [](HWND dialog) { TapTitle(dialog, ArticleKey(6)); }, 6},
      {"a lesson's mark", [](HWND dialog) { TapMark(dialog, ArticleKey(6)); }, 6},
  };
  for (const Case& c : cases) EXPECT_EQ(Choose(5, {c.step}), c.chosen) << c.what;
}

// Taps on a section's mark open and close it; the scroll bar's range follows.
TEST_F(ArticleDialogTest, TappingASectionsMarkOpensAndClosesIt) {
  int range = 0;
  WORD visible = 0;
  Choose(5, {[&](HWND dialog) {
               range = ScrollBar(dialog).nMax;
               visible = ArticleDialog.View->VisibleCount;
               TapMark(dialog, Cheshvan);
             },
             [&](HWND dialog) {
               EXPECT_TRUE(IsEntryExpanded(ArticleDialog.View->Lines[LineOf(Cheshvan)].EntryFlags));
               EXPECT_GT(ArticleDialog.View->VisibleCount, visible);
               EXPECT_EQ(ScrollBar(dialog).nMax, ArticleDialog.View->LastTopLine);
               EXPECT_GT(ScrollBar(dialog).nMax, range);
               TapTitle(dialog, Cheshvan);
             },
             [&](HWND dialog) {
               EXPECT_EQ(ArticleDialog.View->VisibleCount, visible);
               EXPECT_EQ(ScrollBar(dialog).nMax, range);
               // A tap left of every title does nothing.
               TapClient(dialog, 1, PageY(Cheshvan) + 2);
             },
             [&](HWND dialog) {
               EXPECT_EQ(ArticleDialog.View->VisibleCount, visible);
               TapOk(dialog);
             }});
}

// The page of the outline is the lines the last drawing showed, with no overlap;
// SB_BOTTOM moves one line, as the line arrow does.
TEST_F(ArticleDialogTest, ScrollBarRequests) {
  Choose(5, {[](HWND dialog) {
               IndexView* view = ArticleDialog.View;
               ToggleSection(view, LineOf(Cheshvan));
               ToggleSection(view, LineOf(Tishrei));
               UpdateIndexScrollBar();
               auto request = [&](WPARAM wParam, int first) {
                 EXPECT_EQ(SendMessageW(dialog, WM_VSCROLL, wParam, 0), 0);  // the dialog's own
                 EXPECT_EQ(view->FirstLine, first) << wParam;
                 EXPECT_EQ(ScrollBar(dialog).nPos, first) << wParam;
               };
               request(SB_LINEDOWN, 1);
               int page = view->LinesDrawn;  // what the page from line 1 showed
               ASSERT_GT(page, 5);
               request(SB_PAGEDOWN, 1 + page);
               request(SB_BOTTOM, 2 + page);
               request(SB_LINEUP, 1 + page);
               page = view->LinesDrawn;
               request(SB_PAGEUP, 1);
               request(MAKEWPARAM(SB_THUMBTRACK, 7), 7);
               request(MAKEWPARAM(SB_THUMBPOSITION, 30), 30);
               request(SB_ENDSCROLL, 30);
               request(SB_TOP, 0);
               request(SB_PAGEUP, 0);
               request(MAKEWPARAM(SB_THUMBPOSITION, 1000), view->LastTopLine);
               SendMessageW(dialog, WM_VSCROLL, SB_TOP, 0);
               // The bar's down arrow, at the bottom of the bar.
               RECT window;
               GetWindowRect(dialog, &window);
               user::Frame frame = user::FrameOf(dialog);
               test_support::Tap(window.left + frame.vscroll.left + 6, window.top + frame.vscroll.bottom - 4);
             },
             [](HWND dialog) {
               EXPECT_EQ(ArticleDialog.View->FirstLine, 1);
               TapOk(dialog);
             }});
}

// Page Up, Page Down and the arrows move one line; other keys are not the dialog's.
TEST_F(ArticleDialogTest, KeysScrollByOneLine) {
  Choose(5, {[](HWND) {
               Key(VK_NEXT);
               Key(VK_DOWN);
             },
             [](HWND dialog) {
               EXPECT_EQ(ArticleDialog.View->FirstLine, 2);
               EXPECT_EQ(ScrollBar(dialog).nPos, 2);
               struct Case {
                 WPARAM key;
                 INT_PTR answer;
                 int first;
               } const cases[] = {
                   {VK_PRIOR, 0, 1}, {VK_UP, 0, 0}, {VK_UP, 0, 0},  {VK_HOME, 1, 0},
                   {VK_END, 1, 0},   {'A', 1, 0},   {VK_NEXT, 0, 1}, {VK_LEFT, 1, 1},
               };
               for (const Case& c : cases) {
                 EXPECT_EQ(ArticleDialogProc(dialog, WM_KEYDOWN, c.key, 0), c.answer) << c.key;
                 EXPECT_EQ(ArticleDialog.View->FirstLine, c.first) << c.key;
               }
               TapOk(dialog);
             }});
}

// A resize lays the outline out for the new size and keeps what was open; when
// everything fits, the outline is back at its top.
TEST_F(ArticleDialogTest, AResizeKeepsWhatWasOpen) {
  Choose(5, {[](HWND dialog) {
               ToggleSection(ArticleDialog.View, LineOf(Cheshvan));
               SendMessageW(dialog, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
               std::vector<WORD> keys = VisibleKeys();
               MoveWindow(dialog, 0, 26, 200, 294, TRUE);
               EXPECT_EQ(VisibleKeys(), keys);
               EXPECT_TRUE(IsEntryExpanded(ArticleDialog.View->Lines[LineOf(Cheshvan)].EntryFlags));
               RECT client;
               GetClientRect(dialog, &client);
               EXPECT_EQ(ArticleDialog.View->Width, client.right);
               EXPECT_EQ(ArticleDialog.Client.right, client.right - GetSystemMetrics(SM_CXVSCROLL));
               EXPECT_EQ(ArticleDialog.View->FirstLine, 4);
               EXPECT_EQ(ScrollBar(dialog).nMax, ArticleDialog.View->LastTopLine);
               MoveWindow(dialog, 0, 26, 240, 2000, TRUE);
               EXPECT_EQ(ArticleDialog.View->LastTopLine, 0);
               EXPECT_EQ(ArticleDialog.View->FirstLine, 0);
               EXPECT_EQ(VisibleKeys(), keys);
               EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_VSCROLL);  // nothing to scroll
             },
             [](HWND dialog) { TapOk(dialog); }});
}

TEST_F(ArticleDialogTest, BookmarksHeadTheOutlineAndOpenLikeAnyLesson) {
  Bookmark({12, 3});
  auto bookmarks = [](HWND) {
    std::vector<WORD> keys = VisibleKeys();
    ASSERT_GE(keys.size(), 6u);
    EXPECT_EQ(std::vector<WORD>(keys.begin(), keys.begin() + 6),
              (std::vector<WORD>{Bookmarks, ArticleKey(12), ArticleKey(3), Tishrei, ArticleKey(5), ArticleKey(6)}));
    EXPECT_TRUE(IsEntryExpanded(ArticleDialog.View->Lines[0].EntryFlags));
  };
  EXPECT_EQ(Choose(5, {bookmarks, [](HWND dialog) { TapTitle(dialog, ArticleKey(12)); }}), 12);
  // The bookmarked current lesson is found in the bookmarks: nothing else opens.
  Choose(3, {[](HWND dialog) {
               std::vector<WORD> keys = VisibleKeys();
               EXPECT_EQ(std::vector<WORD>(keys.begin(), keys.begin() + 5),
                         (std::vector<WORD>{Bookmarks, ArticleKey(12), ArticleKey(3), Tishrei, Cheshvan}));
               TapOk(dialog);
             }});
}

TEST_F(ArticleDialogTest, ScreenModes) {
  struct Case {
    DWORD fullScreen;
    LONG top;
    bool taskBarShown;
  } const cases[] = {{0, 26, true}, {1, 0, false}};
  for (const Case& c : cases) {
    HWND taskBar = FindWindowW(u"HHTaskBar", nullptr);
    ShowWindow(taskBar, SW_SHOWNA);
    FullScreen = c.fullScreen;
    TaskBarWindow = c.fullScreen ? taskBar : nullptr;
    Choose(5, {[&](HWND dialog) {
                 RECT window;
                 GetWindowRect(dialog, &window);
                 EXPECT_EQ(window.top, c.top) << c.fullScreen;
                 RECT ok = user::FrameOf(dialog).okButton;
                 EXPECT_FALSE(IsRectEmpty(&ok));
                 EXPECT_EQ(IsWindowVisible(taskBar) != FALSE, c.taskBarShown) << c.fullScreen;
                 TapOk(dialog);
               }});
  }
}

// Every allocation of opening the dialog may fail: the out-of-memory message is shown
// where it is the program's, and the dialog still opens, closes and releases what it made.
TEST_F(ArticleDialogTest, OutOfMemoryAtEachAllocationOfOpening) {
  Bookmark({12});
  unsigned long before = HeapAllocationCount();
  Choose(5, {[](HWND) { Key(VK_ESCAPE); }});
  unsigned long opening = HeapAllocationCount() - before;
  ASSERT_GT(opening, 5u);
  for (unsigned n = 1; n <= opening; ++n) {
    SCOPED_TRACE(n);
    bool opened = false;
    WORD chosen = Choose(5, {[&](HWND) { opened = true, Key(VK_ESCAPE); }}, n);
    EXPECT_EQ(chosen, opened ? 0 : 5);
  }
  EXPECT_GT(boxesAnswered_, 0);
  EXPECT_EQ(Choose(5, {[](HWND) { Key(VK_RETURN); }}), 5);
}

}  // namespace
}  // namespace dialog_test
