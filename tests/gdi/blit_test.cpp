// BitBlt and StretchBlt: colour conversion between monochrome and colour bitmaps,
// stretching, mirroring, raster operations, clipping and overlapping copies.
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// A 4x2 monochrome bitmap: row 0 is 1 0 1 0, row 1 is 0 0 1 1 (1 = white).
HBITMAP Checker() {
  const uint8_t rows[] = {0xA0, 0x00, 0x30, 0x00};
  return CreateBitmap(4, 2, 1, 1, rows);
}

struct Source {
  HDC dc;
  HGDIOBJ old;
  explicit Source(HBITMAP bitmap) : dc(CreateCompatibleDC(nullptr)) { old = SelectObject(dc, bitmap); }
  ~Source() {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
};

TEST(Blit, MonochromeTakesTextColourForBlackAndBackgroundForWhite) {
  HBITMAP mono = Checker();
  Source src(mono);
  Canvas canvas(8, 4);
  SetTextColor(canvas.dc(), kRed);
  SetBkColor(canvas.dc(), kYellow);
  ASSERT_TRUE(StretchBlt(canvas.dc(), 0, 0, 4, 2, src.dc, 0, 0, 4, 2, SRCCOPY));
  const COLORREF expected[2][4] = {{kYellow, kRed, kYellow, kRed}, {kRed, kRed, kYellow, kYellow}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.at(x, y), expected[y][x]) << x << "," << y;
  EXPECT_EQ(canvas.at(4, 0), 0xFFFFFFu);

  // Stretched to twice the size, each source pixel covers 2x2.
  canvas.clear();
  StretchBlt(canvas.dc(), 0, 0, 8, 4, src.dc, 0, 0, 4, 2, SRCCOPY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.at(x, y), expected[y / 2][x / 2]);

  // A negative width mirrors.
  canvas.clear();
  StretchBlt(canvas.dc(), 3, 0, -4, 2, src.dc, 0, 0, 4, 2, SRCCOPY);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.at(x, 0), expected[0][3 - x]);
  DeleteObject(mono);
}

TEST(Blit, ColourIntoMonochromeKeepsTheSourceBackgroundAsWhite) {
  Canvas colour(3, 1);
  SetPixel(colour.dc(), 0, 0, kRed);
  SetPixel(colour.dc(), 1, 0, kYellow);
  SetBkColor(colour.dc(), kYellow);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(dc, 3, 1);
  HGDIOBJ old = SelectObject(dc, mono);
  ASSERT_TRUE(BitBlt(dc, 0, 0, 3, 1, colour.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
  EXPECT_EQ(GetPixel(dc, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(GetPixel(dc, 2, 0), 0u);  // white is not the background here
  SelectObject(dc, old);
  DeleteObject(mono);
  DeleteDC(dc);
}

TEST(Blit, RasterOperations) {
  const COLORREF src = RGB(0xF0, 0x0F, 0x33), dst = RGB(0x3C, 0x3C, 0xFF);
  const struct {
    DWORD rop;
    COLORREF result;
  } cases[] = {
      {SRCCOPY, src},
      {SRCPAINT, src | dst},
      {SRCAND, src & dst},
      {SRCINVERT, src ^ dst},
      {NOTSRCCOPY, ~src & 0xFFFFFF},
      {DSTINVERT, ~dst & 0xFFFFFF},
      {PATCOPY, RGB(0, 128, 0)},
      {BLACKNESS, 0},
      {WHITENESS, 0xFFFFFF},
  };
  Canvas from(1, 1), to(1, 1);
  SetPixel(from.dc(), 0, 0, src);
  HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
  HGDIOBJ old = SelectObject(to.dc(), green);
  for (const auto& c : cases) {
    SetPixel(to.dc(), 0, 0, dst);
    ASSERT_TRUE(BitBlt(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, c.rop)) << std::hex << c.rop;
    EXPECT_EQ(to.at(0, 0), c.result) << std::hex << c.rop;
  }
  EXPECT_FALSE(BitBlt(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, 0x00123456));
  EXPECT_FALSE(BitBlt(to.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));  // needs a source
  SelectObject(to.dc(), old);
  DeleteObject(green);
}

TEST(Blit, ClipsToBothSurfacesAndCopiesOverlapsAsTheyWere) {
  Canvas canvas(10, 1);
  for (int x = 0; x < 10; ++x) SetPixel(canvas.dc(), x, 0, RGB(x, 0, 0));
  // Scroll right by 3 within the same bitmap: the copy reads the old pixels.
  ASSERT_TRUE(BitBlt(canvas.dc(), 3, 0, 7, 1, canvas.dc(), 0, 0, SRCCOPY));
  for (int x = 3; x < 10; ++x) EXPECT_EQ(canvas.at(x, 0), RGB(x - 3, 0, 0));
  EXPECT_EQ(canvas.at(2, 0), RGB(2, 0, 0));

  // Source pixels outside the source leave the destination as it was.
  Canvas small(2, 1);
  small.clear(kRed);
  Canvas target(6, 1);
  BitBlt(target.dc(), -1, 0, 6, 1, small.dc(), -2, 0, SRCCOPY);
  EXPECT_EQ(target.at(0, 0), 0xFFFFFFu);
  EXPECT_EQ(target.at(1, 0), kRed);
  EXPECT_EQ(target.at(2, 0), kRed);
  EXPECT_EQ(target.at(3, 0), 0xFFFFFFu);
}

}  // namespace
