// Line layout: direction, breaking, alignment, margins, hanging words, rules, blank
// lines, the line table and the scrolling bookkeeping.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/view/view_fixture.h"

namespace {

struct Line {
  int offset, length, x, hang, width, flags;
};

// Letters of one advance in the font at size 16, as Hebrew and as Latin glyphs.
const char* const SameAdvance = "aehikmnoqrvwy -";

class Layout : public ViewTest {
 protected:
  // Lays out the builder's article in a view of the given width and returns its lines.
  std::vector<Line> LayOut(const ArticleBuilder& article, LONG width, LONG height = 320) {
    view_ = MakeView(width, height);
    HGDIOBJ font = GetCurrentObject(view_->Dc, OBJ_FONT);
    EXPECT_EQ(LayoutArticle(view_, article.Build(), true), LayoutDone);
    EXPECT_EQ(GetCurrentObject(view_->Dc, OBJ_FONT), font);  // the DC's font is put back
    EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
    return Lines(view_);
  }
  static std::vector<Line> Lines(const ArticleView* view) {
    std::vector<Line> lines;
    for (const LineEntry* e = view->Lines; e->ParaFlags; ++e)
      lines.push_back({e->Offset, e->Length, e->X, e->HangWidth, e->Width, e->ParaFlags});
    EXPECT_EQ(lines.size(), view->LineCount);
    return lines;
  }
  void SetUp() override {
    ViewTest::SetUp();
    ArticleView* probe = MakeView(240);
    body_ = MetricsOf(probe, 0x11);
    a = body_.advance;
    ASSERT_GT(a, 3);
    // The letters, space and hyphen of these tests share one advance in both the Hebrew
    // (width table) and the Latin (extent) glyphs of the font.
    ArticleView* latinProbe = MakeView(240);
    HGDIOBJ kept = SelectStyleFont(latinProbe, 0x01);
    for (char c : std::string(SameAdvance)) {
      EXPECT_EQ(probe->WidthTable[c - 16], a) << c;
      WCHAR unit = WCHAR(c);
      SIZE size = {0, 0};
      GetTextExtentExPointW(latinProbe->Dc, &unit, 1, 0, nullptr, nullptr, &size);
      EXPECT_EQ(size.cx, a) << c;
    }
    SelectObject(latinProbe->Dc, kept);
  }
  ArticleView* view_ = nullptr;
  Metrics body_;
  int a = 0;
};

void ExpectLines(const std::vector<Line>& got, const std::vector<Line>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].offset, want[i].offset) << "line " << i;
    EXPECT_EQ(got[i].length, want[i].length) << "line " << i;
    EXPECT_EQ(got[i].x, want[i].x) << "line " << i;
    EXPECT_EQ(got[i].hang, want[i].hang) << "line " << i;
    EXPECT_EQ(got[i].width, want[i].width) << "line " << i;
    EXPECT_EQ(got[i].flags, want[i].flags) << "line " << i;
  }
}

TEST_F(Layout, RightToLeftThreeWordsTwoPerLine) {
  ArticleBuilder article;
  article.Text(0xB1, 0, "h e a").Text(0xB1, 0, "k");  // read a, e, h
  std::vector<Line> lines = LayOut(article, 4 * a);
  ExpectLines(lines, {{4, 3, a, 0, 3 * a, 0x31},  // stored "e a"
                      {2, 1, 3 * a, 0, a, 0xB1},  // stored "h", the paragraph's last line
                      {10, 1, 3 * a, 0, a, 0x31}});
  EXPECT_EQ(view_->DisplayLineCount, 4);
  EXPECT_EQ(view_->Lines[0].Height, body_.height);
}

TEST_F(Layout, RightToLeftFitsOnOneLineShowingStoredOrder) {
  ArticleBuilder article;
  article.Text(0xB1, 0, "h e a");
  ExpectLines(LayOut(article, 240), {{2, 5, 240 - 5 * a, 0, 5 * a, 0x31}});
  EXPECT_EQ(view_->DisplayLineCount, 1);
}

