// Full-screen mode, dialog set-up and the settings message of the handheld shell.
#include "shell/shell.h"
#include "shell/sip.h"
#include "shell/taskbar.h"
#include "shell/toolbar.h"
#include "user/system.h"
#include "kernel/out_of_memory.h"

BOOL SHFullScreen(HWND window, DWORD state) try {
  using namespace shell;
  if (!IsWindow(window)) return FALSE;
  if (HWND bar = TaskBar()) {
    if (state & SHFS_HIDETASKBAR) ShowWindow(bar, SW_HIDE);
    else if (state & SHFS_SHOWTASKBAR) ShowWindow(bar, SW_SHOWNA);
  }
  if (state & SHFS_HIDESIPBUTTON) ShowSipButton(false);
  else if (state & SHFS_SHOWSIPBUTTON) ShowSipButton(true);
  if (state & SHFS_HIDESTARTICON) ShowStartIcon(false);
  else if (state & SHFS_SHOWSTARTICON) ShowStartIcon(true);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL SHInitDialog(PSHINITDLGINFO info) try {
  if (!info || !IsWindow(info->hDlg)) return FALSE;
  if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
  HWND dialog = info->hDlg;
  DWORD flags = info->dwFlags;
  if (flags & SHIDIF_DONEBUTTON) {
    SetWindowLongW(dialog, GWL_EXSTYLE, GetWindowLongW(dialog, GWL_EXSTYLE) | LONG(WS_EX_CAPTIONOKBTN));
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  // A sized dialog keeps the size of the screen when the screen changes (as on turning
  // the device), as full-screen windows do.
  if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))
    user::FillWorkArea(dialog);
  if (flags & SHIDIF_SIPDOWN) shell::ShowInputPanel(false);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info) try {
  (void)window, (void)lParam;
  if (wParam != SPI_SETSIPINFO) return FALSE;
  // The panel floats over the windows, so nothing moves; the record learns its state.
  if (info && info->cbSize >= sizeof(DWORD) * 3) info->fSipUp = shell::InputPanelShown();
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

void InitCommonControls() try {
  // The bar and tooltip classes are registered when the shell starts; registering them
  // again for a program that asks is harmless.
  shell::RegisterToolTipClass();
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory();
}
