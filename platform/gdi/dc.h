// Device contexts: the objects selected into them, their colours and modes, and where
// their drawing goes at the moment of each call.
#pragma once

#include <memory>

#include "gdi/objects.h"

namespace gdi {

template <class T>
struct Selection {
  void* handle = nullptr;
  std::shared_ptr<T> object;
};

struct Dc final : Object {
  Kind kind() const override { return Kind::Dc; }
  ~Dc() override;

  std::shared_ptr<DrawTarget> target;  // a window's DC; null for a memory DC
  Selection<Pen> pen;
  Selection<Brush> brush;
  Selection<Font> font;
  Selection<Bitmap> bitmap;  // memory DCs only
  COLORREF textColour = 0x000000;
  COLORREF bkColour = 0xFFFFFF;
  int bkMode = OPAQUE;
  POINT position{0, 0};
};

// Where one drawing call goes: the surface, the DC's origin on it and the clip, already
// cut to the surface. An empty canvas draws nothing.
struct Canvas {
  Surface* surface = nullptr;
  POINT origin{0, 0};
  RECT clip{0, 0, 0, 0};
  bool monochrome = false;

  bool empty() const { return !surface || clip.left >= clip.right || clip.top >= clip.bottom; }
  // Stores a colour as the surface holds it (a monochrome one keeps black or white).
  uint32_t store(uint32_t rgb) const;
  // Fills the DC-coordinate rectangle, cut to the clip and to `limit` (DC coordinates)
  // when given.
  void fill(RECT rect, uint32_t rgb, const RECT* limit = nullptr);
  void put(int x, int y, uint32_t rgb);
};

std::shared_ptr<Dc> FindDc(HDC dc);
Canvas CanvasOf(Dc& dc);
// Surface coordinates of a DC rectangle.
RECT ToSurface(const Canvas& canvas, const RECT& rect);
RECT Intersect(const RECT& a, const RECT& b);

}  // namespace gdi
