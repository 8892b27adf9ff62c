// The registry's file: reading what people and other programs write, keeping what it
// does not understand, replacing the file atomically, and sharing it between processes.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel/registry.h"
#include "kernel/registry_tree.h"
#include "registry_fixture.h"

namespace {

using namespace test_support;

constexpr const WCHAR* kProduct = u"Software\\Norvane\\Vintrel - 5765 (heb)";

TEST_F(RegistryTest, WritesTheDocumentedFormat) {
  ASSERT_EQ(SetText(kProduct, u"Program Path", u"/usr/bin/vintrel"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(kProduct, u"Quote \"q\"", u"a\\b \"c\""), ERROR_SUCCESS);
  ASSERT_EQ(SetNumber(kProduct, u"FontSize", 12), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(kProduct, u"SearchString", REG_BINARY, {0x0c, 0x00, 0x03, 0x00}), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(kProduct, u"Path", REG_EXPAND_SZ, {0x41, 0x00, 0x00, 0x00}), ERROR_SUCCESS);
  ASSERT_EQ(SetText(kProduct, nullptr, u"default"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(kProduct, u"Hebrew", u"\u05D0"), ERROR_SUCCESS);
  EXPECT_EQ(FileText(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\n"
            "\"Program Path\"=\"/usr/bin/vintrel\"\n"
            "\"Quote \\\"q\\\"\"=\"a\\\\b \\\"c\\\"\"\n"
            "\"FontSize\"=dword:0000000c\n"
            "\"SearchString\"=hex:0c,00,03,00\n"
            "\"Path\"=hex(2):41,00,00,00\n"
            "@=\"default\"\n"
            "\"Hebrew\"=\"\xD7\x90\"\n"
            "\n");
}

TEST_F(RegistryTest, LongBinaryValuesGoOnOverLines) {
  std::vector<uint8_t> data(100, 0xab);
  ASSERT_EQ(SetValue(u"Software\\Norvane", u"Bookmarks", REG_BINARY, data), ERROR_SUCCESS);
  std::string text = FileText();
  std::istringstream lines(text);
  std::string line;
  int continued = 0;
  while (std::getline(lines, line)) {
    EXPECT_LE(line.size(), 80u) << line;
    if (!line.empty() && line.back() == '\\') ++continued;
  }
  EXPECT_GE(continued, 3);
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(u"Software\\Norvane", u"Bookmarks"), (StoredValue{REG_BINARY, data}));
}

// A file as a person might write it: CRLF line ends, comments, blank lines, escapes, a
// binary value over several lines, and lines that mean nothing.
const char kHandWritten[] =
    "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; settings of the publisher\r\n"
    "[HKEY_CURRENT_USER\\software\\Karsolet]\r\n"
    "\"FullScreen\"=dword:00000001\r\n"
    "  \"MenuBarOnBottom\" = dword:1  \r\n"
    "this line is garbage\r\n"
    "\"SurroundingGutter\"=dword:0000000g\r\n"
    "\"IgnoreActivate\"=\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n"
    "\"FontName\"=\"Frank \\\"Ruehl\\\" \\\\ CLM\"\r\n"
    "\"Program Path\"=\"C:\\\\Program Files\\\\Vintrel.exe\"\r\n"
    "\"Bookmarks\"=hex:01,02,03,\\\r\n"
    "  04,05,\\\r\n"
    "\t06\r\n"
    "\"Path\"=hex(2):25,00,48,00,\\\r\n"
    "  00,00\r\n"
    "@=\"the default\"\r\n"
    "\"Unclosed\"=\"text\r\n"
    "\"Deleted\"=-\r\n"
    "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
    "\"UnderARemovedKey\"=dword:00000005\r\n"
    "[Not a hive]\r\n"
    "\"Orphan\"=dword:00000006\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\r\n"
    "\"Kept\"=hex(b):01,00,00,00,00,00,00,00\r\n";

TEST_F(RegistryTest, ReadsAHandWrittenFileAndReportsWhatItCannotRead) {
  WriteFileText(kHandWritten);
  testing::internal::CaptureStderr();
  const struct {
    const WCHAR* key;
    const WCHAR* name;
    StoredValue value;
  } expected[] = {
      {u"Software\\Karsolet", u"FullScreen", {REG_DWORD, NumberBytes(1)}},
      {u"Software\\Karsolet", u"MenuBarOnBottom", {REG_DWORD, NumberBytes(1)}},
      {kProduct, u"FontName", {REG_SZ, TextBytes(u"Frank \"Ruehl\" \\ CLM")}},
      {kProduct, u"Program Path", {REG_SZ, TextBytes(u"C:\\Program Files\\Vintrel.exe")}},
      {kProduct, u"Bookmarks", {REG_BINARY, {1, 2, 3, 4, 5, 6}}},
      {kProduct, u"Path", {REG_EXPAND_SZ, TextBytes(u"%H")}},
      {kProduct, u"", {REG_SZ, TextBytes(u"the default")}},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(GetValue(e.key, e.name), e.value);
  }
  for (const WCHAR* missing : {u"SurroundingGutter", u"IgnoreActivate"}) {
    EXPECT_FALSE(GetValue(u"Software\\Karsolet", missing).has_value());
  }
  for (const WCHAR* missing : {u"Unclosed", u"Deleted", u"UnderARemovedKey", u"Orphan"}) {
    EXPECT_FALSE(GetValue(kProduct, missing).has_value());
  }
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(CountLines(messages), 1) << messages;
  EXPECT_NE(messages.find("9 unreadable lines"), std::string::npos) << messages;
  EXPECT_NE(messages.find("line 7"), std::string::npos) << messages;
}

TEST_F(RegistryTest, ARewriteKeepsEveryReadableEntryAndOtherTypesUnchanged) {
  WriteFileText(kHandWritten);
  testing::internal::CaptureStderr();
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 7), ERROR_SUCCESS);
  testing::internal::GetCapturedStderr();
  std::string text = FileText();
  for (const char* line : {
           "[HKEY_CURRENT_USER\\software\\Karsolet]\n",
           "\"FullScreen\"=dword:00000001\n",
           "\"MenuBarOnBottom\"=dword:00000001\n",
           "\"FontName\"=\"Frank \\\"Ruehl\\\" \\\\ CLM\"\n",
           "\"Bookmarks\"=hex:01,02,03,04,05,06\n",
           "\"Path\"=hex(2):25,00,48,00,00,00\n",
           "@=\"the default\"\n",
           "\"Lesson\"=dword:00000007\n",
           "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\n\"Kept\"=hex(b):01,00,00,00,00,00,00,00\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
  // What could not be read, and the comment, are there as written.
  for (const char* line : {"; settings of the publisher\n", "this line is garbage\n",
                           "\"SurroundingGutter\"=dword:0000000g\n", "\"Unclosed\"=\"text\n",
                           "[-HKEY_CURRENT_USER\\Software\\Gone]\n", "[Not a hive]\n",
                           "\"Orphan\"=dword:00000006\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
  // The rewritten file reads as the same tree and the same kept lines: another rewrite
  // gives it back unchanged.
  kernel::registry::Key tree;
  EXPECT_EQ(kernel::registry::ParseRegText(text, tree).badLines, 9);
  EXPECT_EQ(kernel::registry::FormatRegText(tree), text);
}

TEST_F(RegistryTest, FilesOfAnyBytesNeverBreakTheReader) {
  const std::string files[] = {
      std::string("\0\0\0[\0", 5),
      "\xFF\xFE[\x00H\x00",
      "[HKEY_CURRENT_USER\\a]\n\"v\"=hex:\\\n",
      "[HKEY_CURRENT_USER\\a]\n\"v\"=hex:1,2,\\",
      "[HKEY_CURRENT_USER\\\xC3]\n\"\xFF\"=\"\xE2\x82\"\n",
      "[HKEY_CURRENT_USER\\a]\n\"v\"=hex(:00\n\"w\"=hex(zz):00\n\"x\"=dword:123456789\n",
      "[\n]\n[]\n\"\n@\n=\n\\\n",
  };
  for (const std::string& file : files) {
    WriteFileText(file);
    testing::internal::CaptureStderr();
    GetValue(u"a", u"v");
    EXPECT_LE(CountLines(testing::internal::GetCapturedStderr()), 1);
  }
  WriteFileText("[HKEY_CURRENT_USER\\a]\n\"v\"=hex:1,2,\\");
  EXPECT_EQ(GetValue(u"a", u"v"), (StoredValue{REG_BINARY, {1, 2}}));
}

TEST_F(RegistryTest, WritesLeaveOnlyTheFileAndItsLock) {
  for (DWORD i = 0; i < 5; ++i) ASSERT_EQ(SetNumber(kProduct, u"Lesson", i), ERROR_SUCCESS);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
  EXPECT_EQ(std::filesystem::status(FilePath()).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(RegistryTest, AFailedWriteSaysSoOnceKeepsTheOldFileAndTheValueInMemory) {
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  std::string before = FileText();
  // The lock cannot be opened when its name is taken by a folder (this works as root,
  // where permissions would not stop the write).
  std::filesystem::remove(FilePath() + ".lock");
  std::filesystem::create_directory(FilePath() + ".lock");
  testing::internal::CaptureStderr();
  LONG result = SetNumber(kProduct, u"Lesson", 2);
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(result == ERROR_WRITE_FAULT || result == ERROR_ACCESS_DENIED) << result;
  EXPECT_EQ(CountLines(messages), 1) << messages;
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(2)}));

  // Once writing works again, the next write carries the change that failed.
  std::filesystem::remove(FilePath() + ".lock");
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 3), ERROR_SUCCESS);
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(2)}));
  EXPECT_EQ(GetValue(kProduct, u"Flags"), (StoredValue{REG_DWORD, NumberBytes(3)}));
}

