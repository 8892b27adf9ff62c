// Drawing and scrolling the outline: the visible lines that fit, blue section titles,
// each entry's mark beside its first line on the page, and the scroll limits.
#include "index/index_draw.h"

#include "outline_fixture.h"
#include "text/conversion.h"

namespace index_test {
namespace {

using OutlineDrawTest = OutlineTest;

enum class Mark { None, Plus, Minus, Page };

// Which mark stands in the 9 x 9 box beside the line at y, told by the pixels where the
// pictures differ: the plus's upright bar, the minus's bar and the page's folded corner.
Mark MarkAt(const MemoryDc& dc, const IndexLine& line, int y) {
  int x = line.X + line.Width + OutlineMarkGap;
  int d = (line.Height - OutlineMarkSize) / 2;
  int top = d > 0 ? y + d : y;
  auto inked = [&](int dx, int dy) { return dc.At(x + dx, top + dy) != 0xFFFFFF; };
  if (!inked(0, 4)) return Mark::None;
  if (!inked(8, 0)) return Mark::Page;
  return inked(4, 2) ? Mark::Plus : Mark::Minus;
}

// The colour of the darkest pixel of the line's text.
COLORREF InkOfLine(const MemoryDc& dc, const IndexLine& line, int y) {
  COLORREF darkest = 0xFFFFFF;
  int least = 3 * 255;
  for (int py = y; py < y + line.Height; ++py)
    for (int px = line.X; px < line.X + line.Width; ++px) {
      COLORREF c = dc.At(px, py);
      int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
      if (sum < least) least = sum, darkest = c;
    }
  return darkest;
}

std::vector<Entry> Sections(int count, BYTE lessonStyle = ShownLesson) {
  std::vector<Entry> entries;
  WORD lesson = 1;
  for (int s = 0; s < count; ++s) {
    entries.push_back({SectionKey(WORD(0x3FFE - s)), BYTE(SectionStyle | (s % 2 ? EntryExpanded : 0)), 1, "aaa"});
    for (int i = 0; i < 3; ++i) entries.push_back({ArticleKey(lesson++), lessonStyle, 2, "aa"});
  }
  return entries;
}

TEST_F(OutlineDrawTest, DrawsTheVisibleLinesThatFitWithTheirMarksAndColours) {
  IndexView* view = MakeView(Sections(2), 227, 320);
  surface_.Clear();
  EXPECT_EQ(DrawIndex(view, true), 0);
  EXPECT_EQ(view->LinesDrawn, 8);
  int y = 0;
  for (WORD i = 0; i < 8; ++i) {
    const IndexLine& line = view->Lines[i];
    SCOPED_TRACE(i);
    bool section = line.Key & SectionKeyBit;
    Mark expected = !section ? Mark::Page : i == 0 ? Mark::Plus : Mark::Minus;
    EXPECT_EQ(MarkAt(surface_, line, y), expected);
    COLORREF ink = InkOfLine(surface_, line, y);
    if (section) {
      EXPECT_TRUE(GetBValue(ink) >= 0xD0 && GetRValue(ink) < 0x40) << std::hex << ink;
    } else {
      EXPECT_TRUE(GetRValue(ink) == GetBValue(ink) && GetGValue(ink) == GetBValue(ink)) << std::hex << ink;
      EXPECT_LT(GetRValue(ink), 0x80) << std::hex << ink;
    }
    y += line.Height;
  }
  // Nothing beyond the titles' right ends but the marks: the indent of each level.
  RECT ink = surface_.inkBox();
  EXPECT_LE(ink.right, 227 - 13 + OutlineMarkGap + OutlineMarkSize);
  EXPECT_EQ(GetTextColor(view->Dc), 0x000000u);
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
}

TEST_F(OutlineDrawTest, DrawingStopsAtTheFirstLineThatNoLongerFits) {
  const int h = Height(LessonStyle);
  std::vector<Entry> entries;
  for (WORD lesson = 1; lesson <= 30; ++lesson) entries.push_back({ArticleKey(lesson), ShownLesson, 2, "aa"});
  IndexView* view = MakeView(entries, 227, 10 * h + h / 2);
  surface_.Clear();
  DrawIndex(view, true);
  EXPECT_EQ(view->LinesDrawn, 10);
  EXPECT_LE(surface_.inkBox().bottom, 10 * h);
}

// A title of two lines has its mark beside the first of its lines that the page shows.
TEST_F(OutlineDrawTest, AnEntrysMarkStandsBesideItsFirstLineOnThePage) {
  const int a = Advance(LessonStyle);
  IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 1, "aaaa aaaa"},
                              {ArticleKey(2), ShownLesson, 1, "aa"}},
                             6 * a + 13);
  ASSERT_EQ(view->LineCount, 3);
  const int h = view->Lines[0].Height;
  for (WORD first : {0, 1}) {
    SCOPED_TRACE(first);
    view->FirstLine = first;
    surface_.Clear();
    DrawIndex(view, true);
    EXPECT_EQ(MarkAt(surface_, view->Lines[first], 0), Mark::Page);
    if (first == 0) {
      EXPECT_EQ(MarkAt(surface_, view->Lines[1], h), Mark::None);
    }
    EXPECT_EQ(MarkAt(surface_, view->Lines[2], (2 - first) * h), Mark::Page);
  }
}

