// The screen in memory, for tests and scripted runs: input comes from a script, the last
// presented frame can be written as a PNG.
#pragma once

#include <memory>

#include "display/display.h"
#include "display/script.h"

namespace display {

// A width x height screen fed by the script's steps. After the last step it answers
// every request for input with Quit, so a scripted run always ends.
std::unique_ptr<Display> CreateHeadless(int width, int height, Script script);

// The pixels the headless display was last given (width() x height()), or null when
// the display is not a headless one.
const std::vector<uint32_t>* HeadlessFrame(Display* display);

}  // namespace display
