// PalmDoc compression (the LZ77 variant the reader decodes): greedy longest matches
// of 3 to 10 bytes within 2,047 bytes back, a space and a following byte 0x40..0x7F as
// one byte 0xC0..0xFF, literal runs 0x01..0x08 for the bytes 1 to 8 and 128 to 255,
// and every other byte as itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace book {

constexpr size_t PalmDocWindow = 2047;
constexpr size_t PalmDocMinMatch = 3;
constexpr size_t PalmDocMaxMatch = 10;

std::vector<uint8_t> PalmDocCompress(const std::vector<uint8_t>& input);

}  // namespace book