TEST_F(Layout, BreakingLeftToRight) {
  struct {
    const char* name;
    const char* text;
    int widthInAdvances;
    std::vector<std::pair<int, int>> runs;  // offset in the text, length
  } cases[] = {
      {"HyphenStaysOnTheLine", "xx ae-hikm", 8, {{0, 6}, {6, 4}}},
      {"BreakBeforeTheSpace", "xx aehikm", 8, {{0, 2}, {3, 6}}},
      {"LongWordIsCut", "aehikmnoqr", 4, {{0, 4}, {4, 4}, {8, 2}}},
      {"HyphenAtLineStartIsNoBreak", "-aehikmn", 4, {{0, 4}, {4, 4}}},
      {"SpacesAtABreakBelongToNoLine", "ae  hk", 3, {{0, 3}, {4, 2}}},
      {"FitEndingAfterASpaceBreaksBeforeIt", "aeh kmn", 4, {{0, 3}, {4, 3}}},
      {"ExactFit", "aehk", 4, {{0, 4}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ArticleBuilder article;
    article.Text(0x01, 0, c.text);
    std::vector<Line> lines = LayOut(article, c.widthInAdvances * a);
    ASSERT_EQ(lines.size(), c.runs.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].offset, 2 + c.runs[i].first) << i;
      EXPECT_EQ(lines[i].length, c.runs[i].second) << i;
      EXPECT_EQ(lines[i].x, 0) << i;
    }
  }
}

TEST_F(Layout, BreakingRightToLeftWorksInReadingOrder) {
  // Read "yy ae-hikm", stored reversed.
  ArticleBuilder article;
  article.Text(0x31, 0, "mkih-ea yy");
  int width = 8 * a;
  ExpectLines(LayOut(article, width), {{2 + 4, 6, width - 6 * a, 0, 6 * a, 0x31},  // "-ea yy"
                                       {2 + 0, 4, width - 4 * a, 0, 4 * a, 0x31}});  // "mkih"
}

TEST_F(Layout, AlignmentAndMargins) {
  struct {
    BYTE flags, indent;
    LONG width;
    int x;  // for the 3-letter run "aeh" of width 3a
  } cases[] = {
      {0x01, 5, 240, 5},
      {0x61, 5, 240, 5},
      {0x21, 5, 240, 240 - 5 - 3 * a},
      {0x41, 6, 240, 6 + (240 - 6 - 3 * a) / 2},
      {0x41, 0, 241, (241 - 3 * a) / 2},
      {0x31, 5, 240, 240 - 5 - 3 * a},
      {0x11, 5, 240, 5},
      {0x01, 50, 40, 0},            // a margin that reaches the width counts as 0
      {0x21, 63, 63, 63 - 3 * a},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << int(c.flags) << " margin " << int(c.indent));
    ArticleBuilder article;
    article.Text(c.flags, c.indent, "aeh");
    std::vector<Line> lines = LayOut(article, c.width);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, c.x);
    EXPECT_EQ(lines[0].width, 3 * a);
  }
}

TEST_F(Layout, MarginNarrowsEveryLine) {
  ArticleBuilder article;
  article.Text(0x21, 7, "aaa eee hhh");
  int width = 7 + 7 * a;  // two words per line after the margin
  ExpectLines(LayOut(article, width), {{2, 7, 0, 0, 7 * a, 0x21}, {10, 3, 4 * a, 0, 3 * a, 0x21}});
}

TEST_F(Layout, HangingWordRightToLeft) {
  ArticleBuilder article;
  article.Text(0xB1, 0x40, "mm kk hh ee aa").Text(0x31, 0, "o");  // read aa ee hh kk mm
  int hang = body_.maxWidth;  // (1 + 1) x widest / 2
  int width = hang + 5 * a;
  std::vector<Line> lines = LayOut(article, width);
  ExpectLines(lines, {{2 + 6, 5, 0, hang, 5 * a, 0x31},   // stored "hh ee", "aa" hangs
                      {2 + 0, 5, 0, 0, 5 * a, 0xB1},      // stored "mm kk", clear of the column
                      {19, 1, width - a, 0, a, 0x31}});
}

TEST_F(Layout, ScrollToOffsetFindsTheLineOfARightToLeftHangingWord) {
  ArticleBuilder article;
  article.Text(0xB1, 0x40, "mm kk hh ee aa").Text(0x31, 0, "o");  // "aa" hangs, stored at 14
  ArticleView* view = MakeView(body_.maxWidth + 5 * a, body_.height);  // one line a page
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
  struct {
    WORD offset;
    int firstLine;
  } cases[] = {{2, 1}, {15, 0}, {19, 3}, {14, 0}, {13, 0}, {7, 1}};
  for (auto& c : cases) {
    EXPECT_EQ(ScrollToOffset(view, c.offset), 1) << c.offset;
    EXPECT_EQ(view->FirstLine, c.firstLine) << c.offset;
  }
}

