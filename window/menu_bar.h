// The menu bar at the bottom of the screen or the command bar at the top of the main
// window, with the "&Go" menu, the tool-bar buttons and the check marks of Reverse and
// Bookmark; and the full-screen set-up of dialogs.
#pragma once

#include "platform.h"

// Builds the bar for App.MainWindow; sets App.MenuBar, App.MenuBarHeight and, from
// version 4.21 on, App.MenuBarOnBottom. When the shell refuses the bottom bar there is
// no bar: App.MenuBar stays null and App.MenuBarHeight 0.
void CreateMenuBar();
// The menu holding the command items, or null without a bar.
HMENU CommandMenu();
// With set, checks (checked != 0) or unchecks the item; without, toggles it. The
// item's check state afterwards, 1 or 0 (0 for a toggle of an item that is not there).
int SetMenuCheck(HMENU menu, int set, UINT id, int checked);
// The Bookmark item's check mark from whether the current lesson is bookmarked.
void UpdateBookmarkCheck(HWND window, int set);
// set = 1: the Reverse item's check mark from App.Flags; set = 0: toggles it. Either
// way the Reverse bit of App.Flags takes the resulting state. Without the item (no bar)
// set = 1 leaves the bit as it is and set = 0 still flips it.
void UpdateReverseCheck(HWND window, int set);
// The shell's set-up of a dialog for the screen mode: the Done button in normal mode;
// in full-screen mode none, and the dialog stretched up to the top of the screen.
void InitDialogScreen(HWND dialog, DWORD flags);
