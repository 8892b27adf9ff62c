// Module handles: the program's, with its file name and embedded resources, and
// those made from resource bytes.
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "kernel/module.h"
#include "kernel/resources.h"
#include "kernel/utf.h"
#include "platform/kernel.h"
#include "kernel/out_of_memory.h"

// The program's .res bytes, embedded by the build (cmake/Resources.cmake); both are
// null in a program without resources.
extern "C" {
extern const unsigned char vintrel_module_resources[] __attribute__((weak));
extern const unsigned char vintrel_module_resources_end[] __attribute__((weak));
}

namespace kernel {
namespace {

std::unique_ptr<Module> MakeProgramModule() {
  auto program = std::make_unique<Module>();
  program->program = true;
  if (vintrel_module_resources == nullptr || vintrel_module_resources_end == nullptr) {
    return program;
  }
  std::span<const uint8_t> bytes(vintrel_module_resources, vintrel_module_resources_end);
  if (auto entries = ParseResourceFile(bytes)) {
    program->resources = std::move(*entries);
  } else {
    std::fprintf(stderr, "vintrel: the program's resources are damaged and are not used\n");
  }
  return program;
}

struct Modules {
  std::mutex mutex;
  std::vector<std::unique_ptr<Module>> fromBytes;
};

// Never destroyed: resources may be used late during the program's end.
Modules& TheModules() {
  static Modules* modules = new Modules;
  return *modules;
}

}  // namespace

Module& ProgramModule() {
  static Module* program = MakeProgramModule().release();
  return *program;
}

Module* ModuleFromHandle(HMODULE handle) {
  if (handle == nullptr || handle == HandleOf(ProgramModule())) return &ProgramModule();
  Modules& modules = TheModules();
  std::lock_guard<std::mutex> hold(modules.mutex);
  for (const auto& module : modules.fromBytes) {
    if (HandleOf(*module) == handle) return module.get();
  }
  return nullptr;
}

HMODULE HandleOf(Module& module) { return reinterpret_cast<HMODULE>(&module); }

HMODULE AddModule(std::unique_ptr<Module> module) {
  Modules& modules = TheModules();
  std::lock_guard<std::mutex> hold(modules.mutex);
  modules.fromBytes.push_back(std::move(module));
  return HandleOf(*modules.fromBytes.back());
}

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
HMODULE GetModuleHandleW(LPCWSTR name) try {
  if (name != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return kernel::HandleOf(kernel::ProgramModule());
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

// Copies the executable's path; when it does not fit, as much as fits with a
// terminator, returning the buffer size with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size) try {
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
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
