#include "session.h"

namespace test {
namespace {

Session* current = nullptr;
int idleAfterSteps = 0;

INT_PTR CALLBACK SessionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!current) return FALSE;
  if (message == WM_INITDIALOG) current->dialog = dialog;
  if (message == WM_COMMAND) current->commands.push_back(wParam);
  if (current->onMessage)
    if (INT_PTR r = current->onMessage(dialog, message, wParam, lParam)) return r;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return message == WM_INITDIALOG ? current->initAnswer : FALSE;
}

void Step() {
  if (!current || !current->dialog || !IsWindow(current->dialog)) return;
  if (!current->steps.empty()) {
    auto step = std::move(current->steps.front());
    current->steps.pop_front();
    step(current->dialog);
    idleAfterSteps = 0;
  } else if (++idleAfterSteps > 3) {
    EndDialog(current->dialog, -2);
  }
}

}  // namespace

const DLGTEMPLATE* Template(int id, DWORD* size) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (size) *size = found ? SizeofResource(nullptr, found) : 0;
  return found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
}

INT_PTR RunDialog(int id, Session& session, HWND owner, LPARAM param) {
  // The window layer forgets its hooks between tests; each run adds its own.
  user::AddIdleHook([&session] {
    if (current == &session) Step();
  });
  current = &session;
  idleAfterSteps = 0;
  INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), Template(id), owner, SessionProc, param);
  current = nullptr;
  return r;
}

void Type(char32_t ch) {
  display::Event e;
  e.kind = display::EventKind::Char;
  e.ch = ch;
  user::HandleDisplayEvent(e);
}

void StylusDown(int x, int y) { test_support::Stylus(display::EventKind::StylusDown, x, y); }
void StylusMove(int x, int y) { test_support::Stylus(display::EventKind::StylusMove, x, y); }
void StylusUp(int x, int y) { test_support::Stylus(display::EventKind::StylusUp, x, y); }

POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace test
