// Finding resources by type and name, for every layer that reads them (bitmaps,
// icons, dialogs, menus, string tables, raw data).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "kernel/module.h"
#include "platform/kernel.h"

namespace kernel {

// The entries of a .res file (the empty first entry left out), their data in place in
// bytes; nothing when any header is cut off, claims sizes past the end or the file
// does not start with the empty entry of a 32-bit .res file.
std::optional<std::vector<ResourceEntry>> ParseResourceFile(std::span<const uint8_t> bytes);

// The entry of type and name (numbers made with MAKEINTRESOURCEW, "#123", or texts
// compared without regard to ASCII case), or null.
const ResourceEntry* FindResourceEntry(HMODULE module, LPCWSTR type, LPCWSTR name);

// The bytes of a resource in place, read-only; data() is null when there is none.
std::span<const uint8_t> FindResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name);
inline std::span<const uint8_t> FindResourceBytes(HMODULE module, WORD type, WORD id) {
  return FindResourceBytes(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id));
}

// A module whose resources are the .res file in bytes (for tests); null when the
// bytes are no sound .res file. The module lasts until the process ends.
HMODULE LoadModuleFromBytes(std::vector<uint8_t> bytes);

}  // namespace kernel