TEST_F(RegistryTest, AConfigFolderThatCannotBeMadeFailsTheWrite) {
  std::string notAFolder = ConfigHome() + "/file";
  std::ofstream(notAFolder) << "x";
  setenv("XDG_CONFIG_HOME", notAFolder.c_str(), 1);
  testing::internal::CaptureStderr();
  LONG result = SetText(kProduct, u"FontName", u"Tahoma");
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(result == ERROR_WRITE_FAULT || result == ERROR_ACCESS_DENIED) << result;
  EXPECT_EQ(CountLines(messages), 1) << messages;  // the new key and the value: one save
  EXPECT_EQ(GetValue(kProduct, u"FontName"), (StoredValue{REG_SZ, TextBytes(u"Tahoma")}));
}

TEST_F(RegistryTest, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
  ASSERT_EQ(SetText(kProduct, u"FontName", u"Tahoma"), ERROR_SUCCESS);
  std::string before = FileText();
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Files may grow to no more than a few bytes: the write runs out of room.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    LONG result = SetText(kProduct, u"FontName", u"a much longer face name");
    _exit(result == ERROR_WRITE_FAULT ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryTest, ProcessesWritingAtOnceKeepEachOthersValues) {
  constexpr int kWriters = 3;
  constexpr int kWrites = 25;
  ASSERT_EQ(SetNumber(kProduct, u"Start", 1), ERROR_SUCCESS);
  auto write = [](int w) {
    std::u16string name = u"Writer" + std::u16string(1, u'A' + w);
    bool ok = true;
    for (DWORD i = 1; i <= kWrites; ++i) {
      ok &= SetNumber(kProduct, name.c_str(), i) == ERROR_SUCCESS;
      ok &= SetNumber(kProduct, u"Shared", i) == ERROR_SUCCESS;
    }
    return ok;
  };
  // Meanwhile the file is always whole.
  WhileWritersRun(kWriters, write, [this] {
    kernel::registry::Key tree;
    std::string text = FileText();
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_EQ(kernel::registry::ParseRegText(text, tree).badLines, 0) << text;
    EXPECT_NE(kernel::registry::FindKey(tree, {u"HKEY_CURRENT_USER", u"Software", u"Norvane",
                                               u"Vintrel - 5765 (heb)"}),
              nullptr);
  });
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Start"), (StoredValue{REG_DWORD, NumberBytes(1)}));
  EXPECT_EQ(GetValue(kProduct, u"Shared"), (StoredValue{REG_DWORD, NumberBytes(kWrites)}));
  for (int w = 0; w < kWriters; ++w) {
    std::u16string name = u"Writer" + std::u16string(1, u'A' + w);
    EXPECT_EQ(GetValue(kProduct, name.c_str()), (StoredValue{REG_DWORD, NumberBytes(kWrites)}));
  }
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

}  // namespace
