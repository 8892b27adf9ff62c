// The registry calls over HKEY_CURRENT_USER. The file is read at the first call (and
// again when its location changes). Changes (values set, keys made) hold in this
// process at once and reach the file together, in one save (registry_file.h), when the
// last open key is closed, at RegFlushKey, or at the end of the process; a change made
// while no key is open is saved at once. A save takes the file's merged content, with
// what other processes wrote meanwhile. When a save fails, its changes still hold in
// this process and go with the next save; the caller of the call that saved gets the
// error.
#include "kernel/registry.h"

#include <cstdlib>
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
  std::string path;               // the file the tree comes from
  Key tree;                       // the file's content and this process's changes
  std::vector<Change> unsaved;    // changes not yet in the file, in order
  bool changedSinceSave = false;  // a change came after the last save was tried
  std::set<const OpenKey*> handles;
};

void SaveAtExit();

// Never destroyed: the program may write its settings late during its end.
Registry& TheRegistry() {
  static Registry* registry = [] {
    std::atexit(SaveAtExit);
    return new Registry;
  }();
  return *registry;
}

// Reads the file when it has not been read yet or has moved.
void Refresh(Registry& registry) {
  std::string path = kernel::registry::RegistryFilePath();
  if (registry.loaded && path == registry.path) return;
  registry.tree = Key();
  registry.unsaved.clear();
  registry.changedSinceSave = false;
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

void Record(Registry& registry, Change change) {
  Apply(registry.tree, change);
  registry.unsaved.push_back(std::move(change));
  registry.changedSinceSave = true;
}

// Writes every unsaved change in one save; when it fails they stay for the next one.
LONG Save(Registry& registry) {
  registry.changedSinceSave = false;
  if (registry.unsaved.empty()) return ERROR_SUCCESS;
  auto applyUnsaved = [&registry](Key& fresh) {
    for (const Change& pending : registry.unsaved) Apply(fresh, pending);
  };
  LONG result = kernel::registry::UpdateRegistryFile(registry.path, applyUnsaved, registry.tree);
  if (result == ERROR_SUCCESS) registry.unsaved.clear();
  return result;
}

// A save that failed is tried again only with a new change, so that it is reported once.
LONG SaveWhenNoKeyIsOpen(Registry& registry) {
  if (!registry.handles.empty() || !registry.changedSinceSave) return ERROR_SUCCESS;
  return Save(registry);
}

// The process is ending: a save that runs out of memory is lost as a failed one is.
void SaveAtExit() try {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  if (registry.changedSinceSave) Save(registry);
} catch (const std::bad_alloc&) {
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

bool IsKey(const Registry& registry, HKEY key) {
  return key == HKEY_CURRENT_USER || registry.handles.count(reinterpret_cast<const OpenKey*>(key));
}

// The path and access of an open key, or false for a handle that is none.
bool Resolve(const Registry& registry, HKEY key, KeyPath& path, REGSAM& access) {
  if (!IsKey(registry, key)) return false;
  if (key == HKEY_CURRENT_USER) {
    path = {kCurrentUser};
    access = KEY_ALL_ACCESS;
    return true;
  }
  auto* open = reinterpret_cast<const OpenKey*>(key);
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
// and gives a handle to it. A key made here is saved with the changes made through it.
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
  if (!existed && path.size() > kernel::registry::kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  if (!existed) Record(registry, Change{path, false, {}});
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
  // Written as text a value takes up to three times its size: one that would crowd
  // the file past what its reader takes is refused.
  if (size > kernel::registry::kMaxFileSize / 4) return ERROR_INVALID_PARAMETER;
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
  Record(registry, std::move(change));
  return SaveWhenNoKeyIsOpen(registry);
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
  return SaveWhenNoKeyIsOpen(registry);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}

LONG RegFlushKey(HKEY key) try {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  return IsKey(registry, key) ? Save(registry) : ERROR_INVALID_HANDLE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(ERROR_NOT_ENOUGH_MEMORY);
}
