#include "search/letter_keyboard.h"

#include "base/app_state.h"
#include "resources/resource_ids.h"
#include "search/matcher.h"
#include "search/search_pattern.h"
#include "text/letter_code.h"

namespace {

constexpr WCHAR FirstHebrewLetter = 0x05D0;  // alef in the Unicode Hebrew block
constexpr WCHAR Space = u' ';

// The field's own procedure, under the typing the keyboard's way.
WNDPROC FieldProcedure = nullptr;

// A typed character as the field holds letters: a letter of the Hebrew block in the
// font's code base; 0 for a character that is not keyed.
WCHAR KeyedUnit(WCHAR typed) {
  LONG codeBase = FontAsciiBase();
  if (typed >= FirstHebrewLetter && typed < FirstHebrewLetter + LetterKeys)
    return LetterUnit(codeBase, BYTE(Alef + typed - FirstHebrewLetter));
  if (typed >= codeBase && typed < codeBase + LetterKeys) return typed;
  if (typed == Space || typed == AnyRun || typed == AnyOne) return typed;
  return 0;
}

LRESULT CALLBACK KeyedFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    if (WCHAR unit = KeyedUnit(WCHAR(wParam))) {
      InsertBeforeCaret(field, unit);
      return 0;
    }
  }
  return CallWindowProcW(FieldProcedure, field, message, wParam, lParam);
}

}  // namespace

int KeyAt(int x, int y) {
  if (x < 0 || y < 0 || x >= KeyboardWidth || y >= KeyboardHeight) return NoKey;
  int row = y / KeyCellHeight, column = x / KeyCellWidth;
  if (row < KeyRows) return column == KeysInRow ? NoKey : (row + 1) * KeysInRow - column;
  return column >= 2 && column <= 6 ? SpaceBarKey : NoKey;
}

WCHAR KeyUnit(int key, LONG codeBase) {
  if (key == SpaceBarKey) return Space;
  return LetterUnit(codeBase, BYTE(AlphabetOrder[key - 1]));
}

void InsertKey(HWND dialog, int key) {
  HWND field = GetDlgItem(dialog, IDC_SEARCH_FIELD);
  if (!field || key < SpaceBarKey || key > LetterKeys) return;
  InsertBeforeCaret(field, KeyUnit(key, FontAsciiBase()));
}

void InsertBeforeCaret(HWND field, WCHAR unit) {
  WCHAR text[2] = {unit, 0};
  SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  DWORD start = 0, end = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageW(field, EM_SETSEL, WPARAM(start - 1), LPARAM(start - 1));
}

void TypeLikeTheKeyboard(HWND field) {
  WNDPROC own = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyedFieldProc)));
  if (own != KeyedFieldProc) FieldProcedure = own;
}
