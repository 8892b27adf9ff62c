// The window layer's internal interface for the platform's other parts: the shell (work
// area, task bar, remote windows, its socket, the screen's window, drawing), the dialogs
// and controls (modal loops, window listing), the platform's start, the display glue and
// tests. The shell reaches the window layer and the display only through this header
// and the public ones.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "kernel/out_of_memory.h"
#include "platform.h"

namespace display {
struct Event;
}

namespace user {

// ---- Start ----------------------------------------------------------------------------
// Registers the window layer's own classes: the dialog class and the controls (Static,
// Edit, ListBox, Button), with their fields in the window listing. The platform's main
// calls it before the shell starts, ResetForTests for tests that start the platform
// without main; later calls do nothing.
void RegisterBuiltInClasses();

// ---- Out of memory in a window procedure ------------------------------------------------
// The platform calls window and dialog procedures as functions that never throw: its own
// catch running out of memory (kernel/out_of_memory.h) and answer with this, a refusal
// of the message where one exists (-1 for WM_CREATE, FALSE for WM_NCCREATE), else 0.
LRESULT ProcedureOutOfMemory(UINT message);
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept;

// ---- Screen and work area ------------------------------------------------------------
int ScreenWidth();
int ScreenHeight();
// The part of the screen CW_USEDEFAULT top-level windows fill; the whole screen until
// the shell takes its bars off. Setting it moves and resizes those windows (WM_SIZE).
void SetWorkArea(const RECT& area);
RECT WorkArea();
// Moves a top-level window over the work area, which it then follows as a window made
// with CW_USEDEFAULT does, until it is moved or sized otherwise.
void FillWorkArea(HWND window);
// Called after the screen changed size (the work area has already kept its distances
// from the screen's edges).
void AddScreenSizeHook(std::function<void(int width, int height)> hook);

// ---- The screen's window on the desktop ---------------------------------------------
// Whether the screen is the in-memory one (tests and scripted runs).
bool HeadlessScreen();
// Whether the screen's window has the desktop's input focus; true without a display and
// for the in-memory screen.
bool ScreenHasFocus();
// Brings the screen's window in front of the desktop's other windows.
void RaiseScreen();

// ---- Drawing -------------------------------------------------------------------------
// Shapes in one colour for the platform's own painting (frames, boxes, controls, bars).
void FillColour(HDC dc, const RECT& r, COLORREF colour);
// The edges of r, `thickness` pixels wide inside it.
void FrameColour(HDC dc, const RECT& r, COLORREF colour, int thickness = 1);
// A one-pixel edge inside r: top and left in one colour, bottom and right in the other
// (raised or sunken).
void Outline(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight);

// ---- Processes and windows -------------------------------------------------------------
// Windows of other processes (a running copy of the program), reached by the shell.
// Handles the shell makes for them must never be handles of this process.
struct RemoteWindows {
  std::function<HWND(LPCWSTR className, LPCWSTR title)> find;  // FindWindowW's last resort
  std::function<bool(HWND window)> isRemote;
  std::function<HWND()> foreground;  // another process's window in front, or null
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> send;
  std::function<BOOL(HWND window)> setForeground;
  std::function<HWND(HWND window)> parent;
};
void SetRemoteWindows(RemoteWindows remote);
// The same as setting only RemoteWindows::find.
void SetRemoteWindowFinder(std::function<HWND(LPCWSTR className, LPCWSTR title)> finder);
// Run whenever the message loop is idle, before it waits for input. The loop sleeps until
// an input event, a watched descriptor or the earliest timer the hooks asked for.
void AddIdleHook(std::function<void()> hook);
// From an idle hook: the coming wait ends within `delay` at the latest (the hook's next
// timer is due then: the clock's next minute, a tooltip's delay).
void WakeWithin(std::chrono::milliseconds delay);
// The loop's wait ends once fd has input to read (a connection, a byte on a pipe). One
// wake per call: read what came, then call again to be woken again.
void WakeWhenReadable(int fd);
// Termination signals (SIGINT, SIGTERM, SIGHUP) become the system's close request, as
// a script's `quit`: dialogs give their cancel answer, then the main window gets
// WM_CLOSE; a second signal ends the process at once. The platform's main calls it.
void CloseOnTerminationRequests();
// Marks a window as the platform's own (task bar, menu bar): never the main window.
void MarkSystemWindow(HWND window);
bool IsSystemWindow(HWND window);
// The first top-level window the program made that still exists, or null.
HWND MainWindow();

// ---- Modal loops ------------------------------------------------------------------------
struct ModalLoop {
  HWND window = nullptr;  // the dialog or box; activated when the loop starts
  HWND owner = nullptr;   // disabled while the loop runs, enabled and activated after
  std::function<bool()> done;    // checked before every message
  std::function<void()> cancel;  // the system ends the program: answer "cancel" now
  // Sees each message before TranslateMessage/DispatchMessageW; true when it handled it.
  std::function<bool(MSG&)> filter;
};
// Runs a nested message loop until done() or WM_QUIT (which is posted again for the
// outer loop). Returns false when WM_QUIT ended it.
bool RunModalLoop(const ModalLoop& loop);

// ---- Non-client geometry ------------------------------------------------------------------
// Window coordinates (0, 0 = the window's top-left corner).
struct Frame {
  int border = 0;    // each side: 1 for WS_BORDER or WS_DLGFRAME, +2 for WS_EX_CLIENTEDGE
  int caption = 0;   // SM_CYCAPTION for WS_CAPTION, else 0
  RECT client{};     // the client area
  RECT captionBar{}; // empty without a caption
  RECT okButton{};   // the "ok" caption button (WS_EX_CAPTIONOKBTN), else empty
  RECT vscroll{};    // the vertical scroll bar, empty when not shown
};
Frame FrameOf(HWND window);

// ---- The window list ("windows" script command) ------------------------------------------
// Extra fields for windows of one class, appended to its line after the common fields
// (for instance " check=1 sel=2"). Text after a '\n' adds lines of its own (tool-bar
// buttons, menu items, list items), indented by the describer two spaces from its
// window's line; the listing adds the window's own indentation.
using ListingDetail = std::function<std::string(HWND window)>;
void SetListingDetail(LPCWSTR className, ListingDetail detail);
void PrintWindowList(std::ostream& out);
// "TEXT" with \ " and control characters escaped, UTF-8.
std::string QuoteForListing(const std::u16string& text);

// ---- Input --------------------------------------------------------------------------------
// Turns one display event into messages, as the idle loop does with the display's events.
void HandleDisplayEvent(const display::Event& event);
// Composes the screen from the visible top-level windows (0x00RRGGBB, rows top first).
const std::vector<uint32_t>& ComposeScreen();

// Destroys every window and forgets the queue, the hooks and the remote windows; classes
// stay registered, the built-in ones are registered if they were not yet (tests).
void ResetForTests();

}  // namespace user
