#include "app/main_window.h"

#include "app/app_state.h"
#include "app/startup.h"

// The window's destruction is the program's orderly end; everything else is the
// default handling until the reading view and its commands join the window.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      App.MainWindow = window;
      return 0;
    case WM_DESTROY:
      SaveAndQuit();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
