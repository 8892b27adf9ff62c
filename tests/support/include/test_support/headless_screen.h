// The in-memory screen for tests: a headless screen running a script, with the window
// layer and, for the program's windows, the shell started afresh on it; its removal; and
// stylus input handed to the window layer as the display would hand it.
#pragma once

#include <cstdint>
#include <string>

#include "display/display.h"
#include "platform.h"

namespace test_support {

// A headless screen of the size given running the script's lines (one command a line; a
// line it cannot read fails the test), with the window layer started afresh on it.
void InstallScreen(const std::string& script = "", int width = 240, int height = 320);
// The same, then the shell started afresh on it: the task bar across the top.
void InstallScreenWithShell(const std::string& script = "", int width = 240, int height = 320);
// Ends every window and what the window layer holds, then removes the screen.
void RemoveScreen();

// One stylus event (down, move or up) at the screen point.
void Stylus(display::EventKind kind, int x, int y);
// The stylus down and up again at the screen point.
void Tap(int x, int y);
// The key pressed and released, with the modifiers held.
void Key(UINT virtualKey, uint32_t modifiers = 0);

}  // namespace test_support
