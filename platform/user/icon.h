// Icons from the module's resources (an icon group and its images).
#pragma once

#include <cstdint>
#include <vector>

#include "platform.h"

namespace user {

// The picture of an icon nearest to size x size pixels: 0x00RRGGBB pixels and an alpha
// of 0 (transparent) or 255 per pixel, rows top first. False when it cannot be had.
bool IconImage(HICON icon, int size, std::vector<uint32_t>& pixels, std::vector<uint8_t>& alpha,
               int& width, int& height);

// Shows the icon (its 32-pixel picture) as the display's window icon; nothing when the
// icon has no picture.
void ShowIconOnDisplay(HICON icon);

}  // namespace user
