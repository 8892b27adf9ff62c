// The letter keyboard of the search dialog: bitmap 119 below the field, 27 letter keys
// in three rows of nine, numbered from the top right cell leftward, and the space bar.
// A key's character goes in at the field's caret and the caret moves back before it,
// so that a word keyed in reading order stands in the field in display order, as the
// lessons store it. Characters typed into the field from a keyboard go in the same way.
#pragma once

#include "platform.h"

// The bitmap's place in the dialog (dialog units) and its geometry (pixels).
constexpr int KeyboardLeftUnits = 7;
constexpr int KeyboardTopUnits = 71;
constexpr int KeyboardWidth = 154;
constexpr int KeyboardHeight = 95;
constexpr int KeyCellWidth = 17;
constexpr int KeyCellHeight = 25;
constexpr int KeysInRow = 9;
constexpr int KeyRows = 3;

// Key numbers: the space bar, the letters, and no key.
constexpr int SpaceBarKey = 0;
constexpr int LetterKeys = 27;
constexpr int NoKey = -1;

// The key at x, y pixels from the bitmap's top left corner: the letter keys inside the
// grid (not on its right border line), the space bar in columns 2 to 6 below it.
int KeyAt(int x, int y);

// The character of a key in the code base: a space, or the letter at the key's place in
// the alphabetical order.
WCHAR KeyUnit(int key, LONG codeBase);

// Inserts the key's character into the dialog's search field before the caret; keys
// other than 0 to 27 and a dialog without the field insert nothing.
void InsertKey(HWND dialog, int key);

// The unit goes in for the selection (or at the caret), then the caret moves one place
// back from where the selection began, whether the field took the unit or was full.
void InsertBeforeCaret(HWND field, WCHAR unit);

// Makes the field take a typed Hebrew letter, space, `*` or `?` as the keyboard's key
// would give it; every other character it takes as an edit control does.
void TypeLikeTheKeyboard(HWND field);