TEST_F(Layout, HangingWordLeftToRight) {
  ArticleBuilder article;
  article.Text(0x81, 0x80 | 4, "aa ee hh kk mm");  // factor 2, margin 4
  Metrics latin = MetricsOf(MakeView(240), 0x01);
  int hang = 3 * latin.maxWidth / 2;
  int width = 4 + hang + 5 * a;
  ExpectLines(LayOut(article, width), {{2, 5, 4 + hang, hang, 5 * a, 0x01},  // Offset at "aa"
                                       {2 + 9, 5, 4 + hang, 0, 5 * a, 0x01}});
}

TEST_F(Layout, ContinuationKeepsThePreviousHangingPosition) {
  ArticleBuilder article;
  article.Text(0x01, 0x40 | 2, "aa ee").Text(0x01, 0x40 | 5, " hh").Text(0x01, 0x40 | 1, "kk mm");
  int hang = MetricsOf(MakeView(240), 0x01).maxWidth;
  std::vector<Line> lines = LayOut(article, 240);
  ExpectLines(lines, {{2, 2, 2 + hang, hang, 2 * a, 0x01},
                      {11, 2, 2 + hang + 3, 0, 2 * a, 0x01},  // no word of its own; 3 more margin
                      {16, 2, 1 + hang, hang, 2 * a, 0x01}});
}

TEST_F(Layout, ContinuationNeedsAnEarlierLine) {
  ArticleBuilder article;
  article.Text(0x01, 0x40 | 3, " aa ee");  // the first line of the article: hangs its word
  int hang = MetricsOf(MakeView(240), 0x01).maxWidth;
  ExpectLines(LayOut(article, 240), {{3, 2, 3 + hang, hang, 2 * a, 0x01}});
}

TEST_F(Layout, RuleWidthsAndAlignment) {
  struct {
    BYTE flags, widthByte;
    LONG viewWidth;
    int length, x;
  } cases[] = {
      {0xC7, 210, 240, 240, 0},
      {0xC7, 172, 240, 57, (240 - 57) / 2},  // 24 % of 240, rounded down
      {0xC7, 100, 240, 100, 70},
      {0xC7, 100, 80, 80, 0},
      {0x47, 161, 240, 4, 118},
      {0x67, 100, 240, 100, 0},  // 0x60 aligns left
      {0xA7, 160, 240, 160, 80},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "width byte " << int(c.widthByte) << " view " << c.viewWidth);
    ArticleBuilder article;
    article.Rule(c.flags, c.widthByte).Text(0xB1, 0, "a");
    std::vector<Line> lines = LayOut(article, c.viewWidth);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].offset, 2);
    EXPECT_EQ(lines[0].length, 0);
    EXPECT_EQ(lines[0].width, c.length);
    EXPECT_EQ(lines[0].x, c.x);
    EXPECT_EQ(lines[0].flags, c.flags);
    EXPECT_EQ(view_->Lines[0].Height, MetricsOf(view_, 1).height);  // the current line height
    EXPECT_EQ(view_->DisplayLineCount, c.flags & 0x80 ? 3 : 2);
  }
}

TEST_F(Layout, RuleTakesTheHeightOfTheTextBeforeIt) {
  ArticleBuilder article;
  article.Text(0xB2, 0, "a").Rule(0xC7, 210).Text(0xB1, 0, "a");
  LayOut(article, 240);
  EXPECT_EQ(view_->Lines[1].Height, MetricsOf(view_, 0x12).height);
  EXPECT_LT(view_->Lines[1].Height, view_->Lines[2].Height);
}

TEST_F(Layout, EmptyParagraphsAndZeroRulesMakeNoLines) {
  ArticleBuilder article;
  article.Text(0xB1, 0, "a").Text(0xB1, 0, "").Rule(0x87, 0).Rule(0x07, 0).Text(0xB1, 0, "e");
  ExpectLines(LayOut(article, 240), {{2, 1, 240 - a, 0, a, 0xB1}, {15, 1, 240 - a, 0, a, 0x31}});
  EXPECT_EQ(view_->DisplayLineCount, 3);
}

