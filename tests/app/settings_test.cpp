// The settings store's read rules and the start-up's reading of the settings, on a
// registry file of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "app/startup.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vintrel-settings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    std::memset(&App, 0, sizeof App);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static void Set(LPCWSTR keyPath, LPCWSTR name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void SetText(LPCWSTR keyPath, LPCWSTR name, const std::u16string& text) {
    Set(keyPath, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
  }
  static void SetNumber(LPCWSTR name, DWORD value) {
    Set(ProductKey, name, REG_DWORD, &value, sizeof value);
  }
  static bool Query(LPCWSTR name, DWORD& type, std::vector<BYTE>& data) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    DWORD size = 0;
    bool found = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
      data.resize(size);
      found = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return found;
  }

  std::filesystem::path folder_;
};

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
    SetText(ProductKey, u"FontSize", c.text);
    EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), c.expected)
        << "text of " << std::char_traits<char16_t>::length(c.text) << " units";
  }
  SetNumber(u"FontSize", 0xD1140040);
  EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), 0xD1140040u);
  // Binary data counts as UTF-16 units too, up to the first zero unit.
  const BYTE digits[] = {'3', 0, '4', 0, 0, 0, '9', 0};
  Set(ProductKey, u"FontSize", REG_BINARY, digits, sizeof digits);
  EXPECT_EQ(ReadNumber(ProductKey, u"FontSize", 77), 34u);
}

