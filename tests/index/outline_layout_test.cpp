// Laying out the outline: titles right-aligned at their level's indent, broken into
// lines at spaces, the line table growing, refused streams, memory running out, and the
// fonts of the entries.
#include <cstdlib>
#include <cstring>

#include "index/index_draw.h"
#include "index/index_fonts.h"
#include "outline_fixture.h"
#include "text/conversion.h"
#include "view/style_font.h"

namespace index_test {
namespace {

using OutlineLayoutTest = OutlineTest;

// A title given in reading order, stored in display order as the index holds it. The
// letter 'a' and the space have the same advance in the test's font.
std::string Stored(std::string reading) { return std::string(reading.rbegin(), reading.rend()); }

TEST_F(OutlineLayoutTest, TitlesStandRightAlignedAtTheirLevelsIndent) {
  const int a = Advance(LessonStyle);
  struct Case {
    LONG width;
    BYTE level;
    LONG indent;
  } const cases[] = {
      {227, 0, 0}, {227, 1, 13}, {227, 2, 26}, {227, 15, 195},
      {26, 2, 0},   // the indent reaches the width: at the right edge
      {30, 3, 0},   // beyond it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width * 100 + c.level);
    IndexView* view = MakeView({{ArticleKey(1), ShownLesson, c.level, "aa"}}, c.width);
    ASSERT_EQ(view->LineCount, 1);
    const IndexLine& line = view->Lines[0];
    EXPECT_EQ(IndentOf(view, line), c.indent);
    EXPECT_EQ(line.X, c.width - c.indent - line.Width);
    if (c.width - c.indent >= 2 * a) {
      EXPECT_EQ(line.Width, 2 * a);
    }
  }
}

// A long title breaks at the last space that fits; its first line holds the end of the
// stored bytes, which read first.
TEST_F(OutlineLayoutTest, LongTitlesBreakAtTheLastSpaceThatFits) {
  const int a = Advance(LessonStyle);
  IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 0, Stored("aaa aaaa aa")}}, 9 * a);
  std::vector<Line> expected = {{Stored("aaa aaaa"), 0, ArticleKey(1), ShownLesson},
                                {Stored("aa"), 0, ArticleKey(1), ShownLesson}};
  EXPECT_EQ(Lines(view), expected);
  EXPECT_EQ(view->Lines[0].Offset, 4 + 3);  // the entry's title starts at 4
  EXPECT_EQ(view->Lines[0].Width, 8 * a);
  EXPECT_EQ(view->Lines[0].X, a);
  EXPECT_EQ(view->Lines[1].Offset, 4);
}

TEST_F(OutlineLayoutTest, WordsWiderThanTheLineAreCutAndSpacesStartNoLine) {
  const int a = Advance(LessonStyle);
  struct Case {
    std::string reading;
    int advances;
    std::vector<std::string> lines;  // in reading order
  } const cases[] = {
      {"aaaaaaaa", 5, {"aaaaa", "aaa"}},      // no space: cut where the width ends
      {"aa aaaaaa", 5, {"aa", "aaaaa", "a"}},  // the space is the last that fits
      {"aa   aa", 3, {"aa ", "aa"}},           // a fit that ends at a space keeps it
      {"   aa", 3, {"aa"}},                    // leading spaces belong to no line
      {"aa    ", 6, {"aa    "}},
      {"aaa", 0, {"a", "a", "a"}},             // not even one byte fits: one a line
      {"aa", 1, {"a", "a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reading + " in " + std::to_string(c.advances));
    IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 0, Stored(c.reading)}}, c.advances * a);
    std::vector<std::string> lines;
    for (const Line& line : Lines(view)) lines.push_back(Stored(line.text));
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(view->VisibleCount, c.lines.size());
  }
}

