#include "display/sdl_module.h"

#include <dlfcn.h>

namespace display {

std::unique_ptr<Display> OpenSdlDisplay(int width, int height, int zoom, std::string& error) {
  // Loaded for good: SDL keeps threads of its own, and the display may live to the end.
  void* module = dlopen(kSdlModuleFile, RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* reason = dlerror();
    error = std::string("the window module cannot be loaded: ") + (reason ? reason : kSdlModuleFile);
    return nullptr;
  }
  auto create = reinterpret_cast<SdlModuleEntry>(dlsym(module, kSdlModuleEntry));
  if (!create) {
    error = std::string("the window module ") + kSdlModuleFile + " has no " + kSdlModuleEntry;
    return nullptr;
  }
  return std::unique_ptr<Display>(create(width, height, zoom, &error));
}

}  // namespace display
