// Measuring and drawing runs: the fit of GetTextExtentExPointW, measurement agreeing with
// drawing, Hebrew letters and points, missing glyphs, colours and background modes.
#include <vector>

#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;
using gdi_test::Extent;
using gdi_test::SelectedFont;

TEST(TextExtent, FitCountsLeadingUnitsWithinTheMaximum) {
  Canvas canvas(1, 1);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 16);
  const std::u16string text = u"Wide iii";
  std::vector<int> running;
  for (size_t n = 1; n <= text.size(); ++n) running.push_back(Extent(canvas.dc(), text.substr(0, n)));
  const int total = running.back();
  const struct {
    int max;
    int fit;
  } cases[] = {
      {0, 0},
      {running[0] - 1, 0},  // narrower than the first unit
      {running[0], 1},      // exactly the first unit
      {running[3], 4},
      {running[3] + 1, 4},
      {total - 1, int(text.size()) - 1},
      {total, int(text.size())},  // exactly the whole run: it fits whole
      {100000, int(text.size())},
      {-5, 0},
  };
  for (const auto& c : cases) {
    int fit = -1;
    SIZE size{};
    std::vector<int> extents(text.size(), -1);
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), text.data(), int(text.size()), c.max, &fit,
                                      extents.data(), &size));
    EXPECT_EQ(fit, c.fit) << "max " << c.max;
    EXPECT_EQ(size.cx, total);  // always the whole string
    for (int i = 0; i < c.fit; ++i) EXPECT_EQ(extents[size_t(i)], running[size_t(i)]);
    for (size_t i = size_t(c.fit); i < text.size(); ++i) EXPECT_EQ(extents[i], -1);
  }
}

TEST(TextExtent, NullPointersAndEmptyRuns) {
  Canvas canvas(1, 1);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 16);
  SIZE size{};
  EXPECT_TRUE(GetTextExtentExPointW(canvas.dc(), u"abc", 3, 0, nullptr, nullptr, nullptr));
  // Without a fit, the maximum is ignored and every extent is given.
  int extents[3] = {};
  EXPECT_TRUE(GetTextExtentExPointW(canvas.dc(), u"abc", 3, 0, nullptr, extents, &size));
  EXPECT_EQ(extents[2], size.cx);
  EXPECT_GT(extents[0], 0);
  EXPECT_TRUE(GetTextExtentExPointW(canvas.dc(), nullptr, 0, 10, nullptr, nullptr, &size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 16);
  EXPECT_FALSE(GetTextExtentExPointW(canvas.dc(), nullptr, 2, 10, nullptr, nullptr, &size));
  EXPECT_FALSE(GetTextExtentExPointW(canvas.dc(), u"abc", -1, 10, nullptr, nullptr, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), u"abc", -3, &size));
}

TEST(TextExtent, RunExtentIsTheSumOfItsUnits) {
  Canvas canvas(1, 1);
  for (const char16_t* face : {u"DejaVu Sans", u"David CLM", u"Miriam Mono CLM"}) {
    for (LONG height : {11L, -13L, 19L}) {
      SelectedFont font(canvas.dc(), face, height);
      const std::u16string text = u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD Test 12";
      int sum = 0;
      for (char16_t unit : text) sum += Extent(canvas.dc(), std::u16string(1, unit));
      EXPECT_EQ(Extent(canvas.dc(), text), sum);
    }
  }
}

