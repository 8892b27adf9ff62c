#include "shell/toolbar.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "shell/paint.h"
#include "shell/shell.h"
#include "shell/sip.h"
#include "user/system.h"

namespace shell {
namespace {

constexpr auto kToolTipDelay = std::chrono::milliseconds(500);
constexpr const char16_t* kToolTipClass = u"ToolTip";
constexpr COLORREF kFace = RGB(222, 222, 222);
constexpr COLORREF kEdge = RGB(128, 128, 128);
constexpr COLORREF kPressed = RGB(150, 150, 150);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kGrayText = RGB(128, 128, 128);

std::map<HWND, std::unique_ptr<ToolBar>>& Bars() {
  static std::map<HWND, std::unique_ptr<ToolBar>> bars;
  return bars;
}

bool& SipButtonFlag() {
  static bool shown = true;
  return shown;
}

bool Visible(const ToolButton& b) { return !(b.state & TBSTATE_HIDDEN); }
bool Enabled(const ToolButton& b) { return (b.state & TBSTATE_ENABLED) != 0; }

RECT ScreenRectOf(HWND window, RECT r) {
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(window, nullptr, corners, 2);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

int HitTest(ToolBar& bar, POINT p) {
  Layout(bar);
  if (PtInRect(&bar.sipRect, p)) return kSipButton;
  if (PtInRect(&bar.closeRect, p)) return kCloseButton;
  for (size_t i = 0; i < bar.buttons.size(); ++i) {
    const ToolButton& b = bar.buttons[i];
    if (Visible(b) && b.style != TBSTYLE_SEP && PtInRect(&b.rect, p)) return int(i);
  }
  return kNoButton;
}

int IndexOfCommand(const ToolBar& bar, int command) {
  for (size_t i = 0; i < bar.buttons.size(); ++i)
    if (bar.buttons[i].command == command) return int(i);
  return -1;
}

// ---- Painting -------------------------------------------------------------------------

void DrawImage(HDC dc, const ToolBar& bar, int image, const RECT& r) {
  for (const ImageStrip& strip : bar.strips) {
    if (image < strip.first || image >= strip.first + strip.count || !strip.bitmap) continue;
    int size = 16 * Scale();
    int x = (r.left + r.right - size) / 2, y = (r.top + r.bottom - size) / 2;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, strip.bitmap);
    StretchBlt(dc, x, y, size, size, memory, (image - strip.first) * strip.width, 0, strip.width,
               strip.height, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return;
  }
}

// A small keyboard: a frame with two rows of keys.
void DrawSipGlyph(HDC dc, const RECT& r, COLORREF colour) {
  int s = Scale();
  RECT k{(r.left + r.right) / 2 - 8 * s, (r.top + r.bottom) / 2 - 5 * s, 0, 0};
  k.right = k.left + 16 * s;
  k.bottom = k.top + 10 * s;
  user::FrameColour(dc, k, colour);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 5; ++col) {
      int x = k.left + 2 * s + col * 3 * s, y = k.top + 2 * s + row * 3 * s;
      user::FillColour(dc, RECT{x, y, x + 2 * s, y + 2 * s}, colour);
    }
  user::FillColour(dc, RECT{k.left + 4 * s, k.bottom - 2 * s - s, k.right - 4 * s, k.bottom - 2 * s},
             colour);
}

void PaintButton(HDC dc, const ToolBar& bar, int index, const ToolButton& b) {
  bool down = (bar.pressed == index && bar.pressInside) || (b.state & TBSTATE_PRESSED);
  if (down || (b.state & TBSTATE_CHECKED)) {
    user::FillColour(dc, b.rect, down ? kPressed : RGB(240, 240, 240));
    user::FrameColour(dc, b.rect, kEdge);
  }
  if (!b.caption.empty())
    DrawLabel(dc, b.caption, b.rect, Enabled(b) ? kText : kGrayText, DT_CENTER, true);
  else if (b.image >= 0)
    DrawImage(dc, bar, b.image, b.rect);
}

void Paint(ToolBar& bar) {
  Layout(bar);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(bar.window, &ps);
  RECT r;
  GetClientRect(bar.window, &r);
  user::FillColour(dc, r, kFace);
  RECT edge = r;
  if (bar.kind == BarKind::MenuBar) edge.bottom = edge.top + 1;
  else edge.top = edge.bottom - 1;
  user::FillColour(dc, edge, kEdge);
  for (size_t i = 0; i < bar.buttons.size(); ++i)
    if (Visible(bar.buttons[i]) && bar.buttons[i].style != TBSTYLE_SEP)
      PaintButton(dc, bar, int(i), bar.buttons[i]);
  if (!IsRectEmpty(&bar.sipRect)) {
    bool down = bar.pressed == kSipButton && bar.pressInside;
    if (down || InputPanelShown()) user::FillColour(dc, bar.sipRect, down ? kPressed : RGB(240, 240, 240));
    DrawSipGlyph(dc, bar.sipRect, kText);
  }
  if (!IsRectEmpty(&bar.closeRect)) {
    if (bar.pressed == kCloseButton && bar.pressInside) user::FillColour(dc, bar.closeRect, kPressed);
    DrawLabel(dc, u"\u00D7", bar.closeRect, kText, DT_CENTER, true);
  }
  EndPaint(bar.window, &ps);
}

// ---- Tooltips ----------------------------------------------------------------------------

LRESULT CALLBACK ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  user::FillColour(dc, r, RGB(255, 255, 225));
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  DrawLabel(dc, text, r, kText, DT_CENTER, false);
  EndPaint(window, &ps);
  return 0;
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

std::u16string TipText(const ToolBar& bar, int index) {
  if (index < 0 || size_t(index) >= bar.tooltips.size()) return u"";
  return bar.tooltips[size_t(index)];
}

void HideTip(ToolBar& bar) {
  if (bar.tip) DestroyWindow(bar.tip);
  bar.tip = nullptr;
  bar.tipFor = kNoButton;
}

void ShowTip(ToolBar& bar, int index) {
  std::u16string text = TipText(bar, index);
  if (text.empty() || bar.tipFor == index) return;
  HideTip(bar);
  HDC dc = GetDC(bar.window);
  int s = Scale();
  int width = LabelWidth(dc, text, false) + 8 * s;
  ReleaseDC(bar.window, dc);
  int height = 16 * s;
  RECT button = ScreenRectOf(bar.window, bar.buttons[size_t(index)].rect);
  RECT whole;
  GetWindowRect(bar.window, &whole);
  int x = std::clamp(int(button.left), 0, std::max(0, user::ScreenWidth() - width));
  int y = bar.kind == BarKind::MenuBar ? whole.top - height - 1 : whole.bottom + 1;
  bar.tip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kToolTipClass, text.c_str(),
                            WS_POPUP | WS_BORDER, x, y, width, height, nullptr, nullptr, nullptr,
                            nullptr);
  if (!bar.tip) return;
  user::MarkSystemWindow(bar.tip);
  ShowWindow(bar.tip, SW_SHOWNA);
  bar.tipFor = index;
}

// ---- Stylus --------------------------------------------------------------------------------

void OpenPopup(ToolBar& bar, int index) {
  ToolButton& b = bar.buttons[size_t(index)];
  RECT r = ScreenRectOf(bar.window, b.rect);
  RECT whole;
  GetWindowRect(bar.window, &whole);
  bar.pressed = index;
  bar.pressInside = true;
  InvalidateRect(bar.window, nullptr, FALSE);
  HWND window = bar.window;
  if (bar.kind == BarKind::MenuBar)
    TrackPopupMenu(b.popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, r.left, whole.top, 0, bar.owner,
                   nullptr);
  else
    TrackPopupMenu(b.popup, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, whole.bottom, 0, bar.owner,
                   nullptr);
  if (ToolBar* still = BarOf(window)) {
    still->pressed = kNoButton;
    InvalidateRect(window, nullptr, FALSE);
  }
}

void Press(ToolBar& bar, int index) {
  if (index == kSipButton) {
    ShowInputPanel(!InputPanelShown());
    return;
  }
  if (index == kCloseButton) {
    PostMessageW(bar.owner, WM_CLOSE, 0, 0);
    return;
  }
  ToolButton& b = bar.buttons[size_t(index)];
  if (!Enabled(b)) return;
  if (b.style & TBSTYLE_CHECK) b.state ^= TBSTATE_CHECKED;
  SendMessageW(bar.owner, WM_COMMAND, MAKEWPARAM(b.command, 0), LPARAM(bar.window));
}

void StylusDown(ToolBar& bar, POINT p) {
  int hit = HitTest(bar, p);
  if (hit == kNoButton) return;
  HideTip(bar);
  if (hit >= 0 && bar.buttons[size_t(hit)].popup) {
    if (Enabled(bar.buttons[size_t(hit)])) OpenPopup(bar, hit);
    return;
  }
  bar.pressed = hit;
  bar.pressInside = true;
  bar.since = Now();
  SetCapture(bar.window);
  InvalidateRect(bar.window, nullptr, FALSE);
}

void StylusMove(ToolBar& bar, POINT p) {
  int hit = HitTest(bar, p);
  if (bar.pressed != kNoButton) {
    bool inside = hit == bar.pressed;
    if (inside != bar.pressInside) {
      bar.pressInside = inside;
      bar.since = Now();
      if (!inside) HideTip(bar);
      InvalidateRect(bar.window, nullptr, FALSE);
    }
    return;
  }
  if (hit != bar.hover) {
    bar.hover = hit;
    bar.since = Now();
    HideTip(bar);
  }
}

void StylusUp(ToolBar& bar, POINT p) {
  if (bar.pressed == kNoButton) return;
  int index = bar.pressed;
  bool inside = HitTest(bar, p) == index;
  bar.pressed = kNoButton;
  bar.hover = kNoButton;
  HideTip(bar);
  if (GetCapture() == bar.window) ReleaseCapture();
  InvalidateRect(bar.window, nullptr, FALSE);
  if (inside) Press(bar, index);
}

// Whether the pointer, as last reported, still rests on the button.
bool PointerOn(ToolBar& bar, int index) {
  DWORD pos = GetMessagePos();
  POINT p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  ScreenToClient(bar.window, &p);
  return HitTest(bar, p) == index;
}

// ---- Tool-bar messages ---------------------------------------------------------------------

LRESULT ButtonMessage(ToolBar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = IndexOfCommand(bar, int(wParam));
  ToolButton* b = index >= 0 ? &bar.buttons[size_t(index)] : nullptr;
  auto setBit = [&](BYTE bit, bool on) {
    if (!b) return FALSE;
    b->state = on ? BYTE(b->state | bit) : BYTE(b->state & ~bit);
    InvalidateRect(bar.window, nullptr, FALSE);
    return TRUE;
  };
  switch (message) {
    case TB_ENABLEBUTTON: return setBit(TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON: return setBit(TBSTATE_CHECKED, LOWORD(lParam) != 0);
    case TB_ISBUTTONENABLED: return b && Enabled(*b);
    case TB_ISBUTTONCHECKED: return b && (b->state & TBSTATE_CHECKED);
    case TB_GETSTATE: return b ? LRESULT(b->state) : -1;
    case TB_SETSTATE:
      if (!b) return FALSE;
      b->state = BYTE(LOWORD(lParam));
      InvalidateRect(bar.window, nullptr, FALSE);
      return TRUE;
    case TB_COMMANDTOINDEX: return index;
    default: return 0;
  }
}

LRESULT IndexMessage(ToolBar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam >= bar.buttons.size() || !lParam) return FALSE;
  const ToolButton& b = bar.buttons[wParam];
  if (message == TB_GETITEMRECT) {
    Layout(bar);
    *reinterpret_cast<RECT*>(lParam) = b.rect;
    return TRUE;
  }
  TBBUTTON* out = reinterpret_cast<TBBUTTON*>(lParam);
  *out = TBBUTTON{};
  out->iBitmap = b.image;
  out->idCommand = b.command;
  out->fsState = b.state;
  out->fsStyle = b.style;
  out->iString = -1;
  return TRUE;
}

}  // namespace

