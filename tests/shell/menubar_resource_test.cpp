#include "shell/menubar_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Words(std::initializer_list<uint16_t> words) {
  std::vector<uint8_t> bytes;
  for (uint16_t w : words) {
    bytes.push_back(uint8_t(w & 0xFF));
    bytes.push_back(uint8_t(w >> 8));
  }
  return bytes;
}

TEST(MenuBarResource, ReadsTheNineWordForm) {
  auto bytes = Words({102, 1, 0xFFFE, 40001, 0x0004, 0x0018, 302, 0, 0});
  auto record = shell::ParseMenuBarResource(bytes.data(), bytes.size());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->menuId, 102);
  ASSERT_EQ(record->buttons.size(), 1u);
  const auto& b = record->buttons[0];
  EXPECT_EQ(b.image, -2);
  EXPECT_EQ(b.command, 40001);
  EXPECT_EQ(b.state, 0x04);
  EXPECT_EQ(b.style, 0x18);
  EXPECT_EQ(b.captionId, 302);
  EXPECT_EQ(b.popupIndex, 0);
}

TEST(MenuBarResource, ReadsSeveralButtonsInOrder) {
  auto bytes = Words({7, 2, 3, 100, 4, 0, 0, 0, 0, 0xFFFE, 200, 4, 8, 501, 0, 1});
  auto record = shell::ParseMenuBarResource(bytes.data(), bytes.size());
  ASSERT_TRUE(record);
  ASSERT_EQ(record->buttons.size(), 2u);
  EXPECT_EQ(record->buttons[0].image, 3);
  EXPECT_EQ(record->buttons[0].command, 100);
  EXPECT_EQ(record->buttons[1].command, 200);
  EXPECT_EQ(record->buttons[1].captionId, 501);
  EXPECT_EQ(record->buttons[1].popupIndex, 1);
}

TEST(MenuBarResource, RefusesDataShorterThanItsButtonCount) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"one byte", {102}},
      {"header only, one button announced", Words({102, 1})},
      {"last word missing", Words({102, 1, 0xFFFE, 40001, 4, 0x18, 302, 0})},
      {"odd trailing byte short of a word", [] {
         auto b = Words({102, 1, 0xFFFE, 40001, 4, 0x18, 302, 0});
         b.push_back(0);
         return b;
       }()},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(shell::ParseMenuBarResource(c.bytes.data(), c.bytes.size())) << c.what;
}

TEST(MenuBarResource, AcceptsABarWithoutButtons) {
  auto bytes = Words({102, 0});
  auto record = shell::ParseMenuBarResource(bytes.data(), bytes.size());
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->buttons.empty());
}

}  // namespace
