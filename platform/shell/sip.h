// The input panel: a small on-screen keyboard of printable ASCII above the menu bar,
// whose keys type into the focused control.
#pragma once

#include "platform.h"

namespace shell {

void RegisterInputPanelClass();
bool InputPanelShown();
void ShowInputPanel(bool shown);
// Keeps the panel above the menu bar after the screen or the bars changed.
void PlaceInputPanel();
void ForgetInputPanel();

// The keys, for layout and tests: each row of a page, one character per key.
inline constexpr const char* kPanelRows[2][4] = {
    {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`", "zxcvbnm,./\\"},
    {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"~", "ZXCVBNM<>?|"},
};

}  // namespace shell
