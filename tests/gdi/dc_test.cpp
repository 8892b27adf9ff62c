// Device contexts: a fresh DC's state, selection, records, capabilities, and DCs that
// draw through a window's draw target.
#include "gdi/surface.h"
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;

TEST(Dc, FreshStateIsBlackPenWhiteBrushBlackOnWhiteOpaque) {
  Canvas canvas(20, 20);
  canvas.clear(RGB(0, 255, 0));
  EXPECT_EQ(GetTextColor(canvas.dc()), 0u);
  EXPECT_EQ(GetBkColor(canvas.dc()), 0xFFFFFFu);
  EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
  Rectangle(canvas.dc(), 0, 0, 10, 10);
  EXPECT_EQ(canvas.at(0, 0), 0u);
  EXPECT_EQ(canvas.at(5, 5), 0xFFFFFFu);
}

TEST(Dc, SelectObjectReturnsThePreviousOfTheSameKind) {
  Canvas canvas(10, 10);
  HDC dc = canvas.dc();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(NULL_PEN));
  // Restoring puts the old pen and brush back in use.
  EXPECT_EQ(SelectObject(dc, oldPen), pen);
  EXPECT_EQ(SelectObject(dc, oldBrush), brush);
  Rectangle(dc, 0, 0, 10, 10);
  EXPECT_EQ(canvas.at(0, 0), 0u);
  EXPECT_EQ(canvas.at(5, 5), 0xFFFFFFu);
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Dc, ColoursAndModesReturnTheirPreviousValues) {
  Canvas canvas(1, 1);
  EXPECT_EQ(SetTextColor(canvas.dc(), RGB(1, 2, 3)), 0u);
  EXPECT_EQ(SetTextColor(canvas.dc(), 0), RGB(1, 2, 3));
  EXPECT_EQ(SetBkColor(canvas.dc(), RGB(4, 5, 6)), 0xFFFFFFu);
  EXPECT_EQ(GetBkColor(canvas.dc()), RGB(4, 5, 6));
  EXPECT_EQ(SetBkMode(canvas.dc(), TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(canvas.dc(), 7), 0);  // no such mode: refused, nothing changes
  EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
}

TEST(Dc, GetObjectFillsTheHandheldRecords) {
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 9, 7);
  BITMAP bm{};
  EXPECT_EQ(sizeof(BITMAP), 24u);
  EXPECT_EQ(GetObjectW(colour, 24, &bm), 24);
  EXPECT_EQ(bm.bmWidth, 9);
  EXPECT_EQ(bm.bmHeight, 7);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidthBytes, 36);
  EXPECT_EQ(bm.bmPlanes, 1);
  EXPECT_EQ(GetObjectW(colour, 0, nullptr), 24);
  // A smaller buffer gets only what it has room for.
  LONG first[2] = {-1, -1};
  EXPECT_EQ(GetObjectW(colour, 4, first), 4);
  EXPECT_EQ(first[1], -1);
  DeleteObject(colour);

  LOGFONTW in = gdi_test::FontDescription(u"DejaVu Sans", -13, FW_BOLD);
  in.lfUnderline = 1;
  HFONT font = CreateFontIndirectW(&in);
  LOGFONTW out{};
  EXPECT_EQ(sizeof(LOGFONTW), 92u);
  EXPECT_EQ(GetObjectW(font, 92, &out), 92);
  EXPECT_EQ(out.lfHeight, -13);
  EXPECT_EQ(out.lfWeight, FW_BOLD);
  EXPECT_EQ(out.lfUnderline, 1);
  EXPECT_EQ(std::u16string(out.lfFaceName), u"DejaVu Sans");
  DeleteObject(font);

  LOGPEN pen{};
  HPEN red = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
  EXPECT_EQ(GetObjectW(red, sizeof pen, &pen), int(sizeof pen));
  EXPECT_EQ(pen.lopnColor, RGB(255, 0, 0));
  EXPECT_EQ(pen.lopnWidth.x, 2);
  DeleteObject(red);
}

TEST(Dc, DeviceCaps) {
  Canvas canvas(1, 1);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), PLANES), 1);
  gdi::SetScreenSize(480, 640);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), HORZRES), 480);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), VERTRES), 640);
  gdi::SetScreenSize(240, 320);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
}

// A window as the window layer would present it: a place on a surface and a clip,
// both of which may change between calls.
struct FakeWindow : gdi::DrawTarget {
  gdi::Surface* target = nullptr;
  POINT at{0, 0};
  RECT visible{0, 0, 0, 0};
  gdi::Surface* surface() override { return target; }
  POINT origin() override { return at; }
  RECT clip() override { return visible; }
};

int InkOn(const gdi::Surface& s, uint32_t background = 0xFFFFFF) {
  int n = 0;
  for (uint32_t p : s.pixels) n += p != background;
  return n;
}

TEST(TargetDc, DrawsAtTheOriginInsideTheClipAndFollowsChanges) {
  gdi::Surface surface(50, 50, 0xFFFFFF);
  auto window = std::make_shared<FakeWindow>();
  window->target = &surface;
  window->at = {10, 20};
  window->visible = {10, 20, 30, 30};
  HDC dc = gdi::CreateTargetDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));

  const RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(InkOn(surface), 20 * 10);
  EXPECT_EQ(surface.pixels[20 * 50 + 10], 0u);
  EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
  EXPECT_EQ(GetPixel(dc, 20, 0), CLR_INVALID);  // outside the clip

  // The window moved: the same DC now draws at its new place.
  std::fill(surface.pixels.begin(), surface.pixels.end(), 0xFFFFFF);
  window->at = {0, 0};
  window->visible = {0, 0, 5, 5};
  SetPixel(dc, 2, 2, RGB(255, 0, 0));
  EXPECT_EQ(surface.pixels[2 * 50 + 2], 0xFF0000u);  // red as 0x00RRGGBB
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(InkOn(surface), 25);

  // The window vanished: nothing is drawn, nothing fails.
  window->target = nullptr;
  EXPECT_NE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(InkOn(surface), 25);

  // A clip reaching past the surface is cut to it.
  window->target = &surface;
  window->visible = {-10, -10, 1000, 1000};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(InkOn(surface), 2500);

  // Window DCs hold no bitmaps.
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  DeleteObject(bitmap);

  EXPECT_TRUE(gdi::ReleaseTargetDC(dc));
  EXPECT_FALSE(gdi::ReleaseTargetDC(dc));
  EXPECT_EQ(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_EQ(gdi::CreateTargetDC(nullptr), nullptr);
}

TEST(MemoryDc, StartsWithAOnePixelMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAP bm{};
  GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  // Compatible with it means monochrome.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  GetObjectW(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  DeleteObject(mono);
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

}  // namespace
