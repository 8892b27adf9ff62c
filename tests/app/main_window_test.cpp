// The main window with the book: paging by keys, the scroll bar and taps, the lesson
// switches, the view's place beside the bar and the gutter, and the commands.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "dialogs/article_dialog.h"
#include "index/index_view.h"
#include "window/menu_bar.h"
#include "base/settings_store.h"
#include "app/startup.h"
#include "index/bookmarks.h"
#include "main_window_fixture.h"
#include "test_support/registry_values.h"
#include "view/article_view.h"
#include "resources/resource_ids.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace main_window_test {
namespace {

using test_support::StoreNumber;

constexpr WORD MidLesson = 100;
constexpr DWORD KeyPageShift = 20;

// The view as if the last draw had shown `lines` display lines, at line `first`.
void AtLine(WORD first, LONG lines = 9) {
  App.View->FirstLine = first;
  App.View->LinesDrawn = lines;
}

TEST_F(MainWindowTest, KeyPagesFollowTheKeyPageMode) {
  ASSERT_TRUE(Open(MidLesson));
  // With 9 lines drawn: half a page (4) for modes 2 and 4, else all but one (8).
  const int expected[8] = {8, 8, 4, 8, 4, 8, 8, 8};
  for (DWORD mode = 0; mode < 8; ++mode) {
    App.Flags = (App.Flags & ~KeyPageMode) | (mode << KeyPageShift);
    AtLine(20);
    EXPECT_EQ(HandleKey(window_, VK_NEXT), 0);
    EXPECT_EQ(FirstLine(), 20 + expected[mode]) << "Page Down, mode " << mode;
    AtLine(20);
    EXPECT_EQ(HandleKey(window_, VK_PRIOR), 0);
    EXPECT_EQ(FirstLine(), 20 - expected[mode]) << "Page Up, mode " << mode;
  }
}

TEST_F(MainWindowTest, LineKeysHomeAndEnd) {
  ASSERT_TRUE(Open(MidLesson));
  WORD lastTop = App.View->LastTopLine;
  ASSERT_GT(lastTop, 20);
  struct Case {
    WPARAM key;
    WORD from;
    WORD to;
  } cases[] = {
      {VK_DOWN, 5, 6},       {VK_UP, 5, 4},     {VK_UP, 0, 0},
      {VK_HOME, 12, 0},      {VK_HOME, 0, 0},   // at the top the page step back stays
      {VK_END, 0, lastTop},  {VK_END, lastTop, lastTop},
  };
  for (const Case& c : cases) {
    AtLine(c.from);
    EXPECT_EQ(HandleKey(window_, c.key), 0);
    EXPECT_EQ(FirstLine(), c.to) << "key " << c.key << " from " << c.from;
  }
  // End in an article that fits on one page falls back to a page step, which stays.
  App.View->LastTopLine = 0;
  AtLine(0);
  HandleKey(window_, VK_END);
  EXPECT_EQ(FirstLine(), 0);
}

TEST_F(MainWindowTest, KeysOutsideTheTableAreNotHandled) {
  ASSERT_TRUE(Open(MidLesson));
  AtLine(3);
  for (WPARAM key : {WPARAM('F'), WPARAM(VK_F3), WPARAM(VK_ESCAPE), WPARAM(VK_TAB)})
    EXPECT_EQ(HandleKey(window_, key), 1) << key;
  EXPECT_EQ(HandleKey(window_, VK_RETURN), 0);  // empty pattern: handled, nothing done
  EXPECT_EQ(FirstLine(), 3);
  EXPECT_EQ(App.Lesson, MidLesson);
}

TEST_F(MainWindowTest, ScrollBarRequests) {
  ASSERT_TRUE(Open(MidLesson));
  AtLine(10);
  struct Case {
    WORD code;
    SHORT position;
    int lines;
  } cases[] = {
      {SB_LINEUP, 0, -1},       {SB_LINEDOWN, 0, 1},       {SB_PAGEUP, 0, -8},
      {SB_PAGEDOWN, 0, 8},      {SB_THUMBPOSITION, 25, 15}, {SB_THUMBTRACK, 4, -6},
      {SB_TOP, 0, -10},         {SB_BOTTOM, 0, 1},          {SB_ENDSCROLL, 0, 0},
      {SB_THUMBTRACK, -2, -12},  // the position is a signed 16-bit number
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScrollBarLines(MAKEWPARAM(c.code, WORD(c.position))), c.lines) << c.code;
  // The scroll bar pages by all lines but one whatever the key page mode says.
  App.Flags = (App.Flags & ~KeyPageMode) | (2u << KeyPageShift);
  EXPECT_EQ(ScrollBarLines(SB_PAGEDOWN), 8);
}

TEST_F(MainWindowTest, TheScrollBarMovesTheTextAndFollowsIt) {
  ASSERT_TRUE(Open(MidLesson));
  AtLine(10);
  EXPECT_EQ(SendMessageW(window_, WM_VSCROLL, SB_BOTTOM, 0), 1);
  EXPECT_EQ(FirstLine(), 11);  // one line, not to the end
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  ASSERT_TRUE(GetScrollInfo(window_, SB_VERT, &info));
  EXPECT_EQ(info.nPos, 11);
  EXPECT_EQ(info.nMax, App.View->LastTopLine);
}

TEST_F(MainWindowTest, TapsPageInsideTheViewAndItsGutterButNotBelowIt) {
  StoreNumber(PublisherKey, u"SurroundingGutter", 6);
  ASSERT_TRUE(Open(MidLesson));
  const ArticleView& v = *App.View;
  int midX = v.Left + v.Width / 2, midY = v.Top + v.Height / 2;
  int right = v.Left + v.Width, bottom = v.Top + v.Height;
  App.Flags &= ~TapVertical;  // by the horizontal half
  struct Case {
    int x, y;
    int paged;
    int lines;
  } cases[] = {
      {midX, midY, 1, 8},        // the middle column pages forward
      {midX - 1, midY, 1, -8},   // left of it: back
      {v.Left - 6, midY, 1, -8}, // the left gutter
      {right + 6, midY, 1, 8},   // the right gutter
      {midX, v.Top - 6, 1, 8},   // the top gutter
      {v.Left - 7, midY, 0, 0},  // beyond the gutter
      {midX, bottom, 1, 8},      // the view's last row
      {midX, bottom + 1, 0, 0},  // the bottom gets no gutter
  };
  for (const Case& c : cases) {
    AtLine(20);
    EXPECT_EQ(TapPage(window_, App.View, c.x, c.y), c.paged) << c.x << "," << c.y;
    EXPECT_EQ(FirstLine(), 20 + c.lines) << c.x << "," << c.y;
  }
}

TEST_F(MainWindowTest, VerticalTapsAndTapPagingOff) {
  ASSERT_TRUE(Open(MidLesson));
  const ArticleView& v = *App.View;
  int midX = v.Left + v.Width / 2, midY = v.Top + v.Height / 2;
  App.Flags |= TapVertical;
  App.Flags = (App.Flags & ~TapPageMode) | (4u << 24);  // half pages
  AtLine(20);
  EXPECT_EQ(TapPage(window_, App.View, midX, midY), 1);
  EXPECT_EQ(FirstLine(), 24);  // the middle row pages forward
  AtLine(20);
  EXPECT_EQ(TapPage(window_, App.View, midX, midY - 1), 1);
  EXPECT_EQ(FirstLine(), 16);
  App.Flags &= ~TapPaging;
  AtLine(20);
  EXPECT_EQ(TapPage(window_, App.View, midX, midY), 0);
  EXPECT_EQ(FirstLine(), 20);
  // Keys still page.
  HandleKey(window_, VK_NEXT);
  EXPECT_GT(FirstLine(), 20);
}

TEST_F(MainWindowTest, LessonStepsWrapRoundTheBook) {
  struct Case {
    WORD from;
    WPARAM command;
    WORD to;
  } cases[] = {{267, IDM_NEXT_ARTICLE, 1},    {1, IDM_PREVIOUS_ARTICLE, 267},
               {0, IDM_PREVIOUS_ARTICLE, 267}, {0, IDM_NEXT_ARTICLE, 1},
               {100, IDM_NEXT_ARTICLE, 101},  {100, IDM_PREVIOUS_ARTICLE, 99}};
  ASSERT_TRUE(Open(MidLesson));
  for (const Case& c : cases) {
    App.Lesson = c.from;
    AtLine(7);
    EXPECT_EQ(HandleCommand(window_, c.command), 0);
    EXPECT_EQ(App.Lesson, c.to) << c.from << " by " << c.command;
    EXPECT_EQ(FirstLine(), 0) << "a new lesson starts at its top";
    EXPECT_TRUE(App.Flags & LessonChosen);
  }
  App.Lesson = 50;
  HandleKey(window_, VK_RIGHT);
  EXPECT_EQ(App.Lesson, 51);
  HandleKey(window_, VK_LEFT);
  HandleKey(window_, VK_LEFT);
  EXPECT_EQ(App.Lesson, 49);
}

TEST_F(MainWindowTest, ALessonThatCannotBeLoadedChangesNothing) {
  ASSERT_TRUE(Open(MidLesson));
  AtLine(12);
  const BYTE* text = App.View->Text;
  DWORD flags = App.Flags &= ~LessonChosen;
  EXPECT_EQ(ShowLesson(window_, 300), 1);  // no such resource
  EXPECT_EQ(App.Lesson, MidLesson);
  EXPECT_EQ(App.Flags, flags);
  EXPECT_EQ(App.View->Text, text);
  EXPECT_EQ(FirstLine(), 12);
}

TEST_F(MainWindowTest, ChosenLessonsAndToday) {
  ASSERT_TRUE(Open(MidLesson));
  for (WORD chosen : {WORD(0), MidLesson}) {
    AtLine(9);
    ShowChosenLesson(window_, chosen);
    EXPECT_EQ(App.Lesson, MidLesson);
    EXPECT_EQ(FirstLine(), 9) << "choice " << chosen << " keeps the position";
  }
  ShowChosenLesson(window_, 5);
  EXPECT_EQ(App.Lesson, 5);
  EXPECT_EQ(FirstLine(), 0);
  // Today drops the explicit choice and starts from the top, even when already shown.
  EXPECT_EQ(HandleCommand(window_, IDM_TODAY), 0);
  WORD today = App.Lesson;
  EXPECT_FALSE(App.Flags & LessonChosen);
  AtLine(9);
  HandleCommand(window_, IDM_TODAY);
  EXPECT_EQ(App.Lesson, today);
  EXPECT_EQ(FirstLine(), 0);
}

// Once the table of contents is open: a tap on the title of the lesson, or with lesson
// 0 the key.
void ActInTheIndex(WORD lesson, UINT key) {
  auto acted = std::make_shared<bool>(false);
  user::AddIdleHook([lesson, key, acted] {
    HWND dialog = ArticleDialog.Dialog;
    if (*acted || !dialog || !IsWindow(dialog)) return;
    *acted = true;
    if (lesson == 0) {
      display::Event event;
      event.kind = display::EventKind::KeyDown;
      event.key = key;
      user::HandleDisplayEvent(event);
      return;
    }
    PageWalk walk = StartPage(ArticleDialog.View);
    while (NextShownLine(walk) && ShownLine(walk).Key != ArticleKey(lesson)) {
    }
    const IndexLine& line = ShownLine(walk);
    POINT at = {line.X + line.Width / 2, walk.top + line.Height / 2};
    ClientToScreen(dialog, &at);
    test_support::Tap(at.x, at.y);
  });
}

// The Index command and the tool bar's button open the table of contents at the lesson;
// the lesson tapped there is shown from its top, OK and Cancel keep the reading place.
TEST_F(MainWindowTest, TheTableOfContentsShowsTheLessonTapped) {
  const WORD lesson = 5;  // it and the next one show at the outline's top
  ASSERT_TRUE(Open(lesson));
  for (UINT command : {IDM_INDEX, IDM_CHOOSE_ARTICLE}) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
      AtLine(9);
      ActInTheIndex(0, key);
      EXPECT_EQ(HandleCommand(window_, command), 0);
      EXPECT_EQ(App.Lesson, lesson) << key;
      EXPECT_EQ(FirstLine(), 9) << key;
    }
    AtLine(9);
    ActInTheIndex(lesson, 0);  // its own title: not loaded again
    HandleCommand(window_, command);
    EXPECT_EQ(FirstLine(), 9);
    ActInTheIndex(lesson + 1, 0);
    HandleCommand(window_, command);
    EXPECT_EQ(App.Lesson, lesson + 1);
    EXPECT_EQ(FirstLine(), 0);
    ShowLesson(window_, lesson);
  }
}

