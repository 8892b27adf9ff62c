#include "display/zoom.h"

#include <algorithm>
#include <cstring>

namespace display {
namespace {

// One row of source pixels, each repeated zoom times, cut at width target pixels. The
// zooms of a window come as constants, so the compiler unrolls and vectorises them.
template <int Zoom>
void RepeatPixels(const uint32_t* source, uint32_t* target, int width) {
  const int whole = width / Zoom;
  for (int from = 0; from < whole; ++from)
    for (int repeat = 0; repeat < Zoom; ++repeat) target[from * Zoom + repeat] = source[from];
  for (int x = whole * Zoom; x < width; ++x) target[x] = source[whole];
}

void RepeatPixels(const uint32_t* source, uint32_t* target, int width, int zoom) {
  switch (zoom) {
    case 2: return RepeatPixels<2>(source, target, width);
    case 3: return RepeatPixels<3>(source, target, width);
    case 4: return RepeatPixels<4>(source, target, width);
    default:
      for (int x = 0; x < width; ++x) target[x] = source[x / zoom];
  }
}

}  // namespace

void ZoomPixels(const uint32_t* pixels, int width, int height, int zoom, uint8_t* target,
                int targetWidth, int targetHeight, int targetPitch) {
  const int rowWidth = std::min(width * zoom, targetWidth);
  if (rowWidth <= 0) return;
  const size_t rowBytes = size_t(rowWidth) * sizeof(uint32_t);
  for (int y = 0; y < height && y * zoom < targetHeight; ++y) {
    const uint32_t* source = pixels + size_t(y) * width;
    auto* first = reinterpret_cast<uint32_t*>(target + size_t(y) * zoom * targetPitch);
    if (zoom == 1) {
      std::memcpy(first, source, rowBytes);
      continue;
    }
    // The first row of the band of squares pixel by pixel, the others copies of it.
    RepeatPixels(source, first, rowWidth, zoom);
    for (int copy = 1; copy < zoom && y * zoom + copy < targetHeight; ++copy)
      std::memcpy(target + (size_t(y) * zoom + copy) * targetPitch, first, rowBytes);
  }
}

}  // namespace display
