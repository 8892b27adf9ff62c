// The one function the SDL window's module exports.
#include "display/sdl.h"
#include "display/sdl_module.h"

extern "C" __attribute__((visibility("default"))) display::Display* VintrelCreateSdlDisplay(
    int width, int height, int zoom, std::string* error) {
  return display::CreateSdlDisplay(width, height, zoom, *error).release();
}
