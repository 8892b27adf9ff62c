// The shell's entry points for the platform's main and for tests, and what its parts
// share: the scale of the bars, the clock of the press-and-hold checks.
#pragma once

#include <chrono>
#include <functional>

#include "platform.h"

namespace shell {

// Registers the shell's window classes, puts the task bar across the top of the screen
// and joins (or becomes) the running copy of this program. Called before WinMain.
void Start();

// Bars are 26 pixels tall on the handheld's 240 x 320 screen and grow by whole multiples
// on larger screens.
int Scale();
int BarHeight();

// The checks the message loop runs when idle: clock and title of the task bar, tooltips.
void RunIdleChecks();

using Clock = std::function<std::chrono::steady_clock::time_point()>;
std::chrono::steady_clock::time_point Now();
void SetClockForTests(Clock clock);

// Forgets the shell's windows and state after the window layer was reset, then starts
// again (without the rendezvous).
void RestartForTests();

}  // namespace shell