ToolBar* BarOf(HWND window) {
  auto it = Bars().find(window);
  return it == Bars().end() ? nullptr : it->second.get();
}

ToolBar& AttachBar(HWND window, HWND owner, BarKind kind) {
  auto bar = std::make_unique<ToolBar>();
  bar->window = window;
  bar->owner = owner;
  bar->kind = kind;
  ToolBar& ref = *bar;
  Bars()[window] = std::move(bar);
  return ref;
}

std::vector<ToolBar*> AllBars() {
  std::vector<ToolBar*> bars;
  for (auto& [window, bar] : Bars())
    if (IsWindow(window)) bars.push_back(bar.get());
  return bars;
}

void ForgetBars() { Bars().clear(); }

bool SipButtonShown() { return SipButtonFlag(); }

void ShowSipButton(bool shown) {
  SipButtonFlag() = shown;
  for (ToolBar* bar : AllBars())
    if (bar->kind == BarKind::MenuBar) InvalidateRect(bar->window, nullptr, FALSE);
}

void Layout(ToolBar& bar) {
  RECT client;
  GetClientRect(bar.window, &client);
  int s = Scale();
  int x = client.left;
  HDC dc = nullptr;
  for (ToolButton& b : bar.buttons) {
    if (!Visible(b)) {
      b.rect = RECT{};
      continue;
    }
    int width = 24 * s;
    if (b.style == TBSTYLE_SEP) {
      width = 6 * s;
    } else if (!b.caption.empty()) {
      if (!dc) dc = GetDC(bar.window);
      width = std::max(width, LabelWidth(dc, b.caption, true) + 14 * s);
    }
    b.rect = RECT{x, client.top, x + width, client.bottom};
    x += width;
  }
  if (dc) ReleaseDC(bar.window, dc);
  bar.sipRect = bar.closeRect = RECT{};
  RECT end{client.right - 24 * s, client.top, client.right, client.bottom};
  if (bar.kind == BarKind::MenuBar && SipButtonShown()) bar.sipRect = end;
  if (bar.kind == BarKind::CommandBar && bar.closeButton) bar.closeRect = end;
}