TEST_F(MainWindowTest, UnknownCommandsGoToTheDefaultHandling) {
  ASSERT_TRUE(Open(MidLesson));
  EXPECT_EQ(HandleCommand(window_, 4242), 1);
  for (WPARAM id : {IDM_SEARCH, IDM_SEARCH_AGAIN, IDM_CHECK_FOR_UPDATES, IDM_ABOUT})
    EXPECT_EQ(HandleCommand(window_, id), 0) << id;
}

// The view fills the client area less the bar and the gutter, per axis.
TEST_F(MainWindowTest, TheViewLeavesRoomForTheBarAndTheGutter) {
  struct Case {
    const char* version;
    DWORD onBottom;
    LONG gutter;
    bool bottomBar;
  } cases[] = {{"5.0", 0, 0, true}, {"4.21", 0, 4, true}, {"4.20", 0, 0, false},
               {"4.20", 1, 3, true}, {"4.20", 0, 500, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " gutter " + std::to_string(c.gutter));
    ::setenv("VINTREL_OS_VERSION", c.version, 1);
    StoreNumber(PublisherKey, u"MenuBarOnBottom", c.onBottom);
    StoreNumber(PublisherKey, u"SurroundingGutter", DWORD(c.gutter));
    ASSERT_TRUE(Open(MidLesson));
    EXPECT_EQ(App.MenuBarOnBottom != 0, c.bottomBar);
    ASSERT_GT(App.MenuBarHeight, 0);
    RECT client;
    GetClientRect(window_, &client);
    LONG g = c.gutter;
    LONG height = client.bottom - App.MenuBarHeight;
    LONG width = client.right;
    const ArticleView& v = *App.View;
    EXPECT_EQ(v.Top, (c.bottomBar ? 0 : App.MenuBarHeight) + (height > 2 * g ? g : 0));
    EXPECT_EQ(v.Height, height > 2 * g ? height - 2 * g : height);
    EXPECT_EQ(v.Left, width > 2 * g ? g : 0);
    EXPECT_EQ(v.Width, width > 2 * g ? width - 2 * g : width);
    DestroyWindow(window_);
    Pump();
  }
}

