// Decoding uncompressed DIBs, never reading past the bytes given.
#include "gdi/dib.h"

#include <vector>

namespace gdi {
namespace {

constexpr long long kMaxSide = 16384;
constexpr long long kMaxPixels = 1LL << 24;

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct Header {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t colours = 0;
};

bool ReadHeader(const uint8_t* bytes, size_t size, Header& h) {
  if (size < 40) return false;
  h.size = U32(bytes);
  if (h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124) return false;
  if (h.size > size) return false;
  h.width = int32_t(U32(bytes + 4));
  h.height = int32_t(U32(bytes + 8));
  h.planes = U16(bytes + 12);
  h.bitCount = U16(bytes + 14);
  h.compression = U32(bytes + 16);
  h.colours = U32(bytes + 32);
  const bool depthKnown = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 ||
                          h.bitCount == 24 || h.bitCount == 32;
  const long long w = h.width, hh = h.height < 0 ? -(long long)h.height : h.height;
  return h.planes == 1 && depthKnown && h.compression == 0 && w > 0 && hh > 0 &&
         w <= kMaxSide && hh <= kMaxSide && w * hh <= kMaxPixels;
}

}  // namespace

std::shared_ptr<Bitmap> DecodeDib(const uint8_t* bytes, size_t size) {
  Header h;
  if (!bytes || !ReadHeader(bytes, size, h)) return nullptr;
  const int width = h.width;
  const int height = h.height < 0 ? -h.height : h.height;
  const bool topDown = h.height < 0;

  std::vector<uint32_t> palette;
  if (h.bitCount <= 8) {
    const uint32_t full = 1u << h.bitCount;
    const uint32_t count = h.colours == 0 ? full : h.colours;
    if (count > full) return nullptr;
    if (size - h.size < size_t(count) * 4) return nullptr;
    const uint8_t* entry = bytes + h.size;
    for (uint32_t i = 0; i < count; ++i, entry += 4)
      palette.push_back(uint32_t(entry[2]) << 16 | entry[1] << 8 | entry[0]);
  }
  // Deeper bitmaps may carry a colour table too (a hint for palette displays): skip it.
  const size_t tableEntries = h.bitCount <= 8 ? palette.size() : h.colours;
  if (tableEntries > (size - h.size) / 4) return nullptr;
  const size_t bitsStart = h.size + tableEntries * 4;
  const size_t stride = (size_t(width) * h.bitCount + 31) / 32 * 4;
  if (size - bitsStart < stride * height) return nullptr;

  auto bitmap = std::make_shared<Bitmap>();
  bitmap->surface = Surface(width, height);
  bitmap->bitsPerPixel =
      h.bitCount == 1 && palette.size() == 2 && palette[0] == 0 && palette[1] == 0xFFFFFF ? 1
                                                                                          : 32;
  for (int row = 0; row < height; ++row) {
    const uint8_t* src = bytes + bitsStart + stride * row;
    const int y = topDown ? row : height - 1 - row;
    uint32_t* dst = bitmap->surface.pixels.data() + size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      if (h.bitCount == 24 || h.bitCount == 32) {
        const uint8_t* p = src + size_t(x) * (h.bitCount / 8);
        dst[x] = uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
        continue;
      }
      const size_t bit = size_t(x) * h.bitCount;
      const unsigned index =
          (src[bit / 8] >> (8 - h.bitCount - bit % 8)) & ((1u << h.bitCount) - 1);
      // An index beyond a short colour table draws black.
      dst[x] = index < palette.size() ? palette[index] : 0;
    }
  }
  return bitmap;
}

}  // namespace gdi
