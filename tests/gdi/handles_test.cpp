// Handles that are null, deleted, of the wrong kind or never given out are refused, and
// objects deleted while selected stay usable by the DC that holds them.
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;

HDC DeadDc() {
  HDC dc = CreateCompatibleDC(nullptr);
  DeleteDC(dc);
  return dc;
}

TEST(Handles, DeadOrForeignDcsDoNothing) {
  int local = 0;
  const HDC bad[] = {nullptr, DeadDc(), reinterpret_cast<HDC>(&local),
                     static_cast<HDC>(GetStockObject(WHITE_BRUSH))};
  const RECT box{0, 0, 10, 10};
  for (HDC dc : bad) {
    SIZE size{-1, -1};
    TEXTMETRICW tm{};
    int fit = -1;
    EXPECT_EQ(FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_FALSE(LineTo(dc, 5, 5));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetBkMode(dc), 0);
    EXPECT_FALSE(GetTextMetricsW(dc, &tm));
    EXPECT_FALSE(GetTextExtentExPointW(dc, u"ab", 2, 10, &fit, nullptr, &size));
    EXPECT_EQ(fit, -1);
    EXPECT_EQ(size.cx, -1);
    RECT r = box;
    EXPECT_EQ(DrawTextW(dc, u"ab", 2, &r, 0), 0);
    EXPECT_FALSE(ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, u"ab", 2, nullptr));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_FALSE(DeleteDC(dc));
  }
}

TEST(Handles, DeadOrWrongObjectsAreRefused) {
  Canvas canvas(10, 10);
  HBRUSH deadBrush = CreateSolidBrush(0);
  DeleteObject(deadBrush);
  EXPECT_FALSE(DeleteObject(deadBrush));
  EXPECT_EQ(SelectObject(canvas.dc(), deadBrush), nullptr);
  const RECT box{0, 0, 10, 10};
  EXPECT_EQ(FillRect(canvas.dc(), &box, deadBrush), 0);
  // A pen is no brush.
  EXPECT_EQ(FillRect(canvas.dc(), &box, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_PEN))), 0);
  EXPECT_EQ(canvas.ink(), 0);
  EXPECT_EQ(GetObjectW(deadBrush, 0, nullptr), 0);
  EXPECT_EQ(GetObjectType(deadBrush), 0u);
  EXPECT_EQ(SelectObject(canvas.dc(), nullptr), nullptr);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(100), nullptr);
  EXPECT_FALSE(DeleteObject(canvas.dc()));  // DCs go through DeleteDC
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(Handles, StockObjectsSurviveDeleteObject) {
  for (int index : {WHITE_BRUSH, BLACK_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HGDIOBJ stock = GetStockObject(index);
    ASSERT_NE(stock, nullptr) << index;
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetStockObject(index), stock);
    EXPECT_NE(GetObjectW(stock, 0, nullptr), 0);
  }
}

TEST(Handles, AnObjectDeletedWhileSelectedKeepsServingItsDc) {
  Canvas canvas(10, 10);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), red);
  EXPECT_TRUE(DeleteObject(red));
  Rectangle(canvas.dc(), 0, 0, 10, 10);
  EXPECT_EQ(canvas.at(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(canvas.dc(), old), red);  // the handle, now dead
  EXPECT_EQ(SelectObject(canvas.dc(), red), nullptr);

  // A font likewise: text still measures with it.
  const LOGFONTW log = gdi_test::FontDescription(u"DejaVu Sans", 30);
  HFONT font = CreateFontIndirectW(&log);
  HGDIOBJ oldFont = SelectObject(canvas.dc(), font);
  DeleteObject(font);
  TEXTMETRICW tm{};
  EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, 30);
  SelectObject(canvas.dc(), oldFont);
}

TEST(Handles, ABitmapDeletedWhileSelectedStaysDrawable) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(SetPixel(dc, 1, 1, RGB(0, 0, 255)), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
  SelectObject(dc, old);
  EXPECT_EQ(GetPixel(dc, 0, 0), 0u);  // back on the 1x1 start bitmap: black
  EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
  DeleteDC(dc);
}

TEST(Handles, ABitmapServesOneMemoryDcAtATime) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
  HGDIOBJ old = SelectObject(first, bitmap);
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  SelectObject(first, old);
  HGDIOBJ secondOld = SelectObject(second, bitmap);
  EXPECT_NE(secondOld, nullptr);
  // Deleting the DC frees the bitmap for another.
  DeleteDC(second);
  EXPECT_NE(SelectObject(first, bitmap), nullptr);
  DeleteDC(first);
  EXPECT_TRUE(DeleteObject(bitmap));
}

}  // namespace
