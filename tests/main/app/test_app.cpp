// A small program on the platform for the end-to-end tests of main and the script
// driver: it prints what reaches its window, one line per message.
#include <cstdio>
#include <string>

#include "platform.h"

namespace {

std::u16string commandLine;

bool Wants(const char16_t* word) { return commandLine.find(word) != std::u16string::npos; }

void Say(const char* format, long a = 0, long b = 0) {
  std::printf(format, a, b);
  std::printf("\n");
  std::fflush(stdout);
}

LRESULT CALLBACK MainProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT square{10, 10, 30, 30};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &square, red);
      DeleteObject(red);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_KEYDOWN: Say("keydown %ld", long(wParam)); return 0;
    case WM_CHAR: Say("char %ld", long(wParam)); return 0;
    case WM_LBUTTONDOWN: Say("down %ld %ld", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: Say("up %ld %ld", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_VSCROLL: Say("vscroll %ld %ld", LOWORD(wParam), short(HIWORD(wParam))); return 0;
    case WM_SIZE: Say("size %ld %ld", LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CLOSE:
      if (Wants(u"stubborn")) {
        Say("close ignored");
        return 0;
      }
      break;
    case WM_DESTROY:
      Say("destroy");
      PostQuitMessage(3);
      return 0;
  }
  return DefWindowProcW(h, message, wParam, lParam);
}

void Register(const char16_t* name, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR line, int show) {
  commandLine = line;
  std::string ascii(commandLine.begin(), commandLine.end());
  std::printf("args: %s\n", ascii.c_str());
  std::fflush(stdout);
  Register(u"TestApp", MainProc);
  Register(u"TestChild", DefWindowProcW);
  HWND main = CreateWindowExW(WS_EX_WINDOWEDGE, u"TestApp", u"Test App", WS_VISIBLE | WS_VSCROLL,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, instance, nullptr);
  CreateWindowExW(0, u"TestChild", u"Child", WS_CHILD | WS_VISIBLE, 10, 200, 100, 30, main,
                  reinterpret_cast<HMENU>(7), instance, nullptr);
  ShowWindow(main, show);
  UpdateWindow(main);
  if (Wants(u"box")) Say("box %ld", MessageBoxW(main, u"Go on?\nSecond line", u"Ask", MB_YESNO | MB_ICONQUESTION));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
