#include "article_dialog_fixture.h"

#include <cstdlib>
#include <cstring>

#include "index/bookmarks.h"
#include "index/outline_expansion.h"
#include "test_support/headless_screen.h"
#include "test_support/outline_state.h"
#include "test_support/pump.h"
#include "user/system.h"

namespace dialog_test {

namespace {

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void ArticleDialogTest::SetUp() {
  test_support::InstallOutlineState();
  WNDCLASSW owner = {};
  owner.lpfnWndProc = OwnerProc;
  owner.lpszClassName = u"ArticleDialogOwner";
  RegisterClassW(&owner);
  owner_ = CreateWindowExW(0, owner.lpszClassName, u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  test_support::PumpMessages();
  user::AddIdleHook([this] {
    if (HWND box = FindWindowW(u"MessageBox", nullptr); box && GetActiveWindow() == box) {
      Key(VK_RETURN);
      ++boxesAnswered_;
      return;
    }
    HWND dialog = ArticleDialog.Dialog;
    if (!stepsLeft_ || !dialog || !IsWindow(dialog)) return;
    if (steps_.empty()) {
      stepsLeft_ = false;
      ADD_FAILURE() << "the dialog is still open after the steps";
      SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
  });
}

void ArticleDialogTest::TearDown() {
  HeapFailAllocation(0);
  FreeBookmarks();
  FullScreen = 0;
  TaskBarWindow = nullptr;
  test_support::RemoveOutlineState();
}

WORD ArticleDialogTest::Choose(WORD lesson, std::vector<Step> steps, unsigned failingAllocation) {
  steps_.assign(steps.begin(), steps.end());
  stepsLeft_ = true;
  // Armed here, so that the test's own steps are made before it.
  HeapFailAllocation(failingAllocation);
  WORD chosen = ChooseArticle(nullptr, owner_, lesson, &App.Font);
  HeapFailAllocation(0);
  stepsLeft_ = false;
  if (!failingAllocation) {
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps were not taken";
  }
  EXPECT_EQ(ArticleDialog.View, nullptr);
  EXPECT_EQ(ArticleDialog.Dc, nullptr);
  return chosen;
}

void ArticleDialogTest::Bookmark(const std::vector<WORD>& lessons) {
  FreeBookmarks();
  WORD* list = static_cast<WORD*>(malloc((lessons.size() + 1) * sizeof(WORD)));
  std::memcpy(list, lessons.data(), lessons.size() * sizeof(WORD));
  list[lessons.size()] = 0;
  App.BookmarkList = list;
  App.BookmarkCount = WORD(lessons.size());
}

WORD ArticleDialogTest::LineOf(WORD key) {
  const IndexView* view = ArticleDialog.View;
  WORD i = 0;
  while (!IsEndLine(view->Lines[i]) && view->Lines[i].Key != key) ++i;
  return i;
}

LONG ArticleDialogTest::PageY(WORD key) {
  const IndexView* view = ArticleDialog.View;
  PageWalk walk = StartPage(view);
  while (NextShownLine(walk))
    if (ShownLine(walk).Key == key) return walk.top;
  return -1;
}

std::vector<WORD> ArticleDialogTest::VisibleKeys() {
  std::vector<WORD> keys;
  const IndexView* view = ArticleDialog.View;
  for (const IndexLine* line = view->Lines; !IsEndLine(*line); ++line)
    if (IsLineVisible(*line) && (keys.empty() || keys.back() != line->Key)) keys.push_back(line->Key);
  return keys;
}

void ArticleDialogTest::TapClient(HWND dialog, LONG x, LONG y) {
  POINT at = {x, y};
  ClientToScreen(dialog, &at);
  test_support::Tap(at.x, at.y);
}

void ArticleDialogTest::TapOk(HWND dialog) {
  user::Frame frame = user::FrameOf(dialog);
  RECT window;
  GetWindowRect(dialog, &window);
  test_support::Tap(window.left + (frame.okButton.left + frame.okButton.right) / 2,
                    window.top + (frame.okButton.top + frame.okButton.bottom) / 2);
}

void ArticleDialogTest::TapTitle(HWND dialog, WORD key) {
  const IndexLine& line = ArticleDialog.View->Lines[LineOf(key)];
  TapClient(dialog, line.X + line.Width / 2, PageY(key) + line.Height / 2);
}

void ArticleDialogTest::TapMark(HWND dialog, WORD key) {
  const IndexLine& line = ArticleDialog.View->Lines[LineOf(key)];
  TapClient(dialog, line.X + line.Width + 8, PageY(key) + line.Height / 2);
}

SCROLLINFO ArticleDialogTest::ScrollBar(HWND dialog) {
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(dialog, SB_VERT, &info);
  return info;
}

}  // namespace dialog_test
