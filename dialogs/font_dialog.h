// The Choose Font dialog: the reading font's face from the installed families, its size
// from a fixed list and its code base (where the font keeps alef), with a preview of the
// code base's 27 letter positions in the chosen face and size. It edits the FontChoice
// it is given only on OK, apart from a code base of 0, which becomes 1488 as it opens.
#pragma once

#include "base/app_state.h"
#include "platform.h"

// The sizes offered, in this order.
constexpr int FontSizeChoiceCount = 14;
extern const LONG FontSizeChoices[FontSizeChoiceCount];

// ReadFontSelection's modes.
enum : int {
  CommitSelection = 0x1,  // OK: the selection goes into the FontChoice
  FacePicked = 0x2,       // a face was picked: a Hebrew face switches to code base 1488
};

// Template IDD_CHOOSE_FONT modally over `owner` for `font`: 1 for OK, 2 for Cancel
// (-1 when the template is missing).
INT_PTR RunFontDialog(HWND owner, FontChoice* font);

INT_PTR CALLBACK FontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void InitFontDialog(HWND dialog, FontChoice* choice);
// Reads both lists into the preview description and rebuilds the preview font, or with
// CommitSelection hands size, code base and face to the FontChoice.
void ReadFontSelection(HWND dialog, int mode);
// The preview field shows the 27 positions from code base + 26 down to the code base.
void SetPreviewLetters(HWND dialog, LONG codeBase);
// The dialog's state before it runs: no font list, no preview font or description.
void ResetFontList();
// Frees the font list and the preview font, then resets.
void FreeFontList();

// Where each control goes for a client area of `width` x `height` pixels.
struct ControlPlace {
  int Id;
  int X, Y, Width, Height;  // in the dialog's client area
};
constexpr int FontDialogControlCount = 6;
void FontDialogLayout(int width, int height, ControlPlace (&places)[FontDialogControlCount]);
