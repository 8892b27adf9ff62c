// DrawTextW: centring, alignment, prefixes, line breaks, measuring and clipping.
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;
using gdi_test::Extent;
using gdi_test::SelectedFont;

constexpr UINT kCentredRun = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

TEST(DrawText, CentredRunFormatIsTheOneInUse) { EXPECT_EQ(kCentredRun, 0x825u); }

TEST(DrawText, CentresTheRunInItsRectangle) {
  const struct {
    const char16_t* face;
    std::u16string text;
    RECT rect;
  } cases[] = {
      {u"DejaVu Sans", u"HHHH", {10, 10, 150, 70}},
      {u"Frank Ruehl CLM", u"\u05DE\u05D4\u05DD", {0, 0, 101, 41}},
      {u"DejaVu Sans", u"H&H", {20, 5, 60, 35}},
  };
  for (const auto& c : cases) {
    Canvas canvas(160, 80);
    SelectedFont font(canvas.dc(), c.face, 20);
    RECT rect = c.rect;
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc(), &tm);
    const int height = DrawTextW(canvas.dc(), c.text.data(), int(c.text.size()), &rect, kCentredRun);
    const int rectHeight = c.rect.bottom - c.rect.top;
    EXPECT_EQ(height, (rectHeight - tm.tmHeight) / 2 + tm.tmHeight);
    // The text's box sits in the middle: its left and right margins differ by at most
    // one pixel plus the glyphs' side bearings.
    const int width = Extent(canvas.dc(), c.text);
    const RECT ink = canvas.inkBox();
    const int left = ink.left - c.rect.left, right = c.rect.right - ink.right;
    EXPECT_LE(std::abs(left - right), 1 + width / 8) << left << " " << right;
    const int top = ink.top - c.rect.top, bottom = c.rect.bottom - ink.bottom;
    EXPECT_LE(std::abs(top - bottom), tm.tmHeight / 3) << top << " " << bottom;
  }
}

TEST(DrawText, CentringPlacesTheTextBoxExactly) {
  // With an opaque background the text box itself shows: it is centred to the pixel.
  Canvas canvas(100, 40);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 16);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  const int width = Extent(canvas.dc(), u"Box");
  RECT rect{0, 0, 100, 40};
  DrawTextW(canvas.dc(), u"Box", 3, &rect, kCentredRun);
  const RECT box = canvas.inkBox();
  EXPECT_EQ(box.left, (100 - width) / 2);
  EXPECT_EQ(box.right, (100 - width) / 2 + width);
  EXPECT_EQ(box.top, 12);
  EXPECT_EQ(box.bottom, 28);
}

TEST(DrawText, AlignsLeftAndRight) {
  Canvas canvas(100, 20);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 16);
  SetBkColor(canvas.dc(), 0);
  const int width = Extent(canvas.dc(), u"Edge");
  RECT rect{5, 0, 95, 20};
  DrawTextW(canvas.dc(), u"Edge", -1, &rect, DT_RIGHT | DT_SINGLELINE);
  EXPECT_EQ(canvas.inkBox().right, 95);
  EXPECT_EQ(canvas.inkBox().left, 95 - width);
  canvas.clear();
  DrawTextW(canvas.dc(), u"Edge", -1, &rect, DT_LEFT);
  EXPECT_EQ(canvas.inkBox().left, 5);
}

