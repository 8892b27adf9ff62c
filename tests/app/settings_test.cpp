// The start-up's reading of the settings and the orderly end's writing of them, on a
// registry file of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "app/startup.h"
#include "base/app_state.h"
#include "base/settings_store.h"
#include "kernel/registry.h"
#include "test_support/registry_values.h"
#include "test_support/settings_folder.h"

namespace {

using namespace test_support;

class SettingsTest : public test_support::SettingsFolderTest {
 protected:
  void SetUp() override {
    SettingsFolderTest::SetUp();
    std::memset(&App, 0, sizeof App);
  }
};

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
  std::optional<StoredValue> path = GetValue(ProductKey, u"Program Path");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsTest, LoadSettingsCutsAndNarrowsOddValues) {
  StoreText(ProductKey, u"FontName", std::u16string(64 * 1024, u'F'));  // 64 KiB of UTF-8
  StoreValue(ProductKey, u"SearchString", REG_BINARY, std::vector<BYTE>(5000, 'a'));
  StoreText(ProductKey, u"Flags", u"7");
  StoreNumber(ProductKey, u"Lesson", 65537);
  StoreNumber(ProductKey, u"LastPosition", 0x12345);
  LoadSettings();
  EXPECT_EQ(std::u16string(App.Font.Face), std::u16string(31, u'F'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(App.SearchString)), std::string(33, 'a'));
  EXPECT_EQ(App.Flags, 7u);
  EXPECT_EQ(App.Lesson, 1);
  EXPECT_EQ(App.LastPosition, 0x2345);
}

TEST_F(SettingsTest, StoredSearchStringStopsAtItsZeroAndItsLength) {
  StoreValue(ProductKey, u"SearchString", REG_BINARY, {'x', 'y', 0, 'z'});
  LoadSettings();
  EXPECT_STREQ(reinterpret_cast<char*>(App.SearchString), "xy");
  std::memset(&App, 0, sizeof App);
  StoreValue(ProductKey, u"SearchString", REG_BINARY, {'p', 'q'});
  LoadSettings();
  EXPECT_STREQ(reinterpret_cast<char*>(App.SearchString), "pq");
}

TEST_F(SettingsTest, BookmarkListIsAlwaysClosedByAZero) {
  StoreValue(ProductKey, u"Bookmarks", REG_BINARY, {12, 0, 3});  // no closing zero, odd size
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
  std::optional<StoredValue> flags = GetValue(ProductKey, u"Flags");
  ASSERT_TRUE(flags);
  EXPECT_EQ(flags->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(flags->data, (std::vector<BYTE>{0x40, 0x00, 0x14, 0xD1}));
  std::optional<StoredValue> base = GetValue(ProductKey, u"FontAsciiBase");
  ASSERT_TRUE(base);
  EXPECT_EQ(base->data, (std::vector<BYTE>{0xD0, 0x05, 0, 0}));
  std::optional<StoredValue> marks = GetValue(ProductKey, u"Bookmarks");
  ASSERT_TRUE(marks);
  EXPECT_EQ(marks->type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(marks->data, (std::vector<BYTE>{0, 0}));
  EXPECT_FALSE(GetValue(ProductKey, u"FontName"));
  EXPECT_FALSE(GetValue(ProductKey, u"FontSize"));
  EXPECT_FALSE(GetValue(ProductKey, u"Lesson"));
  EXPECT_FALSE(GetValue(ProductKey, u"LastPosition"));
  EXPECT_FALSE(GetValue(ProductKey, u"SearchString"));
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
  StoreText(ProductKey, u"FontName", u"Miriam Mono CLM");
  StoreText(ProductKey, u"FontSize", u"16");
  StoreNumber(ProductKey, u"Flags", 0x12345678);
  StoreValue(ProductKey, u"Bookmarks", REG_BINARY, {12, 0, 0, 0});
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
    // What the child left in the file, not what this process read before it ran.
    kernel::ForgetRegistry();
    EXPECT_EQ(ReadNumber(ProductKey, u"Flags", 0), 0x12345678u) << "allocation " << n;
    std::optional<StoredValue> marks = GetValue(ProductKey, u"Bookmarks");
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->data, (std::vector<BYTE>{12, 0, 0, 0})) << "allocation " << n;
  }
}

}  // namespace
