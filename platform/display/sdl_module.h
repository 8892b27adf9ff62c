// The SDL window as a module of its own, loaded when a window is asked for: a headless
// run, --help and --version never load SDL2 and the many libraries it brings. The
// module exports one function that makes the window (see sdl.h); the program's run path
// names the module's folder.
#pragma once

#include <memory>
#include <string>

#include "display/display.h"

namespace display {

inline constexpr char kSdlModuleFile[] = "vintrel-sdl.so";
inline constexpr char kSdlModuleEntry[] = "VintrelCreateSdlDisplay";

// The module's entry: CreateSdlDisplay, with the display handed over as a plain pointer.
using SdlModuleEntry = Display* (*)(int width, int height, int zoom, std::string* error);

// Loads the module (once) and makes the window, as CreateSdlDisplay does; null with the
// reason in error when the module cannot be loaded or no window can be opened.
std::unique_ptr<Display> OpenSdlDisplay(int width, int height, int zoom, std::string& error);

}  // namespace display
