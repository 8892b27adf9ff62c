// Fonts: sizes, weights, face matching, metrics and the enumeration of families.
#include <climits>
#include <cstring>
#include <map>
#include <vector>

#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;
using gdi_test::FontDescription;
using gdi_test::SelectedFont;

TEXTMETRICW MetricsFor(const LOGFONTW& log) {
  Canvas canvas(1, 1);
  SelectedFont font(canvas.dc(), log);
  TEXTMETRICW tm{};
  EXPECT_NE(font.font(), nullptr);
  EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
  return tm;
}

TEST(Font, HeightsMeanCellEmOrTheDefault) {
  const struct {
    LONG height;
    int cell;  // expected tmHeight, -1: see em
    int em;    // expected tmHeight - tmInternalLeading, -1: not checked
  } cases[] = {
      {20, 20, -1}, {9, 9, -1},  {40, 40, -1}, {-20, -1, 20},
      {-9, -1, 9},  {0, 12, -1}, {100000, 512, -1}, {-100000, -1, 512},
      {1, 1, -1},   {2, 2, -1},  {-1, -1, 1},
  };
  for (const auto& c : cases) {
    for (const char16_t* face : {u"DejaVu Sans", u"David CLM", u"Frank Ruehl CLM"}) {
      const TEXTMETRICW tm = MetricsFor(FontDescription(face, c.height));
      if (c.cell >= 0) {
        EXPECT_EQ(tm.tmHeight, c.cell) << c.height;
      }
      if (c.em >= 0) {
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, c.em) << c.height;
      }
      EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
      EXPECT_GT(tm.tmAscent, tm.tmDescent);
      EXPECT_GT(tm.tmAveCharWidth, 0);
      EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    }
  }
  // The extremes of the field do not break the arithmetic.
  EXPECT_EQ(MetricsFor(FontDescription(u"DejaVu Sans", INT_MIN)).tmHeight -
                MetricsFor(FontDescription(u"DejaVu Sans", INT_MIN)).tmInternalLeading,
            512);
  EXPECT_EQ(MetricsFor(FontDescription(u"DejaVu Sans", INT_MAX)).tmHeight, 512);
}

// Two sizes of one face share the open file, each with a size of its own: every glyph
// is made at its own font's size, however the two take turns.
TEST(Font, TwoSizesOfOneFaceTakeTurnsAtTheirOwnSizes) {
  Canvas small(1, 1), large(1, 1);
  SelectedFont smallFont(small.dc(), FontDescription(u"DejaVu Sans", 12));
  SelectedFont largeFont(large.dc(), FontDescription(u"DejaVu Sans", 48));
  for (const char16_t letter : {u'W', u'M', u'm', u'H'}) {
    SIZE smallSize{}, largeSize{};
    ASSERT_TRUE(GetTextExtentPoint32W(large.dc(), &letter, 1, &largeSize));
    ASSERT_TRUE(GetTextExtentPoint32W(small.dc(), &letter, 1, &smallSize));
    ASSERT_GT(smallSize.cx, 0);
    EXPECT_NEAR(double(largeSize.cx) / smallSize.cx, 4.0, 0.7) << char(letter);
  }
}

TEST(Font, FaceWithoutTerminatorIsReadWithinTheField) {
  // The description sits at the end of a buffer so that reading past the face would
  // leave it; the face field is all 'D' without a terminating zero.
  std::vector<uint8_t> buffer(sizeof(LOGFONTW));
  LOGFONTW log = FontDescription(u"", 16);
  for (auto& unit : log.lfFaceName) unit = u'D';
  std::memcpy(buffer.data(), &log, sizeof log);
  HFONT font = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(buffer.data()));
  ASSERT_NE(font, nullptr);
  LOGFONTW back{};
  GetObjectW(font, sizeof back, &back);
  EXPECT_EQ(back.lfFaceName[LF_FACESIZE - 1], 0);
  DeleteObject(font);
}

// Ink of a few letters drawn in the font.
int InkOf(const LOGFONTW& log, const std::u16string& text) {
  Canvas canvas(200, 60);
  SelectedFont font(canvas.dc(), log);
  TextOutW(canvas.dc(), 2, 2, text.data(), int(text.size()));
  return canvas.ink();
}

TEST(Font, BoldIsHeavierThanRegular) {
  // DejaVu Sans has a bold face; Stam Ashkenaz CLM has none and is emboldened.
  const struct {
    const char16_t* face;
    std::u16string text;
  } cases[] = {{u"DejaVu Sans", u"Hamburg"}, {u"Stam Ashkenaz CLM", u"\u05D0\u05D1\u05D2\u05D3"},
               {u"Frank Ruehl CLM", u"\u05E9\u05DC\u05D5\u05DD"}};
  for (const auto& c : cases) {
    const int regular = InkOf(FontDescription(c.face, 24, FW_NORMAL), c.text);
    const int bold = InkOf(FontDescription(c.face, 24, FW_BOLD), c.text);
    EXPECT_GT(regular, 0);
    EXPECT_GT(bold, regular * 11 / 10) << std::string(c.face, c.face + 5);
    const int semibold = InkOf(FontDescription(c.face, 24, FW_SEMIBOLD), c.text);
    EXPECT_GT(semibold, regular * 11 / 10);
  }
}

