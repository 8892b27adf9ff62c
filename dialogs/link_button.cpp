#include "dialogs/link_button.h"

#include "resources/resource_ids.h"

namespace {

constexpr int CaptionUnits = 100;
constexpr LONG LinkPoints = 10;
constexpr COLORREF LinkBlue = 0x00FF0000;
constexpr COLORREF White = 0x00FFFFFF;

// The link's own font with the link's looks.
LOGFONTW LinkFontOf(HWND link, HDC dc) {
  LOGFONTW font = {};
  auto current = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
  GetObjectW(current, sizeof font, &font);
  font.lfUnderline = 1;
  if (font.lfFaceName[0] == 0) wcscpy(font.lfFaceName, u"Tahoma");
  if (font.lfHeight == 0) font.lfHeight = (-LinkPoints * GetDeviceCaps(dc, LOGPIXELSY)) / 72;
  font.lfWeight = FW_EXTRABOLD;
  return font;
}

// The button as large as its caption in `font` and its edges; its corner stays.
void FitToCaption(HWND dialog, HWND link, HDC dc, HFONT font) {
  HGDIOBJ old = SelectObject(dc, font);
  WCHAR text[CaptionUnits];
  int length = GetWindowTextW(link, text, CaptionUnits);
  SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SIZE extent = {};
  GetTextExtentExPointW(dc, text, length, 0, nullptr, nullptr, &extent);
  SelectObject(dc, old);
  SetWindowPos(link, dialog, 0, 0, extent.cx + 2 * GetSystemMetrics(SM_CXEDGE),
               extent.cy + 2 * GetSystemMetrics(SM_CYEDGE), SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

}  // namespace

HFONT SetupLinkButton(HWND dialog) {
  HWND link = GetDlgItem(dialog, IDC_HOME_LINK);
  HDC dc = GetDC(link);
  LOGFONTW description = LinkFontOf(link, dc);
  HFONT font = CreateFontIndirectW(&description);
  if (font) FitToCaption(dialog, link, dc, font);
  if (link && dc) ReleaseDC(link, dc);
  return font;
}

void DrawLinkButton(HWND dialog, int id, const DRAWITEMSTRUCT* item) {
  WCHAR text[CaptionUnits];
  UINT length = GetDlgItemTextW(dialog, id, text, CaptionUnits);
  HDC dc = item->hDC;
  COLORREF oldText = SetTextColor(dc, LinkBlue);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldBack = SetBkColor(dc, White);
  ExtTextOutW(dc, GetSystemMetrics(SM_CXEDGE) / 2, 0, ETO_OPAQUE, &item->rcItem, text, length, nullptr);
  SetBkColor(dc, oldBack);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldText);
}
