#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "display/zoom.h"

namespace {

constexpr uint32_t Untouched = 0xDEADBEEF;

// A 3 x 2 picture zoomed into a target of the given size whose rows carry two pixels of
// padding; the target's pixels as rows (padding included).
std::vector<std::vector<uint32_t>> Zoomed(int zoom, int width, int height) {
  const uint32_t picture[] = {1, 2, 3, 4, 5, 6};
  const int pitchPixels = width + 2;
  std::vector<uint32_t> target(size_t(pitchPixels) * height, Untouched);
  display::ZoomPixels(picture, 3, 2, zoom, reinterpret_cast<uint8_t*>(target.data()), width,
                      height, pitchPixels * 4);
  std::vector<std::vector<uint32_t>> rows;
  for (int y = 0; y < height; ++y)
    rows.emplace_back(target.begin() + y * pitchPixels, target.begin() + (y + 1) * pitchPixels);
  return rows;
}

constexpr uint32_t U = Untouched;

// A row of a 12-pixel target at zoom 5: two squares and two pixels of a third.
std::vector<uint32_t> Row5(uint32_t a, uint32_t b, uint32_t c) {
  return {a, a, a, a, a, b, b, b, b, b, c, c, U, U};
}

TEST(ZoomPixels, EachPixelBecomesASquareAndTheRestIsLeftAlone) {
  const struct {
    const char* name;
    int zoom, width, height;
    std::vector<std::vector<uint32_t>> rows;
  } cases[] = {
      {"zoom 1", 1, 3, 2, {{1, 2, 3, U, U}, {4, 5, 6, U, U}}},
      {"zoom 2",
       2, 6, 4,
       {{1, 1, 2, 2, 3, 3, U, U},
        {1, 1, 2, 2, 3, 3, U, U},
        {4, 4, 5, 5, 6, 6, U, U},
        {4, 4, 5, 5, 6, 6, U, U}}},
      {"zoom 3, a larger target",
       3, 10, 7,
       {{1, 1, 1, 2, 2, 2, 3, 3, 3, U, U, U},
        {1, 1, 1, 2, 2, 2, 3, 3, 3, U, U, U},
        {1, 1, 1, 2, 2, 2, 3, 3, 3, U, U, U},
        {4, 4, 4, 5, 5, 5, 6, 6, 6, U, U, U},
        {4, 4, 4, 5, 5, 5, 6, 6, 6, U, U, U},
        {4, 4, 4, 5, 5, 5, 6, 6, 6, U, U, U},
        {U, U, U, U, U, U, U, U, U, U, U, U}}},
      {"zoom 2, a smaller target cuts it off",
       2, 5, 3,
       {{1, 1, 2, 2, 3, U, U}, {1, 1, 2, 2, 3, U, U}, {4, 4, 5, 5, 6, U, U}}},
      {"zoom 5, cut off across a square", 5, 12, 6,
       {Row5(1, 2, 3), Row5(1, 2, 3), Row5(1, 2, 3), Row5(1, 2, 3), Row5(1, 2, 3),
        Row5(4, 5, 6)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Zoomed(c.zoom, c.width, c.height), c.rows);
  }
}

}  // namespace
