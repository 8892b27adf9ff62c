#include "base/settings_store.h"

#include <cstring>

#include "base/alloc.h"

const WCHAR ProductKey[] = u"Software\\Norvane\\Vintrel - 5765 (heb)";
const WCHAR PublisherKey[] = u"software\\Karsolet";

namespace {

// A registry call's result, with memory the registry ran out of reported as the
// program's own.
LONG Checked(LONG result) {
  if (result == ERROR_NOT_ENOUGH_MEMORY) ReportOutOfMemory();
  return result;
}

// How a value's data is held: as stored, or as text that ends in a zero unit inside its
// buffer (an odd last byte made a whole unit first).
enum class Block { Data, Text };

DWORD BlockSize(DWORD size, Block block) {
  if (block == Block::Data) return size ? size : 1;
  return size + size % 2 + sizeof(WCHAR);
}

// One value read whole: its type, its data in a new zeroed buffer of the block's size,
// and its size. False on any failure; nothing to free then.
bool ReadValue(LPCWSTR keyPath, LPCWSTR name, Block block, DWORD& type, BYTE*& data,
               DWORD& size) {
  HKEY key;
  if (Checked(RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key)) != ERROR_SUCCESS)
    return false;
  bool done = false;
  if (Checked(RegQueryValueExW(key, name, nullptr, &type, nullptr, &size)) == ERROR_SUCCESS) {
    DWORD blockSize = BlockSize(size, block);
    data = static_cast<BYTE*>(AllocOrQuit(blockSize));
    if (data) {
      std::memset(data, 0, blockSize);
      DWORD read = size;
      done = Checked(RegQueryValueExW(key, name, nullptr, &type, data, &read)) == ERROR_SUCCESS;
      if (!done) {
        free(data);
        data = nullptr;
      } else {
        size = read;
      }
    }
  }
  RegCloseKey(key);
  return done;
}

DWORD DecimalText(const BYTE* data, DWORD size) {
  DWORD value = 0;
  for (DWORD i = 0; i + 1 < size; i += 2) {
    WCHAR unit = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    value = value * 10 + (static_cast<DWORD>(unit) - 0x30);
  }
  return value;
}

int WriteValue(LPCWSTR name, DWORD type, const BYTE* data, DWORD size) {
  HKEY key;
  DWORD disposition;
  if (Checked(RegCreateKeyExW(HKEY_CURRENT_USER, ProductKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition)) != ERROR_SUCCESS)
    return 0;
  LONG result = Checked(RegSetValueExW(key, name, 0, type, data, size));
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

DWORD ReadNumber(LPCWSTR keyPath, LPCWSTR name, DWORD fallback) {
  DWORD type, size;
  BYTE* data;
  if (!ReadValue(keyPath, name, Block::Data, type, data, size)) return fallback;
  DWORD value = fallback;
  if (type != REG_DWORD) {
    value = DecimalText(data, size);
  } else if (size <= sizeof value) {
    // A shorter number is read into a zeroed one; a longer one does not fit.
    value = 0;
    std::memcpy(&value, data, size);
  }
  free(data);
  return value;
}

WCHAR* ReadText(LPCWSTR name) {
  DWORD type, size;
  BYTE* data;
  if (!ReadValue(ProductKey, name, Block::Text, type, data, size)) return nullptr;
  return reinterpret_cast<WCHAR*>(data);  // aligned by malloc
}

BYTE* ReadBytes(LPCWSTR name) { return ReadBytesSized(name, nullptr, nullptr); }

BYTE* ReadBytesSized(LPCWSTR name, BYTE* fallback, DWORD* sizeOut) {
  DWORD type, size;
  BYTE* data;
  // An empty value has no bytes to hand out: it reads as a failure.
  if (!ReadValue(ProductKey, name, Block::Data, type, data, size)) return fallback;
  if (size == 0) {
    free(data);
    return fallback;
  }
  if (sizeOut) *sizeOut = size;
  return data;
}

int WriteNumber(LPCWSTR name, DWORD value) {
  return WriteValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

int WriteText(LPCWSTR name, LPCWSTR text) {
  return WriteValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text),
                    static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR)));
}

int WriteByteString(LPCWSTR name, const char* text) {
  return WriteValue(name, REG_BINARY, reinterpret_cast<const BYTE*>(text),
                    static_cast<DWORD>(std::strlen(text) + 1));
}

int WriteBytes(LPCWSTR name, const BYTE* data, DWORD length) {
  return WriteValue(name, REG_BINARY, data, length);
}

HKEY BeginSettingsSave() {
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, ProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

void EndSettingsSave(HKEY save) {
  if (save) RegCloseKey(save);
}
