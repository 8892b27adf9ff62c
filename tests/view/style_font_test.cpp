// Style fonts: looks and colours by key, selection, width tables and their lifetime.
#include <string>

#include "tests/view/view_fixture.h"

namespace {

TEST(StyleLooks, HeightWeightAndColourByKey) {
  struct {
    LONG size;
    unsigned key;
    LONG height, weight;
    COLORREF colour;
  } cases[] = {
      {12, 0x11, 12, 400, 0x000000}, {12, 0x12, 9, 400, 0x800000},  {12, 0x0C, 15, 700, 0xFF0000},
      {12, 0x06, 15, 400, 0x800000}, {12, 0x0E, 15, 700, 0x800000}, {12, 0x08, 12, 700, 0x000000},
      {12, 0x14, 15, 400, 0x000000}, {0, 0x04, 20, 400, 0x000000},  {0, 0x02, 14, 400, 0x800000},
      {0, 0x01, 0, 400, 0x000000},   {17, 0x02, 12, 400, 0x800000}, {17, 0x04, 21, 400, 0x000000},
  };
  for (auto& c : cases) {
    EXPECT_EQ(StyleFontHeight(c.size, c.key), c.height) << c.size << " " << c.key;
    EXPECT_EQ(StyleFontWeight(c.key), c.weight) << c.key;
    EXPECT_EQ(StyleTextColour(c.key), c.colour) << c.key;
  }
}

class StyleFonts : public ViewTest {};

TEST_F(StyleFonts, CreatedFontCarriesFaceHeightAndWeight) {
  ArticleView* view = MakeView(240);
  view->Font.Size = 12;
  SelectStyleFont(view, 0x0C);
  LOGFONTW font = {};
  ASSERT_EQ(GetObjectW(view->StyleFonts->FontHandle, sizeof font, &font), int(sizeof font));
  EXPECT_EQ(font.lfHeight, 15);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(std::u16string(font.lfFaceName), std::u16string(Mono));
  EXPECT_EQ(font.lfCharSet, 0);
}

TEST_F(StyleFonts, RequestsSetTheKeysColourOnlyWhenAsked) {
  ArticleView* view = MakeView(240);
  struct {
    unsigned request;
    BYTE key;
    COLORREF colour;  // the DC's text colour afterwards; starts as 0x123456
  } cases[] = {{0x1B2, 0x12, 0x800000}, {0xB1, 0x11, 0x123456}, {0x10D, 0x0D, 0xFF0000},
               {0x109, 0x09, 0x000000}, {0x302, 0x02, 0x800000}, {0x2B1, 0x11, 0x000000}};
  for (auto& c : cases) {
    SetTextColor(view->Dc, 0x123456);
    HGDIOBJ before = GetCurrentObject(view->Dc, OBJ_FONT);
    HGDIOBJ previous = SelectStyleFont(view, c.request);
    EXPECT_EQ(previous, before) << c.request;
    EXPECT_EQ(GetTextColor(view->Dc), c.colour) << c.request;
    HGDIOBJ selected = GetCurrentObject(view->Dc, OBJ_FONT);
    StyleFont* node = view->StyleFonts;
    while (node && node->FontHandle != selected) node = node->Next;
    ASSERT_NE(node, nullptr) << c.request;
    EXPECT_EQ(node->Key, c.key) << c.request;
    EXPECT_EQ(view->WidthTable, node->Widths) << c.request;
    SelectObject(view->Dc, previous);
  }
}

TEST_F(StyleFonts, OneNodePerKeyMeasuredOnceAndAgainAfterAFontChange) {
  ArticleView* view = MakeView(240);
  HGDIOBJ kept = SelectStyleFont(view, 0x11);
  StyleFont* node = view->StyleFonts;
  WORD alef = node->Widths['a' - 16];
  EXPECT_GT(alef, 0);
  EXPECT_NE(node->Widths[0], WidthsUnmeasured0);
  EXPECT_NE(node->Widths[1], WidthsUnmeasured1);
  node->Widths['a' - 16] = 999;  // a mark that only a new measurement removes
  SelectStyleFont(view, 0xB1);   // same key
  EXPECT_EQ(view->StyleFonts, node);
  EXPECT_EQ(node->Next, nullptr);
  EXPECT_EQ(node->Widths['a' - 16], 999);

  SelectObject(view->Dc, kept);
  FontChoice larger = MakeFont(Mono, 32, CodeBaseUnicode);
  HFONT oldFont = node->FontHandle;
  RecreateStyleFonts(view, &larger);
  EXPECT_EQ(view->StyleFonts, node);
  EXPECT_NE(node->FontHandle, nullptr);
  EXPECT_NE(node->FontHandle, oldFont);
  EXPECT_EQ(node->Widths[0], WidthsUnmeasured0);
  EXPECT_EQ(node->Widths[1], WidthsUnmeasured1);
  kept = SelectStyleFont(view, 0x11);
  EXPECT_GT(node->Widths['a' - 16], alef);
  EXPECT_NE(node->Widths['a' - 16], 999);
  SelectObject(view->Dc, kept);
}

TEST_F(StyleFonts, EitherMarkAloneMakesTheTableMeasuredAgain) {
  ArticleView* view = MakeView(240);
  HGDIOBJ kept = SelectStyleFont(view, 0x11);
  StyleFont* node = view->StyleFonts;
  WORD alef = node->Widths['a' - 16];
  for (int mark = 0; mark < 2; ++mark) {
    node->Widths['a' - 16] = 999;
    node->Widths[mark] = mark ? WidthsUnmeasured1 : WidthsUnmeasured0;
    BuildWidthTable(view, node->FontHandle, false);
    EXPECT_EQ(node->Widths['a' - 16], alef) << mark;
  }
  node->Widths['a' - 16] = 999;
  BuildWidthTable(view, node->FontHandle, true);
  EXPECT_EQ(node->Widths['a' - 16], alef);
  SelectObject(view->Dc, kept);
}

TEST_F(StyleFonts, WidthTableMeasuresTheCharacterOfTheFontCodeBase) {
  ArticleView* view = MakeView(240);
  App.Font.CodeBase = 224;
  view->Font = MakeFont(u"DejaVu Sans", 20, 224);
  HGDIOBJ kept = SelectStyleFont(view, 0x01);
  auto advance = [&](WCHAR c) {
    SIZE size = {0, 0};
    GetTextExtentExPointW(view->Dc, &c, 1, 0, nullptr, nullptr, &size);
    return WORD(size.cx);
  };
  const WORD* widths = view->WidthTable;
  EXPECT_EQ(widths[69 - 16], advance(0x00E1));
  EXPECT_EQ(widths[97 - 16], advance(0x00E0));
  EXPECT_EQ(widths['A' - 16], advance(0x00F9));  // a shin form measures as shin
  EXPECT_EQ(widths[125 - 16], advance(u'}'));
  for (int code = 21; code <= 31; ++code) EXPECT_EQ(widths[code - 16], 0) << code;

  // The Unicode code base measures the letter of a two-unit code, at 97 the code itself.
  App.Font.CodeBase = CodeBaseUnicode;
  BuildWidthTable(view, view->StyleFonts->FontHandle, true);
  EXPECT_EQ(widths[16 - 16], advance(0x05DA));
  EXPECT_EQ(widths[89 - 16], advance(0xFB3C));
  EXPECT_EQ(widths[69 - 16], advance(0xFB31));
  App.Font.CodeBase = CodeBaseLetter;
  BuildWidthTable(view, view->StyleFonts->FontHandle, true);
  EXPECT_EQ(widths[69 - 16], advance(u'E'));
  for (int code = 21; code <= 31; ++code) EXPECT_EQ(widths[code - 16], 0) << code;
  SelectObject(view->Dc, kept);
}

TEST_F(StyleFonts, ReleasedKeyGetsAFreshNodeInFront) {
  ArticleView* view = MakeView(240);
  HGDIOBJ kept = SelectStyleFont(view, 1);
  SelectObject(view->Dc, kept);
  StyleFont* released = view->StyleFonts;
  EXPECT_EQ(ReleaseStyleFonts(view), 0);
  EXPECT_EQ(released->FontHandle, nullptr);
  kept = SelectStyleFont(view, 1);
  ASSERT_NE(view->StyleFonts, released);
  EXPECT_EQ(view->StyleFonts->Key, 1);
  EXPECT_EQ(view->StyleFonts->Next, released);
  EXPECT_NE(view->StyleFonts->FontHandle, nullptr);
  SelectObject(view->Dc, kept);
}

TEST_F(StyleFonts, MissingViewAndMissingMemory) {
  EXPECT_EQ(SelectStyleFont(nullptr, 1), nullptr);
  EXPECT_EQ(ReleaseStyleFonts(nullptr), -1);
  BuildWidthTable(nullptr, nullptr, true);
  ArticleView* view = MakeView(240);
  HGDIOBJ before = GetCurrentObject(view->Dc, OBJ_FONT);
  HeapFailAllocation(1);
  EXPECT_EQ(SelectStyleFont(view, 0x11), nullptr);
  EXPECT_EQ(view->StyleFonts, nullptr);
  EXPECT_EQ(GetCurrentObject(view->Dc, OBJ_FONT), before);
  EXPECT_EQ(SelectStyleFontKeeping(view, 0x11), before);
  SelectObject(view->Dc, before);
}

}  // namespace
