// The start-up's reading of the settings and the orderly end's writing of them, on a
// registry file of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/startup.h"
#include "base/app_state.h"
#include "base/settings_store.h"
#include "kernel/registry.h"
#include "test_support/file_steps.h"
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
  std::string FileText() const {
    std::ifstream file(Settings().FilePath(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  void WriteFileText(const std::string& text) const {
    std::ofstream(Settings().FilePath(), std::ios::binary) << text;
    kernel::ForgetRegistry();
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Settings().Folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

TEST_F(SettingsTest, StoredTextOfAnOddLengthEndsInsideItsBlock) {
  StoreValue(ProductKey, u"FontName", REG_SZ, {'A', 0, 'B'});
  LoadSettings();
  EXPECT_EQ(std::u16string(App.Font.Face), u"AB");
}

TEST_F(SettingsTest, NumbersThatFeedPixelArithmeticAreClampedAndTheRestKeptAsStored) {
  const struct {
    const char16_t* key;
    const char16_t* name;
    DWORD stored;
    LONG SurroundingGutter;
    LONG FontSize;
  } cases[] = {
      {ProductKey, u"FontSize", 0x7FFFFFFF, 0, 1024},
      {ProductKey, u"FontSize", 0x80000000, 0, -1024},
      {ProductKey, u"FontSize", 9, 0, 9},      // below the dialog's list: stays
      {ProductKey, u"FontSize", 100, 0, 100},  // between its entries: stays
      {ProductKey, u"FontSize", static_cast<DWORD>(-12), 0, -12},
      {PublisherKey, u"SurroundingGutter", 0x40000000, 32767, 0},
      {PublisherKey, u"SurroundingGutter", 0xFFFFFFFF, -1, 0},
      {PublisherKey, u"SurroundingGutter", 6, 6, 0},
  };
  for (const auto& c : cases) {
    FreshSettingsFolder();
    std::memset(&App, 0, sizeof App);
    StoreNumber(c.key, c.name, c.stored);
    ReadPublisherSettings();
    LoadSettings();
    EXPECT_EQ(App.SurroundingGutter, c.SurroundingGutter) << c.stored;
    EXPECT_EQ(App.Font.Size, c.FontSize) << c.stored;
  }
  // A font size stored as text is clamped too; a stored code base is kept whatever it is.
  StoreText(ProductKey, u"FontSize", u"99999999999");
  StoreNumber(ProductKey, u"FontAsciiBase", 97);
  LoadSettings();
  EXPECT_EQ(App.Font.Size, 1024);
  EXPECT_EQ(App.Font.CodeBase, 97);
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

// The settings at the end of a run that changed each of them.
void ChangeEverySetting() {
  const char16_t face[] = u"New Face";
  std::memcpy(App.Font.Face, face, sizeof face);
  App.Font.Size = 14;
  App.Font.CodeBase = 224;
  App.Flags = 0xD1140844;
  App.Lesson = 9;
  std::memcpy(App.SearchString, "new", 4);
  App.BookmarkList[0] = 9;
}

void StoreOldSettings() {
  StoreText(ProductKey, u"FontName", u"Old Face");
  StoreNumber(ProductKey, u"FontSize", 10);
  StoreNumber(ProductKey, u"Flags", 0xD1140044);
  StoreNumber(ProductKey, u"Lesson", 5);
  StoreValue(ProductKey, u"SearchString", REG_BINARY, {'o', 'l', 'd', 0});
  StoreValue(ProductKey, u"Bookmarks", REG_BINARY, {5, 0, 0, 0});
}

// Loads, changes every setting and ends, with the file steps of the ending watched:
// killed before the n-th (0: never), else printing what it did.
void EndChangingEverySetting(int killBefore) {
  LoadSettings();
  ChangeEverySetting();
  FileSteps steps;
  if (killBefore > 0) steps.KillBefore(killBefore);
  SaveAndQuit();
  std::fprintf(stderr, "%d steps, %d replacement, %d file sync, %d folder sync\n", steps.Total(),
               steps.Count(FileStep::Rename), steps.Count(FileStep::Sync),
               steps.Count(FileStep::SyncFolder));
  std::exit(0);
}

TEST_F(SettingsTest, TheExitSaveIsOneReplacementOfTheFile) {
  StoreOldSettings();
  EXPECT_EXIT(EndChangingEverySetting(0), ::testing::ExitedWithCode(0),
              " 1 replacement, 1 file sync, 1 folder sync");
  kernel::ForgetRegistry();
  EXPECT_EQ(ReadNumber(ProductKey, u"Lesson", 0), 9u);
  EXPECT_EQ(ReadNumber(ProductKey, u"FontAsciiBase", 0), 224u);
}

// Ends after loading, with the file steps watched; exits with the number of files it
// made and renamed.
void EndChangingNothing() {
  FileSteps steps;
  LoadSettings();
  SaveAndQuit();
  std::exit(steps.Count(FileStep::CreateTemporary) + steps.Count(FileStep::Rename));
}

TEST_F(SettingsTest, AStartAndAnEndThatChangeNothingWriteNothing) {
  StoreOldSettings();
  // The first run stores the program's path and the values it writes at every end.
  EXPECT_EXIT(EndChangingNothing(), ::testing::ExitedWithCode(4), "");
  std::string after = FileText();
  kernel::ForgetRegistry();  // the next run reads the file afresh, as a new process does
  EXPECT_EXIT(EndChangingNothing(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(FileText(), after);
}

// The exit save killed just before each of its file steps in turn, on a file of its own
// and on one reached through a link: the file always holds every value from before or
// every value after, and the next start leaves no temporary file behind.
TEST_F(SettingsTest, AnExitSaveKilledAtAnyStepLeavesAllOldOrAllNewValues) {
  for (bool linked : {false, true}) {
    FreshSettingsFolder();
    std::string file = Settings().FilePath();
    if (linked) {
      std::filesystem::create_directories(Settings().Folder());
      std::filesystem::create_symlink(Settings().Home() + "/elsewhere.reg", file);
    }
    StoreOldSettings();
    // A run that ends in order stores the program's path first, so that the runs below
    // write only at their end.
    EXPECT_EXIT(EndChangingNothing(), ::testing::ExitedWithCode(4), "");
    const std::string before = FileText();
    pid_t child = fork();
    if (child == 0) EndChangingEverySetting(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const std::string after = FileText();
    ASSERT_NE(after, before);
    WriteFileText(before);
    int runs = 0;
    for (int n = 1;; ++n) {
      child = fork();
      if (child == 0) EndChangingEverySetting(n);
      ASSERT_EQ(waitpid(child, &status, 0), child);
      if (!WIFSIGNALED(status)) break;  // the save ended before its n-th step
      ASSERT_EQ(WTERMSIG(status), SIGKILL);
      ++runs;
      std::string left = FileText();
      EXPECT_TRUE(left == before || left == after) << "killed before step " << n << ":\n" << left;
      kernel::ForgetRegistry();
      ReadNumber(ProductKey, u"Lesson", 0);  // the next start
      EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}))
          << "killed before step " << n;
      WriteFileText(before);
      EXPECT_EQ(std::filesystem::is_symlink(file), linked);
    }
    EXPECT_GE(runs, 10) << (linked ? "linked" : "plain");
    std::printf("%s file: killed at each of %d steps\n", linked ? "linked" : "plain", runs);
  }
}

}  // namespace
