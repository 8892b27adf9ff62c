// When the registry saves: the changes made while a key is open go in one replacement of
// the file, at its closing, at RegFlushKey or at the end of the process; and what a save
// does when a step of it fails.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "kernel/registry.h"
#include "kernel/registry_tree.h"
#include "registry_fixture.h"
#include "test_support/file_steps.h"

namespace {

using namespace test_support;

constexpr const WCHAR* kProduct = u"Software\\Norvane\\Vintrel - 5765 (heb)";

HKEY OpenProduct() {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProduct, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  return key;
}

LONG Set(HKEY key, const WCHAR* name, DWORD number) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                        sizeof number);
}

TEST_F(RegistryTest, ChangesReachTheFileInOneSaveWhenTheLastOpenKeyCloses) {
  FileSteps steps;
  HKEY outer = OpenProduct();
  HKEY inner = OpenProduct();
  EXPECT_EQ(Set(inner, u"Lesson", 5), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(inner), ERROR_SUCCESS);
  EXPECT_EQ(SetNumber(kProduct, u"Flags", 7), ERROR_SUCCESS);  // opens and closes its own
  EXPECT_EQ(Set(outer, u"LastPosition", 3), ERROR_SUCCESS);
  // Held in this process, not yet in the file.
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(5)}));
  EXPECT_FALSE(std::filesystem::exists(FilePath()));
  EXPECT_EQ(steps.Count(FileStep::Rename), 0);

  EXPECT_EQ(RegCloseKey(outer), ERROR_SUCCESS);
  EXPECT_EQ(steps.Count(FileStep::Rename), 1);
  EXPECT_EQ(steps.Count(FileStep::Sync), 1);
  EXPECT_EQ(steps.Count(FileStep::SyncFolder), 1);
  kernel::ForgetRegistry();
  for (auto [name, number] : {std::pair{u"Lesson", 5u}, {u"Flags", 7u}, {u"LastPosition", 3u}}) {
    EXPECT_EQ(GetValue(kProduct, name), (StoredValue{REG_DWORD, NumberBytes(number)}));
  }
}

TEST_F(RegistryTest, FlushSavesWhileTheKeyStaysOpen) {
  HKEY key = OpenProduct();
  Set(key, u"Lesson", 9);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_NE(FileText().find("\"Lesson\"=dword:00000009\n"), std::string::npos);
  EXPECT_EQ(RegFlushKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
  RegCloseKey(key);
}

TEST_F(RegistryTest, TheEndOfTheProcessSavesWhatNoClosingSaved) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Set(OpenProduct(), u"Lesson", 11);  // the key is never closed
    std::exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(11)}));
}

TEST_F(RegistryTest, ASaveThatChangesNothingWritesNothing) {
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 4), ERROR_SUCCESS);
  FileSteps steps;
  EXPECT_EQ(SetNumber(kProduct, u"Lesson", 4), ERROR_SUCCESS);
  EXPECT_EQ(steps.Count(FileStep::CreateTemporary), 0);
  EXPECT_EQ(steps.Count(FileStep::Sync), 0);
}

TEST_F(RegistryTest, AFailedSaveIsReportedOnceAndTriedAgainOnlyWithTheNextChange) {
  FileSteps steps;
  steps.Fail({FileStep::Write, ENOSPC});
  testing::internal::CaptureStderr();
  HKEY key = OpenProduct();
  for (const WCHAR* name : {u"Lesson", u"Flags", u"LastPosition"}) Set(key, name, 1);
  EXPECT_EQ(RegCloseKey(key), ERROR_WRITE_FAULT);
  GetValue(kProduct, u"Lesson");  // reading opens and closes a key: no new save
  GetValue(kProduct, u"Flags");
  EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
  EXPECT_EQ(steps.Count(FileStep::Write), 1);

  testing::internal::CaptureStderr();
  EXPECT_EQ(SetNumber(kProduct, u"Lesson", 2), ERROR_WRITE_FAULT);
  EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
}

// Each step of a save made to fail: the call that saved gets the error, one line says
// so, the old file stays as it was with no temporary file beside it, and the changes
// hold in this process and reach the file with the next save. An interrupted call
// (EINTR) is made again and the save succeeds.
struct FaultCase {
  const char* name;
  StepFault fault;
  LONG result;
};

