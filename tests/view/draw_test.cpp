// Drawing the page, the highlight, scrolling and the font change, checked on the
// pixels of a headless memory DC.
#include <algorithm>
#include <utility>
#include <vector>

#include "tests/view/view_fixture.h"
#include "view/entry_parts.h"
#include "view/line_walker.h"

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;
constexpr COLORREF Yellow = 0x00FFFF;

class Draw : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    ArticleView* probe = MakeView(240);
    body_ = MetricsOf(probe, 0x11);
    a = body_.advance;
    h = body_.height;
  }
  // Columns of a pixel row that have the colour.
  std::vector<int> ColumnsOf(int y, COLORREF colour) {
    std::vector<int> columns;
    for (int x = 0; x < surface_.width(); ++x)
      if (surface_.At(x, y) == colour) columns.push_back(x);
    return columns;
  }
  bool RowsHave(int top, int bottom, COLORREF colour) {
    for (int y = top; y < bottom; ++y)
      if (!ColumnsOf(y, colour).empty()) return true;
    return false;
  }
  // The leftmost and rightmost yellow columns in rows [top, bottom).
  std::pair<int, int> YellowSpan(int top, int bottom) {
    std::pair<int, int> span = {1 << 30, -1};
    for (int y = top; y < bottom; ++y)
      for (int x : ColumnsOf(y, Yellow)) span = {std::min(span.first, x), std::max(span.second, x)};
    return span;
  }
  bool RowsHaveInk(int top, int bottom, bool (*is)(COLORREF)) {
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < surface_.width(); ++x)
        if (is(surface_.At(x, y))) return true;
    return false;
  }
  bool AllWhite() {
    for (COLORREF pixel : surface_.Pixels())
      if (pixel != White) return false;
    return true;
  }
  // A view with a hand-made line table over a dummy text.
  ArticleView* ViewWithLines(std::vector<LineEntry> lines, LONG top = 0, LONG height = 320) {
    ArticleView* view = MakeView(240, height, 0, top);
    view->Text = ArticleBuilder().Text(0x01, 0, std::string(40, 'a')).Build();
    lines.push_back(LineEntry{});
    for (size_t i = 0; i < lines.size(); ++i) view->Lines[i] = lines[i];
    view->LineCount = WORD(lines.size() - 1);
    for (const LineEntry& entry : lines)
      if (entry.ParaFlags) view->DisplayLineCount += entry.ParaFlags & 0x80 ? 2 : 1;
    return view;
  }
  Metrics body_;
  int a = 0, h = 0;
};

TEST_F(Draw, RuleIsOnePixelRowAcrossTheMiddleOfItsLine) {
  ArticleView* view = ViewWithLines({{0, 0, 10, 0, 200, 15, 0xC7}}, 40);
  surface_.Clear();
  EXPECT_EQ(DrawArticle(view, true), 0);
  std::vector<int> row = ColumnsOf(47, Black);
  ASSERT_EQ(row.size(), 200u);
  EXPECT_EQ(row.front(), 10);
  EXPECT_EQ(row.back(), 209);
  EXPECT_FALSE(RowsHave(0, 47, Black));
  EXPECT_FALSE(RowsHave(48, 320, Black));
  EXPECT_EQ(view->LinesDrawn, 2);
}

TEST_F(Draw, PageStartsAtTheFirstVisibleLine) {
  // Three entries of height 20; the first carries a blank line.
  ArticleView* view =
      ViewWithLines({{2, 1, 0, 0, 10, 20, 0xB1}, {3, 1, 0, 0, 10, 20, 0x31}, {4, 1, 0, 0, 10, 20, 0x31}}, 5);
  struct {
    WORD firstLine;
    int entry, y, room;
  } cases[] = {{0, 0, 5, 320}, {1, 1, 25, 300}, {2, 1, 5, 320}, {3, 2, 5, 320}, {4, 3, 5, 320}};
  for (auto& c : cases) {
    view->FirstLine = c.firstLine;
    PageStart page = FindFirstVisibleEntry(view);
    EXPECT_EQ(page.Entry - view->Lines, c.entry) << c.firstLine;
    EXPECT_EQ(page.Y, c.y) << c.firstLine;
    EXPECT_EQ(page.Room, c.room) << c.firstLine;
  }
  view->LastTopLine = 2;
  view->FirstLine = 5;  // beyond the article
  EXPECT_EQ(FindFirstVisibleEntry(view).Entry - view->Lines, 1);
  EXPECT_EQ(view->FirstLine, 2);
}

