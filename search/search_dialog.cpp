#include "search/search_dialog.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "resources/resource_ids.h"
#include "search/letter_keyboard.h"
#include "search/matcher.h"
#include "search/search_next.h"
#include "search/search_pattern.h"
#include "text/conversion.h"
#include "view/article_view.h"
#include "window/run_dialog.h"

HFONT SearchFieldFont = nullptr;

namespace {

// Units the field holds, and the buffer OK reads them into.
constexpr int FieldLimit = LongestPattern;
constexpr int FieldBufferUnits = FieldLimit + 1;

// The dialog base units read at initialisation, for the keyboard's hit test.
LONG BaseX = 0;
LONG BaseY = 0;

// The stored pattern as the field shows it: converted for the font's code base in the
// order it is stored, the Reverse option left out, so that OK on an unchanged pattern
// stores it unchanged. Null without memory.
WCHAR* PatternUnits() {
  DWORD kept = App.Flags;
  App.Flags &= ~DWORD(Reverse);
  WCHAR* units = MapLetterCode(App.SearchString, SearchPatternLength(), nullptr, nullptr);
  App.Flags = kept;
  return units;
}

// The reading font's face and size for the field; without a view the dialog's font stays.
void SetFieldFont(HWND field) {
  if (!App.View) return;
  LOGFONTW font;
  memset(&font, 0, sizeof font);
  font.lfHeight = App.View->Font.Size;
  memcpy(font.lfFaceName, App.View->Font.Face, sizeof App.View->Font.Face);
  SearchFieldFont = CreateFontIndirectW(&font);
  if (SearchFieldFont) SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(SearchFieldFont), TRUE);
}

INT_PTR OnInitDialog(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_SEARCH_FIELD);
  WCHAR* units = PatternUnits();
  LONG base = GetDialogBaseUnits();
  BaseX = LOWORD(base);
  BaseY = HIWORD(base);
  SetFieldFont(field);
  SendMessageW(field, EM_LIMITTEXT, FieldLimit, 0);
  SetWindowTextW(field, units ? units : u"");
  free(units);
  TypeLikeTheKeyboard(field);
  return 1;
}

INT_PTR OnActivate(WPARAM wParam) {
  WORD state = LOWORD(wParam);
  if (state == WA_INACTIVE) return 0;
  if (AllowSipInHebrewSearch) SHFullScreen(App.MainWindow, SHFS_SHOWSIPBUTTON);
  if (state == WA_ACTIVE && TaskBarWindow) ShowWindow(TaskBarWindow, SW_HIDE);
  return 0;
}

// Every close: the dialog's result, the input panel down and off, its button hidden.
void CloseDialog(HWND dialog, INT_PTR result) {
  EndDialog(dialog, result);
  SHSipPreference(App.MainWindow, SIP_FORCEDOWN);
  SipShowIM(SIPF_OFF);
  SHFullScreen(App.MainWindow, SHFS_HIDESIPBUTTON);
}

void OnOk(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_SEARCH_FIELD);
  WCHAR units[FieldBufferUnits] = {};
  GetWindowTextW(field, units, FieldBufferUnits);
  StoreSearchPattern(units);
  if (!App.SearchString[0] || SearchNext(dialog) == 1) {
    CloseDialog(dialog, IDOK);
    return;
  }
  SendMessageW(field, EM_SETSEL, 0, -1);  // nothing found: the next key replaces it all
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOk(dialog);
      return 1;
    case IDCANCEL:
      CloseDialog(dialog, IDCANCEL);
      return 1;
    default:
      return 0;
  }
}

INT_PTR OnDestroy() {
  if (SearchFieldFont) DeleteObject(SearchFieldFont);
  SearchFieldFont = nullptr;
  return 1;
}

}  // namespace

INT_PTR RunSearchDialog(HWND owner) { return RunDialog(IDD_SEARCH, owner, SearchDialogProc, 0); }

int KeyboardTap(HWND dialog, int x, int y) {
  int key = KeyAt(x - KeyboardLeftUnits * BaseX / 4, y - KeyboardTopUnits * BaseY / 8);
  if (key == NoKey) return 1;
  InsertKey(dialog, key);
  return 0;
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_ACTIVATE:
      return OnActivate(wParam);
    case WM_COMMAND:
      return OnCommand(dialog, wParam);
    case WM_LBUTTONDOWN:
      return KeyboardTap(dialog, LOWORD(lParam), HIWORD(lParam));
    case WM_DESTROY:
      return OnDestroy();
    default:
      return 0;
  }
}