TEST_F(SettingsTest, ReadNumberFallsBackWhenKeyOrValueIsMissing) {
  EXPECT_EQ(ReadNumber(PublisherKey, u"FullScreen", 5), 5u);
  SetNumber(u"Flags", 1);
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
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(Query(u"SearchString", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, (std::vector<BYTE>{'a', 'b', 'c', 0}));

  const BYTE marks[] = {12, 0, 3, 0, 0, 0};
  EXPECT_EQ(WriteBytes(u"Bookmarks", marks, sizeof marks), 1);
  DWORD size = 0;
  BYTE* read = ReadBytesSized(u"Bookmarks", nullptr, &size);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(size, sizeof marks);
  EXPECT_EQ(std::memcmp(read, marks, sizeof marks), 0);
  free(read);
}

TEST_F(SettingsTest, ReadBytesSizedGivesTheFallbackAndLeavesTheSizeAlone) {
  BYTE fallback[1];
  DWORD size = 1234;
  EXPECT_EQ(ReadBytesSized(u"Bookmarks", fallback, &size), fallback);
  EXPECT_EQ(size, 1234u);
  // An empty value has nothing to read.
  Set(ProductKey, u"Bookmarks", REG_BINARY, nullptr, 0);
  EXPECT_EQ(ReadBytesSized(u"Bookmarks", fallback, &size), fallback);
  EXPECT_EQ(size, 1234u);
}

TEST_F(SettingsTest, LoadSettingsUsesDefaultsWithoutStoredValues) {
  LoadSettings();
  EXPECT_EQ(App.Flags, DefaultFlags);
  EXPECT_EQ(App.Font.CodeBase, 1488);
  EXPECT_EQ(App.Font.Size, 0);
  EXPECT_EQ(App.Font.Face[0], 0);
  EXPECT_EQ(App.SearchString[0], 0);
  EXPECT_EQ(App.Lesson, 0);
  EXPECT_EQ(App.BookmarkList, nullptr);
  // The program's path is the one value written at start-up.
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(Query(u"Program Path", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsTest, LoadSettingsCutsAndNarrowsOddValues) {
  SetText(ProductKey, u"FontName", std::u16string(5 * 1024 * 1024, u'F'));  // 10 MB
  std::string pattern(5000, 'a');
  Set(ProductKey, u"SearchString", REG_BINARY, pattern.data(), static_cast<DWORD>(pattern.size()));
  SetText(ProductKey, u"Flags", u"7");
  SetNumber(u"Lesson", 65537);
  SetNumber(u"LastPosition", 0x12345);
  LoadSettings();
  EXPECT_EQ(std::u16string(App.Font.Face), std::u16string(31, u'F'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(App.SearchString)), std::string(33, 'a'));
  EXPECT_EQ(App.Flags, 7u);
  EXPECT_EQ(App.Lesson, 1);
  EXPECT_EQ(App.LastPosition, 0x2345);
}

TEST_F(SettingsTest, StoredSearchStringStopsAtItsZeroAndItsLength) {
  const BYTE pattern[] = {'x', 'y', 0, 'z'};
  Set(ProductKey, u"SearchString", REG_BINARY, pattern, sizeof pattern);
  LoadSettings();
  EXPECT_STREQ(reinterpret_cast<char*>(App.SearchString), "xy");
  std::memset(&App, 0, sizeof App);
  const BYTE unterminated[] = {'p', 'q'};
  Set(ProductKey, u"SearchString", REG_BINARY, unterminated, sizeof unterminated);
  LoadSettings();
  EXPECT_STREQ(reinterpret_cast<char*>(App.SearchString), "pq");
}

TEST_F(SettingsTest, BookmarkListIsAlwaysClosedByAZero) {
  const BYTE odd[] = {12, 0, 3};  // no closing zero, odd size
  Set(ProductKey, u"Bookmarks", REG_BINARY, odd, sizeof odd);
  LoadSettings();
  ASSERT_NE(App.BookmarkList, nullptr);
  EXPECT_EQ(App.BookmarkCount, 0);
  EXPECT_EQ(App.BookmarkList[0], 0);
}

// SaveAndQuit runs once per process, so each ending runs in a child process.
void EndAfterLoading() {
  LoadSettings();
  SaveAndQuit();
  SaveAndQuit();
  std::exit(0);
}

TEST_F(SettingsTest, FirstEndingWritesTheDefaultsAndNoFontName) {
  EXPECT_EXIT(EndAfterLoading(), ::testing::ExitedWithCode(0), "");
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(Query(u"Flags", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, (std::vector<BYTE>{0x40, 0x00, 0x14, 0xD1}));
  ASSERT_TRUE(Query(u"FontAsciiBase", type, data));
  EXPECT_EQ(data, (std::vector<BYTE>{0xD0, 0x05, 0, 0}));
  ASSERT_TRUE(Query(u"Bookmarks", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, (std::vector<BYTE>{0, 0}));
  EXPECT_FALSE(Query(u"FontName", type, data));
  EXPECT_FALSE(Query(u"FontSize", type, data));
  EXPECT_FALSE(Query(u"Lesson", type, data));
  EXPECT_FALSE(Query(u"LastPosition", type, data));
  EXPECT_FALSE(Query(u"SearchString", type, data));
}

// Every allocation of the settings reading may fail: the message is shown, the program
// ends in order, and the stored settings are kept rather than overwritten by the
// half-read ones.
void LoadWithFailingAllocation(unsigned n) {
  HeapFailAllocation(n);
  LoadSettings();
  HeapFailAllocation(0);
  SaveAndQuit();
  std::exit(0);
}

TEST_F(SettingsTest, OutOfMemoryWhileReadingEndsInOrderAndKeepsTheStoredSettings) {
  SetText(ProductKey, u"FontName", u"Miriam Mono CLM");
  SetText(ProductKey, u"FontSize", u"16");
  SetNumber(u"Flags", 0x12345678);
  const BYTE marks[] = {12, 0, 0, 0};
  Set(ProductKey, u"Bookmarks", REG_BINARY, marks, sizeof marks);
  // The reading runs in a child, like every ending, so this process keeps its state.
  pid_t child = fork();
  if (child == 0) {
    unsigned long before = HeapAllocationCount();
    LoadSettings();
    _exit(static_cast<int>(HeapAllocationCount() - before));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  unsigned allocations = static_cast<unsigned>(WEXITSTATUS(status));
  // The font name, the size's text and the bookmarks at least (the list is used in place).
  ASSERT_GE(allocations, 3u);
  for (unsigned n = 1; n <= allocations; ++n) {
    EXPECT_EXIT(LoadWithFailingAllocation(n), ::testing::ExitedWithCode(0),
                "There is not enough memory, aborting")
        << "allocation " << n;
    EXPECT_EQ(ReadNumber(ProductKey, u"Flags", 0), 0x12345678u) << "allocation " << n;
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(Query(u"Bookmarks", type, data));
    EXPECT_EQ(data, (std::vector<BYTE>{12, 0, 0, 0})) << "allocation " << n;
  }
}

}  // namespace
