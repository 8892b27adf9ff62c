// The command bar: a child window across the top of its parent's client area with menu
// titles, tool-bar buttons and, as adornment, a close button.
#include <string>

#include "shell/bars.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "user/system.h"
#include "kernel/out_of_memory.h"

namespace shell {
namespace {

LRESULT CALLBACK CommandBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  if (ToolBar* bar = BarOf(window)) {
    bool handled = false;
    LRESULT result = ToolBarMessage(*bar, message, wParam, lParam, handled);
    if (handled) return result;
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

int ParentClientWidth(HWND bar) {
  RECT r{};
  GetClientRect(GetParent(bar), &r);
  return r.right - r.left;
}

// A menu title without its mnemonic marks: "&Go" -> "Go", "&&" -> "&".
std::u16string TitleOf(const WCHAR* text) {
  std::u16string title;
  for (const WCHAR* p = text; *p; ++p) {
    if (*p == u'&' && p[1] != u'&') continue;
    if (*p == u'&') ++p;
    title += *p;
  }
  return title;
}

}  // namespace

void RegisterCommandBarClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CommandBarProc;
  wc.lpszClassName = kCommandBarClass;
  RegisterClassW(&wc);
  user::SetListingDetail(kCommandBarClass, DescribeBar);
}

void FitCommandBars() {
  for (ToolBar* bar : AllBars())
    if (bar->kind == BarKind::CommandBar)
      MoveWindow(bar->window, 0, 0, ParentClientWidth(bar->window), BarHeight(), TRUE);
}

}  // namespace shell

using namespace shell;

HWND CommandBar_Create(HINSTANCE instance, HWND parent, int id) try {
  if (!IsWindow(parent)) return nullptr;
  RECT r{};
  GetClientRect(parent, &r);
  HWND window = CreateWindowExW(0, kCommandBarClass, u"", WS_CHILD | WS_VISIBLE, 0, 0,
                                r.right - r.left, BarHeight(), parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
  if (window) AttachBar(window, parent, BarKind::CommandBar);
  return window;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

int CommandBar_Height(HWND bar) {
  RECT r{};
  if (!BarOf(bar) || !GetWindowRect(bar, &r)) return 0;
  return r.bottom - r.top;
}

BOOL CommandBar_InsertMenubar(HWND window, HINSTANCE instance, WORD menuId, WORD button) try {
  ToolBar* bar = BarOf(window);
  if (!bar) return FALSE;
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
  if (!menu) return FALSE;
  if (bar->menu) DestroyMenu(bar->menu);
  bar->menu = menu;
  size_t at = std::min<size_t>(button, bar->buttons.size());
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    WCHAR text[128] = {};
    GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
    ToolButton title;
    title.caption = TitleOf(text);
    title.popup = GetSubMenu(menu, i);
    title.style = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
    bar->buttons.insert(bar->buttons.begin() + std::ptrdiff_t(at++), title);
  }
  InvalidateRect(window, nullptr, FALSE);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int CommandBar_AddBitmap(HWND window, HINSTANCE instance, int bitmapId, int imageCount,
                         int imageWidth, int imageHeight) try {
  ToolBar* bar = BarOf(window);
  return bar ? AddImageStrip(*bar, instance, bitmapId, imageCount, imageWidth, imageHeight) : -1;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}

BOOL CommandBar_AddToolTips(HWND window, UINT count, LPWSTR* tips) try {
  ToolBar* bar = BarOf(window);
  if (!bar) return FALSE;
  SetToolTips(*bar, tips, count);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL CommandBar_AddAdornments(HWND window, DWORD flags, DWORD reserved) try {
  (void)flags, (void)reserved;
  ToolBar* bar = BarOf(window);
  if (!bar) return FALSE;
  bar->closeButton = true;
  InvalidateRect(window, nullptr, FALSE);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL CommandBar_Show(HWND window, BOOL show) {
  if (!BarOf(window)) return FALSE;
  ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

HMENU CommandBar_GetMenu(HWND window, WORD button) {
  (void)button;
  ToolBar* bar = BarOf(window);
  return bar ? bar->menu : nullptr;
}

void CommandBar_Destroy(HWND window) {
  if (BarOf(window)) DestroyWindow(window);
}
