// Finding resources in a module and the calls over them: FindResourceW, LoadResource,
// SizeofResource, LockResource and LoadStringW. Resource data is used in place.
#include "kernel/resources.h"
#include "kernel/out_of_memory.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace kernel {
namespace {

char16_t FoldCase(char16_t unit) { return (unit >= u'a' && unit <= u'z') ? unit - (u'a' - u'A') : unit; }

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// A name as the caller gives it: a number in a pointer, "#123", or a text.
ResourceName NameFromArgument(LPCWSTR argument) {
  ResourceName name;
  if (IS_INTRESOURCE(argument)) {
    name.ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument));
    return name;
  }
  std::u16string_view text(argument);
  if (text.size() > 1 && text.size() <= 6 && text[0] == u'#') {
    unsigned number = 0;
    bool digits = true;
    for (char16_t unit : text.substr(1)) {
      digits &= unit >= u'0' && unit <= u'9';
      number = number * 10 + (unit - u'0');
    }
    if (digits && number <= 0xFFFF) {
      name.ordinal = static_cast<WORD>(number);
      return name;
    }
  }
  name.text = text;
  return name;
}

bool Matches(const ResourceName& stored, const ResourceName& wanted) {
  if (stored.text.empty() != wanted.text.empty()) return false;
  return stored.text.empty() ? stored.ordinal == wanted.ordinal : SameText(stored.text, wanted.text);
}

// True when entry is one of module's own entries.
bool BelongsTo(const Module& module, const ResourceEntry* entry) {
  const ResourceEntry* first = module.resources.data();
  return entry != nullptr && entry >= first && entry < first + module.resources.size();
}

// The data of an entry; a resource with no bytes still has an address.
std::span<const uint8_t> DataOf(const ResourceEntry& entry) {
  static const uint8_t nothing = 0;
  return entry.data.empty() ? std::span<const uint8_t>(&nothing, 0) : entry.data;
}

// The entry a resource handle stands for, when it is one of module's.
const ResourceEntry* EntryOf(HMODULE handle, HRSRC resource) {
  const Module* module = ModuleFromHandle(handle);
  auto* entry = reinterpret_cast<const ResourceEntry*>(resource);
  return module != nullptr && BelongsTo(*module, entry) ? entry : nullptr;
}

// The counted string id of a string table: (text, length), or a null text.
std::pair<const char16_t*, size_t> FindString(HMODULE module, UINT id) {
  std::span<const uint8_t> block = FindResourceBytes(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1));
  size_t offset = 0;
  for (UINT index = 0; block.data() != nullptr; ++index) {
    if (block.size() - offset < 2) break;
    size_t length = block[offset] | (block[offset + 1] << 8);
    offset += 2;
    if (length > (block.size() - offset) / 2) break;
    if (index == id % 16) {
      return {reinterpret_cast<const char16_t*>(block.data() + offset), length};
    }
    offset += length * 2;
  }
  return {nullptr, 0};
}

}  // namespace

const ResourceEntry* FindResourceEntry(HMODULE handle, LPCWSTR type, LPCWSTR name) {
  const Module* module = ModuleFromHandle(handle);
  if (module == nullptr || type == nullptr || name == nullptr) return nullptr;
  ResourceName wantedType = NameFromArgument(type);
  ResourceName wantedName = NameFromArgument(name);
  for (const ResourceEntry& entry : module->resources) {
    if (Matches(entry.type, wantedType) && Matches(entry.name, wantedName)) return &entry;
  }
  return nullptr;
}

std::span<const uint8_t> FindResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  const ResourceEntry* entry = FindResourceEntry(module, type, name);
  return entry == nullptr ? std::span<const uint8_t>() : DataOf(*entry);
}

HMODULE LoadModuleFromBytes(std::vector<uint8_t> bytes) {
  auto module = std::make_unique<Module>();
  module->owned = std::move(bytes);
  auto entries = ParseResourceFile(module->owned);
  if (!entries) return nullptr;
  module->resources = std::move(*entries);
  return AddModule(std::move(module));
}

}  // namespace kernel

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) try {
  const kernel::ResourceEntry* entry = kernel::FindResourceEntry(module, type, name);
  if (entry == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<kernel::ResourceEntry*>(entry));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

// The data in place; it is read-only.
HGLOBAL LoadResource(HMODULE module, HRSRC resource) try {
  const kernel::ResourceEntry* entry = kernel::EntryOf(module, resource);
  if (entry == nullptr) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return const_cast<uint8_t*>(kernel::DataOf(*entry).data());
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

DWORD SizeofResource(HMODULE module, HRSRC resource) try {
  const kernel::ResourceEntry* entry = kernel::EntryOf(module, resource);
  if (entry == nullptr) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return 0;
  }
  return static_cast<DWORD>(entry->data.size());
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

LPVOID LockResource(HGLOBAL data) { return data; }

// Copies string id, cut to size - 1 units, terminated, and returns its length; with
// size 0 it stores a pointer to the read-only, unterminated text in buffer instead.
// A missing string gives 0 (and an empty buffer).
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) try {
  if (buffer == nullptr || size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto [text, length] = kernel::FindString(instance, id);
  if (text == nullptr || length == 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (size > 0) buffer[0] = 0;
    return 0;
  }
  if (size == 0) {
    std::memcpy(buffer, &text, sizeof text);
    return static_cast<int>(length);
  }
  size_t copied = std::min(length, static_cast<size_t>(size) - 1);
  std::memcpy(buffer, text, copied * sizeof(WCHAR));
  buffer[copied] = 0;
  return static_cast<int>(copied);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
