// Any bytes as a bitmap resource: the decoder reads only inside them and what it gives
// has as many pixels as its size says.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gdi/dib.h"
#include "platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  auto bitmap = gdi::DecodeDib(bytes.data(), bytes.size());
  if (!bitmap) return 0;
  const auto& surface = bitmap->surface;
  if (surface.width <= 0 || surface.height <= 0 ||
      surface.pixels.size() != size_t(surface.width) * size_t(surface.height))
    std::abort();
  return 0;
}
