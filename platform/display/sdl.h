// The screen in a real window on the desktop: one resizable SDL window showing the
// screen at an integer zoom, with keys, text, stylus (mouse), wheel and close button.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "display/display.h"

namespace display {

// A window for a screen of width x height pixels shown zoom times larger; with zoom 0,
// at the zoom that fits the desktop (FittingZoom).
// Null when no window can be opened (no display to connect to); error then says why in
// a few words, for the caller's one-line message.
std::unique_ptr<Display> CreateSdlDisplay(int width, int height, int zoom, std::string& error);

// The virtual-key code for an SDL key code, 0 for a key that is not passed on.
uint32_t VirtualKeyForSdlKey(int32_t sdlKey);

}  // namespace display
