// SHCreateMenuBar: the bar at the bottom of the screen, built from the tool-bar resource.
#include <algorithm>
#include <cstddef>

#include "shell/bars.h"
#include "shell/menubar_resource.h"
#include "shell/shell.h"
#include "shell/sip.h"
#include "shell/toolbar.h"
#include "user/system.h"
#include "kernel/out_of_memory.h"

namespace shell {
namespace {

// The handheld's record ends after hwndMB (32 bytes) or after clrBk (36).
constexpr DWORD kHandheldSizeToMenuBar = 32;
constexpr DWORD kHandheldSizeFull = 36;

LRESULT CALLBACK MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  ToolBar* bar = BarOf(window);
  if (bar) {
    if (message == SHCMBM_GETSUBMENU) {
      for (const ToolButton& b : bar->buttons)
        if (b.command == int(lParam)) return LRESULT(b.popup);
      return 0;
    }
    if (message == WM_WINDOWPOSCHANGED || message == WM_SHOWWINDOW) PlaceInputPanel();
    bool handled = false;
    LRESULT result = ToolBarMessage(*bar, message, wParam, lParam, handled);
    if (handled) return result;
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

const uint8_t* ResourceBytes(HINSTANCE instance, UINT id, size_t& size) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  size = found ? SizeofResource(instance, found) : 0;
  return loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
}

// Menu buttons from the resource: their captions, and the popups they open.
bool AddResourceButtons(ToolBar& bar, HINSTANCE instance, UINT toolBarId) {
  size_t size = 0;
  const uint8_t* bytes = ResourceBytes(instance, toolBarId, size);
  auto record = ParseMenuBarResource(bytes, size);
  if (!record) return false;
  bar.menu = LoadMenuW(instance, MAKEINTRESOURCEW(record->menuId));
  for (const MenuBarButtonRecord& r : record->buttons) {
    ToolButton b;
    b.image = r.image;
    b.command = r.command;
    b.state = r.state;
    b.style = r.style;
    if (r.captionId) {
      WCHAR text[128] = {};
      if (LoadStringW(instance, UINT(r.captionId), text, 128) > 0) b.caption = text;
    }
    if (bar.menu && ((r.style & TBSTYLE_DROPDOWN) || !b.caption.empty()))
      b.popup = GetSubMenu(bar.menu, r.popupIndex);
    bar.buttons.push_back(b);
  }
  return true;
}

}  // namespace

void RegisterMenuBarClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = MenuBarProc;
  wc.lpszClassName = kMenuBarClass;
  RegisterClassW(&wc);
  user::SetListingDetail(kMenuBarClass, DescribeBar);
}

// The bottom of the new screen, keeping the room the program left free at its right end.
void FitMenuBars(int oldWidth) {
  for (ToolBar* bar : AllBars()) {
    if (bar->kind != BarKind::MenuBar) continue;
    RECT r;
    GetWindowRect(bar->window, &r);
    int margin = std::max(0, oldWidth - int(r.right));
    int height = BarHeight();
    MoveWindow(bar->window, 0, user::ScreenHeight() - height,
               std::max(0, user::ScreenWidth() - margin), height, TRUE);
  }
}

}  // namespace shell

BOOL SHCreateMenuBar(SHMENUBARINFO* info) try {
  using namespace shell;
  if (!info || (info->cbSize != kHandheldSizeToMenuBar && info->cbSize != kHandheldSizeFull &&
                info->cbSize < sizeof(SHMENUBARINFO)) ||
      !IsWindow(info->hwndParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int height = BarHeight();
  DWORD style = WS_POPUP | ((info->dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE);
  HWND window = CreateWindowExW(WS_EX_NOACTIVATE, kMenuBarClass, u"", style & ~WS_VISIBLE, 0,
                                user::ScreenHeight() - height, user::ScreenWidth(), height,
                                info->hwndParent, nullptr, info->hInstRes, nullptr);
  if (!window) return FALSE;
  user::MarkSystemWindow(window);
  ToolBar& bar = AttachBar(window, info->hwndParent, BarKind::MenuBar);
  if (!(info->dwFlags & SHCMBF_EMPTYBAR) && !AddResourceButtons(bar, info->hInstRes, info->nToolBarId)) {
    DestroyWindow(window);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return FALSE;
  }
  if (info->nBmpId && info->cBmpImages)
    AddImageStrip(bar, info->hInstRes, info->nBmpId, info->cBmpImages, 16, 16);
  ShowSipButton(!(info->dwFlags & SHCMBF_HIDESIPBUTTON));
  if (style & WS_VISIBLE) ShowWindow(window, SW_SHOWNA);
  info->hwndMB = window;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