TEST_F(OutlineDrawTest, HiddenLinesTakeNoRoom) {
  IndexView* view = MakeView(Sections(3, LessonStyle));
  surface_.Clear();
  DrawIndex(view, true);
  EXPECT_EQ(view->LinesDrawn, 3);
  EXPECT_EQ(MarkAt(surface_, view->Lines[4], view->Lines[0].Height), Mark::Minus);
}

TEST_F(OutlineDrawTest, AFirstLineBeyondTheVisibleLinesMovesToTheLastTopLine) {
  std::vector<Entry> entries;
  for (WORD lesson = 1; lesson <= 40; ++lesson) entries.push_back({ArticleKey(lesson), ShownLesson, 2, "aa"});
  IndexView* view = MakeView(entries, 227, 200);
  ASSERT_GT(view->LastTopLine, 0);
  view->FirstLine = 41;
  DrawIndex(view, false);
  EXPECT_EQ(view->FirstLine, view->LastTopLine);
  view->FirstLine = 40;  // not beyond: drawn from there
  DrawIndex(view, false);
  EXPECT_EQ(view->FirstLine, 40);
  EXPECT_EQ(view->LinesDrawn, 0);
}

TEST_F(OutlineDrawTest, ScrollingAtTheTopByMinusOneChangesAndDrawsNothing) {
  IndexView* view = MakeView(Sections(2));
  surface_.Clear();
  EXPECT_EQ(ScrollIndex(view, -1, true, true), 1);
  EXPECT_EQ(view->FirstLine, 0);
  EXPECT_EQ(surface_.ink(), 0);
  EXPECT_EQ(view->LinesDrawn, 0);
}

TEST_F(OutlineDrawTest, ScrollingStaysBetweenTheTopAndTheLastTopLine) {
  std::vector<Entry> entries;
  for (WORD lesson = 1; lesson <= 40; ++lesson) entries.push_back({ArticleKey(lesson), ShownLesson, 2, "aa"});
  IndexView* view = MakeView(entries, 227, 200);
  const int last = view->LastTopLine;
  ASSERT_GT(last, 3);
  struct Case {
    int first, delta;
    bool clamp;
    int expected;
  } const cases[] = {
      {0, 1, true, 1},          {2, -5, true, 0},         {last - 1, 3, true, last},
      {last - 1, 3, false, last + 2},  // without clamp up to the visible lines
      {38, 5, false, last},     // beyond them: back to the last top line
      {5, 0, true, 5},
  };
  for (const Case& c : cases) {
    view->FirstLine = WORD(c.first);
    EXPECT_EQ(ScrollIndex(view, c.delta, false, c.clamp), 1);
    EXPECT_EQ(view->FirstLine, c.expected) << c.first << " by " << c.delta;
  }
  view->FirstLine = 2;
  surface_.Clear();
  EXPECT_EQ(ScrollIndex(view, 1, true, true), 0);  // moved: drawn
  EXPECT_GT(surface_.ink(), 0);
  EXPECT_EQ(ScrollIndex(nullptr, 1, true, true), -1);
}

}  // namespace
}  // namespace index_test
