#include "shell/paint.h"

#include <map>

#include "shell/shell.h"

namespace shell {

HFONT BarFont(bool bold) {
  static std::map<std::pair<int, bool>, HFONT> fonts;
  auto key = std::make_pair(Scale(), bold);
  auto it = fonts.find(key);
  if (it != fonts.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -11 * Scale();
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  const char16_t face[] = u"Tahoma";
  for (size_t i = 0; i < sizeof face / sizeof face[0]; ++i) lf.lfFaceName[i] = face[i];
  HFONT font = CreateFontIndirectW(&lf);
  fonts[key] = font;
  return font;
}

void DrawLabel(HDC dc, const std::u16string& text, RECT r, COLORREF colour, UINT align,
               bool bold) {
  HGDIOBJ old = SelectObject(dc, BarFont(bold));
  COLORREF oldColour = SetTextColor(dc, colour);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), int(text.size()), &r,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
  SelectObject(dc, old);
}

int LabelWidth(HDC dc, const std::u16string& text, bool bold) {
  HGDIOBJ old = SelectObject(dc, BarFont(bold));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

}  // namespace shell
