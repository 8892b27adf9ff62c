#include "user/icon.h"

#include <cstring>
#include <map>
#include <memory>

#include "display/display.h"
#include "gdi/dib.h"
#include "kernel/resources.h"
#include "kernel/out_of_memory.h"

namespace {

// An icon is its group resource: the module and the group's id or name.
struct Icon {
  HMODULE module;
  LPCWSTR name;
};

std::map<HICON, std::unique_ptr<Icon>>& Icons() {
  static std::map<HICON, std::unique_ptr<Icon>> icons;
  return icons;
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }

// The id of the group's image whose width is nearest to size; 0 when there is none.
WORD NearestImage(std::span<const uint8_t> group, int size) {
  constexpr size_t Header = 6, Entry = 14;
  if (group.size() < Header) return 0;
  size_t count = Word(group.data() + 4);
  WORD best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < count && Header + (i + 1) * Entry <= group.size(); ++i) {
    const uint8_t* entry = group.data() + Header + i * Entry;
    int width = entry[0] ? entry[0] : 256;
    int distance = width > size ? width - size : size - width;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = Word(entry + 12);
    }
  }
  return best;
}

}  // namespace

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) try {
  if (kernel::FindResourceBytes(instance, RT_GROUP_ICON, name).empty()) return nullptr;
  auto icon = std::make_unique<Icon>(Icon{instance, name});
  HICON handle = reinterpret_cast<HICON>(icon.get());
  Icons()[handle] = std::move(icon);
  return handle;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL DestroyIcon(HICON icon) { return Icons().erase(icon) ? TRUE : FALSE; }

namespace user {

bool IconImage(HICON handle, int size, std::vector<uint32_t>& pixels, std::vector<uint8_t>& alpha,
               int& width, int& height) {
  auto found = Icons().find(handle);
  if (found == Icons().end()) return false;
  const Icon& icon = *found->second;
  WORD id = NearestImage(kernel::FindResourceBytes(icon.module, RT_GROUP_ICON, icon.name), size);
  std::span<const uint8_t> image = kernel::FindResourceBytes(icon.module, 3, id);
  if (id == 0 || image.size() < 40) return false;
  // The image is a DIB twice as tall as the icon: the colours, then a 1-bit mask.
  std::vector<uint8_t> header(image.begin(), image.end());
  int32_t fullHeight = static_cast<int32_t>(Dword(header.data() + 8));
  int32_t half = fullHeight / 2;
  std::memcpy(header.data() + 8, &half, sizeof half);
  auto colours = gdi::DecodeDib(header.data(), header.size());
  if (!colours) return false;
  width = colours->surface.width;
  height = colours->surface.height;
  pixels = colours->surface.pixels;
  alpha.assign(pixels.size(), 255);
  uint32_t headerSize = Dword(image.data());
  uint32_t bits = Word(image.data() + 14);
  uint32_t paletteColours = Dword(image.data() + 32);
  if (bits <= 8 && paletteColours == 0) paletteColours = 1u << bits;
  size_t colourStride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t maskOffset = headerSize + paletteColours * 4 + colourStride * height;
  size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  if (maskOffset + maskStride * height > image.size()) return true;  // no mask: opaque
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = image.data() + maskOffset + maskStride * (height - 1 - y);
    for (int x = 0; x < width; ++x)
      if (row[x / 8] & (0x80 >> (x % 8))) alpha[static_cast<size_t>(y) * width + x] = 0;
  }
  return true;
}

void ShowIconOnDisplay(HICON icon) {
  display::Display* d = display::Current();
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> alpha;
  int width = 0, height = 0;
  if (d && IconImage(icon, 32, pixels, alpha, width, height))
    d->setIcon(pixels.data(), alpha.data(), width, height);
}

}  // namespace user
