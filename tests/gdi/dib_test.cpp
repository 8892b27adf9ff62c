// Decoding bitmap resources: depths, colour tables, bottom-up rows, row padding, and
// headers or sizes that cannot be right.
#include <vector>

#include "gdi/dib.h"
#include "tests/gdi/canvas.h"

namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

// A DIB as a resource holds it: header, colour table (0x00RRGGBB entries), rows as given.
std::vector<uint8_t> Dib(int width, int height, int bits, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& rows, uint32_t colours = 0) {
  std::vector<uint8_t> b;
  Put32(b, 40);
  Put32(b, uint32_t(width));
  Put32(b, uint32_t(height));
  Put16(b, 1);
  Put16(b, uint16_t(bits));
  Put32(b, 0);  // uncompressed
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, colours);
  Put32(b, 0);
  for (uint32_t c : palette) {
    b.push_back(uint8_t(c));
    b.push_back(uint8_t(c >> 8));
    b.push_back(uint8_t(c >> 16));
    b.push_back(0);
  }
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

uint32_t Pixel(const gdi::Bitmap& bitmap, int x, int y) {
  return bitmap.surface.pixels[size_t(y) * bitmap.surface.width + x];
}

TEST(Dib, OneBitBlackAndWhiteIsMonochromeWithRowsBottomUp) {
  // 3x2; file rows bottom first, each padded to 4 bytes: bottom 1 0 1, top 0 1 1.
  const auto bytes = Dib(3, 2, 1, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x60, 0, 0, 0});
  auto bitmap = gdi::DecodeDib(bytes.data(), bytes.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->bitsPerPixel, 1);
  const uint32_t top[] = {0, 0xFFFFFF, 0xFFFFFF}, bottom[] = {0xFFFFFF, 0, 0xFFFFFF};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(Pixel(*bitmap, x, 0), top[x]);
    EXPECT_EQ(Pixel(*bitmap, x, 1), bottom[x]);
  }
}

TEST(Dib, OneBitWithOtherColoursIsAColourBitmap) {
  const auto bytes = Dib(2, 1, 1, {0x0000FF, 0xFF0000}, {0x40, 0, 0, 0});
  auto bitmap = gdi::DecodeDib(bytes.data(), bytes.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->bitsPerPixel, 32);
  EXPECT_EQ(Pixel(*bitmap, 0, 0), 0x0000FFu);
  EXPECT_EQ(Pixel(*bitmap, 1, 0), 0xFF0000u);
}

TEST(Dib, FourEightAndTwentyFourBits) {
  // 4-bit, 3x1, a short colour table of 3 entries; index 5 lies beyond it.
  const auto four = Dib(3, 1, 4, {0x112233, 0x445566, 0x778899}, {0x21, 0x50, 0, 0}, 3);
  auto bitmap = gdi::DecodeDib(four.data(), four.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Pixel(*bitmap, 0, 0), 0x778899u);
  EXPECT_EQ(Pixel(*bitmap, 1, 0), 0x445566u);
  EXPECT_EQ(Pixel(*bitmap, 2, 0), 0u);

  std::vector<uint32_t> grey(256);
  for (uint32_t i = 0; i < 256; ++i) grey[i] = i * 0x010101;
  const auto eight = Dib(2, 1, 8, grey, {7, 200, 0, 0});
  bitmap = gdi::DecodeDib(eight.data(), eight.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Pixel(*bitmap, 1, 0), 200u * 0x010101);

  // 24-bit, top-down (negative height), pixels stored blue, green, red.
  const auto rgb = Dib(1, -2, 24, {}, {0x01, 0x02, 0x03, 0, 0x0A, 0x0B, 0x0C, 0});
  bitmap = gdi::DecodeDib(rgb.data(), rgb.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Pixel(*bitmap, 0, 0), 0x030201u);
  EXPECT_EQ(Pixel(*bitmap, 0, 1), 0x0C0B0Au);

  // A 24-bit bitmap with a colour table: the pixels come after it.
  const auto hinted = Dib(1, 1, 24, {0x123456}, {0x01, 0x02, 0x03, 0}, 1);
  bitmap = gdi::DecodeDib(hinted.data(), hinted.size());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Pixel(*bitmap, 0, 0), 0x030201u);
  const auto hintCutShort = Dib(1, 1, 24, {0x123456}, {0x01, 0x02, 0x03, 0}, 1000);
  EXPECT_FALSE(gdi::DecodeDib(hintCutShort.data(), hintCutShort.size()));
}

TEST(Dib, RefusesWhatCannotBeRight) {
  const std::vector<uint32_t> bw = {0, 0xFFFFFF};
  const std::vector<uint8_t> row = {0x80, 0, 0, 0};
  auto good = Dib(1, 1, 1, bw, row);
  auto patched = [&](size_t at, uint32_t value, int bytes) {
    auto b = good;
    for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(value >> (8 * i));
    return b;
  };
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"header size 12", patched(0, 12, 4)},
      {"header size 41", patched(0, 41, 4)},
      {"header larger than the data", patched(0, 124, 4)},
      {"width 0", patched(4, 0, 4)},
      {"negative width", patched(4, 0xFFFFFFFF, 4)},
      {"height 0", patched(8, 0, 4)},
      {"two planes", patched(12, 2, 2)},
      {"16 bits", patched(14, 16, 2)},
      {"compressed", patched(16, 1, 4)},
      {"more colours than the depth has", patched(32, 3, 4)},
      {"huge", patched(4, 0x7FFFFFFF, 4)},
      {"rows cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"colour table cut short", std::vector<uint8_t>(good.begin(), good.begin() + 44)},
      {"header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 39)},
  };
  ASSERT_TRUE(gdi::DecodeDib(good.data(), good.size()));
  for (const auto& c : cases) {
    EXPECT_FALSE(gdi::DecodeDib(c.bytes.data(), c.bytes.size())) << c.what;
  }
  EXPECT_FALSE(gdi::DecodeDib(nullptr, 100));
}

}  // namespace
