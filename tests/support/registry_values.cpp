#include "test_support/registry_values.h"

#include <gtest/gtest.h>

namespace test_support {

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

LONG SetValue(const WCHAR* key, const WCHAR* name, DWORD type, const std::vector<uint8_t>& data) {
  HKEY opened = nullptr;
  LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &opened, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(opened, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  // The change reaches the file when the key is closed: a failed save shows there.
  LONG saved = RegCloseKey(opened);
  return result != ERROR_SUCCESS ? result : saved;
}

LONG SetNumber(const WCHAR* key, const WCHAR* name, DWORD number) {
  return SetValue(key, name, REG_DWORD, NumberBytes(number));
}

LONG SetText(const WCHAR* key, const WCHAR* name, std::u16string_view text) {
  return SetValue(key, name, REG_SZ, TextBytes(text));
}

std::optional<StoredValue> GetValue(const WCHAR* key, const WCHAR* name) {
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

void StoreValue(const WCHAR* key, const WCHAR* name, DWORD type, const std::vector<uint8_t>& data) {
  ASSERT_EQ(SetValue(key, name, type, data), ERROR_SUCCESS);
}

void StoreNumber(const WCHAR* key, const WCHAR* name, DWORD number) {
  StoreValue(key, name, REG_DWORD, NumberBytes(number));
}

void StoreText(const WCHAR* key, const WCHAR* name, std::u16string_view text) {
  StoreValue(key, name, REG_SZ, TextBytes(text));
}

}  // namespace test_support
