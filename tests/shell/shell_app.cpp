// A small program on the platform that uses the shell the way the reader does: one main
// window found by class and title, a menu bar (or, on older systems, a command bar) with
// the "Go" menu and seven tool-bar buttons, an edit field, and the hand-over to a running
// copy. Every command it receives is printed as "command ID".
//
// Command line: /fullscreen hides the task bar, input-panel button and start icon at
// start; /sip shows the input-panel button; /keys leaves the edit field out and prints
// the keys the window gets; /dialog opens a modal box over the main window; /other puts
// another top-level window in front.
#include <cstdio>
#include <string>

#include "platform.h"

namespace {

const WCHAR kTitle[] = u"Shell Test App";
const WCHAR kOtherClass[] = u"Shell Test Other";
HINSTANCE instance;
HWND menuBar;
bool logKeys;
int menuBarHeight;

void Say(const char* text, long value) {
  std::printf("%s %ld\n", text, value);
  std::fflush(stdout);
}

bool NewerSystem() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = 276;
  GetVersionExW(&version);
  return version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion >= 21);
}

void CreateBar(HWND window) {
  if (NewerSystem()) {
    SHMENUBARINFO info{};
    info.cbSize = 32;
    info.hwndParent = window;
    info.dwFlags = SHCMBF_HIDESIPBUTTON;
    info.nToolBarId = 102;
    info.hInstRes = instance;
    if (!SHCreateMenuBar(&info)) return;
    menuBar = info.hwndMB;
    RECT r;
    GetWindowRect(menuBar, &r);
    menuBarHeight = r.bottom - r.top;
    MoveWindow(menuBar, r.left, r.top, r.right - GetSystemMetrics(SM_CXVSCROLL) - r.left,
               r.bottom - r.top, TRUE);
  } else {
    menuBar = CommandBar_Create(instance, window, 1);
    menuBarHeight = CommandBar_Height(menuBar);
    CommandBar_InsertMenubar(menuBar, instance, 102, 0);
  }
  static WCHAR tips[7][16] = {u"Previous Day", u"Today",  u"Next Day",      u"Choose Font",
                              u"Search",       u"Search Again", u"Choose Article"};
  LPWSTR list[8] = {nullptr, tips[0], tips[1], tips[2], tips[3], tips[4], tips[5], tips[6]};
  SendMessageW(menuBar, TB_SETTOOLTIPS, 8, LPARAM(list));
  CommandBar_AddBitmap(menuBar, instance, 114, 7, 16, 16);
  const int commands[7] = {110, 108, 109, 40006, 116, 117, 107};
  TBBUTTON buttons[7] = {};
  for (int i = 0; i < 7; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = commands[i];
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = TBSTYLE_BUTTON;
    buttons[i].iString = -1;
  }
  SendMessageW(menuBar, TB_ADDBUTTONSW, 7, LPARAM(buttons));
  CommandBar_AddBitmap(menuBar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, -7, 16, 16);
  CommandBar_Show(menuBar, TRUE);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      CreateBar(window);
      if (logKeys) return 0;
      int top = NewerSystem() ? 4 : menuBarHeight + 4;
      HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 4, top, 120,
                                  20, window, reinterpret_cast<HMENU>(1013), instance, nullptr);
      SetFocus(edit);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Say("activated", 1);
      return 0;
    case WM_SETFOCUS:
      if (HWND edit = GetDlgItem(window, 1013)) SetFocus(edit);
      return 0;
    case WM_APP:
      // A modal box in front of the main window, as a dialog of the program would be.
      Say("dialog open", 0);
      MessageBoxW(window, u"Modal", u"Dialog", MB_OK);
      return 0;
    case WM_SIZE:
      std::printf("size %d %d\n", int(LOWORD(lParam)), int(HIWORD(lParam)));
      std::fflush(stdout);
      return 0;
    case WM_KEYDOWN:
      Say("key", long(wParam));
      return 0;
    case WM_CHAR:
      Say("char", long(wParam));
      return 0;
    case WM_COMMAND:
      // The edit field's notifications are not commands.
      if (lParam && HWND(lParam) != menuBar) return 0;
      Say("command", long(LOWORD(wParam)));
      if (LOWORD(wParam) == 40005) DestroyWindow(window);
      return 0;
    case WM_SETTINGCHANGE: {
      SHACTIVATEINFO info{};
      info.cbSize = sizeof info;
      SHHandleWMSettingChange(window, wParam, lParam, &info);
      return 0;
    }
    case WM_DESTROY:
      if (menuBar) DestroyWindow(menuBar);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The hand-over rule: the running copy's window in front gets the Today command; else it
// is brought to the front unless one of its own windows is already there.
bool HandOver() {
  HWND running = FindWindowW(kTitle, kTitle);
  if (!running) return false;
  HWND foreground = GetForegroundWindow();
  HWND top = foreground;
  while (HWND parent = GetParent(top)) top = parent;
  if (running == foreground) {
    SendMessageW(running, WM_COMMAND, 108, 0);
    Say("handed over: command", 108);
  } else if (running != top) {
    SetForegroundWindow(running);
    Say("handed over: to the front", 0);
  } else {
    Say("handed over: nothing", 0);
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR commandLine, int show) {
  instance = hInstance;
  std::u16string arguments = commandLine ? commandLine : u"";
  logKeys = arguments.find(u"/keys") != std::u16string::npos;
  if (HandOver()) return 0;
  InitCommonControls();
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = hInstance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kTitle;
  RegisterClassW(&wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = kOtherClass;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_WINDOWEDGE, kTitle, kTitle, WS_VISIBLE | WS_VSCROLL,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, hInstance, nullptr);
  if (!window) return 1;
  if (arguments.find(u"/fullscreen") != std::u16string::npos) {
    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
  }
  if (arguments.find(u"/sip") != std::u16string::npos) SHFullScreen(window, SHFS_SHOWSIPBUTTON);
  ShowWindow(window, show);
  UpdateWindow(window);
  if (arguments.find(u"/dialog") != std::u16string::npos) PostMessageW(window, WM_APP, 0, 0);
  if (arguments.find(u"/other") != std::u16string::npos) {
    HWND other = CreateWindowExW(0, kOtherClass, u"Other", WS_POPUP | WS_VISIBLE, 20, 60, 200, 120,
                                 nullptr, nullptr, hInstance, nullptr);
    SetForegroundWindow(other);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
