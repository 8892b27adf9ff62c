#include "dialogs/font_dialog.h"

#include <cstring>

#include "dialogs/font_list.h"
#include "dialogs/run_dialog.h"
#include "resources/resource_ids.h"
#include "window/menu_bar.h"

const LONG FontSizeChoices[FontSizeChoiceCount] = {10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 52, 72};

namespace {

// The full-screen set-up of the dialog: sized to the screen, the input panel down.
constexpr DWORD ScreenFlags =
    SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR;
constexpr int PreviewLetters = 27;
// Room for the decimal text of any 32-bit size, sign and terminator included.
constexpr int SizeTextUnits = 12;

LOGFONTW Preview;    // all 0 but the height (the selected size) and the selected face
HFONT PreviewFont;   // made from Preview and shown in the preview field, or null
FontChoice* Choice;  // what the dialog edits

int CodeBaseButton(LONG codeBase) {
  switch (codeBase) {
    case 97: return IDC_CODE_BASE_97;
    case 224: return IDC_CODE_BASE_224;
    case 1488: return IDC_CODE_BASE_1488;
    default: return 0;
  }
}

bool IsChecked(HWND dialog, int button) {
  return SendDlgItemMessageW(dialog, button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND dialog, int button, bool checked) {
  SendDlgItemMessageW(dialog, button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void AddSize(HWND list, LONG size) {
  WCHAR text[SizeTextUnits];
  wsprintfW(text, u"%d", size);
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// The fixed sizes, headed by a stored size below them; the stored size selected when
// it is offered.
void FillSizeList(HWND dialog, LONG size) {
  HWND list = GetDlgItem(dialog, IDC_SIZE_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < FontSizeChoiceCount; ++i) {
    if (i == 0 && size != 0 && size < FontSizeChoices[0]) AddSize(list, size);
    AddSize(list, FontSizeChoices[i]);
  }
  if (size == 0) return;
  WCHAR text[SizeTextUnits];
  wsprintfW(text, u"%d", size);
  SendMessageW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text));
}

void FillFaceList(HWND dialog, const WCHAR* face) {
  HWND list = GetDlgItem(dialog, IDC_FACE_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const FontListNode* node = FirstFontNode(); node; node = node->Next)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->Face));
  SendMessageW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(face));
}

// The decimal value of a size entry; a stored size below the list may be negative.
LONG SizeOfEntry(HWND list, LRESULT index) {
  WCHAR text[SizeTextUnits] = {};
  SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
  const WCHAR* unit = text;
  bool negative = *unit == u'-';
  if (negative) ++unit;
  DWORD value = 0;
  for (; *unit; ++unit) value = value * 10 + DWORD(*unit - u'0');
  return static_cast<LONG>(negative ? 0u - value : value);
}

void CommitChoice(HWND dialog) {
  if (Preview.lfHeight != 0) Choice->Size = Preview.lfHeight;
  if (IsChecked(dialog, IDC_CODE_BASE_224))
    Choice->CodeBase = 224;
  else if (IsChecked(dialog, IDC_CODE_BASE_97))
    Choice->CodeBase = 97;
  else if (IsChecked(dialog, IDC_CODE_BASE_1488))
    Choice->CodeBase = 1488;
  if (Preview.lfFaceName[0]) wcscpy(Choice->Face, Preview.lfFaceName);
}

// A Hebrew face keeps its letters in the Unicode block: picking one checks "5D0".
void SwitchToHebrewBlock(HWND dialog, int mode) {
  const FontListNode* node = FindFontNode(Preview.lfFaceName);
  if (!node || node->CharSet != HEBREW_CHARSET || IsChecked(dialog, IDC_CODE_BASE_1488)) return;
  SetCheck(dialog, IDC_CODE_BASE_224, false);
  SetCheck(dialog, IDC_CODE_BASE_97, false);
  SetCheck(dialog, IDC_CODE_BASE_1488, true);
  if (!(mode & CommitSelection)) SetPreviewLetters(dialog, 1488);
}