int AddImageStrip(ToolBar& bar, HINSTANCE instance, int bitmapId, int count, int width,
                  int height) {
  ImageStrip strip;
  strip.count = count < 0 ? -count : count;
  strip.width = width > 0 ? width : 16;
  strip.height = height > 0 ? height : 16;
  strip.first = bar.imageCount;
  // The common controls' standard images are not carried: their indices exist, unpainted.
  if (instance != HINST_COMMCTRL) {
    strip.bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
    if (!strip.bitmap) return -1;
  }
  bar.strips.push_back(strip);
  bar.imageCount += strip.count;
  InvalidateRect(bar.window, nullptr, FALSE);
  return strip.first;
}

void AddButtons(ToolBar& bar, const TBBUTTON* buttons, size_t count) {
  for (size_t i = 0; buttons && i < count; ++i) {
    ToolButton b;
    b.image = buttons[i].iBitmap;
    b.command = buttons[i].idCommand;
    b.state = buttons[i].fsState;
    b.style = buttons[i].fsStyle;
    bar.buttons.push_back(b);
  }
  InvalidateRect(bar.window, nullptr, FALSE);
}

void SetToolTips(ToolBar& bar, const LPWSTR* tips, size_t count) {
  bar.tooltips.clear();
  for (size_t i = 0; tips && i < count; ++i)
    bar.tooltips.push_back(tips[i] ? std::u16string(tips[i]) : std::u16string());
}

