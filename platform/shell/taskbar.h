// The task bar across the top of the screen: start icon, the active window's title and
// the time. While it is shown the work area starts below it.
#pragma once

#include "platform.h"

namespace shell {

inline constexpr const char16_t* kTaskBarClass = u"HHTaskBar";

void RegisterTaskBarClass();
HWND CreateTaskBar();
HWND TaskBar();
void ForgetTaskBar();
void ShowStartIcon(bool shown);
// Repaints when the active window's title or the minute changed.
void RefreshTaskBar();
// Follows a new screen size: full width, scaled height, work area below it.
void FitTaskBar();

}  // namespace shell