TEST_F(OutlineLayoutTest, AnEntryOfSpacesOnlyHasNoLine) {
  IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 0, "ab"},
                              {ArticleKey(2), ShownLesson, 0, "   "},
                              {ArticleKey(3), ShownLesson, 0, "c"}});
  EXPECT_EQ(VisibleKeys(view), (std::vector<WORD>{ArticleKey(1), ArticleKey(3)}));
}

// Every line of an entry carries its key, style byte and height; only visible ones count.
TEST_F(OutlineLayoutTest, LinesCarryTheirEntrysKeyStyleAndHeight) {
  IndexView* view = MakeView({{SectionKey(0x3FFE), SectionStyle, 1, "ab"},
                              {ArticleKey(5), LessonStyle, 2, "c"},
                              {ArticleKey(6), ShownLesson, 2, "d"}});
  ASSERT_EQ(view->LineCount, 3);
  EXPECT_EQ(view->VisibleCount, 2);
  EXPECT_EQ(view->Lines[0].Height, Height(SectionStyle));
  EXPECT_EQ(view->Lines[1].Height, Height(LessonStyle));
  EXPECT_GT(Height(SectionStyle), Height(LessonStyle));
  EXPECT_EQ(view->Lines[2].Key, ArticleKey(6));
  EXPECT_EQ(view->Lines[2].EntryFlags, ShownLesson);
  EXPECT_TRUE(IsEndLine(view->Lines[3]));
  EXPECT_EQ(view->Lines[3].Key, 0);
}

TEST_F(OutlineLayoutTest, TheTableGrowsBy128LinesAsTheLayoutNeedsThem) {
  std::vector<Entry> entries;
  for (WORD lesson = 1; lesson <= 300; ++lesson) entries.push_back({ArticleKey(lesson), ShownLesson, 2, "ab"});
  IndexView* view = MakeView(entries);
  EXPECT_EQ(view->LineCount, 300);
  EXPECT_EQ(view->LineCapacity, 100 + 2 * 128);
  EXPECT_EQ(view->Lines[299].Key, ArticleKey(300));
  EXPECT_TRUE(IsEndLine(view->Lines[300]));
}

// The 16-bit capacity never wraps: the last growth stops at 65535 lines, and a table
// at that limit ends where it stands.
TEST_F(OutlineLayoutTest, GrowthStopsAtTheSixteenBitLimit) {
  RECT box = {0, 0, 227, 320};
  IndexView* view = CreateIndexView(surface_.dc(), &box, &App.Font, 65500);
  ASSERT_NE(view, nullptr);
  view->Lines[65500] = IndexLine{1, 1, 1, 1, 1, ArticleKey(1), ShownLesson};
  EXPECT_EQ(GrowIndexLines(view, 65500), IndexDone);
  EXPECT_EQ(view->LineCapacity, 0xFFFF);
  view->Lines[0xFFFF] = IndexLine{1, 1, 1, 1, 1, ArticleKey(1), ShownLesson};
  EXPECT_EQ(GrowIndexLines(view, 0xFFFF), IndexOutOfMemory);
  EXPECT_EQ(view->LineCapacity, 0xFFFF);
  EXPECT_TRUE(IsEndLine(view->Lines[0xFFFF]));
  DestroyIndexView(view, true);
}

// A stream whose first entry is no entry, or has no title, is refused: nothing of the
// table or the counts changes but that nothing is visible; the stream stays the
// caller's. Without a stream, the view lets its own go when asked.
TEST_F(OutlineLayoutTest, RefusedAndMissingStreams) {
  IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 0, "ab"}});
  BYTE* held = view->Stream;
  IndexLine first = view->Lines[0];
  for (std::vector<Entry> refused : {std::vector<Entry>{}, std::vector<Entry>{{ArticleKey(2), ShownLesson, 0, ""}}}) {
    BYTE* stream = MakeStream(refused);
    EXPECT_EQ(LayoutIndex(view, stream, true), IndexUnusable);
    free(stream);
    EXPECT_EQ(view->Stream, held);
    EXPECT_EQ(view->LineCount, 1);
    EXPECT_EQ(std::memcmp(&view->Lines[0], &first, sizeof first), 0);
    EXPECT_EQ(view->VisibleCount, 0);
    EXPECT_EQ(view->LastTopLine, 0);
  }
  EXPECT_EQ(LayoutIndex(view, nullptr, false), IndexNoStream);
  EXPECT_EQ(view->Stream, held);
  EXPECT_EQ(LayoutIndex(view, nullptr, true), IndexNoStream);
  EXPECT_EQ(view->Stream, nullptr);
  EXPECT_EQ(DrawIndex(view, true), -1);
  EXPECT_EQ(LayoutIndex(nullptr, nullptr, true), IndexNoView);
  EXPECT_EQ(ResizeIndexView(nullptr, 10, 10), IndexNoView);
}