TEST_F(Draw, WalkerCountsEachEntryAndTheBlankLineAfterAParagraph) {
  ArticleView* view = ViewWithLines(
      {{2, 1, 0, 0, 10, 20, 0xB1}, {3, 1, 0, 0, 10, 15, 0x31}, {4, 0, 0, 0, 10, 12, 0xC7}, {5, 1, 0, 0, 10, 20, 0x31}});
  struct {
    int line, top;
  } expected[] = {{0, 7}, {2, 47}, {3, 62}, {5, 86}};
  LineWalker walk(view->Lines, 7);
  for (auto& e : expected) {
    ASSERT_FALSE(walk.AtEnd());
    EXPECT_EQ(walk.Line(), e.line);
    EXPECT_EQ(walk.Top(), e.top);
    walk.Next();
  }
  EXPECT_TRUE(walk.AtEnd());
  EXPECT_EQ(walk.Line(), 6);

  LineWalker found(view->Lines);
  found.SkipUntil([](const LineEntry& entry, int) { return entry.Offset == 4; });
  EXPECT_EQ(found.Position(), view->Lines + 2);
  EXPECT_EQ(found.Line(), 3);
  found.SkipUntil([](const LineEntry&, int) { return false; });
  EXPECT_TRUE(found.AtEnd());
}

TEST_F(Draw, EntryPartsPlaceTheHangingWordInItsColumn) {
  // Each paragraph's text starts at offset 2.
  struct {
    const char* name;
    BYTE flags, indent;
    const char* text;
    bool hasWord;
    int wordAt, wordLength, wordCount;
    int runAt, runLength;
    int spanLast;
  } cases[] = {
      {"WithoutHangingWord", 0xB1, 0x00, "hh ee aa", false, 0, 0, 0, 2, 8, 10},
      // Stored "hh ee aa", read "aa ee hh": "aa" hangs, after the run in the text.
      {"RightToLeft", 0xB1, 0xC0, "hh ee aa", true, 8, 2, 2, 2, 5, 10},
      {"LeftToRight", 0x01, 0xC0, "aa ee hh", true, 2, 2, 2, 5, 5, 10},
      // A word wider than its column keeps its length; only what fits is drawn.
      {"LeftToRightWiderThanItsColumn", 0x01, 0x40, "aaaaaaaa ee", true, 2, 8, -1, 11, 2, 13},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ArticleView* view = MakeView(240);
    ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(c.flags, c.indent, c.text).Build(), true), 0);
    const LineEntry& e = view->Lines[0];
    HGDIOBJ old = SelectStyleFont(view, e.ParaFlags);
    EntryParts parts = MeasureEntryParts(view, e);
    SelectObject(view->Dc, old);
    EXPECT_EQ(parts.Run.Bytes - view->Text, c.runAt);
    EXPECT_EQ(parts.Run.Count, c.runLength);
    EXPECT_EQ(parts.Run.Length, c.runLength);
    EXPECT_EQ(parts.Run.X, e.X);
    EXPECT_EQ(parts.Run.Width, e.Width);
    ASSERT_EQ(parts.HasWord, c.hasWord);
    TextSpan span = EntrySpan(view, e);
    EXPECT_EQ(span.First, e.Offset);
    EXPECT_EQ(span.Last, c.spanLast);
    if (!c.hasWord) continue;
    const EntryPart& word = parts.Word;
    EXPECT_EQ(word.Bytes - view->Text, c.wordAt);
    EXPECT_EQ(word.Length, c.wordLength);
    int count = c.wordCount >= 0 ? c.wordCount : e.HangWidth / a;
    if (c.wordCount < 0) {
      ASSERT_LT(count, c.wordLength);
    }
    EXPECT_EQ(word.Count, count);
    EXPECT_EQ(word.Width, count * a);
    EXPECT_LE(word.Width, e.HangWidth);
    if (c.flags & 0x10) EXPECT_EQ(word.X + word.Width, e.X + e.Width + e.HangWidth);
    else EXPECT_EQ(word.X, e.X - e.HangWidth);
  }
}

