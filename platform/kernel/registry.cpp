// The registry calls over HKEY_CURRENT_USER. The file is read at the first call (and
// again when its location changes); each RegSetValueExW, and each RegCreateKeyExW that
// makes a new key, writes the file (registry_file.h) and takes its merged content,
// with what other processes wrote meanwhile. When a write fails, the change still
// holds in this process and is written again with its next write that succeeds;
// the caller gets the error.
#include "kernel/registry.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <set>

#include "kernel/registry_file.h"
#include "kernel/registry_tree.h"
#include "kernel/utf.h"
#include "platform/kernel.h"
#include "kernel/out_of_memory.h"

namespace {

using kernel::registry::Key;
using kernel::registry::KeyPath;
using kernel::registry::Value;

constexpr char16_t kCurrentUser[] = u"HKEY_CURRENT_USER";

struct OpenKey {
  KeyPath path;
  REGSAM access;
};

// A key made or a value set by this process.
struct Change {
  KeyPath key;
  bool setsValue = false;
  Value value;
};

struct Registry {
  std::mutex mutex;
  bool loaded = false;
  std::string path;            // the file the tree comes from
  Key tree;                    // the file's content and this process's changes
  std::vector<Change> unsaved; // changes whose write failed, written with the next one
  std::set<const OpenKey*> handles;
};

// Never destroyed: the program may write its settings late during its end.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// Reads the file when it has not been read yet or has moved.
void Refresh(Registry& registry) {
  std::string path = kernel::registry::RegistryFilePath();
  if (registry.loaded && path == registry.path) return;
  registry.tree = Key();
  registry.unsaved.clear();
  registry.path = path;
  registry.loaded = true;
  kernel::registry::LoadRegistryFile(path, registry.tree);
}

void Apply(Key& root, const Change& change) {
  Key& key = kernel::registry::MakeKey(root, change.key);
  if (change.setsValue) {
    key.SetValue(change.value.name, change.value.type, change.value.data);
  } else {
    key.listed = true;
  }
}

LONG Write(Registry& registry, Change change) {
  registry.unsaved.push_back(change);
  auto applyUnsaved = [&registry](Key& fresh) {
    for (const Change& pending : registry.unsaved) Apply(fresh, pending);
  };
  LONG result = kernel::registry::UpdateRegistryFile(registry.path, applyUnsaved, registry.tree);
  if (result == ERROR_SUCCESS) {
    registry.unsaved.clear();
  } else {
    Apply(registry.tree, change);
  }
  return result;
}

// A name the file can hold: no line breaks or other control units, no unpaired
// surrogate.
bool IsStorableName(std::u16string_view name) {
  for (char16_t unit : name) {
    if (unit < 0x20 && unit != u'\t') return false;
  }
  return kernel::IsWellFormedUtf16(name);
}

bool AppendSubKey(KeyPath& path, LPCWSTR subKey) {
  if (subKey == nullptr) return true;
  std::u16string_view rest(subKey);
  while (!rest.empty()) {
    size_t slash = rest.find(u'\\');
    std::u16string_view name = rest.substr(0, slash);
    if (!IsStorableName(name)) return false;
    if (!name.empty()) path.emplace_back(name);
    rest.remove_prefix(slash == std::u16string_view::npos ? rest.size() : slash + 1);
  }
  return true;
}

// The path and access of an open key, or false for a handle that is none.
bool Resolve(const Registry& registry, HKEY key, KeyPath& path, REGSAM& access) {
  if (key == HKEY_CURRENT_USER) {
    path = {kCurrentUser};
    access = KEY_ALL_ACCESS;
    return true;
  }
  auto* open = reinterpret_cast<const OpenKey*>(key);
  if (registry.handles.count(open) == 0) return false;
  path = open->path;
  access = open->access;
  return true;
}

bool KeyExists(const Registry& registry, const KeyPath& path) {
  return path.size() == 1 || kernel::registry::FindKey(registry.tree, path) != nullptr;
}

HKEY NewHandle(Registry& registry, KeyPath path, REGSAM access) {
  auto open = std::make_unique<OpenKey>(OpenKey{std::move(path), access});
  registry.handles.insert(open.get());  // owned by the table from here on
  return reinterpret_cast<HKEY>(open.release());
}

// The path named by key and subKey; an error code when there is none.
LONG SubKeyPath(Registry& registry, HKEY key, LPCWSTR subKey, KeyPath& path) {
  REGSAM access;
  if (!Resolve(registry, key, path, access)) return ERROR_INVALID_HANDLE;
  if (!AppendSubKey(path, subKey)) return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

// What a missing key does: RegOpenKeyExW fails, RegCreateKeyExW makes it.
enum class Missing { Fails, IsMade };

// What RegOpenKeyExW and RegCreateKeyExW share: checks the arguments, finds key\subKey
// and gives a handle to it. A key made here is written at once, or, when the write
// fails, exists in this process and is written with the next write.
LONG OpenSubKey(HKEY key, LPCWSTR subKey, REGSAM access, Missing missing, PHKEY result,
                bool& existed) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  Refresh(registry);
  KeyPath path;
  if (LONG error = SubKeyPath(registry, key, subKey, path)) return error;
  existed = KeyExists(registry, path);
  if (!existed && missing == Missing::Fails) return ERROR_FILE_NOT_FOUND;
  if (!existed) Write(registry, Change{path, false, {}});
  *result = NewHandle(registry, std::move(path), access);
  return ERROR_SUCCESS;
}

}  // namespace

namespace kernel {

void ForgetRegistry() {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  registry.loaded = false;
}

}  // namespace kernel

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) try {
  bool existed = false;
  return OpenSubKey(key, subKey, access, Missing::Fails, result, existed);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                     LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) try {
  bool existed = false;
  LONG error = OpenSubKey(key, subKey, access, Missing::IsMade, result, existed);
  if (error == ERROR_SUCCESS && disposition != nullptr)
    *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  return error;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD size) try {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  Refresh(registry);
  KeyPath path;
  REGSAM access;
  if (!Resolve(registry, key, path, access)) return ERROR_INVALID_HANDLE;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const Key* found = kernel::registry::FindKey(registry.tree, path);
  const Value* value = found ? found->FindValue(name ? name : u"") : nullptr;
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->type;
  DWORD needed = static_cast<DWORD>(value->data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr && needed > 0) std::memcpy(data, value->data.data(), needed);
  if (size != nullptr) *size = needed;
  return ERROR_SUCCESS;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) try {
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  std::u16string_view valueName = name ? name : u"";
  if (!IsStorableName(valueName)) return ERROR_INVALID_PARAMETER;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  Refresh(registry);
  Change change;
  REGSAM access;
  if (!Resolve(registry, key, change.key, access)) return ERROR_INVALID_HANDLE;
  if ((access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  change.setsValue = true;
  change.value = Value{std::u16string(valueName), type, std::vector<uint8_t>(data, data + size)};
  return Write(registry, std::move(change));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}

LONG RegCloseKey(HKEY key) try {
  if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  auto* open = reinterpret_cast<const OpenKey*>(key);
  if (registry.handles.erase(open) == 0) return ERROR_INVALID_HANDLE;
  delete open;
  return ERROR_SUCCESS;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}