// Memory that runs out at any allocation of a layout (a title's copy, a run's measuring,
// the table's growth) ends the table after the last line written; the view keeps the
// stream, so it is released once, with the view. Among them, the second title's copy
// leaves the first title alone on the page.
TEST_F(OutlineLayoutTest, OutOfMemoryEndsTheTableAfterTheLastLineWritten) {
  // Laid out with one allocation after another failing; true when one of them left only
  // the first title.
  auto sweep = [](IndexView* view, BYTE* stream, const std::vector<WORD>& all) {
    bool firstTitleAlone = false;
    int status = IndexOutOfMemory;
    for (unsigned n = 1; status == IndexOutOfMemory; ++n) {
      SCOPED_TRACE(n);
      HeapFailAllocation(n);
      status = LayoutIndex(view, stream, true);
      HeapFailAllocation(0);
      EXPECT_EQ(view->Stream, stream);
      std::vector<WORD> keys = VisibleKeys(view);
      EXPECT_LE(keys.size(), all.size());
      if (keys.size() > all.size()) return false;
      EXPECT_EQ(keys, std::vector<WORD>(all.begin(), all.begin() + keys.size()));
      EXPECT_EQ(view->LineCount, keys.size());
      EXPECT_EQ(view->VisibleCount, keys.size());
      EXPECT_TRUE(IsEndLine(view->Lines[view->LineCount]));
      if (status == IndexOutOfMemory && keys.size() == 1) firstTitleAlone = true;
    }
    EXPECT_EQ(status, IndexDone);
    EXPECT_EQ(VisibleKeys(view), all);
    return firstTitleAlone;
  };
  const std::vector<Entry> three = {{ArticleKey(1), ShownLesson, 0, "ab"},
                                    {ArticleKey(2), ShownLesson, 0, "cd"},
                                    {ArticleKey(3), ShownLesson, 0, "ef"}};
  IndexView* view = MakeView(three);
  EXPECT_TRUE(sweep(view, MakeStream({{ArticleKey(4), ShownLesson, 0, "gh"},
                                      {ArticleKey(5), ShownLesson, 0, "ij"},
                                      {ArticleKey(6), ShownLesson, 0, "kl"}}),
                    {ArticleKey(4), ArticleKey(5), ArticleKey(6)}));
  // More titles than the table holds: it grows while they are laid out.
  std::vector<Entry> many;
  std::vector<WORD> keys;
  for (WORD i = 1; i <= IndexLineGrowth + 2; ++i) {
    many.push_back({ArticleKey(i), ShownLesson, 0, "ab"});
    keys.push_back(ArticleKey(i));
  }
  sweep(MakeView(three), MakeStream(many), keys);
}

