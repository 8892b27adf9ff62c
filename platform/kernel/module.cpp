// The program's module handle and file name.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "kernel/module.h"
#include "kernel/utf.h"
#include "platform/kernel.h"

namespace kernel {

Module& ProgramModule() {
  static Module program{true};
  return program;
}

Module* ModuleFromHandle(HMODULE handle) {
  if (handle == nullptr || handle == HandleOf(ProgramModule())) return &ProgramModule();
  return nullptr;
}

HMODULE HandleOf(Module& module) { return reinterpret_cast<HMODULE>(&module); }

}  // namespace kernel

namespace {

// The real path of the running executable, or empty when the system does not say.
std::string ExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(static_cast<size_t>(length));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

// Only the program itself can be asked for by a null name; named modules do not exist.
HMODULE GetModuleHandleW(LPCWSTR name) {
  if (name != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return kernel::HandleOf(kernel::ProgramModule());
}

// Copies the executable's path; when it does not fit, as much as fits with a
// terminator, returning the buffer size with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size) {
  kernel::Module* target = kernel::ModuleFromHandle(module);
  std::u16string name;
  if (target == nullptr || !target->program || (name = kernel::Utf8ToUtf16(ExecutablePath())).empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (size == 0 || path == nullptr) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (name.size() >= size) {
    name.copy(path, size - 1);
    path[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  name.copy(path, name.size());
  path[name.size()] = 0;
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(name.size());
}