TEST_F(Draw, PageOfBodyTextAndItsLineCount) {
  ArticleView* view = MakeView(240, 320, 0, 0);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "h e a").Text(0xB2, 0, "k").Build(), true), 0);
  surface_.Clear();
  FillViewRect(surface_.dc(), 0, 0, 240, 320, BLACK_BRUSH);
  SetTextColor(view->Dc, 0x123456);
  HGDIOBJ font = GetCurrentObject(view->Dc, OBJ_FONT);
  EXPECT_EQ(DrawArticle(view, true), 0);
  EXPECT_EQ(view->LinesDrawn, 3);  // the first paragraph's blank line counts
  EXPECT_EQ(GetTextColor(view->Dc), 0x123456u);
  EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_FONT), font);
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
  // Body text black at the right edge, the note navy on the third display line.
  Ink body = InkOf(surface_.Pixels(), 240);
  EXPECT_GE(body.left, 240 - 5 * a - 2);
  EXPECT_LT(body.top, h);
  EXPECT_FALSE(RowsHaveInk(0, 2 * h, IsNavyInk));
  EXPECT_TRUE(RowsHaveInk(2 * h, 2 * h + view->Lines[1].Height, IsNavyInk));
}

TEST_F(Draw, WithoutEraseOnlyTheTextIsPainted) {
  ArticleView* view = MakeView(240);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "a").Build(), true), 0);
  FillViewRect(surface_.dc(), 0, 0, 240, 320, BLACK_BRUSH);
  DrawArticle(view, false);
  EXPECT_EQ(surface_.At(5, 5), Black);
  DrawArticle(view, true);
  EXPECT_EQ(surface_.At(5, 5), White);
}

TEST_F(Draw, LinesThatDoNotFitAndTheEndOfTheArticle) {
  ArticleView* view = MakeView(240, h - 1);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "a").Text(0xB1, 0, "e").Build(), true), 0);
  surface_.Clear();
  EXPECT_EQ(DrawArticle(view, true), 0);
  EXPECT_EQ(view->LinesDrawn, 0);
  EXPECT_TRUE(AllWhite());

  ArticleView* tall = MakeView(240);
  ASSERT_EQ(LayoutArticle(tall, ArticleBuilder().Text(0xB1, 0, "a").Text(0xB1, 0, "e").Build(), true), 0);
  tall->FirstLine = tall->DisplayLineCount;  // past the last line: only the background
  FillViewRect(surface_.dc(), 0, 0, 240, 320, BLACK_BRUSH);
  EXPECT_EQ(DrawArticle(tall, true), 0);
  EXPECT_EQ(tall->LinesDrawn, 0);
  EXPECT_TRUE(AllWhite());
}

TEST_F(Draw, MissingPartsDrawNothing) {
  EXPECT_EQ(DrawArticle(nullptr, true), -1);
  EXPECT_EQ(DrawHighlight(nullptr), -1);
  ArticleView* view = MakeView(240);
  EXPECT_EQ(DrawArticle(view, true), -1);  // no text
  view->Text = ArticleBuilder().Text(0xB1, 0, "a").Build();
  free(view->Lines);
  view->Lines = nullptr;
  view->LineCapacity = 0;
  EXPECT_EQ(DrawArticle(view, true), -1);
  EXPECT_EQ(DrawHighlight(view), -1);
}

// A first record of 8 bytes puts the second record's text at offset 10.
ArticleBuilder HighlightArticle(BYTE flags) {
  ArticleBuilder article;
  article.Text(0x01, 0, "yyyyy").Text(flags, 0, "aehikmnoqrvwyaehikmn");
  return article;
}

