// Rectangles, lines and pixels: which pixels each call touches.
#include "tests/gdi/canvas.h"

namespace {

using gdi_test::Canvas;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct BoxCase {
  RECT rect;
  RECT expectedInk;  // right and bottom excluded; all 0 for none
};

TEST(FillRect, TouchesLeftAndTopButNotRightAndBottom) {
  const BoxCase cases[] = {
      {{0, 0, 100, 40}, {0, 0, 100, 40}},
      {{10, 5, 11, 6}, {10, 5, 11, 6}},
      {{-20, -20, 5, 5}, {0, 0, 5, 5}},            // cut to the surface
      {{110, 45, 500, 500}, {110, 45, 120, 50}},   // cut to the surface
      {{30, 30, 30, 40}, {0, 0, 0, 0}},             // no width
      {{50, 20, 40, 30}, {0, 0, 0, 0}},             // right before left
      {{-2000000000, -2000000000, 2000000000, 2000000000}, {0, 0, 120, 50}},
  };
  Canvas canvas(120, 50);
  HBRUSH red = CreateSolidBrush(kRed);
  for (const auto& c : cases) {
    canvas.clear();
    EXPECT_NE(FillRect(canvas.dc(), &c.rect, red), 0);
    const RECT box = canvas.inkBox();
    EXPECT_EQ(box.left, c.expectedInk.left) << c.rect.left << "," << c.rect.top;
    EXPECT_EQ(box.top, c.expectedInk.top);
    EXPECT_EQ(box.right, c.expectedInk.right);
    EXPECT_EQ(box.bottom, c.expectedInk.bottom);
    if (box.right > box.left) {
      EXPECT_EQ(canvas.ink(), (box.right - box.left) * (box.bottom - box.top));
      EXPECT_EQ(canvas.at(box.left, box.top), kRed);
    }
  }
  DeleteObject(red);
}

TEST(FillRect, StockBrushesHaveTheirGreys) {
  const std::pair<int, COLORREF> stocks[] = {{WHITE_BRUSH, 0xFFFFFF}, {LTGRAY_BRUSH, 0xC0C0C0},
                                             {GRAY_BRUSH, 0x808080},  {DKGRAY_BRUSH, 0x404040},
                                             {BLACK_BRUSH, 0x000000}};
  Canvas canvas(4, 4);
  const RECT all{0, 0, 4, 4};
  for (auto [index, colour] : stocks) {
    canvas.clear(kBlue);
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(index)));
    EXPECT_EQ(canvas.at(3, 3), colour) << index;
  }
  canvas.clear(kBlue);
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(canvas.ink(kBlue), 0);
}

