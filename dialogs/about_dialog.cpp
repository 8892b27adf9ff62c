#include "dialogs/about_dialog.h"

#include "dialogs/link_button.h"
#include "dialogs/run_dialog.h"
#include "dialogs/update_address.h"
#include "resources/resource_ids.h"

HFONT AboutLinkFont = nullptr;

namespace {

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, LOWORD(wParam));
      if (AboutLinkFont) DeleteObject(AboutLinkFont);
      AboutLinkFont = nullptr;
      return 1;
    case IDC_HOME_LINK:
      OpenHomePage(GetDlgItem(dialog, IDC_HOME_LINK));  // the box stays open
      return 0;
    default:
      return 0;
  }
}

}  // namespace

INT_PTR RunAboutDialog(HWND owner) { return RunDialog(IDD_ABOUT, owner, AboutDialogProc, 0); }

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      AboutLinkFont = SetupLinkButton(dialog);
      return 0;
    case WM_DRAWITEM:
      DrawLinkButton(dialog, static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return 0;
    case WM_COMMAND:
      return OnCommand(dialog, wParam);
    default:
      return 0;
  }
}
