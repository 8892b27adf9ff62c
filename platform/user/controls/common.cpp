#include "user/controls/common.h"

namespace user::controls {

void RegisterControlClasses() {
  struct {
    const char16_t* name;
    WNDPROC proc;
  } classes[] = {
      {u"Static", StaticProc},
      {u"Edit", EditProc},
      {u"ListBox", ListBoxProc},
      {u"Button", ButtonProc},
  };
  for (auto& c : classes) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = c.proc;
    wc.cbWndExtra = kStateBytes;
    wc.lpszClassName = c.name;
    RegisterClassW(&wc);
  }
  RegisterListingDetails();
}

HFONT DrawingFont(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void Notify(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(control)), code),
               reinterpret_cast<LPARAM>(control));
}

std::u16string WindowText(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::u16string text(size_t(n) + 1, u'\0');
  n = GetWindowTextW(window, text.data(), n + 1);
  text.resize(size_t(n > 0 ? n : 0));
  return text;
}

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

edit::Measure MeasureIn(HDC dc) {
  return [dc](std::u16string_view text, std::vector<int>& widths) {
    widths.assign(text.size(), 0);
    if (text.empty()) return;
    SIZE size{};
    GetTextExtentExPointW(dc, text.data(), int(text.size()), 0, nullptr, widths.data(), &size);
  };
}

int LineHeight(HDC dc) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm.tmHeight > 0 ? int(tm.tmHeight) : 12;
}

bool HasFocus(HWND window) { return GetFocus() == window; }

}  // namespace user::controls