LRESULT ToolBarMessage(ToolBar& bar, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: Paint(bar); return 0;
    case WM_LBUTTONDOWN: StylusDown(bar, p); return 0;
    case WM_MOUSEMOVE: StylusMove(bar, p); return 0;
    case WM_LBUTTONUP: StylusUp(bar, p); return 0;
    case WM_CAPTURECHANGED:
      if (bar.pressed != kNoButton && HWND(lParam) != bar.window) {
        bar.pressed = kNoButton;
        HideTip(bar);
        InvalidateRect(bar.window, nullptr, FALSE);
      }
      return 0;
    case WM_SIZE: InvalidateRect(bar.window, nullptr, FALSE); return 0;
    case TB_BUTTONSTRUCTSIZE: return 0;
    case TB_ADDBUTTONSW:
      AddButtons(bar, reinterpret_cast<const TBBUTTON*>(lParam), wParam);
      return TRUE;
    case TB_SETTOOLTIPS:
      SetToolTips(bar, reinterpret_cast<const LPWSTR*>(lParam), wParam);
      return TRUE;
    case TB_BUTTONCOUNT: return LRESULT(bar.buttons.size());
    case TB_GETBUTTON:
    case TB_GETITEMRECT: return IndexMessage(bar, message, wParam, lParam);
    case TB_ENABLEBUTTON:
    case TB_CHECKBUTTON:
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_GETSTATE:
    case TB_SETSTATE:
    case TB_COMMANDTOINDEX: return ButtonMessage(bar, message, wParam, lParam);
    case WM_DESTROY: {
      HWND window = bar.window;
      HideTip(bar);
      if (bar.menu) DestroyMenu(bar.menu);
      for (const ImageStrip& strip : bar.strips)
        if (strip.bitmap) DeleteObject(strip.bitmap);
      Bars().erase(window);  // `bar` is gone from here on
      return 0;
    }
    default:
      handled = false;
      return 0;
  }
}

