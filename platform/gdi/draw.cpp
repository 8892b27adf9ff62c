// Rectangles, lines and single pixels. Right and bottom edges are excluded throughout.
#include <algorithm>
#include <cstdlib>

#include "gdi/dc.h"
#include "kernel/out_of_memory.h"

using namespace gdi;

namespace {

RECT Normalised(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

bool Draws(const Pen* pen) { return pen && pen->style != PS_NULL; }

// A square dot of the pen's width, centred on the point.
void PenDot(Canvas& canvas, const Pen& pen, int x, int y) {
  const int w = std::max(1, pen.width);
  const int x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
  canvas.fill({x0, y0, x0 + w, y0 + w}, ToPixel(pen.colour));
}

// The point at step t of n along a to b, rounded to the nearest pixel.
long long Along(long long a, long long b, long long t, long long n) {
  const __int128 num = __int128(2) * t * (b - a);
  return a + (long long)(num >= 0 ? (num + n) / (2 * n) : -((-num + n) / (2 * n)));
}

// The line from (x0, y0) up to, not including, (x1, y1), one dot per step along its
// longer axis; only the steps that can reach the clip are walked.
void PenLine(Canvas& canvas, const Pen& pen, int x0, int y0, int x1, int y1) {
  if (canvas.empty()) return;
  const bool xMajor = std::llabs((long long)x1 - x0) >= std::llabs((long long)y1 - y0);
  const long long a0 = xMajor ? x0 : y0, a1 = xMajor ? x1 : y1;
  const long long b0 = xMajor ? y0 : x0, b1 = xMajor ? y1 : x1;
  const long long n = std::llabs(a1 - a0);
  if (n == 0) return;
  const long long step = a1 > a0 ? 1 : -1;
  const long long margin = std::max(1, pen.width);
  const long long lo = (xMajor ? canvas.clip.left - canvas.origin.x
                               : canvas.clip.top - canvas.origin.y) - margin;
  const long long hi = (xMajor ? canvas.clip.right - canvas.origin.x
                               : canvas.clip.bottom - canvas.origin.y) + margin;
  long long tFirst = step > 0 ? lo - a0 : a0 - hi;
  long long tLast = step > 0 ? hi - a0 : a0 - lo;
  tFirst = std::max(0LL, tFirst);
  tLast = std::min(n - 1, tLast);
  for (long long t = tFirst; t <= tLast; ++t) {
    const long long a = a0 + step * t, b = Along(b0, b1, t, n);
    PenDot(canvas, pen, int(xMajor ? a : b), int(xMajor ? b : a));
  }
}

}  // namespace

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) try {
  auto dc = FindDc(handle);
  auto brush = FindAs<Brush>(brushHandle, Kind::Brush);
  if (!dc || !rect || !brush) return 0;
  if (brush->hollow) return 1;
  Canvas canvas = CanvasOf(*dc);
  canvas.fill(*rect, ToPixel(brush->colour));
  return 1;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) try {
  auto dc = FindDc(handle);
  if (!dc) return FALSE;
  Canvas canvas = CanvasOf(*dc);
  const RECT box = Normalised(left, top, right, bottom);
  RECT inside = box;
  const Pen* pen = dc->pen.object.get();
  if (Draws(pen)) {
    // The outline lies inside the box, as thick as the pen.
    const LONG w = std::max(1, pen->width);
    const uint32_t colour = ToPixel(pen->colour);
    canvas.fill({box.left, box.top, box.right, std::min(box.bottom, box.top + w)}, colour);
    canvas.fill({box.left, std::max(box.top, box.bottom - w), box.right, box.bottom}, colour);
    canvas.fill({box.left, box.top, std::min(box.right, box.left + w), box.bottom}, colour);
    canvas.fill({std::max(box.left, box.right - w), box.top, box.right, box.bottom}, colour);
    inside = {box.left + w, box.top + w, box.right - w, box.bottom - w};
  }
  const Brush* brush = dc->brush.object.get();
  if (brush && !brush->hollow) canvas.fill(inside, ToPixel(brush->colour));
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) try {
  auto dc = FindDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = {x, y};
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL LineTo(HDC handle, int x, int y) try {
  auto dc = FindDc(handle);
  if (!dc) return FALSE;
  if (Draws(dc->pen.object.get())) {
    Canvas canvas = CanvasOf(*dc);
    PenLine(canvas, *dc->pen.object, dc->position.x, dc->position.y, x, y);
  }
  dc->position = {x, y};
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL Polyline(HDC handle, const POINT* points, int count) try {
  auto dc = FindDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  if (Draws(dc->pen.object.get())) {
    Canvas canvas = CanvasOf(*dc);
    for (int i = 1; i < count; ++i) {
      PenLine(canvas, *dc->pen.object, points[i - 1].x, points[i - 1].y, points[i].x,
              points[i].y);
    }
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

namespace {

// The surface pixel under DC point (x, y), or null outside the DC's clip.
uint32_t* PixelAt(const Canvas& canvas, int x, int y) {
  const long long sx = (long long)x + canvas.origin.x, sy = (long long)y + canvas.origin.y;
  if (canvas.empty() || sx < canvas.clip.left || sx >= canvas.clip.right ||
      sy < canvas.clip.top || sy >= canvas.clip.bottom)
    return nullptr;
  return &canvas.surface->pixels[size_t(sy) * canvas.surface->width + sx];
}

}  // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF colour) try {
  auto dc = FindDc(handle);
  if (!dc) return CLR_INVALID;
  Canvas canvas = CanvasOf(*dc);
  uint32_t* pixel = PixelAt(canvas, x, y);
  if (!pixel) return CLR_INVALID;
  canvas.put(x, y, ToPixel(colour));
  return ToColorRef(*pixel);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

COLORREF GetPixel(HDC handle, int x, int y) try {
  auto dc = FindDc(handle);
  if (!dc) return CLR_INVALID;
  Canvas canvas = CanvasOf(*dc);
  uint32_t* pixel = PixelAt(canvas, x, y);
  return pixel ? ToColorRef(*pixel) : CLR_INVALID;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
