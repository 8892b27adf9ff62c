// Integer zoom of a picture into another one's pixels: each pixel becomes a zoom x zoom
// square. The window draws the screen so; a general scaler costs several times more.
#pragma once

#include <cstdint>

namespace display {

// The width x height pixels (rows top first, packed) drawn zoom times larger from the
// top left of a target of targetWidth x targetHeight pixels of the same format, rows
// targetPitch bytes apart. What does not fit is cut off; the rest of the target is
// left as it is.
void ZoomPixels(const uint32_t* pixels, int width, int height, int zoom, uint8_t* target,
                int targetWidth, int targetHeight, int targetPitch);

}  // namespace display