TEST_F(Layout, BlankLinesCountAndTheLastLineNeverKeepsOne) {
  ArticleBuilder article;
  article.Text(0xB1, 0, "aa ee").Text(0x31, 0, "hh").Text(0xD1, 0, "kk").Rule(0xC7, 210);
  std::vector<Line> lines = LayOut(article, 3 * a);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].flags, 0x31);
  EXPECT_EQ(lines[1].flags, 0xB1);
  EXPECT_EQ(lines[2].flags, 0x31);
  EXPECT_EQ(lines[3].flags, 0xD1);
  EXPECT_EQ(lines[4].flags, 0x47);  // the rule's 0x80 is cleared: it ends the article
  EXPECT_EQ(view_->DisplayLineCount, 7);
  EXPECT_EQ(view_->LineCount, 5);
}

TEST_F(Layout, TrailingSpacesStillEndTheParagraph) {
  ArticleBuilder article;
  article.Text(0x81, 0, "ae  ").Text(0x81, 0, "hk");
  std::vector<Line> lines = LayOut(article, 2 * a);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].flags, 0x81);
  EXPECT_EQ(view_->DisplayLineCount, 3);
}

TEST_F(Layout, StatusCodes) {
  ArticleView* view = MakeView(240);
  EXPECT_EQ(LayoutArticle(nullptr, nullptr, true), 65535);
  EXPECT_EQ(LayoutArticle(view, nullptr, false), LayoutNoText);
  struct {
    const char* name;
    ArticleBuilder article;
    WORD status;
  } cases[] = {
      {"EmptyStream", ArticleBuilder(), 65532},
      {"FirstParagraphEmpty", ArticleBuilder().Text(0xB1, 0, "").Text(0xB1, 0, "a"), 65532},
      {"FirstRuleAccepted", ArticleBuilder().Rule(0xC7, 210), 0},
      {"FirstRuleOfWidthZeroAccepted", ArticleBuilder().Rule(0x07, 0).Text(0x01, 0, "a"), 0},
  };
  for (auto& c : cases) {
    BYTE* text = c.article.Build();
    EXPECT_EQ(LayoutArticle(view, text, true), c.status) << c.name;
    if (c.status) free(text);
  }
}

TEST_F(Layout, RefusedTextLeavesTheOldTextInPlace) {
  ArticleView* view = MakeView(240);
  BYTE* old = ArticleBuilder().Text(0xB1, 0, "a").Build();
  ASSERT_EQ(LayoutArticle(view, old, true), LayoutDone);
  view->HighlightStart = 2;
  view->HighlightEnd = 3;
  BYTE* bad = ArticleBuilder().Text(0xB1, 0, "").Build();
  EXPECT_EQ(LayoutArticle(view, bad, true), LayoutUnusable);
  EXPECT_EQ(view->Text, old);
  EXPECT_EQ(view->HighlightStart, 0);
  EXPECT_EQ(view->HighlightEnd, 0);
  free(bad);
  EXPECT_EQ(LayoutArticle(view, nullptr, true), LayoutNoText);
  EXPECT_EQ(view->Text, nullptr);
}

TEST_F(Layout, TextBeyondSixteenBitOffsetsIsRefused) {
  ArticleView* view = MakeView(240);
  ArticleBuilder article;
  std::string word(999, 'a');
  for (int i = 0; i < 66; ++i) article.Text(0x01, 0, word);  // 66 x 1002 bytes
  BYTE* text = article.Build();
  EXPECT_EQ(LayoutArticle(view, text, true), LayoutUnusable);
  free(text);
  ArticleBuilder fits;
  for (int i = 0; i < 65; ++i) fits.Text(0x01, 0, word);
  EXPECT_EQ(LayoutArticle(view, fits.Build(), true), LayoutDone);
}

TEST_F(Layout, TooNarrowForOneByteStillTakesOneBytePerLine) {
  struct {
    BYTE flags, indent;
    LONG width;
  } cases[] = {{0x01, 0, 2}, {0x31, 0, 2}, {0x21, 0xC0, 5}, {0x31, 0xC0, 5}, {0x01, 0x40 | 30, 40}};
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << int(c.flags) << " indent " << int(c.indent));
    ArticleBuilder article;
    article.Text(c.flags, c.indent, "ae hk");
    std::vector<Line> lines = LayOut(article, c.width);
    ASSERT_GE(lines.size(), 3u);
    ASSERT_LE(lines.size(), 4u);
    for (const Line& line : lines) EXPECT_TRUE(line.length >= 1 || line.hang > 0);
    EXPECT_EQ(lines.back().flags, c.flags & 0x7F);
  }
}

