// The two bar kinds: the menu bar at the bottom of the screen and the command bar at the
// top of a window's client area.
#pragma once

#include "platform.h"

namespace shell {

inline constexpr const char16_t* kMenuBarClass = u"MenuBar";
inline constexpr const char16_t* kCommandBarClass = u"CommandBar";

void RegisterMenuBarClass();
void RegisterCommandBarClass();
// Keep the bars at their edges after the screen changed size (oldWidth: its former width).
void FitMenuBars(int oldWidth);
void FitCommandBars();

}  // namespace shell