TEST(Font, UnknownAndInterfaceNamesGetUsableFonts) {
  Canvas canvas(10, 10);
  int reference = 0, wide = 0;
  {
    SelectedFont font(canvas.dc(), u"DejaVu Sans Condensed", 14);
    reference = gdi_test::Extent(canvas.dc(), u"Interface text");
  }
  {
    SelectedFont font(canvas.dc(), u"DejaVu Sans", 14);
    wide = gdi_test::Extent(canvas.dc(), u"Interface text");
  }
  // The interface face is the condensed one, as narrow as the handheld's.
  EXPECT_LT(reference, wide * 95 / 100);
  for (const char16_t* face : {u"", u"System", u"Tahoma", u"TAHOMA"}) {
    SelectedFont font(canvas.dc(), face, 14);
    ASSERT_NE(font.font(), nullptr);
    EXPECT_EQ(gdi_test::Extent(canvas.dc(), u"Interface text"), reference);
  }
  SelectedFont unknown(canvas.dc(), u"No Such Face Anywhere", 14);
  ASSERT_NE(unknown.font(), nullptr);
  EXPECT_GT(gdi_test::Extent(canvas.dc(), u"abc"), 0);
  EXPECT_GT(InkOf(FontDescription(u"No Such Face Anywhere", 14), u"abc"), 0);
}

TEST(Font, MetricsReportWeightAndStyle) {
  LOGFONTW log = FontDescription(u"DejaVu Sans", 16, FW_BOLD);
  log.lfUnderline = 1;
  log.lfItalic = 1;
  const TEXTMETRICW tm = MetricsFor(log);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmUnderlined, 1);
  EXPECT_EQ(tm.tmItalic, 1);
  EXPECT_EQ(MetricsFor(FontDescription(u"DejaVu Sans", 16, 0)).tmWeight, FW_NORMAL);
  EXPECT_EQ(MetricsFor(FontDescription(u"Miriam Mono CLM", 16)).tmCharSet, HEBREW_CHARSET);
  EXPECT_EQ(MetricsFor(FontDescription(u"DejaVu Serif", 16)).tmCharSet, ANSI_CHARSET);
}

TEST(Font, UnderlineAndItalicChangeTheInk) {
  const std::u16string text = u"underline";
  LOGFONTW plain = FontDescription(u"DejaVu Sans", 18);
  LOGFONTW underlined = plain;
  underlined.lfUnderline = 1;
  EXPECT_GT(InkOf(underlined, text), InkOf(plain, text));
  // Miriam Mono CLM has an oblique face; Stam Sefarad CLM is slanted by the platform.
  for (const char16_t* face : {u"Miriam Mono CLM", u"Stam Sefarad CLM"}) {
    Canvas upright(60, 40), slanted(60, 40);
    LOGFONTW log = FontDescription(face, 24);
    {
      SelectedFont font(upright.dc(), log);
      TextOutW(upright.dc(), 5, 5, u"\u05D4", 1);
    }
    log.lfItalic = 1;
    {
      SelectedFont font(slanted.dc(), log);
      TextOutW(slanted.dc(), 5, 5, u"\u05D4", 1);
    }
    EXPECT_GT(upright.ink(), 0);
    EXPECT_FALSE(upright.samePixels(slanted));
  }
}

struct Enumerated {
  std::map<std::u16string, BYTE> charSets;
  int calls = 0;
  int stopAfter = 0;  // 0: never stop
};

int CALLBACK Collect(const LOGFONTW* log, const TEXTMETRICW* tm, DWORD type, LPARAM param) {
  auto& e = *reinterpret_cast<Enumerated*>(param);
  ++e.calls;
  EXPECT_EQ(type, DWORD(TRUETYPE_FONTTYPE));
  EXPECT_EQ(log->lfCharSet, tm->tmCharSet);
  EXPECT_GT(tm->tmHeight, 0);
  EXPECT_EQ(e.charSets.count(log->lfFaceName), 0u) << "listed twice";
  e.charSets[log->lfFaceName] = log->lfCharSet;
  return e.stopAfter != 0 && e.calls >= e.stopAfter ? 0 : 1;
}

TEST(EnumFontFamilies, OneCallPerFamilyWithHebrewCharacterSets) {
  Canvas canvas(1, 1);
  Enumerated all;
  EXPECT_EQ(EnumFontFamiliesW(canvas.dc(), nullptr, Collect, reinterpret_cast<LPARAM>(&all)), 1);
  EXPECT_EQ(all.calls, int(all.charSets.size()));
  const std::pair<const char16_t*, BYTE> expected[] = {
      {u"DejaVu Serif", ANSI_CHARSET},      {u"DejaVu Sans Mono", ANSI_CHARSET},
      {u"DejaVu Sans", HEBREW_CHARSET},      // it has the Hebrew letters
      {u"Miriam Mono CLM", HEBREW_CHARSET}, {u"David CLM", HEBREW_CHARSET},
      {u"Frank Ruehl CLM", HEBREW_CHARSET},
      // Faces of a wider family that name a family of their own are listed by it.
      {u"DejaVu Sans Condensed", HEBREW_CHARSET}, {u"DejaVu Serif Condensed", ANSI_CHARSET},
      // A family with a name in another language too is listed by its English name.
      {u"Miriam CLM", HEBREW_CHARSET},
  };
  for (auto [family, charSet] : expected) {
    ASSERT_EQ(all.charSets.count(family), 1u);
    EXPECT_EQ(all.charSets[family], charSet);
  }
  EXPECT_EQ(all.charSets.count(u"\u05DE\u05E8\u05D9\u05DD"), 0u);

  Enumerated stopped;
  stopped.stopAfter = 2;
  EXPECT_EQ(EnumFontFamiliesW(canvas.dc(), nullptr, Collect, reinterpret_cast<LPARAM>(&stopped)), 0);
  EXPECT_EQ(stopped.calls, 2);

  Enumerated one;
  EnumFontFamiliesW(canvas.dc(), u"David CLM", Collect, reinterpret_cast<LPARAM>(&one));
  EXPECT_EQ(one.calls, 1);
  EXPECT_EQ(EnumFontFamiliesW(canvas.dc(), nullptr, nullptr, 0), 0);
}

}  // namespace