TEST_F(Layout, LineTableNeverPassesSixteenBitCapacity) {
  // One byte per line in a view narrower than a letter: more lines than a 16-bit
  // capacity holds.
  ArticleView* view = MakeView(2, 320, 0, 0, 0);
  BYTE* text = ArticleBuilder().Text(0x31, 0, std::string(65500, 'a')).Build();
  EXPECT_EQ(LayoutArticle(view, text, true), LayoutOutOfMemory);
  // The refused text left the view as it was: no table, no text.
  EXPECT_EQ(view->Lines, nullptr);
  EXPECT_EQ(view->LineCapacity, 0);
  EXPECT_EQ(view->Text, nullptr);
  free(text);
}

TEST_F(Layout, LineTableGrowsBy128) {
  struct {
    WORD capacity;
    int lines;
    WORD grown;
  } cases[] = {{100, 100, 100}, {100, 101, 228}, {0, 128, 128}, {0, 129, 256}};
  for (auto& c : cases) {
    ArticleBuilder article;
    for (int i = 0; i < c.lines; ++i) article.Text(0x31, 0, "a");
    ArticleView* view = MakeView(240, 320, 0, 0, c.capacity);
    ASSERT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
    EXPECT_EQ(view->LineCapacity, c.grown) << c.lines;
    EXPECT_EQ(view->LineCount, c.lines);
    EXPECT_EQ(view->Lines[c.lines].ParaFlags, 0);
    EXPECT_EQ(view->Lines[c.lines - 1].Offset, 2 + 4 * (c.lines - 1));
  }
}

TEST_F(Layout, LastTopLine) {
  int h = body_.height;
  ArticleBuilder four;
  for (int i = 0; i < 4; ++i) four.Text(0xB1, 0, "a");  // 7 display lines
  struct {
    LONG height;
    int lastTop;
  } cases[] = {{5 * h + 2, 2}, {4 * h + 2, 3}, {7 * h, 0}, {320, 0}, {h, 6}, {h - 1, 7}};
  for (auto& c : cases) {
    ArticleView* view = MakeView(240, c.height);
    ASSERT_EQ(LayoutArticle(view, four.Build(), true), LayoutDone);
    EXPECT_EQ(view->DisplayLineCount, 7);
    EXPECT_EQ(view->LastTopLine, c.lastTop) << c.height;
    EXPECT_EQ(ComputeLastTopLine(view), c.lastTop) << c.height;
  }
  EXPECT_EQ(ComputeLastTopLine(nullptr), -1);
  EXPECT_EQ(ComputeLastTopLine(MakeView(240)), -1);
}

TEST_F(Layout, ScrollToOffset) {
  int h = body_.height;
  ArticleBuilder article;
  for (int i = 0; i < 6; ++i) article.Text(0xB1, 0, "ae");  // text offsets 2, 7, 12, ...
  ArticleView* view = MakeView(240, 3 * h);  // LastTopLine 8 of 11
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
  ASSERT_EQ(view->LastTopLine, 8);
  struct {
    WORD offset;
    int found, firstLine;
  } cases[] = {{7, 1, 2}, {9, 1, 2}, {12, 1, 4}, {2, 1, 0}, {22, 1, 8}, {27, 1, 8}, {10, 0, 8},
               {30, 0, 8}};
  for (auto& c : cases) {
    EXPECT_EQ(ScrollToOffset(view, c.offset), c.found) << c.offset;
    EXPECT_EQ(view->FirstLine, c.firstLine) << c.offset;
  }
  EXPECT_EQ(ScrollToOffset(nullptr, 2), 0);
}

