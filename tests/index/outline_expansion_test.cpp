// Which lines are shown: the outline opened at a lesson, sections toggled, the state
// kept across a relayout; and what a tap at each part of a line means.
#include "index/outline_expansion.h"

#include <cstdlib>

#include "index/bookmarks.h"
#include "index/index_draw.h"
#include "outline_fixture.h"

namespace index_test {
namespace {

using OutlineExpansionTest = OutlineTest;

constexpr WORD S1 = SectionKey(0x3FFE), S1a = SectionKey(0x3FFD), S2 = SectionKey(0x3FFC),
               S3 = SectionKey(0x3FFB), S4 = SectionKey(0x3FFA);
constexpr BYTE HiddenSection = SectionStyle & ~EntryVisible;
constexpr BYTE ExpandedSection = SectionStyle | EntryExpanded;

// Three levels: a section with lessons and a subsection of its own, a plain section,
// an empty expanded one and one more.
std::vector<Entry> Outline() {
  return {{S1, SectionStyle, 1, "aaa"},     {ArticleKey(1), LessonStyle, 2, "aa"},
          {ArticleKey(2), LessonStyle, 2, "aa"}, {S1a, HiddenSection, 2, "aaa"},
          {ArticleKey(3), LessonStyle, 3, "aa"}, {ArticleKey(4), LessonStyle, 3, "aa"},
          {ArticleKey(5), LessonStyle, 2, "aa"}, {S2, SectionStyle, 1, "aaa"},
          {ArticleKey(6), LessonStyle, 2, "aa"}, {S3, ExpandedSection, 1, "aaa"},
          {S4, SectionStyle, 1, "aaa"},      {ArticleKey(7), LessonStyle, 2, "aa"}};
}

std::vector<WORD> Keys(std::initializer_list<WORD> keys) { return keys; }

TEST_F(OutlineExpansionTest, ExpandToLessonShowsTheLessonAndTheNextUnderTheirSection) {
  IndexView* view = MakeViewOver(BookIndex());
  ExpandToLesson(view, 5);
  std::vector<WORD> keys = VisibleKeys(view);
  ASSERT_EQ(keys.size(), 15u);
  EXPECT_EQ(std::vector<WORD>(keys.begin(), keys.begin() + 4),
            Keys({0xBFFE, ArticleKey(5), ArticleKey(6), 0xBFEA}));
  EXPECT_FALSE(IsEntryExpanded(view->Lines[0].EntryFlags));  // the mark stays the plus
  EXPECT_EQ(view->FirstLine, 0);
}

TEST_F(OutlineExpansionTest, ExpandToLessonShowsEveryEnclosingSection) {
  IndexView* view = MakeView(Outline());
  ExpandToLesson(view, 3);
  EXPECT_EQ(VisibleKeys(view), Keys({S1, S1a, ArticleKey(3), ArticleKey(4), S2, S3, S4}));
  EXPECT_FALSE(IsEntryExpanded(view->Lines[LineOf(view, S1a)].EntryFlags));
  EXPECT_EQ(view->VisibleCount, 7);
  std::vector<WORD> before = VisibleKeys(view);
  for (WORD nothing : {0, 3, 99}) {  // none, shown already, not in the outline
    ExpandToLesson(view, nothing);
    EXPECT_EQ(VisibleKeys(view), before) << nothing;
  }
}

// A bookmarked lesson is found in the bookmarks section first, which shows it already.
TEST_F(OutlineExpansionTest, ExpandToABookmarkedLessonChangesNothing) {
  SetList({12, 3});
  IndexView* view = MakeViewOver(MergeBookmarks(BookIndex()));
  std::vector<WORD> before = VisibleKeys(view);
  ASSERT_EQ(std::vector<WORD>(before.begin(), before.begin() + 4),
            Keys({0x8877, ArticleKey(12), ArticleKey(3), 0xBFFE}));
  ExpandToLesson(view, 3);
  EXPECT_EQ(VisibleKeys(view), before);
}

// Taps on each part of a line: its text and its mark choose the lesson or toggle the
// section; beyond the mark only a section toggles; left of the text nothing happens.
TEST_F(OutlineExpansionTest, HitTestSpans) {
  enum Where { Text, Mark, Beyond, Left };
  struct Case {
    WORD key;
    Where where;
    LONG expected;
  } const cases[] = {
      {ArticleKey(5), Text, 5}, {ArticleKey(5), Mark, 5}, {ArticleKey(5), Beyond, 0},
      {ArticleKey(5), Left, 0}, {S1, Text, -0x3FFE},      {S1, Mark, -0x3FFE},
      {S1, Beyond, -0x3FFE},    {S1, Left, 0},            {0x0005, Text, -5},  // neither bit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + " at " + std::to_string(c.where));
    std::vector<Entry> entries = {{S1, SectionStyle, 2, "aaa"}, {c.key == S1 ? ArticleKey(5) : c.key, ShownLesson, 3, "aa"}};
    IndexView* view = MakeView(entries);
    WORD i = LineOf(view, c.key);
    const IndexLine line = view->Lines[i];
    LONG y = i == 0 ? 1 : view->Lines[0].Height + 1;
    LONG x = c.where == Text     ? line.X + line.Width / 2
             : c.where == Mark   ? line.X + line.Width + MarkSpan
             : c.where == Beyond ? line.X + line.Width + MarkSpan + 1
                                 : line.X - 1;
    EXPECT_EQ(HitTestIndex(view, x, y), c.expected);
    bool toggled = c.expected < 0;
    EXPECT_EQ(IsEntryExpanded(view->Lines[i].EntryFlags), toggled);
  }
}

TEST_F(OutlineExpansionTest, TapsBelowTheLinesOrOutsideTheView) {
  IndexView* view = MakeView(Outline(), 227, 300);
  const IndexLine& last = view->Lines[LineOf(view, S4)];
  LONG below = 4 * view->Lines[0].Height;  // four sections are shown
  EXPECT_EQ(HitTestIndex(view, last.X, below - 1), -0x3FFA);
  HitTestIndex(view, last.X, below - 1);  // and closed again
  EXPECT_EQ(HitTestIndex(view, last.X, below + 1), HitBelowLastLine);
  EXPECT_EQ(HitTestIndex(view, 228, 1), 0);
  EXPECT_EQ(HitTestIndex(view, last.X, 301), 0);
  EXPECT_EQ(HitTestIndex(view, -1, 1), 0);
  EXPECT_EQ(HitTestIndex(nullptr, 1, 1), 0);
}

// Collapsing hides every deeper line below down to the next line of the section's own
// level; expanding shows the lines of the level below it, deeper ones as they were.
TEST_F(OutlineExpansionTest, CollapsingHidesEveryDeeperLineExpandingShowsOneLevel) {
  IndexView* view = MakeView(Outline());
  EXPECT_EQ(ToggleSection(view, LineOf(view, S1)), -0x3FFE);
  EXPECT_EQ(VisibleKeys(view), Keys({S1, ArticleKey(1), ArticleKey(2), S1a, ArticleKey(5), S2, S3, S4}));
  ToggleSection(view, LineOf(view, S1a));
  EXPECT_EQ(view->VisibleCount, 10);
  EXPECT_TRUE(IsEntryExpanded(view->Lines[LineOf(view, S1a)].EntryFlags));
  ToggleSection(view, LineOf(view, S1));
  EXPECT_EQ(VisibleKeys(view), Keys({S1, S2, S3, S4}));
  EXPECT_FALSE(IsEntryExpanded(view->Lines[0].EntryFlags));
  ToggleSection(view, LineOf(view, S1));
  EXPECT_EQ(VisibleKeys(view), Keys({S1, ArticleKey(1), ArticleKey(2), S1a, ArticleKey(5), S2, S3, S4}));
  EXPECT_EQ(view->VisibleCount, 8);
}

// A section with no deeper line below it has nothing to show or hide: its mark changes
// and the sections after it stay as they are.
TEST_F(OutlineExpansionTest, ASectionWithoutDeeperLinesOnlyChangesItsMark) {
  IndexView* view = MakeView(Outline());
  ToggleSection(view, LineOf(view, S4));
  std::vector<WORD> before = VisibleKeys(view);
  WORD s3 = LineOf(view, S3);
  for (bool expanded : {false, true}) {
    EXPECT_EQ(ToggleSection(view, s3), -0x3FFB);
    EXPECT_EQ(IsEntryExpanded(view->Lines[s3].EntryFlags), expanded);
    EXPECT_EQ(VisibleKeys(view), before);
  }
}

// The lines of a two-line section title are one entry: a tap on either toggles it, and
// both lines stay shown with the same mark.
TEST_F(OutlineExpansionTest, ATwoLineSectionTitleTogglesAsOneEntry) {
  const int a = Advance(SectionStyle);
  for (WORD tapped : {0, 1}) {
    SCOPED_TRACE(tapped);
    IndexView* view = MakeView({{S1, SectionStyle, 1, "aaaa aaaa"},
                                {ArticleKey(1), LessonStyle, 2, "aa"},
                                {S2, SectionStyle, 1, "aa"}},
                               6 * a + 13);
    ASSERT_EQ(view->Lines[1].Key, S1);
    for (bool expanded : {true, false}) {
      ToggleSection(view, tapped);
      EXPECT_TRUE(IsLineVisible(view->Lines[0]) && IsLineVisible(view->Lines[1]));
      EXPECT_EQ(IsEntryExpanded(view->Lines[0].EntryFlags), expanded);
      EXPECT_EQ(IsEntryExpanded(view->Lines[1].EntryFlags), expanded);
      EXPECT_EQ(IsLineVisible(view->Lines[2]), expanded);
      EXPECT_EQ(view->VisibleCount, expanded ? 4 : 3);
    }
  }
}

TEST_F(OutlineExpansionTest, ToggleSectionRecomputesTheScrollRangeAndRedraws) {
  IndexView* view = MakeViewOver(BookIndex(), 227, 200);
  const int fitting = 200 / view->Lines[0].Height;  // sections, at the end of the outline
  EXPECT_EQ(view->LastTopLine, 13 - fitting);
  surface_.Clear();
  ToggleSection(view, 0);  // its 19 lessons
  EXPECT_EQ(view->LastTopLine, 13 + 19 - fitting);
  EXPECT_GT(surface_.ink(), 0);
  EXPECT_GT(view->LinesDrawn, 0);
}

// A relayout for a new width starts from the stream; what was saved before is shown
// again after it, and lines the stream shows stay shown.
TEST_F(OutlineExpansionTest, ExpansionIsKeptAcrossAResize) {
  SetList({200});
  IndexView* view = MakeViewOver(MergeBookmarks(BookIndex()));
  ExpandToLesson(view, 5);
  WORD second = LineOf(view, 0xBFEA);
  ToggleSection(view, second);                   // the user opens the second section
  ToggleSection(view, LineOf(view, 0x8877));     // and closes the bookmarks
  std::vector<WORD> before = VisibleKeys(view);
  for (LONG width : {120, 227}) {
    WORD* saved = SaveExpansion(view);
    ASSERT_NE(saved, nullptr);
    ResizeIndexView(view, width, 294);
    EXPECT_EQ(RestoreExpansion(view, saved), 0);
    free(saved);
    std::vector<WORD> keys = VisibleKeys(view);
    // The bookmarks section comes back open, as the stream has it.
    EXPECT_EQ(std::vector<WORD>(keys.begin(), keys.begin() + 2), Keys({0x8877, ArticleKey(200)}));
    EXPECT_EQ(std::vector<WORD>(keys.begin() + 2, keys.end()),
              std::vector<WORD>(before.begin() + 1, before.end()));
    EXPECT_TRUE(IsEntryExpanded(view->Lines[LineOf(view, 0xBFEA)].EntryFlags));
    EXPECT_FALSE(IsEntryExpanded(view->Lines[LineOf(view, 0xBFFE)].EntryFlags));
    WORD count = 0;
    for (const Line& line : VisibleLines(view)) count += line.key != 0;
    EXPECT_EQ(view->VisibleCount, count);
  }
}

TEST_F(OutlineExpansionTest, SaveAndRestoreWithoutLinesOrList) {
  IndexView* hidden = MakeView({{ArticleKey(1), LessonStyle, 2, "aa"}});
  EXPECT_EQ(SaveExpansion(hidden), nullptr);  // nothing visible
  EXPECT_EQ(RestoreExpansion(hidden, nullptr), -1);
  EXPECT_EQ(SaveExpansion(nullptr), nullptr);
  const WORD list[] = {ArticleKey(1), 0, 0};
  EXPECT_EQ(RestoreExpansion(hidden, list), 0);
  EXPECT_EQ(VisibleKeys(hidden), Keys({ArticleKey(1)}));
}

}  // namespace
}  // namespace index_test