TEST_F(Draw, HighlightPartOfOneLine) {
  for (BYTE flags : {BYTE(0x01), BYTE(0x11)}) {
    SCOPED_TRACE(int(flags));
    ArticleView* view = MakeView(240);
    ASSERT_EQ(LayoutArticle(view, HighlightArticle(flags).Build(), true), 0);
    const LineEntry& entry = view->Lines[1];
    ASSERT_EQ(entry.Offset, 10);
    ASSERT_EQ(entry.Length, 20);
    view->HighlightStart = 12;
    view->HighlightEnd = 16;
    surface_.Clear();
    SetTextColor(view->Dc, 0x010203);
    SetBkColor(view->Dc, 0x040506);
    HGDIOBJ font = GetCurrentObject(view->Dc, OBJ_FONT);
    HGDIOBJ brush = GetCurrentObject(view->Dc, OBJ_BRUSH);
    EXPECT_EQ(DrawArticle(view, true), 0);
    EXPECT_EQ(GetTextColor(view->Dc), 0x010203u);
    EXPECT_EQ(GetBkColor(view->Dc), 0x040506u);
    EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_BRUSH), brush);
    int y = view->Top + view->Lines[0].Height;
    // Yellow from the line's top less one to its bottom plus one, over bytes 12 to 15.
    std::vector<int> below = ColumnsOf(y + entry.Height, Yellow);
    ASSERT_EQ(below.size(), size_t(4 * a));
    EXPECT_EQ(below.front(), entry.X + 2 * a);
    EXPECT_TRUE(ColumnsOf(y + entry.Height + 1, Yellow).empty());
    EXPECT_EQ(ColumnsOf(y - 1, Yellow).size(), size_t(4 * a));
    EXPECT_TRUE(ColumnsOf(y - 2, Yellow).empty());
    Ink highlighted = InkOf(surface_.Pixels(), 240);
    bool blue = false;
    for (COLORREF pixel : surface_.Pixels()) blue |= IsBlueInk(pixel);
    EXPECT_TRUE(blue);
    EXPECT_TRUE(highlighted.any());
  }
}

TEST_F(Draw, HighlightEndingAtTheLinesOffsetDrawsNothing) {
  ArticleView* view = MakeView(240);
  ArticleBuilder article;
  article.Text(0x01, 0, "yy").Rule(0x07, 0).Rule(0x07, 0).Rule(0x07, 0);
  article.Text(0x01, 0, "aehikmnoqrvwyaehikmn");  // text at 16
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), 0);
  ASSERT_EQ(view->Lines[1].Offset, 16);
  view->HighlightStart = 12;
  view->HighlightEnd = 16;
  surface_.Clear();
  EXPECT_EQ(DrawArticle(view, true), 0);
  for (COLORREF pixel : surface_.Pixels()) ASSERT_NE(pixel, Yellow);
}

TEST_F(Draw, HighlightOverTwoLines) {
  ArticleView* view = MakeView(6 * a);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0x31, 0, "eeee kkkk").Build(), true), 0);
  ASSERT_EQ(view->LineCount, 2);  // read "kkkk eeee": stored "kkkk" first on screen
  // Stored bytes 7 and 8 (of "kkkk", the first line read) and 4 and 5 (of "eeee").
  view->HighlightStart = 4;
  view->HighlightEnd = 9;
  surface_.Clear();
  EXPECT_EQ(DrawArticle(view, true), 0);
  const LineEntry& first = view->Lines[0];
  const LineEntry& second = view->Lines[1];
  ASSERT_EQ(first.Offset, 7);
  ASSERT_EQ(second.Offset, 2);
  // Rows only one line's fill reaches: every yellow pixel there lies in its part.
  EXPECT_EQ(YellowSpan(0, first.Height - 1), std::make_pair(first.X + 0, first.X + 2 * a - 1));
  int y2 = first.Height;
  EXPECT_EQ(YellowSpan(y2 + 1, y2 + second.Height + 1),
            std::make_pair(second.X + 2 * a, second.X + 4 * a - 1));
}

TEST_F(Draw, HangingWordsStandInTheirColumn) {
  struct {
    const char* name;
    BYTE flags;
    const char* text;
  } cases[] = {
      // Right-to-left, one word: it is the whole paragraph and still drawn.
      {"RightToLeftSingleWord", 0xB1, "ae"},
      {"RightToLeft", 0xB1, "hh ee aa"},
      {"LeftToRight", 0x01, "aa ee hh"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ArticleView* view = MakeView(240);
    ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(c.flags, 0xC0, c.text).Build(), true), 0);
    const LineEntry& e = view->Lines[0];
    ASSERT_EQ(e.HangWidth, 2 * body_.maxWidth);
    surface_.Clear();
    DrawArticle(view, true);
    bool rightToLeft = c.flags & 0x10;
    int left = rightToLeft ? e.X + e.Width : e.X - e.HangWidth;
    int right = left + e.HangWidth;
    std::vector<COLORREF> pixels = surface_.Pixels();
    Ink column, rest;
    for (int y = 0; y < e.Height; ++y)
      for (int x = 0; x < 240; ++x) {
        if (pixels[size_t(y) * 240 + x] == White) continue;
        Ink& ink = x >= left && x < right ? column : rest;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
    EXPECT_TRUE(column.any());
    if (e.Length) {
      ASSERT_TRUE(rest.any());
      EXPECT_GE(rest.left, e.X - 1);
      EXPECT_LE(rest.right, e.X + e.Width);
    } else {
      EXPECT_FALSE(rest.any());
    }
  }
}

