// Buttons: push buttons (the default one with a heavier frame), radio buttons and
// check boxes (automatic ones check themselves; an automatic radio button unchecks
// the others of its group), and owner-drawn buttons, which the parent draws on
// WM_DRAWITEM. A click is a press and a release inside the button: BN_CLICKED.
#include <algorithm>

#include "user/controls/common.h"
#include "user/controls/radio_group.h"
#include "user/internal.h"

namespace user::controls {
namespace {

constexpr int kMarkSize = 11;  // the radio circle and the check box square
constexpr int kMarkGap = 4;

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pressed = false;   // the stylus is down inside
  bool tracking = false;  // the stylus went down on the button
};

DWORD Type(HWND window) { return DWORD(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK; }
bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheckable(DWORD type) {
  return IsRadio(type) || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
         type == BS_AUTO3STATE;
}

// The other radio buttons of this one's group lose their check.
void UncheckGroup(HWND window) {
  WindowPtr self = Find(window);
  WindowPtr parent = self ? Find(self->parent) : nullptr;
  if (!parent) return;
  std::vector<HWND> siblings = parent->children;  // in creation order
  std::vector<bool> starts;
  size_t index = 0;
  for (size_t i = 0; i < siblings.size(); ++i) {
    starts.push_back((GetWindowLongW(siblings[i], GWL_STYLE) & WS_GROUP) != 0);
    if (siblings[i] == window) index = i;
  }
  auto [first, last] = buttons::GroupRange(starts, index);
  for (size_t i = first; i < last; ++i) {
    HWND other = siblings[i];
    if (other == window) continue;
    WCHAR cls[16];
    GetClassNameW(other, cls, 16);
    if (_wcsicmp(cls, u"Button") == 0 && IsRadio(Type(other)))
      SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Click(HWND window, ButtonState& s) {
  DWORD type = Type(window);
  if (type == BS_AUTORADIOBUTTON) {
    SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
    UncheckGroup(window);
  } else if (type == BS_AUTOCHECKBOX) {
    SendMessageW(window, BM_SETCHECK, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  } else if (type == BS_AUTO3STATE) {
    SendMessageW(window, BM_SETCHECK, (s.check + 1) % 3, 0);
  }
  Notify(window, BN_CLICKED);
}

void DrawOwner(HWND window, ButtonState& s, HDC dc, UINT action) {
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_BUTTON;
  di.CtlID = UINT(GetDlgCtrlID(window));
  di.itemAction = action;
  if (s.pressed) di.itemState |= ODS_SELECTED;
  if (HasFocus(window)) di.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(window)) di.itemState |= ODS_DISABLED;
  di.hwndItem = window;
  di.hDC = dc;
  GetClientRect(window, &di.rcItem);
  // The parent draws with the button's font already in the DC.
  HGDIOBJ old = SelectObject(dc, DrawingFont(s.font));
  SendMessageW(GetParent(window), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
  SelectObject(dc, old);
}

void DrawPush(HWND window, ButtonState& s, HDC dc, const RECT& client) {
  bool isDefault = Type(window) == BS_DEFPUSHBUTTON;
  COLORREF ink = GetSysColor(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  FillColour(dc, client, s.pressed ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNFACE));
  FrameColour(dc, client, GetSysColor(COLOR_WINDOWFRAME), isDefault ? 2 : 1);
  std::u16string text = WindowText(window);
  RECT inner = client;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, s.pressed ? GetSysColor(COLOR_BTNFACE) : ink);
  DrawTextW(dc, text.c_str(), int(text.size()), &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// A circle of diameter kMarkSize, with a dot when checked.
void DrawRadioMark(HDC dc, int x, int y, bool checked, COLORREF ink) {
  const double r = kMarkSize / 2.0;
  for (int j = 0; j < kMarkSize; ++j)
    for (int i = 0; i < kMarkSize; ++i) {
      double dx = i + 0.5 - r, dy = j + 0.5 - r;
      double d2 = dx * dx + dy * dy;
      bool ring = d2 <= r * r && d2 >= (r - 1.2) * (r - 1.2);
      bool dot = checked && d2 <= (r - 3) * (r - 3);
      if (ring || dot) SetPixel(dc, x + i, y + j, ink);
    }
}

void DrawCheckMark(HDC dc, int x, int y, UINT check, COLORREF ink) {
  RECT box{x, y, x + kMarkSize, y + kMarkSize};
  FrameColour(dc, box, ink);
  if (check == BST_UNCHECKED) return;
  // A tick from the left middle down to the bottom third and up to the top right.
  static const POINT tick[] = {{2, 5}, {4, 7}, {8, 3}};
  for (int t = 0; t < 2; ++t) {
    MoveToEx(dc, x + tick[0].x, y + tick[0].y + t, nullptr);
    LineTo(dc, x + tick[1].x, y + tick[1].y + t);
    LineTo(dc, x + tick[2].x + 1, y + tick[2].y + t - 1);
  }
}

void DrawCheckable(HWND window, ButtonState& s, HDC dc, const RECT& client) {
  FillColour(dc, client, GetSysColor(COLOR_WINDOW));
  COLORREF ink = GetSysColor(IsWindowEnabled(window) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  int markY = (client.bottom - kMarkSize) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  if (IsRadio(Type(window)))
    DrawRadioMark(dc, 0, markY, s.check == BST_CHECKED, ink);
  else
    DrawCheckMark(dc, 0, markY, s.check, ink);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  std::u16string text = WindowText(window);
  RECT label{kMarkSize + kMarkGap, 0, client.right, client.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ink);
  DrawTextW(dc, text.c_str(), int(text.size()), &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (HasFocus(window)) {
    RECT under{label.left, client.bottom - 1, client.right, client.bottom};
    FillColour(dc, under, GetSysColor(COLOR_HIGHLIGHT));
  }
}

void Paint(HWND window, ButtonState& s, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  DWORD type = Type(window);
  if (type == BS_OWNERDRAW) return DrawOwner(window, s, dc, ODA_DRAWENTIRE);
  HGDIOBJ old = SelectObject(dc, DrawingFont(s.font));
  if (IsCheckable(type))
    DrawCheckable(window, s, dc, client);
  else
    DrawPush(window, s, dc, client);
  SelectObject(dc, old);
}

bool Inside(HWND window, LPARAM lParam) {
  RECT client;
  GetClientRect(window, &client);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
}

void SetPressed(HWND window, ButtonState& s, bool pressed) {
  if (s.pressed == pressed) return;
  s.pressed = pressed;
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  ButtonState* s = StateOf<ButtonState>(window);
  if (!s && message != WM_NCCREATE) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE:
      SetState(window, new ButtonState);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
      delete s;
      SetState<ButtonState>(window, nullptr);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return r;
    }
    case BM_GETCHECK:
      return IsCheckable(Type(window)) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (IsCheckable(Type(window)) && s->check != UINT(wParam)) {
        s->check = UINT(wParam) <= BST_INDETERMINATE ? UINT(wParam) : BST_CHECKED;
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    case BM_GETSTATE:
      return s->check | (s->pressed ? BST_PUSHED : 0) | (HasFocus(window) ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPressed(window, *s, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      DWORD style = DWORD(GetWindowLongW(window, GWL_STYLE));
      SetWindowLongW(window, GWL_STYLE, LONG((style & ~DWORD(BS_TYPEMASK)) | (DWORD(wParam) & BS_TYPEMASK)));
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      Click(window, *s);
      return 0;
    case WM_GETDLGCODE: {
      DWORD type = Type(window);
      if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return DLGC_BUTTON;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != window && (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP)) SetFocus(window);
      SetCapture(window);
      s->tracking = true;
      SetPressed(window, *s, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking) SetPressed(window, *s, Inside(window, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!s->tracking) return 0;
      bool inside = Inside(window, lParam);
      s->tracking = false;
      SetPressed(window, *s, false);
      ReleaseCapture();
      if (inside) Click(window, *s);
      return 0;
    }
    case WM_CAPTURECHANGED:
      s->tracking = false;
      SetPressed(window, *s, false);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) SetPressed(window, *s, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && s->pressed) {
        SetPressed(window, *s, false);
        Click(window, *s);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintControl(window, *s, Paint);
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

}  // namespace user::controls
