// The search through the book in the real main window: the next match from the reading
// position, in another lesson or the shown one, Search Again and Enter, the turn from
// 267 to 1, a pattern found nowhere, points and final forms, and the closing block.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/main_window.h"
#include "base/app_state.h"
#include "content/article_format.h"
#include "content/article_trailer.h"
#include "resources/resource_ids.h"
#include "search/search_next.h"
#include "tests/search/search_fixture.h"
#include "text/letter_code.h"
#include "user/system.h"
#include "view/entry_parts.h"
#include "view/line_walker.h"

namespace search_test {
namespace {

struct Place {
  WORD lesson;
  WORD start;  // HighlightStart
  WORD end;    // HighlightEnd
};

Place Shown() { return {App.Lesson, App.View->HighlightStart, App.View->HighlightEnd}; }

void ExpectPlace(const Place& got, const Place& want, const std::string& what) {
  EXPECT_EQ(got.lesson, want.lesson) << what;
  EXPECT_EQ(got.start, want.start) << what;
  EXPECT_EQ(got.end, want.end) << what;
}

// The text the view's top line holds, both ends included.
TextSpan TopLine() {
  LineWalker walk(App.View->Lines);
  walk.SkipUntil([](const LineEntry&, int line) { return line >= App.View->FirstLine; });
  return EntrySpan(App.View, walk.Entry());
}

// The match stands in view: on the top line, or on the last page.
void ExpectInView(const std::string& what) {
  TextSpan top = TopLine();
  bool onTop = top.First <= App.View->HighlightStart && App.View->HighlightStart <= top.Last;
  EXPECT_TRUE(onTop || App.View->FirstLine == App.View->LastTopLine) << what;
}

// The red outer frame of the banner, in the middle of the bottom edge of the view.
bool BannerOnScreen() {
  const ArticleView* view = App.View;
  POINT at = {view->Left + view->Width / 2, view->Top + view->Height - 3};
  ClientToScreen(App.MainWindow, &at);
  return user::ComposeScreen()[size_t(at.y) * 240 + size_t(at.x)] == 0xFF0000;
}

TEST_F(SearchTest, AMatchInTheNextLessonBecomesCurrentInViewHighlightedAndBannered) {
  ASSERT_TRUE(OpenWith(1, "ggg"));
  BYTE* before = App.View->Text;
  EXPECT_EQ(SearchNext(window_), 1);
  ExpectPlace(Shown(), {2, At(2, 2, 4), At(2, 2, 7)}, "lesson 2, paragraph 2");
  EXPECT_TRUE(IsLessonChosen(App.Flags));
  EXPECT_NE(App.View->Text, before);
  ExpectInView("the match's line at the top");
  EXPECT_TRUE(App.View->BannerShown);
  ASSERT_TRUE(Pump());
  EXPECT_TRUE(BannerOnScreen());
  EXPECT_EQ(notFound_, 0);
}

TEST_F(SearchTest, SearchAgainGoesOnAfterEachMatchAndThroughTheBook) {
  ASSERT_TRUE(OpenWith(1, "ggg"));
  Place expected[] = {{2, At(2, 2, 4), At(2, 2, 7)},
                      {2, At(2, 30, 4), At(2, 30, 7)},  // after a match, in the same lesson
                      {3, At(3, 5, 4), At(3, 5, 7)},    // after the lesson's last match
                      {266, At(266, 1, 4), At(266, 1, 7)},
                      {2, At(2, 2, 4), At(2, 2, 7)}};   // 267 and 1 have none: round again
  for (const Place& place : expected) {
    EXPECT_EQ(SearchNext(window_), 1);
    ExpectPlace(Shown(), place, "match in lesson " + std::to_string(place.lesson));
    ExpectInView("match in lesson " + std::to_string(place.lesson));
  }
}

TEST_F(SearchTest, AMatchOnlyAboveThePositionIsFoundAfterEveryOtherLesson) {
  ASSERT_TRUE(OpenWith(1, "qqq"));
  App.View->FirstLine = App.View->LastTopLine;
  ASSERT_GT(App.View->FirstLine, 4);
  BYTE* text = App.View->Text;
  EXPECT_EQ(SearchNext(window_), 1);
  ExpectPlace(Shown(), {1, At(1, 1, 4), At(1, 1, 7)}, "lesson 1 from its first paragraph");
  EXPECT_EQ(App.View->Text, text);
  ExpectInView("scrolled back to the match");
}

TEST_F(SearchTest, FromTheLastLessonTheSearchGoesOnWithTheFirst) {
  ASSERT_TRUE(OpenWith(267, "sss"));
  EXPECT_EQ(SearchNext(window_), 1);
  ExpectPlace(Shown(), {1, At(1, 2, 4), At(1, 2, 7)}, "lesson 1");
}

TEST_F(SearchTest, APatternFoundNowhereSaysSoAndChangesNothing) {
  ASSERT_TRUE(OpenWith(2, ""));
  App.View->FirstLine = 5;
  BYTE* text = App.View->Text;
  DWORD flags = App.Flags;
  int boxes = 0;
  for (const char* pattern : {"rrr", "lll"}) {  // "lll" is kaf; the book has final kafs only
    SetPattern(pattern);
    EXPECT_EQ(SearchNext(window_), 0) << pattern;
    EXPECT_EQ(notFound_, ++boxes) << pattern;
    EXPECT_EQ(App.Lesson, 2) << pattern;
    EXPECT_EQ(App.Flags, flags) << pattern;
    EXPECT_EQ(App.View->Text, text) << pattern;
    EXPECT_EQ(App.View->FirstLine, 5) << pattern;
    EXPECT_EQ(App.View->HighlightStart, 0) << pattern;
  }
}

TEST_F(SearchTest, FinalFormsArePlainLettersOfTheirOwn) {
  ASSERT_TRUE(OpenWith(2, "kkk"));
  EXPECT_EQ(SearchNext(window_), 1);
  ExpectPlace(Shown(), {100, At(100, 1, 4), At(100, 1, 7)}, "final kafs");
}

TEST_F(SearchTest, PointsInsideAndBelowTheMatchAreHighlighted) {
  ASSERT_TRUE(OpenWith(1, "abc"));
  EXPECT_EQ(SearchNext(window_), 1);
  ExpectPlace(Shown(), {3, At(3, 6, 4), At(3, 6, 9)}, "the qamats below alef and the one inside");
}

TEST_F(SearchTest, TheClosingBlockIsSearchedInEveryLesson) {
  // A stretch of the closing block's first note, its points left out.
  ParagraphRecord note;
  ASSERT_TRUE(FirstRecord(ArticleTrailer, &note, ArticleTrailerSize));
  ASSERT_TRUE(NextRecord(ArticleTrailer, &note, ArticleTrailerSize));
  std::string pattern;
  for (int i = 10; i < 40 && pattern.size() < 6; ++i)
    if (!IsVowelPoint(note.Text[i])) pattern += char(note.Text[i]);
  ASSERT_TRUE(OpenWith(1, pattern));
  for (WORD lesson : {1, 2, 3}) {  // the shown lesson's own block first, then the next ones
    EXPECT_EQ(SearchNext(window_), 1);
    EXPECT_EQ(App.Lesson, lesson);
    EXPECT_GE(App.View->HighlightStart, search_book::Stream(BookLesson(lesson)).size() - 1)
        << "in the closing block after the lesson's own paragraphs";
  }
}

TEST_F(SearchTest, WithoutPatternOrViewNothingHappens) {
  ASSERT_TRUE(OpenWith(1, ""));
  EXPECT_EQ(SearchNext(window_), 0);
  EXPECT_EQ(HandleKey(window_, VK_RETURN), 0);
  SetPattern("ggg");
  ArticleView* view = App.View;
  App.View = nullptr;
  EXPECT_EQ(SearchNext(window_), 0);
  App.View = view;
  EXPECT_EQ(notFound_, 0);
  EXPECT_EQ(App.Lesson, 1);
}

TEST_F(SearchTest, EnterAndSearchAgainFindTheNextMatch) {
  ASSERT_TRUE(OpenWith(1, "ggg"));
  EXPECT_EQ(HandleKey(window_, VK_RETURN), 0);
  ExpectPlace(Shown(), {2, At(2, 2, 4), At(2, 2, 7)}, "Enter");
  SendMessageW(window_, WM_COMMAND, IDM_SEARCH_AGAIN, 0);
  ExpectPlace(Shown(), {2, At(2, 30, 4), At(2, 30, 7)}, "Search Again");
}

TEST_F(SearchTest, TheBannerStaysThroughARepaintAndGoesWithAScroll) {
  ASSERT_TRUE(OpenWith(1, "ggg"));
  ASSERT_EQ(SearchNext(window_), 1);
  InvalidateRect(window_, nullptr, TRUE);
  ASSERT_TRUE(Pump());
  EXPECT_TRUE(BannerOnScreen()) << "a paint draws it again";
  App.View->FirstLine = 0;
  HandleKey(window_, VK_DOWN);
  ASSERT_TRUE(Pump());
  EXPECT_FALSE(BannerOnScreen()) << "a scroll paints over it";
}

}  // namespace
}  // namespace search_test
