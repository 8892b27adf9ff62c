// The main window: its procedure, the reading view inside it, paging by keys, taps and
// the scroll bar, and the commands of the menu and the tool bar.
#pragma once

#include "platform.h"

struct ArticleView;

// Paint flags: draw the view; fill its background first. Every caller passes both.
constexpr UINT PaintDraw = 0x0001;
constexpr UINT PaintErase = 0x0100;
constexpr UINT PaintAll = 0x01FF;

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

// ---- The reading view (main_view.cpp) ----
// 0 when the view and its lesson are in place (or the lesson is missing, after saying
// so); 1 when no view could be created.
int CreateMainView(HWND window);
// Gives the text to the view to lay out (freeOld: its previous text is freed); true
// when the view took it, else the text is freed.
bool PlaceMainViewText(BYTE* text, bool freeOld);
// Fits the view to the new client size (lParam of WM_SIZE).
void ResizeMainView(HWND window, LPARAM lParam);
// The scroll bar's range and position from the view, when the window has one.
void SyncScrollBar(HWND window);
// Draws the view (flags as PaintAll) through its own device context; with dc null,
// inside BeginPaint and EndPaint, which validate the window.
void PaintView(HDC dc, HWND window, UINT flags);
// Draws at once; a null window means the main window.
void RepaintView(HWND window, UINT flags);

// ---- Paging (main_paging.cpp) ----
// Pages by a tap at client x, y in the view or its gutter; 1 when it paged.
int TapPage(HWND window, ArticleView* view, int x, int y);
// WM_KEYDOWN: 0 for the keys of the reader, 1 for any other.
LRESULT HandleKey(HWND window, WPARAM key);
// The lines a key page (Page Up, Page Down) moves.
int KeyPageLines();
// The lines a scroll-bar request moves: code and position as in WM_VSCROLL's wParam.
int ScrollBarLines(WPARAM wParam);