TEST_F(MainWindowTest, AMissingLessonOpensAnEmptyViewAfterSayingSo) {
  StoreNumber(ProductKey, u"LastPosition", 5);
  // The message box gets its answer from the script.
  ASSERT_TRUE(Open(300, "key Return"));
  ASSERT_TRUE(App.View);
  EXPECT_EQ(App.View->Text, nullptr);
  EXPECT_EQ(FirstLine(), 0);
  for (WPARAM key : {VK_NEXT, VK_DOWN, VK_END}) HandleKey(window_, key);
  SendMessageW(window_, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(FirstLine(), 0);
  // The lesson commands still work.
  HandleCommand(window_, IDM_NEXT_ARTICLE);
  EXPECT_EQ(App.Lesson, 1);
  EXPECT_NE(App.View->Text, nullptr);
}

TEST_F(MainWindowTest, ReverseTwiceRestoresFlagsAndTheCheckMark) {
  ASSERT_TRUE(Open(MidLesson));
  DWORD flags = App.Flags;
  UINT check = GetMenuState(CommandMenu(), IDM_REVERSE, MF_BYCOMMAND) & MF_CHECKED;
  HandleCommand(window_, IDM_REVERSE);
  EXPECT_EQ(App.Flags ^ flags, Reverse);
  EXPECT_NE(GetMenuState(CommandMenu(), IDM_REVERSE, MF_BYCOMMAND) & MF_CHECKED, check);
  HandleCommand(window_, IDM_REVERSE);
  EXPECT_EQ(App.Flags, flags);
  EXPECT_EQ(GetMenuState(CommandMenu(), IDM_REVERSE, MF_BYCOMMAND) & MF_CHECKED, check);
}

TEST_F(MainWindowTest, TheBookmarkCheckFollowsTheLesson) {
  ASSERT_TRUE(Open(MidLesson));
  auto checked = [] { return (GetMenuState(CommandMenu(), IDM_BOOKMARK, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  EXPECT_FALSE(checked());
  HandleCommand(window_, IDM_BOOKMARK);
  EXPECT_TRUE(IsBookmarked());
  EXPECT_TRUE(checked());
  HandleCommand(window_, IDM_NEXT_ARTICLE);
  EXPECT_FALSE(checked());
  HandleCommand(window_, IDM_PREVIOUS_ARTICLE);
  EXPECT_TRUE(checked());
}

TEST_F(MainWindowTest, AboutAndHelpOpenTheAboutBoxOverTheWindow) {
  ASSERT_TRUE(Open(MidLesson));
  std::vector<std::u16string> titles;
  user::AddIdleHook([&] {
    HWND active = GetActiveWindow();
    if (!active || active == window_) return;
    WCHAR title[64] = {};
    GetWindowTextW(active, title, 64);
    titles.push_back(title);
    EXPECT_EQ(GetParent(active), window_);
    PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
  });
  SendMessageW(window_, WM_HELP, 0, 0);
  HandleCommand(window_, IDM_ABOUT);
  EXPECT_EQ(titles, (std::vector<std::u16string>{u"Vintrel - 5765 (heb)", u"Vintrel - 5765 (heb)"}));
}

TEST_F(MainWindowTest, TheFontCommandHandsTheFontToTheViewOnlyOnOk) {
  ASSERT_TRUE(Open(MidLesson));
  ASSERT_TRUE(App.View);
  WPARAM answer = IDCANCEL;
  user::AddIdleHook([&] {
    HWND active = GetActiveWindow();
    if (!active || active == window_) return;
    // The reader picks size 32, then answers.
    SendDlgItemMessageW(active, IDC_SIZE_LIST, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(u"32"));
    PostMessageW(active, WM_COMMAND, answer, 0);
  });
  HandleCommand(window_, IDM_FONT);
  EXPECT_EQ(App.Font.Size, 0);
  EXPECT_EQ(App.View->Font.Size, 0);
  answer = IDOK;
  HandleCommand(window_, IDM_FONT);
  EXPECT_EQ(App.Font.Size, 32);
  EXPECT_EQ(App.View->Font.Size, 32);
}

TEST_F(MainWindowTest, ExitWritesThePosition) {
  ASSERT_TRUE(Open(MidLesson));
  AtLine(0);
  HandleKey(window_, VK_NEXT);
  WORD position = FirstLine();
  ASSERT_GT(position, 0);
  EXPECT_EQ(HandleCommand(window_, IDM_EXIT), 0);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_FALSE(Pump());  // the quit request
  EXPECT_EQ(ReadNumber(ProductKey, u"LastPosition", 0), position);
  EXPECT_EQ(ReadNumber(ProductKey, u"Lesson", 0), MidLesson);
  // The next start opens at the same line.
  ASSERT_TRUE(Open(MidLesson));
  EXPECT_EQ(FirstLine(), position);
}

TEST_F(MainWindowTest, TheSystemsCloseRequestsEndTheProgram) {
  ASSERT_TRUE(Open(MidLesson));
  SendMessageW(window_, WM_USER - 1, 0, 0);
  EXPECT_FALSE(IsWindow(window_));
  ASSERT_TRUE(Open(MidLesson));
  WINDOWPOS position = {};
  position.hwnd = window_;
  position.flags = SWP_NOACTIVATE;  // alone: nothing happens
  SendMessageW(window_, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
  EXPECT_TRUE(IsWindow(window_));
  position.flags = 0x10000;  // alone: nothing happens
  SendMessageW(window_, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
  EXPECT_TRUE(IsWindow(window_));
  position.flags = 0x10000 | SWP_NOACTIVATE;
  SendMessageW(window_, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MainWindowTest, FullScreenHidesTheTaskBarAndShowsItAgainOnlyIfItWasVisible) {
  StoreNumber(PublisherKey, u"FullScreen", 1);
  for (bool wasVisible : {true, false}) {
    SCOPED_TRACE(wasVisible ? "task bar visible at start" : "task bar hidden at start");
    Screen("windows\nquit");
    HWND taskBar = FindWindowW(u"HHTaskBar", nullptr);
    ASSERT_TRUE(taskBar);
    if (!wasVisible) ShowWindow(taskBar, SW_HIDE);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(WinMain(GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(u""), SW_SHOW), 0);
    std::string listing = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(listing.find("class=\"HHTaskBar\""), std::string::npos) << listing;
    // The main window reaches the top of the screen.
    EXPECT_NE(listing.find("class=\"Vintrel - 5765 (heb)\" title=\"Vintrel - 5765 (heb)\" rect=0,0,"),
              std::string::npos)
        << listing;
    EXPECT_EQ(IsWindowVisible(taskBar) != 0, wasVisible);
  }
}

// Each activation of the main window repeats the screen mode, unless the publisher asks
// to leave activation alone; a deactivation does nothing.
TEST_F(MainWindowTest, ActivationRepeatsTheFullScreenMode) {
  StoreNumber(PublisherKey, u"FullScreen", 1);
  struct Case {
    DWORD ignoreActivate;
    WORD state;
    bool hidden;
  } cases[] = {{0, WA_ACTIVE, true}, {0, WA_CLICKACTIVE, true}, {0, WA_INACTIVE, false},
               {1, WA_ACTIVE, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("IgnoreActivate " + std::to_string(c.ignoreActivate) + ", state " +
                 std::to_string(c.state));
    StoreNumber(PublisherKey, u"IgnoreActivate", c.ignoreActivate);
    ASSERT_TRUE(Open(MidLesson));
    HWND taskBar = FindWindowW(u"HHTaskBar", nullptr);
    ASSERT_TRUE(taskBar);
    ShowWindow(taskBar, SW_SHOW);
    SendMessageW(window_, WM_ACTIVATE, MAKEWPARAM(c.state, 0), 0);
    EXPECT_EQ(IsWindowVisible(taskBar) == 0, c.hidden);
    DestroyWindow(window_);
    Pump();
  }
}

}  // namespace
}  // namespace main_window_test
