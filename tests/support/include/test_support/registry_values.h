// Registry values below HKEY_CURRENT_USER, written and read whole: Set* and GetValue
// give the registry's answers, for tests of the registry; Store* fail the test when the
// registry refuses, for tests that only set up what the program is to find.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/kernel.h"

namespace test_support {

struct StoredValue {
  DWORD type;
  std::vector<uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

std::vector<uint8_t> TextBytes(std::u16string_view text);  // with the terminator
std::vector<uint8_t> NumberBytes(DWORD number);

// Creates the key, sets the value and closes the key, which saves it: the first error
// of these.
LONG SetValue(const WCHAR* key, const WCHAR* name, DWORD type, const std::vector<uint8_t>& data);
LONG SetNumber(const WCHAR* key, const WCHAR* name, DWORD number);
LONG SetText(const WCHAR* key, const WCHAR* name, std::u16string_view text);
// The value, or nothing when the key or the value is missing.
std::optional<StoredValue> GetValue(const WCHAR* key, const WCHAR* name);

void StoreValue(const WCHAR* key, const WCHAR* name, DWORD type, const std::vector<uint8_t>& data);
void StoreNumber(const WCHAR* key, const WCHAR* name, DWORD number);
void StoreText(const WCHAR* key, const WCHAR* name, std::u16string_view text);

}  // namespace test_support
