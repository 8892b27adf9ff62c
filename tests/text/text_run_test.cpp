// Fitting and drawing runs of letter code on a headless memory DC with real fonts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "memory_dc.h"
#include "text/conversion.h"
#include "text/text_run.h"

namespace {

const char16_t* const Mono = u"Miriam Mono CLM";


// ---- FitByWidthTable ----------------------------------------------------------------

struct TableFitCase {
  const char* name;
  std::vector<BYTE> bytes;  // zero-terminated
  int maxWidth, maxCount;
  int width, count;
};

// Width of code c is c - 16 + 1 for letters, so sums are easy to state.
std::vector<WORD> CountingWidths() {
  std::vector<WORD> widths(WidthTableSize);
  for (int i = 0; i < WidthTableSize; ++i) widths[i] = WORD(i + 1);
  for (int code = FirstPoint; code <= LastPoint; ++code) widths[code - 16] = 0;
  return widths;
}

class TableFit : public ::testing::TestWithParam<TableFitCase> {};

TEST_P(TableFit, WidthAndCount) {
  const TableFitCase& c = GetParam();
  std::vector<WORD> widths = CountingWidths();
  int width = c.maxWidth, count = c.maxCount;
  FitByWidthTable(widths.data(), c.bytes.data(), &width, &count);
  EXPECT_EQ(width, c.width);
  EXPECT_EQ(count, c.count);
}

// 'a' (97) is 82 wide, 'b' 83, 'c' 84; ' ' (32) is 17.
INSTANTIATE_TEST_SUITE_P(
    Cases, TableFit,
    ::testing::Values(
        TableFitCase{"AllFit", {'a', 'b', 'c', 0}, 1000, 3, 249, 3},
        TableFitCase{"ExactSumFitsWhole", {'a', 'b', 'c', 0}, 249, 3, 249, 3},
        TableFitCase{"OnePixelShortStopsBeforeLast", {'a', 'b', 'c', 0}, 248, 3, 165, 2},
        TableFitCase{"NarrowerThanFirst", {'a', 'b', 0}, 81, 2, 0, 0},
        TableFitCase{"PointsOnlyCountWithoutWidth", {21, 22, 31, 30, 0}, 0, 4, 0, 4},
        TableFitCase{"LowAndHighBytesCountWithoutWidth", {1, 15, 128, 255, 'a', 0}, 82, 5, 82, 5},
        TableFitCase{"StopsAtZeroBeforeCount", {'a', 0, 'b', 0}, 1000, 3, 82, 1},
        TableFitCase{"CountLimits", {'a', 'b', 'c', 0}, 1000, 2, 165, 2},
        TableFitCase{"PointAfterFullWidthStillCounts", {'a', 22, 'b', 0}, 82, 3, 82, 2},
        TableFitCase{"SpaceHasWidth", {'a', ' ', 'b', 0}, 1000, 3, 182, 3}),
    [](const ::testing::TestParamInfo<TableFitCase>& info) { return std::string(info.param.name); });

TEST(TableFitWithoutTable, WidthZeroCountUnchanged) {
  const BYTE bytes[] = {'a', 'b', 0};
  int width = 50, count = 2;
  FitByWidthTable(nullptr, bytes, &width, &count);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(count, 2);
}

// ---- runs on a memory DC ----------------------------------------------------------------

class TextRun : public ::testing::Test {
 protected:
  void SetUp() override {
    App.Flags = DefaultFlags;
    App.Font.CodeBase = CodeBaseUnicode;
    SetActiveCodeBase(CodeBaseLetter);
  }
  void TearDown() override {
    SetActiveCodeBase(CodeBaseLetter);
    App.Font.CodeBase = 0;
  }
  // Advance of one character in the DC's font.
  static int Advance(HDC dc, WCHAR c) {
    SIZE size = {0, 0};
    GetTextExtentExPointW(dc, &c, 1, 0, nullptr, nullptr, &size);
    return size.cx;
  }
  // Widths of codes 16..127 as the style fonts measure them at code base 1488.
  static std::vector<WORD> UnicodeWidths(HDC dc) {
    std::vector<WORD> widths(WidthTableSize);
    for (int code = 16; code < 128; ++code) {
      WCHAR c = WCHAR(code);
      if (HasTableEntry(code)) {
        const UnicodePair& pair = UnicodePairTable[code - 16];
        c = pair.Second ? pair.Second : pair.First;
      }
      widths[code - 16] = IsVowelPoint(code) ? 0 : WORD(Advance(dc, c));
    }
    return widths;
  }
};

TEST_F(TextRun, FitByExtentCountsWholeCharactersOfAMonospacedFont) {
  MemoryDc surface(100, 40);
  SelectedFont font(surface.dc(), Mono, 16);
  int a = Advance(surface.dc(), u'a');
  ASSERT_GT(a, 2);
  const BYTE text[] = "aehk";  // letters of one advance in this font at this size
  for (int i = 1; i < 4; ++i) ASSERT_EQ(Advance(surface.dc(), text[i]), a);
  struct {
    int maxWidth, count, fitWidth, fitCount;
  } cases[] = {{a * 4, 4, a * 4, 4}, {a * 2 + 1, 4, a * 2, 2}, {a * 3 - 1, 4, a * 2, 2},
               {a - 1, 4, 0, 0},     {a * 10, 2, a * 2, 2}};
  for (auto& c : cases) {
    int width = c.maxWidth, count = c.count;
    FitByExtent(surface.dc(), text, &width, &count);
    EXPECT_EQ(count, c.fitCount) << c.maxWidth;
    EXPECT_EQ(width, c.fitWidth) << c.maxWidth;
  }
}

TEST_F(TextRun, FitByExtentTakesTwoUnitCodesAsWholeBytes) {
  MemoryDc surface(100, 40);
  SelectedFont font(surface.dc(), Mono, 20);
  SetActiveCodeBase(CodeBaseUnicode);
  const BYTE text[] = {0x61, 0x10, 0x62, 0};  // alef, qamats + final kaf, bet
  int width = 1000, count = 3;
  FitByExtent(surface.dc(), text, &width, &count);
  EXPECT_EQ(count, 3);
  WCHAR units[] = {0x05D0, 0x05B8, 0x05DA, 0x05D1};
  SIZE whole = {0, 0};
  GetTextExtentExPointW(surface.dc(), units, 4, 0, nullptr, nullptr, &whole);
  EXPECT_EQ(width, whole.cx);
  // Room for alef and the point but not the kaf: the two-unit code stays out whole.
  width = Advance(surface.dc(), 0x05D0) + 1;
  count = 3;
  FitByExtent(surface.dc(), text, &width, &count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(width, Advance(surface.dc(), 0x05D0));
}

// The ink a pointed run adds over the same run drawn without its points.
Ink PointInk(HDC dc, MemoryDc& surface, const std::vector<WORD>& widths,
             const std::vector<BYTE>& withPoints, const std::vector<BYTE>& without, RECT box) {
  surface.Clear();
  RECT plainBox = box;
  DrawPointedRun(dc, widths.data(), without.data(), int(without.size()), &plainBox);
  std::vector<COLORREF> plain = surface.Pixels();
  surface.Clear();
  RECT pointedBox = box;
  DrawPointedRun(dc, widths.data(), withPoints.data(), int(withPoints.size()), &pointedBox);
  return InkOf(surface.Pixels(), surface.width(), &plain);
}

TEST_F(TextRun, PointedRunPlacesLetterAtRightEdgeAndPointInItsCell) {
  MemoryDc surface(120, 60);
  SelectedFont font(surface.dc(), Mono, 40);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  int w = widths[0x62 - 16];
  RECT box = {10, 0, 110, 60};

  surface.Clear();
  RECT letterBox = box;
  const BYTE bet[] = {0x62};
  DrawPointedRun(surface.dc(), widths.data(), bet, 1, &letterBox);
  Ink letter = InkOf(surface.Pixels(), surface.width());
  ASSERT_TRUE(letter.any());
  EXPECT_GE(letter.left, 110 - w - 1);
  EXPECT_LE(letter.right, 109);
  EXPECT_EQ(letterBox.left, 110 - w);
  EXPECT_EQ(letterBox.right, 110 - w);

  Ink qamats = PointInk(surface.dc(), surface, widths, {0x16, 0x62}, {0x62}, box);
  ASSERT_TRUE(qamats.any());
  EXPECT_NEAR(qamats.centreX(), 110 - w / 2.0, 2.0);
  EXPECT_GT(qamats.top, letter.top);  // qamats stands below the letter
}

TEST_F(TextRun, HolamAfterALetterSitsOnThreePixelsAtItsLeftEdge) {
  MemoryDc surface(120, 60);
  SelectedFont font(surface.dc(), Mono, 40);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  int w = widths[0x62 - 16];
  RECT box = {10, 0, 110, 60};
  double cell = 110 - w + 1.0;  // centre of the 3 pixels at the letter's left edge

  Ink holam = PointInk(surface.dc(), surface, widths, {0x1F, 0x62}, {0x62}, box);
  ASSERT_TRUE(holam.any());
  EXPECT_NEAR(holam.centreX(), cell, 2.0);

  // A further point before the holam uses the same 3 pixels.
  Ink both = PointInk(surface.dc(), surface, widths, {0x16, 0x1F, 0x62}, {0x1F, 0x62}, box);
  ASSERT_TRUE(both.any());
  EXPECT_NEAR(both.centreX(), cell, 2.0);

  // The letter before the holam starts its cell where the holam's letter begins.
  RECT twoBox = box;
  const BYTE twoLetters[] = {0x61, 0x1F, 0x62};
  DrawPointedRun(surface.dc(), widths.data(), twoLetters, 3, &twoBox);
  EXPECT_EQ(twoBox.right, 110 - w - widths[0x61 - 16]);
}

TEST_F(TextRun, HolamLamedDrawsTheHolamAroundTheLamedsLeftEdge) {
  MemoryDc surface(120, 60);
  SelectedFont font(surface.dc(), Mono, 40);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  int w = widths[90 - 16];
  ASSERT_EQ(w, widths[0x6D - 16]);  // measured as the lamed
  RECT box = {10, 0, 110, 60};
  surface.Clear();
  RECT lamedBox = box;
  const BYTE lamed[] = {0x6D};
  DrawPointedRun(surface.dc(), widths.data(), lamed, 1, &lamedBox);
  std::vector<COLORREF> plain = surface.Pixels();
  surface.Clear();
  RECT pairBox = box;
  const BYTE pair[] = {90};
  DrawPointedRun(surface.dc(), widths.data(), pair, 1, &pairBox);
  Ink holam = InkOf(surface.Pixels(), surface.width(), &plain);
  ASSERT_TRUE(holam.any());
  EXPECT_NEAR(holam.centreX(), 110 - w - 0.5, 2.0);
  EXPECT_EQ(pairBox.left, 110 - w);
}

TEST_F(TextRun, ViewRunTakesThePointedPathOnlyWhenBothCodeBasesAreUnicode) {
  MemoryDc surface(200, 50);
  SelectedFont font(surface.dc(), Mono, 30);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  const BYTE text[] = {0x61, 0x62};
  auto draw = [&](LONG active, LONG font) {
    surface.Clear();
    SetActiveCodeBase(active);
    App.Font.CodeBase = font;
    DrawViewRun(surface.dc(), widths.data(), text, 2, 10, 0, 180, 50);
    SetActiveCodeBase(CodeBaseLetter);
    return surface.Pixels();
  };
  std::vector<COLORREF> pointed = draw(1488, 1488);
  Ink pointedInk = InkOf(pointed, surface.width());
  // The pointed path stacks the letters at the right edge of the box.
  EXPECT_GE(pointedInk.left, 190 - widths[0x61 - 16] - widths[0x62 - 16] - 1);
  // With the active code base at 97 (or 0) the run is drawn as one string, centred.
  for (LONG active : {97, 0}) {
    Ink centred = InkOf(draw(active, 1488), surface.width());
    ASSERT_TRUE(centred.any());
    EXPECT_NEAR(centred.centreX(), 100, 12) << active;
  }
}

TEST_F(TextRun, ColouredRunDrawsInItsColoursAndRestoresTheDcs) {
  MemoryDc surface(100, 40);
  SelectedFont font(surface.dc(), u"DejaVu Sans", 24);
  SetTextColor(surface.dc(), 0x123456);
  SetBkColor(surface.dc(), 0x654321);
  SetBkMode(surface.dc(), OPAQUE);
  const BYTE text[] = "Hi";
  int width = 100, count = 2;
  FitByExtent(surface.dc(), text, &width, &count);
  DrawColouredRun(surface.dc(), text, 2, 10, 5, width, 30, 0x0000FF, 0x00FFFF);
  EXPECT_EQ(GetTextColor(surface.dc()), 0x123456u);
  EXPECT_EQ(GetBkColor(surface.dc()), 0x654321u);
  bool red = false, yellow = false;
  for (COLORREF pixel : surface.Pixels()) {
    red |= pixel == 0x0000FF;
    yellow |= pixel == 0x00FFFF;
  }
  EXPECT_TRUE(red);
  EXPECT_TRUE(yellow);
}

TEST_F(TextRun, DirectedFitTakesTheWidthTableRightToLeftAndTheExtentLeftToRight) {
  MemoryDc surface(200, 40);
  SelectedFont font(surface.dc(), Mono, 20);
  std::vector<WORD> widths = CountingWidths();
  const BYTE text[] = {'a', 22, 'b', 0};
  struct {
    const char* name;
    bool rightToLeft;
    LONG activeBefore;
  } cases[] = {{"RightToLeft", true, CodeBaseLetter},
               {"LeftToRight", false, CodeBaseLetter},
               {"LeftToRightAfterAStrayCodeBase", false, CodeBaseUnicode}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    int expectedWidth = 1000, expectedCount = 3;
    if (c.rightToLeft) {
      FitByWidthTable(widths.data(), text, &expectedWidth, &expectedCount);
    } else {
      // Left-to-right runs are measured unconverted, as the letter code's own units.
      SetActiveCodeBase(CodeBaseLetter);
      FitByExtent(surface.dc(), text, &expectedWidth, &expectedCount);
    }
    SetActiveCodeBase(c.activeBefore);
    int width = 1000, count = 3;
    FitDirectedRun(surface.dc(), widths.data(), c.rightToLeft, text, &width, &count);
    EXPECT_EQ(width, expectedWidth);
    EXPECT_EQ(count, expectedCount);
    EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
  }
}

TEST_F(TextRun, DirectedDrawConvertsOnlyRightToLeftRuns) {
  MemoryDc surface(200, 50);
  SelectedFont font(surface.dc(), Mono, 30);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  const BYTE text[] = {0x16, 0x61, 0x62};
  auto drawn = [&](auto draw) {
    surface.Clear();
    draw();
    return surface.Pixels();
  };
  // Right-to-left at code base 1488: the pointed path, from the box's right edge.
  std::vector<COLORREF> pointed = drawn([&] {
    RECT box = {10, 0, 190, 50};
    DrawPointedRun(surface.dc(), widths.data(), text, 3, &box);
  });
  EXPECT_EQ(drawn([&] { DrawDirectedRun(surface.dc(), widths.data(), true, text, 3, 10, 0, 180, 50); }),
            pointed);
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
  // Left-to-right: the letter code's own units, whatever code base was left active.
  std::vector<COLORREF> plain =
      drawn([&] { DrawTextRun(surface.dc(), text, 3, 10, 0, 180, 50); });
  SetActiveCodeBase(CodeBaseUnicode);
  EXPECT_EQ(drawn([&] { DrawDirectedRun(surface.dc(), widths.data(), false, text, 3, 10, 0, 180, 50); }),
            plain);
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
  EXPECT_NE(plain, pointed);
}

TEST_F(TextRun, ColouredDirectedRunDrawsInItsColoursAndRestoresTheDcs) {
  MemoryDc surface(200, 50);
  SelectedFont font(surface.dc(), Mono, 30);
  std::vector<WORD> widths = UnicodeWidths(surface.dc());
  SetTextColor(surface.dc(), 0x123456);
  SetBkColor(surface.dc(), 0x654321);
  const BYTE text[] = {0x61, 0x62};
  for (bool rightToLeft : {true, false}) {
    SCOPED_TRACE(rightToLeft);
    surface.Clear();
    DrawColouredDirectedRun(surface.dc(), widths.data(), rightToLeft, text, 2, 10, 0, 180, 50,
                            0xFF0000, 0x00FFFF);
    EXPECT_EQ(GetTextColor(surface.dc()), 0x123456u);
    EXPECT_EQ(GetBkColor(surface.dc()), 0x654321u);
    EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
    bool blue = false;
    for (COLORREF pixel : surface.Pixels()) blue |= pixel == 0xFF0000;
    EXPECT_TRUE(blue);
  }
}

TEST_F(TextRun, FillViewRectFillsExactlyTheBox) {
  MemoryDc surface(20, 20);
  FillViewRect(surface.dc(), 2, 3, 5, 4, BLACK_BRUSH);
  Ink ink = InkOf(surface.Pixels(), surface.width());
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.top, 3);
  EXPECT_EQ(ink.right, 6);
  EXPECT_EQ(ink.bottom, 6);
}

TEST_F(TextRun, FramesAreInsetOnePixelEachAndTheBoxComesBackInset) {
  MemoryDc surface(110, 50);
  HGDIOBJ oldBrush = SelectObject(surface.dc(), GetStockObject(WHITE_BRUSH));
  HGDIOBJ pen = GetCurrentObject(surface.dc(), OBJ_PEN);
  RECT box = {0, 0, 100, 40};
  DrawFrames(surface.dc(), &box, 0x0000FF, 2);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, 2);
  EXPECT_EQ(box.right, 98);
  EXPECT_EQ(box.bottom, 38);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen);
  // Outer frame 0,0..99,39 and inner 1,1..98,38 in the pen colour; inside untouched.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(surface.At(i, 20), 0x0000FFu);
    EXPECT_EQ(surface.At(99 - i, 20), 0x0000FFu);
    EXPECT_EQ(surface.At(50, i), 0x0000FFu);
    EXPECT_EQ(surface.At(50, 39 - i), 0x0000FFu);
  }
  EXPECT_EQ(surface.At(2, 20), 0xFFFFFFu);
  EXPECT_EQ(surface.At(100, 20), 0xFFFFFFu);
  EXPECT_EQ(surface.At(50, 40), 0xFFFFFFu);
  SelectObject(surface.dc(), oldBrush);
}

TEST_F(TextRun, TextRunDrawsTheConvertedUnitsCentred) {
  MemoryDc surface(200, 40);
  SelectedFont font(surface.dc(), Mono, 24);
  // The same letters drawn from letter code at 1488 and directly as UTF-16.
  SetActiveCodeBase(CodeBaseUnicode);
  const BYTE text[] = {0x61, 0x62, 0x63};
  DrawTextRun(surface.dc(), text, 3, 0, 0, 200, 40);
  std::vector<COLORREF> mapped = surface.Pixels();
  surface.Clear();
  WCHAR units[] = {0x05D0, 0x05D1, 0x05D2};
  RECT box = {0, 0, 200, 40};
  DrawTextW(surface.dc(), units, 3, &box, RunDrawFormat);
  EXPECT_EQ(mapped, surface.Pixels());
  EXPECT_TRUE(InkOf(mapped, 200).any());
}

}  // namespace
