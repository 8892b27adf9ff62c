// What the built-in controls share: their state slot, font, notifications to the
// parent, colours, text measuring, and registration of their window classes.
#pragma once

#include <string>
#include <vector>

#include "platform.h"
#include "user/controls/edit_layout.h"
#include "user/system.h"

namespace user::controls {

// Registers Static, Edit, ListBox and Button, with their fields in the window listing
// (at start-up, see RegisterBuiltInClasses).
void RegisterControlClasses();
void RegisterListingDetails();

// Each control class keeps a pointer to its state in its first extra bytes.
template <typename T>
T* StateOf(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, 0));
}
template <typename T>
void SetState(HWND window, T* state) {
  SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
}
constexpr int kStateBytes = sizeof(void*);

// The font a control draws with: the one set with WM_SETFONT, else the system font.
HFONT DrawingFont(HFONT font);
// WM_COMMAND to the parent: the control's id and the notification code.
void Notify(HWND control, WORD code);
// The control's own text, kept by the window.
std::u16string WindowText(HWND window);
bool ShiftDown();
// Text widths in the DC's current font (see edit::Measure).
edit::Measure MeasureIn(HDC dc);
int LineHeight(HDC dc);
// WM_PAINT of a control that paints its whole client area: paint(window, state, dc)
// between BeginPaint and EndPaint.
template <typename State>
LRESULT PaintControl(HWND window, State& state, void (*paint)(HWND, State&, HDC)) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  paint(window, state, dc);
  EndPaint(window, &ps);
  return 0;
}
// Whether the control belongs to a dialog that has the focus on it.
bool HasFocus(HWND window);

// Window procedures.
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace user::controls
