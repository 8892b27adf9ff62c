// Functions the window layer's files share among themselves.
#pragma once

#include "user/system.h"
#include "user/window.h"

namespace user {

// Private lParam bit of WM_KEYDOWN: the display types no text for this key, so
// TranslateMessage makes its WM_CHAR (a script's `key` line does this).
constexpr LPARAM kKeyTypesText = LPARAM(1) << 25;

// ---- window.cpp -----------------------------------------------------------------------
bool DestroyTree(HWND handle);
void RestackTopLevels();

// ---- position.cpp --------------------------------------------------------------------
POINT WindowOrigin(const Window& w);  // the window's top-left corner on the screen
POINT ClientOrigin(const Window& w);  // the client area's top-left corner on the screen
RECT ScreenRect(const Window& w);     // the window rectangle on the screen
void SendSizeAndMove(Window& w);
// The frame changed (scroll bar shown or hidden): redraw, and WM_SIZE when the client
// size changed.
void FrameChanged(HWND handle, SIZE oldClient);
SIZE ClientSize(const Window& w);
void HideForDestruction(Window& w);
void ResizeDefaultWindows();
// The topmost visible top-level window at a screen point, and the deepest visible child
// of a window at that point.
HWND TopLevelAt(POINT screen);
HWND DeepestChildAt(HWND top, POINT screen);

// ---- focus.cpp ---------------------------------------------------------------------------
void Activate(HWND handle, WORD state);
// After the active window went away: the next one to activate.
void ActivateNext(HWND leaving);

// ---- paint.cpp ---------------------------------------------------------------------------
void AllocateSurface(Window& w);
void ResizeSurface(Window& w);
// Marks an area of the window's client area (client coordinates) and of its children
// there as needing paint.
void InvalidateClient(Window& w, const RECT& area, bool erase);
// The window needs a whole repaint: frame and client.
void InvalidateWhole(Window& w);
// The area a window covered, in its parent's client coordinates, shows the parent again.
void ExposeInParent(const Window& w, const RECT& rect);
// The first window, in paint order, with an update region.
HWND NextWindowToPaint();
HDC WindowDC(HWND handle, bool wholeWindow);
bool SurfaceTopLeft(const Window& w, POINT& at);  // the window's corner on its surface
// Shows the composed screen on the display unless it shows exactly that already.
void PresentChanges(display::Display& d);

// ---- nonclient.cpp -------------------------------------------------------------------------
Frame ComputeFrame(const Window& w);
void DrawFrame(Window& w);
void DrawDirtyFrames();
HFONT CaptionFont();
HFONT TextFont();

// ---- scrollbar.cpp ---------------------------------------------------------------------------
struct ScrollParts {
  RECT up{}, down{}, track{}, thumb{};
  bool hasThumb = false;
};
ScrollParts ScrollGeometry(const Window& w, const RECT& bar, bool tracking, int trackPos);
void DrawScrollBar(Window& w, HDC windowDC, const RECT& bar);
bool ScrollBarEmpty(const ScrollBar& bar);
// Stylus on a window's vertical scroll bar: true when the press started tracking.
bool ScrollBarPress(HWND handle, POINT screen);
void ScrollBarMove(POINT screen);
void ScrollBarRelease(POINT screen);
bool ScrollBarTracking();
bool ScrollBarTracked(HWND handle, int& trackPos);

// ---- message.cpp ---------------------------------------------------------------------------
void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD Now();

// ---- system.cpp --------------------------------------------------------------------------
// The screen changed size: the work area keeps its distances from the edges,
// CW_USEDEFAULT windows follow it, then the screen-size hooks run.
void SetScreenSize(int width, int height);

// ---- input.cpp -------------------------------------------------------------------------------
void CancelModalLoops();
// A close request the loop can carry out now: no modal loop is left and there is a main
// window to close.
bool CloseRequestWaiting();
void CloseMainWhenUnwound();

}  // namespace user