TEST_F(Layout, ResizeLaysOutAgainAndRefusesEmptySizes) {
  ArticleView* view = MakeView(240);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0x01, 0, "aa ee hh").Build(), true), 0);
  EXPECT_EQ(view->LineCount, 1);
  view->FirstLine = 1;
  view->HighlightStart = 2;
  view->HighlightEnd = 4;
  EXPECT_EQ(ResizeArticleView(view, 0, 100), ViewBadSize);
  EXPECT_EQ(ResizeArticleView(view, 100, 0), ViewBadSize);
  EXPECT_EQ(view->Width, 240);
  EXPECT_EQ(view->HighlightEnd, 4);
  EXPECT_EQ(ResizeArticleView(view, 3 * a, 100), 0);
  EXPECT_EQ(view->LineCount, 3);
  EXPECT_EQ(view->Height, 100);
  EXPECT_EQ(view->FirstLine, 1);
  EXPECT_EQ(view->HighlightStart, 0);
  EXPECT_EQ(view->HighlightEnd, 0);
  EXPECT_EQ(ResizeArticleView(nullptr, 1, 1), ViewNoView);
}

TEST_F(Layout, CreateAndDestroy) {
  RECT rect = {3, 4, 103, 54};
  FontChoice font = App.Font;
  EXPECT_EQ(CreateArticleView(nullptr, &rect, &font, 100), nullptr);
  ArticleView* view = CreateArticleView(surface_.dc(), &rect, &font, 100);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Left, 3);
  EXPECT_EQ(view->Top, 4);
  EXPECT_EQ(view->Width, 100);
  EXPECT_EQ(view->Height, 50);
  EXPECT_EQ(view->LineCapacity, 100);
  EXPECT_EQ(view->Lines[0].ParaFlags, 0);
  EXPECT_EQ(view->Text, nullptr);
  ASSERT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "a").Build(), true), 0);
  StyleFont* fonts = view->StyleFonts;
  ASSERT_NE(fonts, nullptr);
  DestroyArticleView(view, false);
  EXPECT_EQ(view->Text, nullptr);
  EXPECT_EQ(view->Lines, nullptr);
  for (StyleFont* node = view->StyleFonts; node; node = node->Next) EXPECT_EQ(node->FontHandle, nullptr);
  DestroyArticleView(view, true);
  DestroyArticleView(nullptr, true);
}

// ---- out of memory ------------------------------------------------------------------

TEST_F(Layout, CreateWithoutMemory) {
  RECT rect = {0, 0, 240, 320};
  HeapFailAllocation(1);
  EXPECT_EQ(CreateArticleView(surface_.dc(), &rect, &App.Font, 100), nullptr);
  HeapFailAllocation(2);
  ArticleView* view = CreateArticleView(surface_.dc(), &rect, &App.Font, 100);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Lines, nullptr);
  EXPECT_EQ(view->LineCapacity, 0);
  // The layout makes the table it lacks.
  EXPECT_EQ(LayoutArticle(view, ArticleBuilder().Text(0xB1, 0, "a").Build(), true), 0);
  EXPECT_EQ(view->LineCapacity, 128);
  DestroyArticleView(view, true);
}

TEST_F(Layout, NoFirstTable) {
  ArticleView* view = MakeView(240, 320, 0, 0, 0);
  BYTE* text = ArticleBuilder().Text(0xB1, 0, "a").Build();
  HeapFailAllocation(1);
  EXPECT_EQ(LayoutArticle(view, text, false), LayoutOutOfMemory);
  EXPECT_EQ(view->Text, nullptr);
  free(text);
}

bool SameLine(const Line& a, const Line& b) {
  return a.offset == b.offset && a.length == b.length && a.x == b.x && a.flags == b.flags;
}

// The page a view shows: its text, its lines and what they count.
struct Page {
  const BYTE* text;
  std::vector<Line> lines;
  WORD lineCount, displayLineCount, lastTopLine, capacity, highlightStart;
  LONG width;
  bool operator==(const Page& o) const {
    return text == o.text && lineCount == o.lineCount && displayLineCount == o.displayLineCount &&
           lastTopLine == o.lastTopLine && capacity == o.capacity && width == o.width &&
           highlightStart == o.highlightStart && lines.size() == o.lines.size() &&
           std::equal(lines.begin(), lines.end(), o.lines.begin(), SameLine);
  }
};

Page PageOf(const ArticleView* view) {
  std::vector<Line> lines;
  for (const LineEntry* e = view->Lines; e->ParaFlags; ++e)
    lines.push_back({e->Offset, e->Length, e->X, e->HangWidth, e->Width, e->ParaFlags});
  return {view->Text, lines, view->LineCount, view->DisplayLineCount, view->LastTopLine,
          view->LineCapacity, view->HighlightStart, view->Width};
}

