// The main window: its procedure, paging by keys, taps and the scroll bar, and the
// commands of the menu and the tool bar.
#pragma once

#include "platform.h"

struct ArticleView;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Commands (main_commands.cpp) ----
// 0 when the command (low word of wParam) was handled, 1 otherwise.
int HandleCommand(HWND window, WPARAM wParam);
// Shows the lesson (0: today's) from its top; 1, with nothing changed, when its text
// cannot be loaded.
int ShowLesson(HWND window, WORD lesson);
// The lesson delta away from the current one, 267 and 1 wrapping round.
int StepLesson(HWND window, int delta);
// What the table of contents returned: a lesson other than the current one is shown;
// 0 or the current lesson changes nothing.
void ShowChosenLesson(HWND window, WORD chosen);

// ---- Paging (main_paging.cpp) ----
// Pages by a tap at client x, y in the view or its gutter; 1 when it paged.
int TapPage(HWND window, ArticleView* view, int x, int y);
// WM_KEYDOWN: 0 for the keys of the reader, 1 for any other.
LRESULT HandleKey(HWND window, WPARAM key);
// The lines a key page (Page Up, Page Down) moves.
int KeyPageLines();
// The lines a scroll-bar request moves: code and position as in WM_VSCROLL's wParam.
int ScrollBarLines(WPARAM wParam);
