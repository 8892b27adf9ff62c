// The Bookmark command's toggle: adding without a question, and the removal question
// over the main window with its three answers and the run-long "don't ask again".
#include <gtest/gtest.h>

#include <deque>

#include "base/app_state.h"
#include "index/bookmarks.h"
#include "index_fixtures.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace index_test {
namespace {

class BookmarkQuestionTest : public BookmarkTest {
 protected:
  void SetUp() override {
    BookmarkTest::SetUp();
    test_support::InstallScreen("wait 10000");
    static bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.lpszClassName = u"BookmarkTestMain";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    user::AddIdleHook([this] { AnswerTheBox(); });
  }
  void TearDown() override {
    test_support::RemoveScreen();
    BookmarkTest::TearDown();
  }

  // The list, with the current lesson and the main window set.
  void Start(const std::vector<WORD>& list, WORD lesson) {
    SetList(list);
    App.Lesson = lesson;
    App.MainWindow = CreateWindowExW(0, u"BookmarkTestMain", u"Main", WS_VISIBLE, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                     nullptr, nullptr, nullptr);
    ASSERT_NE(App.MainWindow, nullptr);
  }

  // The Bookmark command: the toggle for the current state, a box answered with the
  // next of the given answers.
  void Toggle(std::deque<int> answers = {}) {
    answers_ = std::move(answers);
    answered_ = nullptr;
    ToggleBookmark(IsBookmarked());
    EXPECT_TRUE(answers_.empty()) << "answers left over";
  }

  void AnswerTheBox() {
    HWND box = FindWindowW(u"MessageBox", u"Bookmark");
    if (!box || box == answered_ || answers_.empty()) return;
    answered_ = box;
    ++questions_;
    ownerDisabled_ = !IsWindowEnabled(App.MainWindow);
    yesNoCancel_ = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && GetDlgItem(box, IDCANCEL);
    int answer = answers_.front();
    answers_.pop_front();
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, 0), 0);
  }

  int questions_ = 0;
  bool ownerDisabled_ = false;
  bool yesNoCancel_ = false;

 private:
  std::deque<int> answers_;
  HWND answered_ = nullptr;
};

TEST_F(BookmarkQuestionTest, ALessonNotBookmarkedIsAddedWithoutAQuestion) {
  Start({12}, 3);
  Toggle();
  EXPECT_EQ(questions_, 0);
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{12, 3}));
}

TEST_F(BookmarkQuestionTest, EachAnswerToTheQuestion) {
  struct Case {
    int answer;
    std::vector<WORD> list;
    bool noMoreQuestions;
  } cases[] = {
      {IDYES, {12}, false},
      {IDNO, {12, 3}, false},
      {IDCANCEL, {12}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Start({12, 3}, 3);
    questions_ = 0;
    Toggle({c.answer});
    EXPECT_EQ(questions_, 1);
    EXPECT_TRUE(ownerDisabled_) << "the box is modal over the main window";
    EXPECT_TRUE(yesNoCancel_);
    EXPECT_EQ(ListEntries(), c.list);
    EXPECT_EQ((App.BookmarkOptions & NoRemoveQuestion) != 0, c.noMoreQuestions);
    EXPECT_TRUE(IsWindowEnabled(App.MainWindow));
    DestroyWindow(App.MainWindow);
  }
}

TEST_F(BookmarkQuestionTest, NoKeepsTheBookmarkAndAsksAgainNextTime) {
  Start({3}, 3);
  Toggle({IDNO});
  Toggle({IDYES});
  EXPECT_EQ(questions_, 2);
  EXPECT_EQ(ListEntries(), std::vector<WORD>{});
}

TEST_F(BookmarkQuestionTest, AfterCancelBookmarksAreRemovedWithoutAsking) {
  Start({3, 7}, 3);
  Toggle({IDCANCEL});
  EXPECT_EQ(questions_, 1);
  Toggle();  // adds 3 again
  App.Lesson = 7;
  Toggle();
  App.Lesson = 3;
  Toggle();
  EXPECT_EQ(questions_, 1);
  EXPECT_EQ(ListEntries(), std::vector<WORD>{});
}

// Without a display the box is one line on the standard error, answered with its
// default button (Yes).
TEST_F(BookmarkQuestionTest, TheQuestionsWordsAndCaption) {
  Start({3}, 3);
  test_support::RemoveScreen();
  testing::internal::CaptureStderr();
  ToggleBookmark(IsBookmarked());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Bookmark: Remove Bookmark?\n\nCancel - Don't ask again\n");
  EXPECT_EQ(ListEntries(), std::vector<WORD>{});
}

}  // namespace
}  // namespace index_test