TEST(TextDrawing, WhatIsMeasuredIsWhatIsDrawn) {
  // Drawing a run in one call paints the same pixels as drawing each unit alone at the
  // pen position its measured prefix gives.
  for (const char16_t* face : {u"DejaVu Sans", u"Frank Ruehl CLM"}) {
    const std::u16string text = u"Ab\u05D0\u05B7\u05D1g";
    Canvas whole(120, 30), pieces(120, 30);
    SelectedFont a(whole.dc(), face, 18), b(pieces.dc(), face, 18);
    SetBkMode(whole.dc(), TRANSPARENT);
    SetBkMode(pieces.dc(), TRANSPARENT);
    TextOutW(whole.dc(), 4, 2, text.data(), int(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
      const int x = 4 + Extent(pieces.dc(), text.substr(0, i));
      TextOutW(pieces.dc(), x, 2, &text[i], 1);
    }
    EXPECT_GT(whole.ink(), 0);
    EXPECT_TRUE(whole.samePixels(pieces));
  }
}

// Ink of one unit drawn alone at x 10.
int InkOfUnit(const char16_t* face, char16_t unit) {
  Canvas canvas(50, 40);
  SelectedFont font(canvas.dc(), face, 24);
  TextOutW(canvas.dc(), 10, 4, &unit, 1);
  return canvas.ink();
}

TEST(TextDrawing, HebrewLettersPointsAndPresentationFormsComeFromACulmusFont) {
  const char16_t* face = u"Frank Ruehl CLM";
  const int missing = InkOfUnit(face, 0x0E01);  // a Thai letter the font lacks
  Canvas canvas(1, 1);
  SelectedFont font(canvas.dc(), face, 24);
  std::vector<char16_t> units;
  for (char16_t c = 0x05D0; c <= 0x05EA; ++c) units.push_back(c);
  for (char16_t c : {0x05B0, 0x05B4, 0x05B7, 0x05B8, 0x05B9, 0x05BC, 0x05C1, 0x05C2}) units.push_back(c);
  for (char16_t c = 0xFB2A; c <= 0xFB4B; ++c) {
    if (c != 0xFB37 && c != 0xFB3D && c != 0xFB3F && c != 0xFB42 && c != 0xFB45) units.push_back(c);
  }
  for (char16_t unit : units) {
    const int ink = InkOfUnit(face, unit);
    EXPECT_GT(ink, 0) << std::hex << int(unit);
    EXPECT_NE(ink, missing) << std::hex << int(unit);
  }
  // Points take no room: they stand where the font puts them relative to the pen.
  for (char16_t point : {0x05B0, 0x05B8, 0x05BC, 0x05C1}) {
    EXPECT_EQ(Extent(canvas.dc(), std::u16string(1, point)), 0) << std::hex << int(point);
  }
  EXPECT_GT(Extent(canvas.dc(), u"\u05D0"), 0);
}

TEST(TextDrawing, AUnitTheFontLacksDrawsItsMissingGlyphBox) {
  for (const char16_t* face : {u"DejaVu Serif", u"DejaVu Sans Mono"}) {
    EXPECT_GT(InkOfUnit(face, 0x05D0), 0);
    Canvas canvas(1, 1);
    SelectedFont font(canvas.dc(), face, 24);
    // The same box for every missing unit: the face has no Hebrew, and no other face
    // stands in.
    EXPECT_EQ(Extent(canvas.dc(), u"\u05D0"), Extent(canvas.dc(), u"\u05D1"));
    EXPECT_EQ(InkOfUnit(face, 0x05D0), InkOfUnit(face, 0x05E9));
  }
}

TEST(TextDrawing, ColoursAndBackgroundModes) {
  Canvas canvas(60, 30);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 20);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 255, 255));
  const int width = Extent(canvas.dc(), u"Ho");
  TextOutW(canvas.dc(), 5, 5, u"Ho", 2);
  // Opaque: the text box is the background colour where no glyph covers it.
  EXPECT_EQ(canvas.at(5, 5), RGB(0, 255, 255));
  EXPECT_EQ(canvas.at(5 + width - 1, 5 + 19), RGB(0, 255, 255));
  EXPECT_EQ(canvas.at(5 + width, 5), 0xFFFFFFu);
  EXPECT_EQ(canvas.at(5, 5 + 20), 0xFFFFFFu);
  int red = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) red += canvas.at(x, y) == RGB(255, 0, 0);
  EXPECT_GT(red, 10);  // fully covered pixels take the text colour

  canvas.clear();
  SetBkMode(canvas.dc(), TRANSPARENT);
  TextOutW(canvas.dc(), 5, 5, u"Ho", 2);
  EXPECT_EQ(canvas.at(5, 5), 0xFFFFFFu);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF c = canvas.at(x, y);
      EXPECT_EQ(GetRValue(c), 255);  // blended from white toward red only
      EXPECT_EQ(GetGValue(c), GetBValue(c));
    }
}

TEST(ExtTextOut, OpaqueFillsTheRectangleAndClippedKeepsInsideIt) {
  Canvas canvas(80, 30);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 20);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetBkColor(canvas.dc(), RGB(255, 255, 0));
  const RECT box{2, 2, 70, 26};
  ASSERT_TRUE(ExtTextOutW(canvas.dc(), 4, 4, ETO_OPAQUE, &box, u"Link", 4, nullptr));
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 255, 0));
  EXPECT_EQ(canvas.at(69, 25), RGB(255, 255, 0));
  EXPECT_EQ(canvas.at(70, 25), 0xFFFFFFu);
  EXPECT_GT(canvas.ink(RGB(255, 255, 0)), (80 * 30) - 68 * 24);  // the text, and the border

  canvas.clear();
  const RECT narrow{0, 0, 10, 30};
  ExtTextOutW(canvas.dc(), 4, 4, ETO_CLIPPED, &narrow, u"WWWW", 4, nullptr);
  const RECT ink = canvas.inkBox();
  EXPECT_GT(ink.right, 0);
  EXPECT_LE(ink.right, 10);
  // Without text, the opaque rectangle alone.
  canvas.clear();
  EXPECT_TRUE(ExtTextOutW(canvas.dc(), 0, 0, ETO_OPAQUE, &narrow, nullptr, 0, nullptr));
  EXPECT_EQ(canvas.ink(), 10 * 30);
}

}  // namespace
