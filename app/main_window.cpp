#include "app/main_window.h"
#include "window/main_view.h"

#include "base/app_state.h"
#include "window/menu_bar.h"
#include "app/startup.h"
#include "dialogs/about_dialog.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

constexpr UINT CloseRequest = WM_USER - 1;  // 0x3FF: the system asks the window to close
constexpr DWORD FullScreenActive = SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON;

LRESULT OnCreate(HWND window) {
  App.MainWindow = window;
  // The bar comes first: the view's rectangle leaves room for it.
  CreateMenuBar();
  CreateMainView(window);
  UpdateReverseCheck(window, 1);
  UpdateBookmarkCheck(window, 1);
  return 0;
}

LRESULT OnDestroy(HWND window) {
  if (App.View) ReleaseDC(window, App.View->Dc);
  DestroyWindow(App.MenuBar);
  SaveAndQuit();
  return 0;
}

LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
  if (IgnoreActivate) return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
  if (LOWORD(wParam) != WA_INACTIVE)
    SHFullScreen(window, FullScreen ? FullScreenActive : SHFS_HIDESIPBUTTON);
  return 0;
}

LRESULT OnSettingChange(HWND window, WPARAM wParam, LPARAM lParam) {
  SHACTIVATEINFO activation = {};
  activation.cbSize = sizeof activation;
  SHHandleWMSettingChange(window, wParam, lParam, &activation);
  return 0;
}

// A position change that both carries flags above the low 16 bits and leaves the
// window inactive is how the shell tells the program to close.
LRESULT OnWindowPosChanged(HWND window, LPARAM lParam) {
  const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lParam);
  UINT flags = position ? position->flags : 0;
  if ((flags & 0xFFFF0000u) && (flags & SWP_NOACTIVATE)) DestroyWindow(window);
  return 0;
}

LRESULT OnVScroll(HWND window, WPARAM wParam, LPARAM lParam) {
  int lines = ScrollBarLines(wParam);
  if (lines && App.View) ScrollArticle(App.View, lines, 1, true);
  DefWindowProcW(window, WM_VSCROLL, wParam, lParam);
  if (lines) SyncScrollBar(window);
  return 1;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_DESTROY:
      return OnDestroy(window);
    case WM_SIZE:
      ResizeMainView(window, lParam);
      return 0;
    case WM_ACTIVATE:
      return OnActivate(window, wParam, lParam);
    case WM_PAINT:
      PaintView(reinterpret_cast<HDC>(wParam), window, PaintAll);
      return 0;
    case WM_SETTINGCHANGE:
      return OnSettingChange(window, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(window, lParam);
    case WM_HELP:
      RunAboutDialog(window);
      return 0;
    case WM_KEYDOWN:
      return HandleKey(window, wParam);
    case WM_COMMAND:
      if (HandleCommand(window, wParam) == 0) return 0;
      return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    case WM_VSCROLL:
      return OnVScroll(window, wParam, lParam);
    case WM_LBUTTONDOWN:
      if (App.View) TapPage(window, App.View, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case CloseRequest:
      DestroyWindow(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
