// A registry in a folder of its own: XDG_CONFIG_HOME points at a new temporary folder
// for the length of each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel.h"

struct StoredValue {
  DWORD type;
  std::vector<uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string ConfigHome() const { return home_; }
  std::string Folder() const { return home_ + "/vintrel"; }
  std::string FilePath() const { return Folder() + "/registry.reg"; }
  std::string FileText() const;
  void WriteFileText(const std::string& text) const;
  // Names in the settings folder, sorted.
  std::vector<std::string> FolderEntries() const;

  // Creates the key below HKEY_CURRENT_USER and sets the value.
  static LONG Set(const WCHAR* key, const WCHAR* name, DWORD type, const std::vector<uint8_t>& data);
  static LONG SetNumber(const WCHAR* key, const WCHAR* name, DWORD number);
  static LONG SetText(const WCHAR* key, const WCHAR* name, std::u16string_view text);
  static std::optional<StoredValue> Get(const WCHAR* key, const WCHAR* name);

 private:
  std::string home_;
  std::optional<std::string> savedHome_;
};

std::vector<uint8_t> TextBytes(std::u16string_view text);  // with the terminator
std::vector<uint8_t> NumberBytes(DWORD number);
