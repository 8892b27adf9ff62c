// The About box: the edition, its picture, the version, who made it and the link that
// opens the maker's home page.
#pragma once

#include "platform.h"

// The link's font while the About box is open, else null.
extern HFONT AboutLinkFont;

// Template IDD_ABOUT modally over `owner`; its result (-1 when the template is missing).
INT_PTR RunAboutDialog(HWND owner);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
