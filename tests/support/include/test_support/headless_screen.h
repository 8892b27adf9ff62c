// The in-memory screen for tests: a headless screen running a script, with the window
// layer and, for the program's windows, the shell started afresh on it; and its removal.
#pragma once

#include <string>

namespace test_support {

// A headless screen of the size given running the script's lines (one command a line; a
// line it cannot read fails the test), with the window layer started afresh on it.
void InstallScreen(const std::string& script = "", int width = 240, int height = 320);
// The same, then the shell started afresh on it: the task bar across the top.
void InstallScreenWithShell(const std::string& script = "", int width = 240, int height = 320);
// Ends every window and what the window layer holds, then removes the screen.
void RemoveScreen();

}  // namespace test_support