// Shows the tip for a button held or hovered long enough, or has the loop wake when
// that time comes.
void TipWhenDue(ToolBar& bar, int index, std::chrono::steady_clock::time_point now) {
  if (bar.tipFor == index || TipText(bar, index).empty()) return;
  auto waited = now - bar.since;
  if (waited >= kToolTipDelay) {
    ShowTip(bar, index);
    return;
  }
  user::WakeWithin(std::chrono::ceil<std::chrono::milliseconds>(kToolTipDelay - waited));
}

void CheckToolTips() {
  auto now = Now();
  for (ToolBar* bar : AllBars()) {
    if (bar->pressed != kNoButton) {
      if (bar->pressInside && bar->pressed >= 0) TipWhenDue(*bar, bar->pressed, now);
      continue;
    }
    if (bar->hover == kNoButton) continue;
    if (!PointerOn(*bar, bar->hover)) {
      bar->hover = kNoButton;
      HideTip(*bar);
    } else if (bar->hover >= 0) {
      TipWhenDue(*bar, bar->hover, now);
    }
  }
}

void RegisterToolTipClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ToolTipProc;
  wc.lpszClassName = kToolTipClass;
  RegisterClassW(&wc);
}

std::string DescribeBar(HWND window) {
  ToolBar* bar = BarOf(window);
  if (!bar) return "";
  Layout(*bar);
  const char* indent = "\n  ";
  auto rect = [&](const RECT& r) {
    RECT s = ScreenRectOf(bar->window, r);
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", long(s.left), long(s.top),
                  long(s.right), long(s.bottom));
    return std::string(text);
  };
  std::string out = " buttons=" + std::to_string(bar->buttons.size());
  for (size_t i = 0; i < bar->buttons.size(); ++i) {
    const ToolButton& b = bar->buttons[i];
    char state[8];
    std::snprintf(state, sizeof state, "0x%02X", unsigned(b.state));
    out += indent + std::string("button index=") + std::to_string(i) +
           " id=" + std::to_string(b.command) + " text=" + user::QuoteForListing(b.caption) +
           " state=" + state + " rect=" + rect(b.rect);
    if (!TipText(*bar, int(i)).empty()) out += " tip=" + user::QuoteForListing(TipText(*bar, int(i)));
  }
  if (!IsRectEmpty(&bar->sipRect)) out += indent + std::string("input-panel-button rect=") + rect(bar->sipRect);
  if (!IsRectEmpty(&bar->closeRect)) out += indent + std::string("close-button rect=") + rect(bar->closeRect);
  return out;
}

}  // namespace shell
