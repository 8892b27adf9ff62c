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

// The zoom a window starts with when none is asked for: the largest whole number from 1
// to kLargestFittingZoom at which a width x height screen takes at most four fifths of
// the desktop's usable width and height, so it is readable on a large display and still
// fits a small one; 1 when even that does not fit or the desktop's size is unknown (0).
inline constexpr int kLargestFittingZoom = 4;
int FittingZoom(int width, int height, int usableWidth, int usableHeight);

}  // namespace display