class RegistrySaveFault : public RegistryTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(RegistrySaveFault, KeepsTheOldFileAndTheChanges) {
  const FaultCase& c = GetParam();
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetNumber(kProduct, u"Flags", 1), ERROR_SUCCESS);
  std::string before = FileText();
  {
    FileSteps steps;
    steps.Fail(c.fault);
    testing::internal::CaptureStderr();
    HKEY key = OpenProduct();
    Set(key, u"Lesson", 2);
    Set(key, u"Flags", 2);
    EXPECT_EQ(RegCloseKey(key), c.result);
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
    EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(2)}));
    if (c.result != ERROR_SUCCESS) {
      EXPECT_EQ(CountLines(messages), 1) << messages;
      EXPECT_EQ(FileText(), before);
    } else {
      EXPECT_EQ(messages, "");
    }
  }
  ASSERT_EQ(SetNumber(kProduct, u"Other", 3), ERROR_SUCCESS);
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(2)}));
  EXPECT_EQ(GetValue(kProduct, u"Flags"), (StoredValue{REG_DWORD, NumberBytes(2)}));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RegistrySaveFault,
    testing::Values(
        FaultCase{"LockFileRefused", {FileStep::OpenLock, EACCES}, ERROR_ACCESS_DENIED},
        FaultCase{"NoLocks", {FileStep::Lock, ENOLCK}, ERROR_WRITE_FAULT},
        FaultCase{"OpenFails", {FileStep::Open, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"StatFails", {FileStep::Stat, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"ReadFails", {FileStep::Read, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"NoTemporaryFile", {FileStep::CreateTemporary, EMFILE}, ERROR_WRITE_FAULT},
        FaultCase{"DiskFull", {FileStep::Write, ENOSPC}, ERROR_WRITE_FAULT},
        FaultCase{"QuotaExceeded", {FileStep::Write, EDQUOT}, ERROR_WRITE_FAULT},
        FaultCase{"PermissionsRefused", {FileStep::KeepMode, EPERM}, ERROR_ACCESS_DENIED},
        FaultCase{"SyncFails", {FileStep::Sync, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"CloseFails", {FileStep::Close, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"RenameFails", {FileStep::Rename, EIO}, ERROR_WRITE_FAULT},
        FaultCase{"RenameRefused", {FileStep::Rename, EACCES}, ERROR_ACCESS_DENIED},
        FaultCase{"ReadInterrupted", {FileStep::Read, EINTR, 1, 2}, ERROR_SUCCESS},
        FaultCase{"WriteInterrupted", {FileStep::Write, EINTR, 1, 3}, ERROR_SUCCESS},
        FaultCase{"LockInterrupted", {FileStep::Lock, EINTR, 1, 2}, ERROR_SUCCESS},
        FaultCase{"CloseInterrupted", {FileStep::Close, EINTR, 1, 5}, ERROR_SUCCESS}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// The folder's sync comes after the rename: the new file is in place, but the save is
// not known to be on the disk, and the caller hears so.
TEST_F(RegistryTest, AFailedSyncOfTheFolderIsReported) {
  FileSteps steps;
  steps.Fail({FileStep::SyncFolder, EIO});
  testing::internal::CaptureStderr();
  EXPECT_EQ(SetNumber(kProduct, u"Lesson", 2), ERROR_WRITE_FAULT);
  EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryTest, AFileThatCannotBeReadAtTheStartIsNeverOverwritten) {
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetNumber(kProduct, u"Kept", 1), ERROR_SUCCESS);
  kernel::ForgetRegistry();
  {
    FileSteps steps;
    steps.Fail({FileStep::Read, EIO, 1, 1});  // the start's reading only
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GetValue(kProduct, u"Lesson").has_value());
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(messages), 1) << messages;
    EXPECT_NE(messages.find("cannot read the settings"), std::string::npos) << messages;
    // The save reads the file again, and keeps what the start could not read.
    EXPECT_EQ(SetNumber(kProduct, u"Lesson", 2), ERROR_SUCCESS);
  }
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Lesson"), (StoredValue{REG_DWORD, NumberBytes(2)}));
  EXPECT_EQ(GetValue(kProduct, u"Kept"), (StoredValue{REG_DWORD, NumberBytes(1)}));
}

// Two values changed together in one process are seen together by every other one.
TEST_F(RegistryTest, ValuesSavedTogetherAreAlwaysReadTogether) {
  constexpr int kWriters = 3;
  constexpr int kSaves = 20;
  ASSERT_EQ(SetNumber(kProduct, u"Start", 1), ERROR_SUCCESS);
  auto write = [](int w) {
    std::u16string first = u"First" + std::u16string(1, u'A' + w);
    std::u16string second = u"Second" + std::u16string(1, u'A' + w);
    bool ok = true;
    for (DWORD i = 1; i <= kSaves; ++i) {
      HKEY key = OpenProduct();
      ok &= Set(key, first.c_str(), i) == ERROR_SUCCESS;
      ok &= Set(key, second.c_str(), i) == ERROR_SUCCESS;
      ok &= RegCloseKey(key) == ERROR_SUCCESS;
    }
    return ok;
  };
  WhileWritersRun(kWriters, write, [this] {
    kernel::registry::Key tree;
    ASSERT_EQ(kernel::registry::ParseRegText(FileText(), tree).badLines, 0);
    const kernel::registry::Key* product = kernel::registry::FindKey(
        tree, {u"HKEY_CURRENT_USER", u"Software", u"Norvane", u"Vintrel - 5765 (heb)"});
    ASSERT_NE(product, nullptr);
    for (int w = 0; w < kWriters; ++w) {
      const auto* first = product->FindValue(u"First" + std::u16string(1, u'A' + w));
      const auto* second = product->FindValue(u"Second" + std::u16string(1, u'A' + w));
      ASSERT_EQ(first == nullptr, second == nullptr);
      if (first != nullptr) {
        EXPECT_EQ(first->data, second->data);
      }
    }
  });
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"Start"), (StoredValue{REG_DWORD, NumberBytes(1)}));
  for (int w = 0; w < kWriters; ++w) {
    std::u16string second = u"Second" + std::u16string(1, u'A' + w);
    EXPECT_EQ(GetValue(kProduct, second.c_str()), (StoredValue{REG_DWORD, NumberBytes(kSaves)}));
  }
}

}  // namespace
