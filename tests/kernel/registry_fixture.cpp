#include "registry_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel/registry.h"

void RegistryTest::SetUp() {
  if (const char* saved = std::getenv("XDG_CONFIG_HOME")) savedHome_ = saved;
  std::string pattern = (std::filesystem::temp_directory_path() / "kernel-registry-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  home_ = pattern;
  setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
  kernel::ForgetRegistry();
}

void RegistryTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(home_, ignored);
  if (savedHome_) setenv("XDG_CONFIG_HOME", savedHome_->c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
  kernel::ForgetRegistry();
}

std::string RegistryTest::FileText() const {
  std::ifstream file(FilePath(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void RegistryTest::WriteFileText(const std::string& text) const {
  std::filesystem::create_directories(Folder());
  std::ofstream(FilePath(), std::ios::binary) << text;
  kernel::ForgetRegistry();
}

std::vector<std::string> RegistryTest::FolderEntries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

LONG RegistryTest::Set(const WCHAR* key, const WCHAR* name, DWORD type,
                       const std::vector<uint8_t>& data) {
  HKEY opened = nullptr;
  LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &opened, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(opened, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(opened);
  return result;
}

LONG RegistryTest::SetNumber(const WCHAR* key, const WCHAR* name, DWORD number) {
  return Set(key, name, REG_DWORD, NumberBytes(number));
}

LONG RegistryTest::SetText(const WCHAR* key, const WCHAR* name, std::u16string_view text) {
  return Set(key, name, REG_SZ, TextBytes(text));
}

std::optional<StoredValue> RegistryTest::Get(const WCHAR* key, const WCHAR* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  StoredValue value{};
  DWORD size = 0;
  std::optional<StoredValue> result;
  if (RegQueryValueExW(opened, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    if (RegQueryValueExW(opened, name, nullptr, &value.type, value.data.data(), &size) ==
        ERROR_SUCCESS) {
      result = value;
    }
  }
  RegCloseKey(opened);
  return result;
}

std::vector<uint8_t> TextBytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<uint8_t> NumberBytes(DWORD number) {
  return {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
          static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
}