// Each allocation of a layout in turn fails, until one succeeds: every failure leaves the
// view's page as it was, the caller keeps the new text, the DC its font.
TEST_F(Layout, EveryFailedLayoutLeavesTheOldPage) {
  ArticleBuilder article;
  for (int i = 0; i < 130; ++i) article.Text(i % 2 ? 0x01 : 0xB1, 0, "a e");  // grows the table
  ArticleView* view = MakeView(240);
  BYTE* old = ArticleBuilder().Text(0xB1, 0, "z").Text(0x01, 0, "y").Build();
  ASSERT_EQ(LayoutArticle(view, old, true), LayoutDone);
  view->HighlightStart = view->HighlightEnd = 2;
  const Page before = PageOf(view);
  HGDIOBJ font = GetCurrentObject(view->Dc, OBJ_FONT);
  BYTE* text = article.Build();
  int failures = 0;
  for (unsigned n = 1;; ++n) {
    HeapFailAllocation(n);
    WORD status = LayoutArticle(view, text, true);
    HeapFailAllocation(0);
    EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_FONT), font) << n;
    if (status == LayoutDone) break;
    ++failures;
    ASSERT_EQ(status, LayoutOutOfMemory) << n;
    EXPECT_TRUE(PageOf(view) == before) << "allocation " << n;
  }
  EXPECT_GE(failures, 3);  // the table, the grown table and a right-to-left copy at least
  EXPECT_EQ(view->Text, text);
  EXPECT_EQ(view->LineCount, 130);
  EXPECT_EQ(view->HighlightEnd, 0);
}

// A resize lays out the view's own text: a failure keeps the size and lines it had.
TEST_F(Layout, EveryFailedResizeKeepsTheSizeAndLines) {
  ArticleView* view = MakeView(240);
  BYTE* own = ArticleBuilder().Text(0xB1, 0, "aa ee hh").Text(0xB1, 0, "b").Build();
  ASSERT_EQ(LayoutArticle(view, own, true), LayoutDone);
  const Page before = PageOf(view);
  for (unsigned n = 1;; ++n) {
    HeapFailAllocation(n);
    int status = ResizeArticleView(view, 3 * a, 300);
    HeapFailAllocation(0);
    if (status == LayoutDone) break;
    ASSERT_EQ(status, LayoutOutOfMemory) << n;
    EXPECT_TRUE(PageOf(view) == before) << "allocation " << n;
    EXPECT_EQ(view->Height, 320) << n;
  }
  EXPECT_EQ(view->Text, own);
  EXPECT_EQ(view->Width, 3 * a);
  EXPECT_EQ(view->LineCount, 4);
}

}  // namespace

namespace {

TEST(MissingView, EveryOperationDoesNothingOrSaysSo) {
  EXPECT_EQ(LayoutArticle(nullptr, nullptr, true), 65535);
  EXPECT_EQ(ResizeArticleView(nullptr, 10, 10), -1);
  EXPECT_EQ(GrowLineTable(nullptr, 0), -1);
  EXPECT_EQ(ScrollToOffset(nullptr, 0), 0);
  EXPECT_EQ(ComputeLastTopLine(nullptr), -1);
  EXPECT_EQ(ArticleViewFirstLine(nullptr), 0);
  EXPECT_EQ(ScrollArticle(nullptr, 1, 1, true), -1);
  EXPECT_EQ(ChangeArticleFont(nullptr, nullptr), -1);
  EXPECT_EQ(DrawArticle(nullptr, true), -1);
  EXPECT_EQ(DrawHighlight(nullptr), -1);
  EXPECT_EQ(FindFirstVisibleEntry(nullptr).Entry, nullptr);
  EXPECT_EQ(SelectStyleFont(nullptr, 0x11), nullptr);
  EXPECT_EQ(SelectStyleFontKeeping(nullptr, 0x11), nullptr);
  EXPECT_EQ(AddStyleFont(nullptr, 1), nullptr);
  EXPECT_EQ(ReleaseStyleFonts(nullptr), -1);
  RecreateStyleFonts(nullptr, nullptr);
  BuildWidthTable(nullptr, nullptr, false);
  DestroyArticleView(nullptr, true);
}

}  // namespace
