// A memory DC over a white 32-bit bitmap, and ways to look at what was drawn on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform.h"

namespace gdi_test {

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(nullptr, width, height);
    old_ = SelectObject(dc_, bitmap_);
    clear();
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void clear(COLORREF colour = 0xFFFFFF) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  // Pixels that differ from the background colour.
  int ink(COLORREF background = 0xFFFFFF) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += at(x, y) != background;
    return n;
  }
  // The smallest rectangle holding every pixel that differs from the background
  // (right and bottom excluded); empty (0,0,0,0) when there is none.
  RECT inkBox(COLORREF background = 0xFFFFFF) const {
    RECT box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (at(x, y) != background) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    if (box.right == 0) return {0, 0, 0, 0};
    return box;
  }
  bool samePixels(const Canvas& other) const {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (at(x, y) != other.at(x, y)) return false;
    return true;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

inline LOGFONTW FontDescription(const char16_t* face, LONG height, LONG weight = FW_NORMAL) {
  LOGFONTW log{};
  log.lfHeight = height;
  log.lfWeight = weight;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) log.lfFaceName[i] = face[i];
  return log;
}

// A font selected into a DC for the life of the object.
class SelectedFont {
 public:
  SelectedFont(HDC dc, const LOGFONTW& log) : dc_(dc), font_(CreateFontIndirectW(&log)) {
    old_ = SelectObject(dc_, font_);
  }
  SelectedFont(HDC dc, const char16_t* face, LONG height, LONG weight = FW_NORMAL)
      : SelectedFont(dc, FontDescription(face, height, weight)) {}
  ~SelectedFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  HFONT font() const { return font_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

inline int Extent(HDC dc, const std::u16string& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
  return size.cx;
}

}  // namespace gdi_test