TEST(Rectangle, OutlinesWithThePenAndFillsWithTheBrush) {
  Canvas canvas(120, 50);
  HPEN pen = CreatePen(PS_SOLID, 0, kRed);
  HBRUSH brush = CreateSolidBrush(kBlue);
  HGDIOBJ oldPen = SelectObject(canvas.dc(), pen);
  HGDIOBJ oldBrush = SelectObject(canvas.dc(), brush);
  ASSERT_TRUE(Rectangle(canvas.dc(), 0, 0, 100, 40));
  const RECT box = canvas.inkBox();
  EXPECT_EQ(box.right, 100);
  EXPECT_EQ(box.bottom, 40);
  const struct {
    int x, y;
    COLORREF colour;
  } probes[] = {{0, 0, kRed},   {99, 0, kRed},   {0, 39, kRed},  {99, 39, kRed},
                {50, 0, kRed},  {50, 39, kRed},  {0, 20, kRed},  {99, 20, kRed},
                {1, 1, kBlue},  {98, 38, kBlue}, {50, 20, kBlue}, {100, 20, kWhite},
                {50, 40, kWhite}};
  for (const auto& p : probes) EXPECT_EQ(canvas.at(p.x, p.y), p.colour) << p.x << "," << p.y;
  SelectObject(canvas.dc(), oldPen);
  SelectObject(canvas.dc(), oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Rectangle, NestedFramesShrinkByOnePixel) {
  // Two frames in red, one in white, the way a framed banner is drawn.
  Canvas canvas(100, 40);
  canvas.clear(kBlue);
  RECT box{0, 0, 100, 40};
  const COLORREF colours[] = {kRed, kRed, kWhite};
  for (COLORREF colour : colours) {
    HPEN pen = CreatePen(PS_SOLID, 0, colour);
    HGDIOBJ old = SelectObject(canvas.dc(), pen);
    Rectangle(canvas.dc(), box.left, box.top, box.right, box.bottom);
    SelectObject(canvas.dc(), old);
    DeleteObject(pen);
    ++box.left, ++box.top, --box.right, --box.bottom;
  }
  EXPECT_EQ(canvas.at(0, 0), kRed);
  EXPECT_EQ(canvas.at(1, 1), kRed);
  EXPECT_EQ(canvas.at(2, 2), kWhite);
  EXPECT_EQ(canvas.at(97, 37), kWhite);
  EXPECT_EQ(canvas.at(98, 38), kRed);
  EXPECT_EQ(canvas.at(3, 3), kWhite);  // the white stock brush filled the inside
}

TEST(Rectangle, NullPenAndNullBrush) {
  Canvas canvas(20, 20);
  HGDIOBJ oldPen = SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc(), 2, 3, 12, 8);
  RECT box = canvas.inkBox();
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, 3);
  EXPECT_EQ(box.right, 12);
  EXPECT_EQ(box.bottom, 8);
  canvas.clear();
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc(), 2, 3, 12, 8);
  EXPECT_EQ(canvas.ink(), 2 * 10 + 2 * 3);  // the outline alone
  EXPECT_EQ(canvas.at(5, 5), kWhite);
  SelectObject(canvas.dc(), oldPen);
  SelectObject(canvas.dc(), oldBrush);
}

TEST(Lines, StopBeforeTheirEndPoint) {
  struct LineCase {
    POINT from, to;
    int pixels;
    POINT lastDrawn;
  };
  const LineCase cases[] = {
      {{2, 5}, {12, 5}, 10, {11, 5}},
      {{5, 2}, {5, 9}, 7, {5, 8}},
      {{0, 0}, {8, 8}, 8, {7, 7}},
      {{12, 9}, {2, 4}, 10, {3, 4}},
      {{4, 4}, {4, 4}, 0, {-1, -1}},
  };
  Canvas canvas(20, 20);
  for (const auto& c : cases) {
    canvas.clear();
    POINT previous{};
    MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
    LineTo(canvas.dc(), c.to.x, c.to.y);
    EXPECT_EQ(canvas.ink(), c.pixels) << c.from.x << "," << c.from.y;
    if (c.pixels > 0) {
      EXPECT_EQ(canvas.at(c.from.x, c.from.y), 0u);
      EXPECT_EQ(canvas.at(c.lastDrawn.x, c.lastDrawn.y), 0u);
    }
    EXPECT_EQ(canvas.at(c.to.x, c.to.y), kWhite);
    MoveToEx(canvas.dc(), 0, 0, &previous);
    EXPECT_EQ(previous.x, c.to.x);
    EXPECT_EQ(previous.y, c.to.y);
  }
}

TEST(Lines, PolylineAndFarOffEnds) {
  Canvas canvas(20, 20);
  const POINT corner[] = {{1, 1}, {10, 1}, {10, 10}};
  ASSERT_TRUE(Polyline(canvas.dc(), corner, 3));
  EXPECT_EQ(canvas.ink(), 18);
  EXPECT_FALSE(Polyline(canvas.dc(), corner, 1));
  // A line reaching far outside draws only what falls on the surface, and returns.
  canvas.clear();
  MoveToEx(canvas.dc(), -2000000000, 7, nullptr);
  LineTo(canvas.dc(), 2000000000, 7);
  EXPECT_EQ(canvas.ink(), 20);
}

TEST(Pixels, SetAndGetInsideAndOutside) {
  Canvas canvas(10, 10);
  EXPECT_EQ(SetPixel(canvas.dc(), 3, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(canvas.dc(), 3, 4), RGB(1, 2, 3));
  for (POINT p : {POINT{-1, 0}, POINT{0, -1}, POINT{10, 0}, POINT{0, 10}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), p.x, p.y, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), p.x, p.y), CLR_INVALID);
  }
}

}  // namespace
