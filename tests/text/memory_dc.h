// A headless drawing surface for the tests: a memory DC over a 32-bit bitmap.
#pragma once

#include <vector>

#include "platform.h"

class MemoryDc {
 public:
  MemoryDc(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(nullptr, width, height);
    old_ = SelectObject(dc_, bitmap_);
    Clear();
  }
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Clear() {
    RECT all = {0, 0, width_, height_};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // Pixels as COLORREF values, row by row.
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> pixels(size_t(width_) * height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels[size_t(y) * width_ + x] = At(x, y);
    return pixels;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// A font made for a test and selected into a DC for its lifetime.
class SelectedFont {
 public:
  SelectedFont(HDC dc, const char16_t* face, LONG height, LONG weight = FW_NORMAL) : dc_(dc) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
    font_ = CreateFontIndirectW(&font);
    old_ = SelectObject(dc, font_);
  }
  ~SelectedFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

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