TEST(DrawText, PrefixUnderlinesTheMarkedLetterUnlessTurnedOff) {
  Canvas canvas(120, 20);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 16);
  const struct {
    std::u16string text;
    UINT format;
    std::u16string shown;
  } cases[] = {
      {u"&File", 0, u"File"},
      {u"&File", DT_NOPREFIX, u"&File"},
      {u"A&&B", 0, u"A&B"},
      {u"Tail&", 0, u"Tail"},
  };
  for (const auto& c : cases) {
    RECT measured{0, 0, 120, 20};
    DrawTextW(canvas.dc(), c.text.data(), -1, &measured, c.format | DT_CALCRECT);
    EXPECT_EQ(measured.right, Extent(canvas.dc(), c.shown));
    EXPECT_EQ(measured.bottom, 16);
  }
  // The underline: drawn "&File" has more ink than "File" alone, all of it under the F.
  Canvas plain(120, 20), marked(120, 20);
  SelectedFont a(plain.dc(), u"DejaVu Sans", 16), b(marked.dc(), u"DejaVu Sans", 16);
  RECT rect{0, 0, 120, 20};
  DrawTextW(plain.dc(), u"File", -1, &rect, 0);
  DrawTextW(marked.dc(), u"&File", -1, &rect, 0);
  const int fWidth = Extent(plain.dc(), u"F");
  int extra = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 120; ++x)
      if (plain.at(x, y) != marked.at(x, y)) {
        ++extra;
        EXPECT_LT(x, fWidth);
        EXPECT_GE(y, 12);
      }
  EXPECT_GE(extra, fWidth - 1);
}

TEST(DrawText, BreaksAtLineFeedsAndBetweenWords) {
  Canvas canvas(200, 100);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 14);
  const int word = Extent(canvas.dc(), u"wordy");
  const int space = Extent(canvas.dc(), u" ");
  const struct {
    std::u16string text;
    UINT format;
    int width;
    int lines;
    int widest;
  } cases[] = {
      {u"wordy wordy wordy", DT_WORDBREAK, 2 * word + space, 2, 2 * word + space},
      {u"wordy wordy wordy", DT_WORDBREAK, 2 * word + space - 1, 3, word},
      {u"wordy wordy wordy", 0, 10, 1, 3 * word + 2 * space},
      {u"wordy\nwordy", 0, 200, 2, word},
      {u"wordy\r\nwordy\n\nwordy", 0, 200, 4, word},
      {u"wordy\nwordy", DT_SINGLELINE, 200, 1, -1},
      {u"wordywordywordy", DT_WORDBREAK, word, 1, 3 * word},  // one long word keeps its line
      {u"", 0, 200, 1, 0},
  };
  for (const auto& c : cases) {
    RECT rect{0, 0, c.width, 0};
    const int height = DrawTextW(canvas.dc(), c.text.data(), -1, &rect, c.format | DT_CALCRECT);
    EXPECT_EQ(height, 14 * c.lines) << c.width;
    EXPECT_EQ(rect.bottom, 14 * c.lines);
    if (c.widest >= 0) {
      EXPECT_EQ(rect.right, c.widest) << c.width;
    }
  }
  EXPECT_EQ(canvas.ink(), 0);  // measuring draws nothing

  // Centred lines each centre on their own.
  RECT rect{0, 0, 200, 100};
  SetBkColor(canvas.dc(), 0);
  DrawTextW(canvas.dc(), u"wordy\nwordy wordy", -1, &rect, DT_CENTER);
  EXPECT_EQ(canvas.at((200 - word) / 2, 0), 0u);
  EXPECT_EQ(canvas.at((200 - word) / 2 - 1, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.at((200 - 2 * word - space) / 2, 14), 0u);
}

TEST(DrawText, ClipsToItsRectangleUnlessTold) {
  Canvas canvas(100, 40);
  SelectedFont font(canvas.dc(), u"DejaVu Sans", 20);
  RECT rect{10, 10, 30, 20};
  DrawTextW(canvas.dc(), u"WWWWWW", -1, &rect, DT_SINGLELINE);
  RECT ink = canvas.inkBox();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 30);
  EXPECT_LE(ink.bottom, 20);
  canvas.clear();
  DrawTextW(canvas.dc(), u"WWWWWW", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
  ink = canvas.inkBox();
  EXPECT_GT(ink.right, 30);
  EXPECT_GT(ink.bottom, 20);
  EXPECT_EQ(DrawTextW(canvas.dc(), u"x", 1, nullptr, 0), 0);
  EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, 3, &rect, 0), 0);
}

}  // namespace
