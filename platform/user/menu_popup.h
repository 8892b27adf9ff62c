// Showing and tracking popup menus (see menu_popup.cpp).
#pragma once

#include <string>

#include "platform.h"

namespace user::menu {

// Shows the menu at (x, y) with the TPM_* alignment flags and tracks it until a choice
// (its command id), a dismissal (0), or a menu that cannot be shown (UINT(-1)).
UINT Track(HMENU menu, UINT flags, int x, int y, HWND owner);
bool PopupOpen();
// Closes the open popup as if dismissed.
void Dismiss();
// The lines the window listing shows below an open popup: its items.
std::string DescribePopup(HWND window);

}  // namespace user::menu
