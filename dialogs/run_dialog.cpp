#include "dialogs/run_dialog.h"

#include "base/app_state.h"

INT_PTR RunDialog(int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  HRSRC found = FindResourceW(App.Instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(App.Instance, found) : nullptr;
  if (!loaded) return -1;
  auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(loaded));
  return DialogBoxIndirectParamW(App.Instance, dialogTemplate, owner, procedure, param);
}
