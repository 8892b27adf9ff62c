// The search dialog: the stored pattern in a field in the reading font, the letter
// keyboard below it, and OK, which stores the field as the pattern and searches; the
// dialog closes on a match and stays open, the field selected, when nothing is found.
// While it is active the input panel's button is shown, where the publisher allows it.
#pragma once

#include "platform.h"

// Template IDD_SEARCH modally over `owner`; its result (1 OK, 2 Cancel, -1 when the
// template is missing).
INT_PTR RunSearchDialog(HWND owner);
INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A tap at client x, y: the key under it inserted (0), or 1 when it is on no key.
int KeyboardTap(HWND dialog, int x, int y);

// The field's font while the dialog is open, else null.
extern HFONT SearchFieldFont;
