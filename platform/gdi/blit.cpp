// Copying pixels between DCs: BitBlt and StretchBlt with the common raster operations.
// A monochrome source takes the destination's text colour for its black pixels and its
// background colour for its white ones; a colour source drawn into a monochrome bitmap
// becomes white where it has the source DC's background colour, black elsewhere.
#include <algorithm>
#include <vector>

#include "gdi/dc.h"
#include "kernel/out_of_memory.h"

using namespace gdi;

namespace {

bool UsesSource(DWORD rop) {
  return rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS && rop != DSTINVERT;
}

bool Known(DWORD rop) {
  switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT: case NOTSRCCOPY:
    case DSTINVERT: case PATCOPY: case BLACKNESS: case WHITENESS: return true;
    default: return false;
  }
}

uint32_t Combine(DWORD rop, uint32_t src, uint32_t dst, uint32_t pattern) {
  switch (rop) {
    case SRCCOPY: return src;
    case SRCPAINT: return dst | src;
    case SRCAND: return dst & src;
    case SRCINVERT: return dst ^ src;
    case NOTSRCCOPY: return ~src & 0xFFFFFF;
    case DSTINVERT: return ~dst & 0xFFFFFF;
    case PATCOPY: return pattern;
    case BLACKNESS: return 0;
    default: return 0xFFFFFF;
  }
}

// One axis of the copy: destination start and length, source start and length, after
// negative lengths have been turned into mirroring. A negative length runs from the
// start pixel backwards: x 3 with width -4 covers pixels 0 to 3.
struct Axis {
  long long dst, dstLen, src, srcLen;
  bool mirrored;
  long long sourceAt(long long i) const {
    const long long offset = i * srcLen / dstLen;
    return mirrored ? src + srcLen - 1 - offset : src + offset;
  }
};

Axis MakeAxis(int dst, int dstLen, int src, int srcLen) {
  Axis a{dst, dstLen, src, srcLen, false};
  if (a.dstLen < 0) {
    a.dst += a.dstLen + 1;
    a.dstLen = -a.dstLen;
    a.mirrored = !a.mirrored;
  }
  if (a.srcLen < 0) {
    a.src += a.srcLen + 1;
    a.srcLen = -a.srcLen;
    a.mirrored = !a.mirrored;
  }
  return a;
}

// Source pixels as the destination sees them, read before anything is written, so a copy
// within one surface (scrolling) reads the old pixels.
struct Source {
  std::vector<uint32_t> pixels;  // per destination pixel of the clipped area
  std::vector<bool> present;
};

uint32_t Translate(uint32_t pixel, bool fromMono, bool toMono, const Dc& dst, const Dc& src) {
  if (fromMono && !toMono) return ToPixel(pixel ? dst.bkColour : dst.textColour);
  if (!fromMono && toMono) return pixel == ToPixel(src.bkColour) ? 0xFFFFFF : 0;
  return pixel;
}

bool Blit(HDC dstHandle, int x, int y, int w, int h, HDC srcHandle, int sx, int sy, int sw,
          int sh, DWORD rop) {
  auto dst = FindDc(dstHandle);
  if (!dst || !Known(rop)) return false;
  std::shared_ptr<Dc> src;
  if (UsesSource(rop)) {
    src = FindDc(srcHandle);
    if (!src) return false;
  }
  if (w == 0 || h == 0 || (src && (sw == 0 || sh == 0))) return true;
  const Axis ax = MakeAxis(x, w, sx, sw), ay = MakeAxis(y, h, sy, sh);
  Canvas to = CanvasOf(*dst);
  if (to.empty()) return true;
  const RECT area = Intersect(
      {LONG(std::clamp(ax.dst + to.origin.x, -(1LL << 30), 1LL << 30)),
       LONG(std::clamp(ay.dst + to.origin.y, -(1LL << 30), 1LL << 30)),
       LONG(std::clamp(ax.dst + ax.dstLen + to.origin.x, -(1LL << 30), 1LL << 30)),
       LONG(std::clamp(ay.dst + ay.dstLen + to.origin.y, -(1LL << 30), 1LL << 30))},
      to.clip);
  if (area.left >= area.right || area.top >= area.bottom) return true;
  const int aw = area.right - area.left, ah = area.bottom - area.top;

  Source source;
  if (src) {
    Canvas from = CanvasOf(*src);
    source.pixels.assign(size_t(aw) * ah, 0);
    source.present.assign(size_t(aw) * ah, false);
    const RECT readable = from.empty() ? RECT{0, 0, 0, 0} : from.clip;
    for (int j = 0; j < ah; ++j) {
      const long long syp = ay.sourceAt(area.top + j - to.origin.y - ay.dst) + from.origin.y;
      if (syp < readable.top || syp >= readable.bottom) continue;
      for (int i = 0; i < aw; ++i) {
        const long long sxp = ax.sourceAt(area.left + i - to.origin.x - ax.dst) + from.origin.x;
        if (sxp < readable.left || sxp >= readable.right) continue;
        const uint32_t p = from.surface->pixels[size_t(syp) * from.surface->width + sxp];
        source.pixels[size_t(j) * aw + i] = Translate(p, from.monochrome, to.monochrome, *dst, *src);
        source.present[size_t(j) * aw + i] = true;
      }
    }
  }
  const Brush* brush = dst->brush.object.get();
  if (rop == PATCOPY && (!brush || brush->hollow)) return true;
  const uint32_t pattern = brush ? ToPixel(brush->colour) : 0;
  for (int j = 0; j < ah; ++j) {
    uint32_t* row = to.surface->pixels.data() + size_t(area.top + j) * to.surface->width;
    for (int i = 0; i < aw; ++i) {
      if (src && !source.present[size_t(j) * aw + i]) continue;
      uint32_t& d = row[area.left + i];
      const uint32_t s = src ? source.pixels[size_t(j) * aw + i] : 0;
      d = to.store(Combine(rop, s, d, pattern));
    }
  }
  return true;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
            DWORD rop) try {
  return Blit(dst, x, y, width, height, src, srcX, srcY, width, height, rop) ? TRUE : FALSE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) try {
  return Blit(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop) ? TRUE
                                                                                   : FALSE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
