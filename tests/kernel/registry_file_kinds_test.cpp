// What may stand where the registry's file is: something that is not a regular file, a
// link, a file too large, a file of other permissions, a link in place of the lock, and
// the temporary files an interrupted save left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "kernel/registry.h"
#include "kernel/registry_file.h"
#include "registry_fixture.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

constexpr const WCHAR* kProduct = u"Software\\Norvane\\Vintrel - 5765 (heb)";

const char kLessonFive[] =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\n"
    "\"Lesson\"=dword:00000005\n\n";

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

fs::perms Permissions(const std::string& path) { return fs::status(path).permissions(); }

TEST_F(RegistryTest, WhatIsNotARegularFileIsNeitherReadNorReplaced) {
  const struct {
    const char* name;
    void (*make)(const std::string& path);
  } cases[] = {
      {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
      {"a device", [](const std::string& path) { fs::create_symlink("/dev/zero", path); }},
      {"a folder", [](const std::string& path) { fs::create_directory(path); }},
  };
  for (const auto& c : cases) {
    FreshSettingsFolder();
    fs::create_directories(Folder());
    c.make(FilePath());
    fs::file_type before = fs::status(FilePath()).type();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetValue(kProduct, u"Lesson").has_value()) << c.name;
    std::string atStart = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(atStart), 1) << c.name << ": " << atStart;
    testing::internal::CaptureStderr();
    EXPECT_EQ(SetNumber(kProduct, u"Lesson", 2), ERROR_WRITE_FAULT) << c.name;
    std::string atSave = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(atSave), 1) << c.name << ": " << atSave;
    EXPECT_EQ(fs::status(FilePath()).type(), before) << c.name;
  }
}

TEST_F(RegistryTest, ALinkIsFollowedAndTheFileReplacedWhereItLeads) {
  std::string elsewhere = ConfigHome() + "/shared";
  fs::create_directories(elsewhere + "/deeper");
  std::ofstream(elsewhere + "/deeper/settings.reg") << kLessonFive;
  fs::create_directories(Folder());
  // A relative link to a link that leads on to the file.
  fs::create_symlink("deeper/settings.reg", elsewhere + "/link.reg");
  fs::create_symlink("../shared/link.reg", FilePath());
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(5)}));
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 3), ERROR_SUCCESS);
  EXPECT_TRUE(fs::is_symlink(FilePath()));
  EXPECT_TRUE(fs::is_symlink(elsewhere + "/link.reg"));
  std::string text = ReadAll(elsewhere + "/deeper/settings.reg");
  EXPECT_NE(text.find("\"Lesson\"=dword:00000005\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Flags\"=dword:00000003\n"), std::string::npos) << text;

  // A link that leads nowhere yet: the file is made there.
  fs::remove(elsewhere + "/deeper/settings.reg");
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 4), ERROR_SUCCESS);
  EXPECT_NE(ReadAll(elsewhere + "/deeper/settings.reg").find("\"Flags\"=dword:00000004\n"),
            std::string::npos);
}

TEST_F(RegistryTest, ALinkInPlaceOfTheLockIsNeverFollowed) {
  fs::create_directories(Folder());
  std::string target = ConfigHome() + "/not-a-lock";
  fs::create_symlink(target, FilePath() + ".lock");
  testing::internal::CaptureStderr();
  EXPECT_EQ(SetNumber(kProduct, u"Lesson", 2), ERROR_WRITE_FAULT);
  EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_FALSE(fs::exists(FilePath()));
}

TEST_F(RegistryTest, AReplacedFileKeepsItsPermissions) {
  for (fs::perms perms : {fs::perms::owner_read, fs::perms::owner_read | fs::perms::owner_write |
                                                     fs::perms::group_read | fs::perms::others_read}) {
    WriteFileText(kLessonFive);
    fs::permissions(FilePath(), perms);
    ASSERT_EQ(SetNumber(kProduct, u"Flags", static_cast<DWORD>(perms)), ERROR_SUCCESS);
    EXPECT_EQ(Permissions(FilePath()), perms);
    EXPECT_NE(FileText().find("\"Lesson\"=dword:00000005\n"), std::string::npos);
  }
  // A new file is the user's alone.
  FreshSettingsFolder();
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 1), ERROR_SUCCESS);
  EXPECT_EQ(Permissions(FilePath()), fs::perms::owner_read | fs::perms::owner_write);
}

std::string FileOfSize(size_t size) {
  std::string text = kLessonFive;
  text += "; ";
  text.resize(size - 1, 'x');
  return text + "\n";
}

TEST_F(RegistryTest, AFileAboveTheCapIsKeptAsideAndTheSettingsStartFromTheDefaults) {
  WriteFileText(FileOfSize(kernel::registry::kMaxFileSize));
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(5)}));

  std::string large = FileOfSize(kernel::registry::kMaxFileSize + 1);
  WriteFileText(large);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(GetValue(kProduct, u"Lesson").has_value());
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 1), ERROR_SUCCESS);
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(CountLines(messages), 1) << messages;
  EXPECT_NE(messages.find("registry.reg.too-large"), std::string::npos) << messages;
  EXPECT_EQ(ReadAll(FilePath() + ".too-large"), large);
  EXPECT_EQ(FileText().find("Lesson"), std::string::npos);

  // Another one does not take the place of the first.
  WriteFileText(large + "second");
  testing::internal::CaptureStderr();
  GetValue(kProduct, u"Lesson");
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadAll(FilePath() + ".too-large"), large);
  EXPECT_EQ(ReadAll(FilePath() + ".too-large-2"), large + "second");
}

TEST_F(RegistryTest, SettingsAboveTheCapAreNeverWritten) {
  constexpr size_t kLargest = kernel::registry::kMaxFileSize / 4;
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  std::string before = FileText();
  EXPECT_EQ(SetValue(kProduct, u"Huge", REG_BINARY, std::vector<uint8_t>(kLargest + 1)),
            ERROR_INVALID_PARAMETER);
  // Values that each fit, but not all together.
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProduct, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  std::vector<BYTE> data(kLargest);
  for (const WCHAR* name : {u"Huge1", u"Huge2"})
    EXPECT_EQ(RegSetValueExW(key, name, 0, REG_BINARY, data.data(), kLargest), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_WRITE_FAULT);
  EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
  EXPECT_EQ(FileText(), before);
}

void Touch(const std::string& path, int ageSeconds) {
  std::ofstream(path) << "Windows Registry Editor Version 5.00\n";
  auto when = fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds);
  fs::last_write_time(path, when);
}

TEST_F(RegistryTest, TheStartRemovesTheTemporaryFilesOfInterruptedSaves) {
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  const std::vector<std::string> others = {"registry.reg.backup", "registry.reg.new-abc",
                                           "registry.reg.new-abcdefg", "registry.reg.new-ab.def"};
  for (const std::string& other : others) Touch(Folder() + "/" + other, 3600);
  Touch(FilePath() + ".new-Old123", 120);
  Touch(FilePath() + ".new-New123", 0);

  // While another process saves (holds the lock), only what is over a minute old goes.
  int lock = open((FilePath() + ".lock").c_str(), O_RDWR);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  kernel::ForgetRegistry();
  GetValue(kProduct, u"Lesson");
  EXPECT_FALSE(fs::exists(FilePath() + ".new-Old123"));
  EXPECT_TRUE(fs::exists(FilePath() + ".new-New123"));
  close(lock);

  // With no save running, every one goes.
  kernel::ForgetRegistry();
  GetValue(kProduct, u"Lesson");
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"registry.reg", "registry.reg.lock"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(), expected);
}

}  // namespace
