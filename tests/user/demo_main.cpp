// A small program on the platform for the end-to-end test: its main window opens the
// test dialog with every control, then a popup menu, and prints what came back.
#include <cstdio>
#include <string>

#include "kernel/utf.h"
#include "platform.h"

namespace {

HINSTANCE instance = nullptr;
HMENU menu = nullptr;

constexpr UINT kOpenDialog = 1;
constexpr UINT kOpenMenu = 2;

std::string Utf8(const WCHAR* text) { return kernel::Utf16ToUtf8(std::u16string(text)); }

void Report(HWND dialog, const char* how) {
  WCHAR field[64] = {}, face[64] = {};
  GetDlgItemTextW(dialog, 1013, field, 64);
  LRESULT sel = SendDlgItemMessageW(dialog, 1001, LB_GETCURSEL, 0, 0);
  if (sel >= 0) SendDlgItemMessageW(dialog, 1001, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(face));
  std::printf("%s field=\"%s\" face=\"%s\" r224=%u r5d0=%u\n", how, Utf8(field).c_str(), Utf8(face).c_str(),
              IsDlgButtonChecked(dialog, 1004), IsDlgButtonChecked(dialog, 1005));
}

INT_PTR CALLBACK DemoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND list = GetDlgItem(dialog, 1001);
      for (const char16_t* face : {u"Tahoma", u"DejaVu Sans", u"Courier", u"Arial", u"Times"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
      SendMessageW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(u"dej"));
      CheckDlgButton(dialog, 1005, BST_CHECKED);
      SetDlgItemTextW(dialog, 1002, u"\u05EA\u05E9\u05E8\u05E7 \u05D3\u05D2\u05D1\u05D0");
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      WCHAR text[64] = {};
      int n = int(GetDlgItemTextW(dialog, int(wParam), text, 64));
      SetTextColor(di->hDC, RGB(0, 0, 255));
      SetBkColor(di->hDC, RGB(255, 255, 255));
      ExtTextOutW(di->hDC, 1, 0, ETO_OPAQUE, &di->rcItem, text, UINT(n), nullptr);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        Report(dialog, LOWORD(wParam) == IDOK ? "ok" : "cancel");
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      if (LOWORD(wParam) == 1025) std::printf("link\n");
      return FALSE;
  }
  return FALSE;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kOpenDialog) {
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(100), RT_DIALOG);
        auto* t = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, found)));
        INT_PTR r = DialogBoxIndirectParamW(instance, t, window, DemoDialogProc, 0);
        std::printf("dialog=%d\n", int(r));
        PostMessageW(window, WM_COMMAND, kOpenMenu, 0);
      } else if (LOWORD(wParam) == kOpenMenu) {
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, 2, 290, 0, window, nullptr);
        std::printf("menu closed\n");
      } else {
        std::printf("command=%u\n", unsigned(LOWORD(wParam)));
      }
      std::fflush(stdout);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int show) {
  instance = hInstance;
  menu = LoadMenuW(instance, MAKEINTRESOURCEW(102));
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"ControlsDemo";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, u"ControlsDemo", u"Controls demo", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  ShowWindow(main, show);
  PostMessageW(main, WM_COMMAND, kOpenDialog, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyMenu(menu);
  std::fflush(stdout);
  return int(msg.wParam);
}
