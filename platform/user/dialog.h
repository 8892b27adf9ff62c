// The dialog manager's internal interface: the state each dialog window keeps, and
// template reading with the byte bounds the kernel knows for resources.
#pragma once

#include <cstddef>

#include "platform.h"

namespace user::dialog {

// Registers the dialog class, with its field in the window listing (at start-up, see
// RegisterBuiltInClasses).
void RegisterDialogClass();

// Whether the window is a dialog made by this manager.
bool IsDialog(HWND window);

// Ends the innermost running modal dialog with IDCANCEL, as the system does at exit;
// true when there was one.
bool CancelInnermost();
// Gives the dialog IDCANCEL and ends it with IDCANCEL when its procedure did not.
void Cancel(HWND dialog);

// Pixels for dialog units with the given base units: x * baseX / 4, y * baseY / 8.
inline int UnitsToPixelsX(int units, int baseX) { return units * baseX / 4; }
inline int UnitsToPixelsY(int units, int baseY) { return units * baseY / 8; }

// Base units of a font: vertical the cell height, horizontal the average width of the
// letters A-Z and a-z, rounded.
SIZE BaseUnitsOf(HFONT font);

}  // namespace user::dialog
