// Bitmaps made in memory.
#include <cstring>

#include "gdi/dc.h"
#include "kernel/out_of_memory.h"

using namespace gdi;

namespace {

constexpr long long kMaxPixels = 1LL << 24;

bool SizeAllowed(int width, int height) {
  return width > 0 && height > 0 && (long long)width * height <= kMaxPixels;
}

HBITMAP NewBitmap(int width, int height, int bitsPerPixel) {
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->surface = Surface(width, height);
  bitmap->bitsPerPixel = bitsPerPixel;
  return static_cast<HBITMAP>(Register(bitmap));
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) try {
  auto dc = FindDc(handle);
  if (handle && !dc) return nullptr;
  if (!SizeAllowed(width, height)) return nullptr;
  const bool mono = dc && !dc->target && dc->bitmap.object && dc->bitmap.object->bitsPerPixel == 1;
  return NewBitmap(width, height, mono ? 1 : 32);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) try {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) return nullptr;
  if (!SizeAllowed(width, height)) return nullptr;
  HBITMAP handle = NewBitmap(width, height, int(bitsPerPixel));
  if (!bits) return handle;
  Surface& surface = FindAs<Bitmap>(handle, Kind::Bitmap)->surface;
  const auto* bytes = static_cast<const uint8_t*>(bits);
  if (bitsPerPixel == 32) {
    for (size_t i = 0; i < surface.pixels.size(); ++i) {
      uint32_t word;
      std::memcpy(&word, bytes + i * 4, 4);
      surface.pixels[i] = word & 0xFFFFFF;
    }
    return handle;
  }
  const size_t stride = (size_t(width) + 15) / 16 * 2;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool white = (bytes[stride * y + x / 8] >> (7 - x % 8)) & 1;
      surface.pixels[size_t(y) * width + x] = white ? 0xFFFFFF : 0;
    }
  }
  return handle;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}