TEST_F(Draw, HighlightOfAHangingWordCoversOnlyTheMatch) {
  // Read "aa ee hh": "aa" (stored at 8 and 9) hangs right of the run "hh ee" (2 to 6).
  struct {
    WORD start, end;
    bool inColumn, inRun;
  } cases[] = {{8, 10, true, false}, {5, 7, false, true}, {5, 10, true, true}};
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end);
    ArticleView* view = MakeView(240);
    ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0xC0, "hh ee aa").Build(), true), 0);
    const LineEntry& e = view->Lines[0];
    ASSERT_EQ(e.Offset, 2);
    ASSERT_EQ(e.Length, 5);
    view->HighlightStart = c.start;
    view->HighlightEnd = c.end;
    surface_.Clear();
    DrawArticle(view, true);
    std::vector<int> row = ColumnsOf(e.Height, Yellow);
    bool column = false, run = false;
    for (int x : row) {
      column |= x >= e.X + e.Width;
      run |= x < e.X + e.Width;
    }
    EXPECT_EQ(column, c.inColumn);
    EXPECT_EQ(run, c.inRun);
  }
}

TEST_F(Draw, ScrollClampRules) {
  ArticleView* view = ViewWithLines({});
  view->DisplayLineCount = 50;
  view->LastTopLine = 40;
  struct {
    WORD first;
    int delta, redraw;
    bool clamp;
    int result;
    WORD after;
  } cases[] = {
      {38, 9, 1, true, 0, 47},   {40, 1, 1, true, 1, 40},   {30, 30, 1, true, 0, 40},
      {0, -1, 1, true, 1, 0},    {5, -10, 1, true, 0, 0},   {45, 3, 1, false, 0, 48},
      {45, 10, 1, false, 1, 45}, {20, 40, 1, false, 0, 40}, {41, -1, 1, true, 0, 40},
      {5, 1, 0, true, 3, 6},     {5, 0, 0, true, 1, 5},     {5, 0, 2, true, 0, 5},
  };
  for (auto& c : cases) {
    view->FirstLine = c.first;
    EXPECT_EQ(ScrollArticle(view, c.delta, c.redraw, c.clamp), c.result) << c.first << " " << c.delta;
    EXPECT_EQ(view->FirstLine, c.after) << c.first << " " << c.delta;
  }
  EXPECT_EQ(ScrollArticle(nullptr, 1, 1, true), -1);
}

TEST_F(Draw, ScrollKeepsTheHighlight) {
  ArticleView* view = MakeView(240, 3 * h);
  ArticleBuilder article;
  for (int i = 0; i < 6; ++i) article.Text(0xB1, 0, "ae");
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), 0);
  view->HighlightStart = 12;
  view->HighlightEnd = 14;  // the third paragraph, display line 4
  EXPECT_EQ(ScrollArticle(view, 4, 1, true), 0);
  EXPECT_EQ(view->FirstLine, 4);
  EXPECT_TRUE(RowsHave(0, h + 1, Yellow));
  EXPECT_EQ(view->HighlightEnd, 14);
}

TEST_F(Draw, ChangeArticleFontLaysOutAgainAndDraws) {
  ArticleView* view = MakeView(240);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "h e a").Build(), true), 0);
  WORD oldHeight = view->Lines[0].Height;
  view->HighlightEnd = 3;
  FontChoice larger = MakeFont(Mono, 32, CodeBaseUnicode);
  surface_.Clear();
  EXPECT_EQ(ChangeArticleFont(view, &larger), 0);
  EXPECT_GT(view->Lines[0].Height, oldHeight);
  EXPECT_GT(view->Lines[0].Width, 5 * a);
  EXPECT_EQ(view->Font.Size, 32);
  EXPECT_EQ(view->HighlightEnd, 0);
  EXPECT_FALSE(AllWhite());

  EXPECT_EQ(ChangeArticleFont(view, nullptr), 0);
  for (StyleFont* node = view->StyleFonts; node; node = node->Next) EXPECT_EQ(node->FontHandle, nullptr);
  EXPECT_EQ(ChangeArticleFont(nullptr, &larger), -1);
  ArticleView* empty = MakeView(240);
  EXPECT_EQ(ChangeArticleFont(empty, &larger), 1);  // nothing to lay out
}

}  // namespace
