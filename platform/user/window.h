// The window layer's own records: classes, windows and the state of the one UI thread.
// Windows live in a table keyed by handle; handles are never reused, so a stale handle
// finds nothing. Code that calls a window procedure holds a shared_ptr to the record and
// checks `alive` afterwards, since the procedure may destroy the window.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/display.h"
#include "gdi/surface.h"
#include "platform.h"
#include "user/system.h"

namespace user {

struct WindowClass {
  WNDCLASSW wc{};
  std::u16string name;
  std::vector<uint8_t> classExtra;
};

// One window scroll bar (only the vertical one is drawn).
struct ScrollBar {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool shown = false;     // occupies non-client space
  bool disabled = false;  // shown with an empty range (SIF_DISABLENOSCROLL)
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // children only
  HWND owner = nullptr;   // top-level windows only
  std::vector<HWND> children;  // z-order, bottom first
  RECT rect{};  // window rectangle: in the parent's client coordinates, or on the screen
  std::u16string text;
  UINT_PTR id = 0;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<uint8_t> extra;
  bool defaultRect = false;  // made with CW_USEDEFAULT: follows the work area
  bool system = false;       // the platform's own window (task bar...), not the program's
  bool alive = true;
  bool destroying = false;
  // Painting.
  bool dirty = false;  // has an update region
  bool erase = false;  // the update region needs WM_ERASEBKGND
  RECT update{};       // client coordinates
  bool frameDirty = true;
  SIZE sentClient{-1, -1};  // the client size the last WM_SIZE gave
  ScrollBar vscroll;
  ScrollBar hscroll;  // kept for GetScrollInfo(SB_HORZ); never drawn
  std::unique_ptr<gdi::Surface> surface;  // top-level windows
};

using WindowPtr = std::shared_ptr<Window>;

struct ModalFrame {
  const ModalLoop* loop;
};

struct State {
  std::map<uintptr_t, WindowPtr> windows;
  uintptr_t nextHandle = 0x10000;
  std::map<std::u16string, std::shared_ptr<WindowClass>> classes;  // lower-case names
  std::vector<HWND> zorder;  // top-level windows, topmost first
  HWND desktop = nullptr;
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  int screenWidth = 240;
  int screenHeight = 320;
  RECT workArea{0, 0, 240, 320};
  std::deque<MSG> queue;
  bool quitPosted = false;
  int quitCode = 0;
  MSG last{};  // the message GetMessageW or PeekMessageW returned last
  std::vector<ModalFrame*> modals;  // innermost last
  int quitRequests = 0;
  bool closeMainWhenUnwound = false;
  uint32_t modifiers = 0;  // display::Modifier bits of the last key event
  bool stylusDown = false;
  HWND stylusTarget = nullptr;   // the window the press went to (its moves and release)
  bool stylusOnFrame = false;    // the press is tracking a scroll bar or caption button
  bool keysDown[256] = {};
  std::vector<std::function<void()>> idleHooks;
  std::optional<std::chrono::milliseconds> wakeWithin;  // the earliest timer of this idle pass
  std::vector<uint32_t> shown;             // the screen as last presented
  display::Display* shownOn = nullptr;     // the display it was presented on
  std::vector<std::function<void(int, int)>> screenHooks;
  std::map<std::u16string, ListingDetail> listingDetails;  // lower-case class names
  RemoteWindows remote;
  display::Display* screenOf = nullptr;  // the display the screen size was taken from
  HDC screenDC = nullptr;
};

State& S();

// The live window for a handle, or null (also for null and stale handles).
WindowPtr Find(HWND handle);
inline bool IsTopLevel(const Window& w) { return w.parent == nullptr; }
Window* TopLevelOf(Window* w);

// Calls the window's procedure (a direct call); 0 when the window is gone.
LRESULT Call(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

std::u16string LowerName(LPCWSTR name);
std::u16string Utf16(LPCWSTR text);

}  // namespace user
