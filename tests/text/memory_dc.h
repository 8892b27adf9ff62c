// A headless drawing surface for the tests: a memory DC over a 32-bit bitmap, and the
// box of what was drawn on it.
#pragma once

#include <vector>

#include "platform.h"
#include "tests/gdi/canvas.h"

// The GDI tests' canvas under the names these tests use.
class MemoryDc : public gdi_test::Canvas {
 public:
  using Canvas::Canvas;
  void Clear() { clear(); }
  COLORREF At(int x, int y) const { return at(x, y); }
  // Pixels as COLORREF values, row by row.
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> pixels(size_t(width()) * height());
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) pixels[size_t(y) * width() + x] = At(x, y);
    return pixels;
  }
};

using gdi_test::SelectedFont;

// The box around every pixel that differs from the reference (or from white).
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right/bottom inclusive
  bool any() const { return right >= 0; }
  double centreX() const { return (left + right) / 2.0; }
};

inline Ink InkOf(const std::vector<COLORREF>& pixels, int width, const std::vector<COLORREF>* reference = nullptr) {
  Ink ink;
  for (size_t i = 0; i < pixels.size(); ++i) {
    COLORREF base = reference ? (*reference)[i] : 0xFFFFFF;
    if (pixels[i] == base) continue;
    int x = int(i % width), y = int(i / width);
    if (x < ink.left) ink.left = x;
    if (x > ink.right) ink.right = x;
    if (y < ink.top) ink.top = y;
    if (y > ink.bottom) ink.bottom = y;
  }
  return ink;
}