void PlaceControls(HWND dialog, int width, int height) {
  ControlPlace places[FontDialogControlCount];
  FontDialogLayout(width, height, places);
  for (const ControlPlace& p : places)
    MoveWindow(GetDlgItem(dialog, p.Id), p.X, p.Y, p.Width, p.Height, TRUE);
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
      ReadFontSelection(dialog, CommitSelection);
      FreeFontList();
      EndDialog(dialog, IDOK);
      return 1;
    case IDCANCEL:
      FreeFontList();
      EndDialog(dialog, IDCANCEL);
      return 1;
    case IDC_FACE_LIST:
      // Only a new face picked may switch the code base: focus changes and the size
      // list rebuild the preview and leave a stored code base as it is.
      ReadFontSelection(dialog, HIWORD(wParam) == LBN_SELCHANGE ? FacePicked : 0);
      return 0;
    case IDC_SIZE_LIST:
      ReadFontSelection(dialog, 0);
      return 0;
    case IDC_CODE_BASE_97:
    case IDC_CODE_BASE_224:
    case IDC_CODE_BASE_1488: {
      static const LONG bases[] = {97, 224, 1488};
      SetPreviewLetters(dialog, bases[LOWORD(wParam) - IDC_CODE_BASE_97]);
      ReadFontSelection(dialog, 0);
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace

INT_PTR RunFontDialog(HWND owner, FontChoice* font) {
  return RunDialog(IDD_CHOOSE_FONT, owner, FontDialogProc, reinterpret_cast<LPARAM>(font));
}

INT_PTR CALLBACK FontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitFontDialog(dialog, reinterpret_cast<FontChoice*>(lParam));
      return 0;  // the focus is set
    case WM_SIZE:
      PlaceControls(dialog, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_ACTIVE && TaskBarWindow) ShowWindow(TaskBarWindow, SW_HIDE);
      return 0;
    case WM_COMMAND:
      return OnCommand(dialog, wParam);
    case WM_DESTROY:
      if (PreviewFont) DeleteObject(PreviewFont);
      PreviewFont = nullptr;
      return 1;
    default:
      return 0;
  }
}

void InitFontDialog(HWND dialog, FontChoice* choice) {
  HWND owner = GetParent(dialog);
  HDC dc = GetDC(owner);
  InitDialogScreen(dialog, ScreenFlags);
  ResetFontList();
  Choice = choice;
  if (choice->CodeBase == 0) choice->CodeBase = 1488;
  SetPreviewLetters(dialog, choice->CodeBase);
  if (int button = CodeBaseButton(choice->CodeBase)) SetCheck(dialog, button, true);
  EnumFontFamiliesW(dc, nullptr, EnumFontProc, 0);
  ReleaseDC(owner, dc);
  FillFaceList(dialog, choice->Face);
  FillSizeList(dialog, choice->Size);
  SetFocus(GetDlgItem(dialog, IDC_FACE_LIST));
}

void ReadFontSelection(HWND dialog, int mode) {
  HWND faces = GetDlgItem(dialog, IDC_FACE_LIST);
  LRESULT face = SendMessageW(faces, LB_GETCURSEL, 0, 0);
  if (face >= 0) SendMessageW(faces, LB_GETTEXT, WPARAM(face), reinterpret_cast<LPARAM>(Preview.lfFaceName));
  HWND sizes = GetDlgItem(dialog, IDC_SIZE_LIST);
  LRESULT size = SendMessageW(sizes, LB_GETCURSEL, 0, 0);
  if (size >= 0) Preview.lfHeight = SizeOfEntry(sizes, size);
  if (PreviewFont) DeleteObject(PreviewFont);
  PreviewFont = nullptr;
  if ((mode & FacePicked) && Preview.lfFaceName[0]) SwitchToHebrewBlock(dialog, mode);
  if (mode & CommitSelection) return CommitChoice(dialog);
  PreviewFont = CreateFontIndirectW(&Preview);
  SendDlgItemMessageW(dialog, IDC_FONT_PREVIEW, WM_SETFONT, reinterpret_cast<WPARAM>(PreviewFont), TRUE);
}

void SetPreviewLetters(HWND dialog, LONG codeBase) {
  WCHAR text[PreviewLetters + 1];
  for (int i = 0; i < PreviewLetters; ++i) text[i] = static_cast<WCHAR>(codeBase + PreviewLetters - 1 - i);
  text[PreviewLetters] = 0;
  SetDlgItemTextW(dialog, IDC_FONT_PREVIEW, text);
}

void ResetFontList() {
  ForgetFontNodes();
  PreviewFont = nullptr;
  std::memset(&Preview, 0, sizeof Preview);
}

void FreeFontList() {
  FreeFontNodes();
  if (PreviewFont) DeleteObject(PreviewFont);
  ResetFontList();
}

void FontDialogLayout(int width, int height, ControlPlace (&places)[FontDialogControlCount]) {
  const int w = width - 14, h = height - 14;
  const int d = 2 * w / 3, f = 2 * h / 3;
  const ControlPlace table[FontDialogControlCount] = {
      {IDC_FACE_LIST, 7, 7, d - 7, f - 7},
      {IDC_SIZE_LIST, d + 7, 59, w - d, f - 59},
      {IDC_FONT_PREVIEW, 7, f, w, h - f},
      {IDC_CODE_BASE_97, d + 7, 7, w - d, 10},
      {IDC_CODE_BASE_224, d + 7, 24, w - d, 10},
      {IDC_CODE_BASE_1488, d + 7, 41, w - d, 10},
  };
  std::memcpy(places, table, sizeof table);
}
