// Device-independent bitmaps as resources hold them: a BITMAPINFOHEADER (or one of its
// longer successors), the colour table, then the rows, bottom-up unless the height is
// negative, each padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "gdi/objects.h"

namespace gdi {

// The bitmap the bytes describe: 1, 4, 8, 24 or 32 bits per pixel, uncompressed. A 1-bit
// bitmap whose colours are black then white becomes monochrome. Null for a header or
// size the bytes cannot hold.
std::shared_ptr<Bitmap> DecodeDib(const uint8_t* bytes, size_t size);

}  // namespace gdi