TEST_F(OutlineLayoutTest, IndexFontsHaveTheArticleSizesAndWeight) {
  RECT box = {0, 0, 227, 320};
  struct Case {
    LONG size;
    BYTE key;
    LONG height;
    LONG weight;
  } const cases[] = {
      {16, 0x01, 16, FW_NORMAL}, {16, 0x04, 20, FW_NORMAL}, {16, 0x02, 12, FW_NORMAL},
      {16, 0x06, 20, FW_NORMAL}, {16, 0x0C, 20, FW_BOLD},   {16, 0x08, 16, FW_BOLD},
      {0, 0x01, 0, FW_NORMAL},   {0, 0x04, 20, FW_NORMAL},  {0, 0x02, 14, FW_NORMAL},
      {15, 0x02, 11, FW_NORMAL}, {15, 0x04, 18, FW_NORMAL},  // rounded toward zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size * 100 + c.key);
    FontChoice font = App.Font;
    font.Size = c.size;
    IndexView* view = CreateIndexView(surface_.dc(), &box, &font, 1);
    HFONT made = AddIndexFont(view, c.key);
    ASSERT_NE(made, nullptr);
    LOGFONTW logical = {};
    GetObjectW(made, sizeof logical, &logical);
    EXPECT_EQ(logical.lfHeight, c.height);
    EXPECT_EQ(logical.lfWeight, c.weight);
    EXPECT_EQ(std::u16string(logical.lfFaceName), std::u16string(Mono));
    EXPECT_EQ(view->StyleFonts->Key, c.key);
    DestroyIndexView(view, true);
  }
}

TEST_F(OutlineLayoutTest, SelectingAKeysFontSetsItsColourOnlyWhenAsked) {
  IndexView* view = MakeView({{ArticleKey(1), ShownLesson, 0, "a"}});
  struct Case {
    unsigned request;
    COLORREF colour;
  } const cases[] = {
      {0x0C | IndexColourRequest, 0xFF0000}, {0x1C | IndexColourRequest, 0xFF0000},
      {0x08 | IndexColourRequest, 0x000000}, {0x04 | IndexColourRequest, 0x000000},
      {0x02 | IndexColourRequest, 0x000000}, {0x0C, 0x123456},
  };
  for (const Case& c : cases) {
    SetTextColor(view->Dc, 0x123456);
    HGDIOBJ before = GetCurrentObject(view->Dc, OBJ_FONT);
    EXPECT_EQ(SelectIndexFont(view, c.request), before);
    EXPECT_EQ(GetTextColor(view->Dc), c.colour) << std::hex << c.request;
    SelectObject(view->Dc, before);
  }
  // One font per key: selecting a key again takes the font made for it.
  SelectIndexFont(view, 0x0C);
  HGDIOBJ made = GetCurrentObject(view->Dc, OBJ_FONT);
  SelectIndexFont(view, 0x01);
  SelectIndexFont(view, 0x0C);
  EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_FONT), made);
  int records = 0;
  for (StyleFont* node = view->StyleFonts; node; node = node->Next) ++records;
  EXPECT_EQ(records, 6);  // 0x01, 0x0C, 0x1C, 0x08, 0x04, 0x02
}

// The last top line leaves as many visible lines below it as fit the height, counted
// from the table's end; hidden lines take no room but stop the count when too tall.
TEST_F(OutlineLayoutTest, LastTopLineLeavesAFullPageBelowIt) {
  const int h = Height(LessonStyle);
  std::vector<Entry> entries;
  for (WORD lesson = 1; lesson <= 20; ++lesson)
    entries.push_back({ArticleKey(lesson), BYTE(lesson % 4 ? ShownLesson : LessonStyle), 2, "ab"});
  struct Case {
    LONG height;
    int lastTop;
  } const cases[] = {{5 * h, 15 - 5}, {5 * h + h / 2, 15 - 5}, {h - 1, 15}, {40 * h, 0}};
  for (const Case& c : cases) {
    IndexView* view = MakeView(entries, 227, c.height);
    EXPECT_EQ(view->VisibleCount, 15);
    EXPECT_EQ(view->LastTopLine, c.lastTop) << c.height;
  }
  IndexView* none = MakeView({{ArticleKey(1), LessonStyle, 2, "ab"}});
  EXPECT_EQ(ComputeIndexLastTopLine(none), -1);
}

}  // namespace
}  // namespace index_test
