// PNG files of 32-bit 0x00RRGGBB pixel buffers (screenshots, test images).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace display {

// Writes width x height pixels (stride in pixels) as an RGB PNG; false with a line on
// stderr when the file cannot be written.
bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, int stride);

// Reads an RGB or RGBA PNG into 0x00RRGGBB pixels; false when it cannot.
bool ReadPng(const std::string& path, std::vector<uint32_t>& pixels, int& width, int& height);

}  // namespace display
