#include "window/run_dialog.h"

#include "base/alloc.h"
#include "base/app_state.h"

INT_PTR RunDialog(int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  // A dialog that cannot open for lack of memory is reported as the program's own.
  SetLastError(ERROR_SUCCESS);
  HRSRC found = FindResourceW(App.Instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(App.Instance, found) : nullptr;
  INT_PTR result = -1;
  if (loaded) {
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(loaded));
    result = DialogBoxIndirectParamW(App.Instance, dialogTemplate, owner, procedure, param);
  }
  if (result == -1) ReportIfOutOfMemory();
  return result;
}
