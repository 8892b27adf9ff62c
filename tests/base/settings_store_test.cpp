// The settings store's read rules and its writers, on a registry file of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/settings_store.h"
#include "test_support/registry_values.h"
#include "test_support/settings_folder.h"

namespace {

using namespace test_support;

using SettingsTest = SettingsFolderTest;

TEST_F(SettingsTest, ReadNumberTakesDwordsAndDecimalTextOfAnyType) {
  struct Case {
    const char16_t* text;
    DWORD expected;
  } cases[] = {
      {u"12", 12},
      {u"", 0},
      {u"4294967295", 4294967295u},
      {u"4294967296", 0},          // wraps in 32 bits
      {u"1A", 1 * 10 + (0x41 - 0x30)},  // a non-digit adds its distance from '0'
      {u"-1", static_cast<DWORD>((0x2D - 0x30) * 10 + 1)},
  };
  for (const Case& c : cases) {
    StoreText(ProductKey, u"FontSize", c.text);
    EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), c.expected)
        << "text of " << std::char_traits<char16_t>::length(c.text) << " units";
  }
  StoreNumber(ProductKey, u"FontSize", 0xD1140040);
  EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), 0xD1140040u);
  // Binary data counts as UTF-16 units too, up to the first zero unit.
  StoreValue(ProductKey, u"FontSize", REG_BINARY, {'3', 0, '4', 0, 0, 0, '9', 0});
  EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), 34u);
}

TEST_F(SettingsTest, ReadNumberFallsBackWhenKeyOrValueIsMissing) {
  EXPECT_EQ(ReadNumber(PublisherKey, u"FullScreen", 5), 5u);
  StoreNumber(ProductKey, u"Flags", 1);
  EXPECT_EQ(ReadNumber(ProductKey, u"Missing", 9), 9u);
  // Key and value names are one whatever their letter case.
  EXPECT_EQ(ReadNumber(u"SOFTWARE\\norvane\\VINTREL - 5765 (HEB)", u"flags", 9), 1u);
}

TEST_F(SettingsTest, TextAndBytesRoundTripThroughTheWriters) {
  EXPECT_EQ(WriteText(u"FontName", u"David CLM"), 1);
  WCHAR* face = ReadText(u"FontName");
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(std::u16string(face), u"David CLM");
  free(face);

  EXPECT_EQ(WriteByteString(u"SearchString", "abc"), 1);
  std::optional<StoredValue> pattern = GetValue(ProductKey, u"SearchString");
  ASSERT_TRUE(pattern);
  EXPECT_EQ(pattern->type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(pattern->data, (std::vector<BYTE>{'a', 'b', 'c', 0}));

  const BYTE marks[] = {12, 0, 3, 0, 0, 0};
  EXPECT_EQ(WriteBytes(u"Bookmarks", marks, sizeof marks), 1);
  DWORD size = 0;
  BYTE* read = ReadBytesSized(u"Bookmarks", nullptr, &size);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(size, sizeof marks);
  EXPECT_EQ(std::memcmp(read, marks, sizeof marks), 0);
  free(read);
}

TEST_F(SettingsTest, ReadTextEndsInAZeroUnitInsideItsBufferWhateverTheSize) {
  const struct {
    std::vector<BYTE> stored;
    std::u16string text;
  } cases[] = {
      {{}, u""},
      {{'a'}, u"a"},
      {{'a', 0, 'b'}, u"ab"},
      {{'a', 0, 'b', 0}, u"ab"},  // no terminator stored
      {{'a', 0, 0, 0, 'c', 0}, u"a"},
  };
  for (const auto& c : cases) {
    StoreValue(ProductKey, u"FontName", REG_SZ, c.stored);
    WCHAR* text = ReadText(u"FontName");
    ASSERT_NE(text, nullptr);
    // The units of the data, a half unit made whole, then the zero unit.
    size_t units = (c.stored.size() + 1) / 2;
    EXPECT_EQ(text[units], 0) << c.stored.size();
    EXPECT_EQ(std::u16string(text), c.text) << c.stored.size();
    free(text);
  }
}

TEST_F(SettingsTest, ReadBytesSizedGivesTheFallbackAndLeavesTheSizeAlone) {
  BYTE fallback[1];
  DWORD size = 1234;
  EXPECT_EQ(ReadBytesSized(u"Bookmarks", fallback, &size), fallback);
  EXPECT_EQ(size, 1234u);
  // An empty value has nothing to read.
  StoreValue(ProductKey, u"Bookmarks", REG_BINARY, {});
  EXPECT_EQ(ReadBytesSized(u"Bookmarks", fallback, &size), fallback);
  EXPECT_EQ(size, 1234u);
}

}  // namespace
