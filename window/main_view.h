// The reading view inside the main window: made at the window's creation over the
// client area less the menu bar and the gutter, fitted to new sizes, painted through
// its own device context, and mirrored by the scroll bar.
#pragma once

#include "platform.h"

// Paint flags: draw the view; fill its background first. Every caller passes both.
constexpr UINT PaintDraw = 0x0001;
constexpr UINT PaintErase = 0x0100;
constexpr UINT PaintAll = 0x01FF;

// 0 when the view and its lesson are in place (or the lesson is missing, after saying
// so); 1 when no view could be created.
int CreateMainView(HWND window);
// Gives the text to the view to lay out (freeOld: its previous text is freed) and
// returns the layout's status: LayoutDone when the view took it; else the text is freed
// and the view keeps the page it had.
WORD PlaceMainViewText(BYTE* text, bool freeOld);
// Fits the view to the new client size (lParam of WM_SIZE).
void ResizeMainView(HWND window, LPARAM lParam);
// The scroll bar's range and position from the view, when the window has one.
void SyncScrollBar(HWND window);
// Draws the view (flags as PaintAll) through its own device context; with dc null,
// inside BeginPaint and EndPaint, which validate the window.
void PaintView(HDC dc, HWND window, UINT flags);
// Draws at once; a null window means the main window.
void RepaintView(HWND window, UINT flags);
