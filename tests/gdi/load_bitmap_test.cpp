// LoadBitmapW on the bitmaps embedded from gdi_test.rc.
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;

struct Loaded {
  HBITMAP bitmap;
  HDC dc;
  HGDIOBJ old;
  explicit Loaded(WORD id)
      : bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))),
        dc(CreateCompatibleDC(nullptr)) {
    old = SelectObject(dc, bitmap);
  }
  ~Loaded() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

TEST(LoadBitmap, OneBitMarkIsMonochromeAndTakesTheDcColours) {
  Loaded mark(201);
  ASSERT_NE(mark.bitmap, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(mark.bitmap, 24, &bm), 24);
  EXPECT_EQ(bm.bmWidth, 9);
  EXPECT_EQ(bm.bmHeight, 9);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  Canvas canvas(9, 9);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(255, 255, 0));
  ASSERT_TRUE(StretchBlt(canvas.dc(), 0, 0, 9, 9, mark.dc, 0, 0, 9, 9, SRCCOPY));
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      const bool plus = (x == 4 || y == 4) && x >= 1 && x <= 7 && y >= 1 && y <= 7;
      EXPECT_EQ(canvas.at(x, y), plus ? RGB(255, 0, 0) : RGB(255, 255, 0)) << x << "," << y;
    }
  }
}

TEST(LoadBitmap, FourBitRampKeepsItsColoursAndRowOrder) {
  Loaded ramp(202);
  ASSERT_NE(ramp.bitmap, nullptr);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const int i = (x + 5 * y) % 16;
      EXPECT_EQ(GetPixel(ramp.dc, x, y), RGB(i * 16, 255 - i * 16, i * 7)) << x << "," << y;
    }
  }
}

TEST(LoadBitmap, MissingOrUnreadableBitmapsGiveNull) {
  HMODULE module = GetModuleHandleW(nullptr);
  EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(203)), nullptr);  // 12-byte header
  EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_EQ(LoadBitmapW(module, u"NOSUCH"), nullptr);
}

}  // namespace
