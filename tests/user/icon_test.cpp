// Icons from the module's resources: the group is found by id, its pictures by size.
#include <gtest/gtest.h>

#include <vector>

#include "platform.h"
#include "user/icon.h"

namespace {

TEST(Icon, LoadsTheGroupAndItsPictureNearestTheSize) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(module, MAKEINTRESOURCEW(101));
  ASSERT_NE(icon, nullptr);
  for (int size : {32, 16, 30, 12}) {
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> alpha;
    int width = 0, height = 0;
    ASSERT_TRUE(user::IconImage(icon, size, pixels, alpha, width, height)) << size;
    int expected = size > 24 ? 32 : 16;
    EXPECT_EQ(width, expected);
    EXPECT_EQ(height, expected);
    ASSERT_EQ(pixels.size(), size_t(width) * height);
    ASSERT_EQ(alpha.size(), pixels.size());
    // A picture of more than one colour.
    bool varied = false;
    for (uint32_t p : pixels) varied = varied || p != pixels[0];
    EXPECT_TRUE(varied) << size;
  }
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> alpha;
  int width = 0, height = 0;
  EXPECT_FALSE(user::IconImage(icon, 32, pixels, alpha, width, height));
}

TEST(Icon, MissingGroupGivesNull) {
  EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(102)), nullptr);
}

}  // namespace
