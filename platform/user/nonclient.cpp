// The non-client area: border, caption with its title and "ok" button, client edge and
// vertical scroll bar, outside in. Drawn by the platform itself (no WM_NCPAINT) before
// the window's first paint after a change and before the screen is composed.
//
// Geometry, in window coordinates:
//   outer border  1 px on each side with WS_BORDER or WS_DLGFRAME (so with WS_CAPTION)
//   caption       SM_CYCAPTION (24) px below the top border when WS_CAPTION is set;
//                 the "ok" button (WS_EX_CAPTIONOKBTN) is 28 x 18 px, 3 px from its right
//   client edge   2 px inside the border, below the caption, with WS_EX_CLIENTEDGE
//   scroll bar    SM_CXVSCROLL (13) px at the right inside all of these, full height
//   client area   what remains.
// WS_EX_WINDOWEDGE alone adds nothing.
#include <algorithm>

#include "user/internal.h"

namespace user {

namespace {

constexpr int kCaption = 24;
constexpr int kScrollWidth = 13;
constexpr int kEdge = 2;
constexpr int kOkWidth = 28;
constexpr int kOkHeight = 18;

HFONT MakeFont(int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  const char16_t face[] = u"Tahoma";
  std::copy(std::begin(face), std::end(face), font.lfFaceName);
  return CreateFontIndirectW(&font);
}

void DrawCaption(Window& w, HDC dc, const Frame& f) {
  bool active = TopLevelOf(&w)->handle == S().active;
  FillColour(dc, f.captionBar, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  HGDIOBJ old = SelectObject(dc, CaptionFont());
  RECT text = f.captionBar;
  text.left += 4;
  if (!IsRectEmpty(&f.okButton)) text.right = f.okButton.left - 2;
  DrawTextW(dc, w.text.c_str(), int(w.text.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (!IsRectEmpty(&f.okButton)) {
    RECT ok = f.okButton;
    FrameColour(dc, ok, GetSysColor(COLOR_CAPTIONTEXT));
    DrawTextW(dc, u"ok", 2, &ok, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old);
}

void DrawFrames(HWND h) {
  WindowPtr w = Find(h);
  if (!w || !(w->style & WS_VISIBLE)) return;
  if (w->frameDirty) DrawFrame(*w);
  std::vector<HWND> children = w->children;
  for (HWND c : children) DrawFrames(c);
}

}  // namespace

Frame ComputeFrame(const Window& w) {
  Frame f;
  int width = w.rect.right - w.rect.left;
  int height = w.rect.bottom - w.rect.top;
  int outer = (w.style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0;
  int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? kEdge : 0;
  f.border = outer + edge;
  f.caption = (w.style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
  if (f.caption) {
    f.captionBar = RECT{outer, outer, width - outer, outer + f.caption};
    if (w.exStyle & WS_EX_CAPTIONOKBTN) {
      int top = outer + (f.caption - kOkHeight) / 2;
      f.okButton = RECT{width - outer - 3 - kOkWidth, top, width - outer - 3, top + kOkHeight};
    }
  }
  RECT inner{outer + edge, outer + f.caption + edge, width - outer - edge, height - outer - edge};
  if (w.vscroll.shown) {
    f.vscroll = RECT{std::max(inner.left, inner.right - kScrollWidth), inner.top, inner.right,
                     inner.bottom};
    inner.right = f.vscroll.left;
  }
  inner.right = std::max(inner.left, inner.right);
  inner.bottom = std::max(inner.top, inner.bottom);
  f.client = inner;
  return f;
}

void DrawFrame(Window& w) {
  w.frameDirty = false;
  Frame f = ComputeFrame(w);
  if (f.border == 0 && f.caption == 0 && IsRectEmpty(&f.vscroll)) return;
  HDC dc = WindowDC(w.handle, true);
  if (!dc) return;
  RECT all{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
  if (w.style & (WS_BORDER | WS_DLGFRAME)) {
    FrameColour(dc, all, GetSysColor(COLOR_WINDOWFRAME));
    InflateRect(&all, -1, -1);
  }
  if (f.caption) {
    DrawCaption(w, dc, f);
    all.top += f.caption;
  }
  if (w.exStyle & WS_EX_CLIENTEDGE) {
    Outline(dc, all, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    InflateRect(&all, -1, -1);
    Outline(dc, all, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
  if (!IsRectEmpty(&f.vscroll)) DrawScrollBar(w, dc, f.vscroll);
  ReleaseDC(w.handle, dc);
}

void DrawDirtyFrames() {
  std::vector<HWND> z(S().zorder.rbegin(), S().zorder.rend());
  for (HWND h : z) DrawFrames(h);
}

HFONT CaptionFont() {
  static HFONT font = MakeFont(12, FW_BOLD);
  return font;
}

HFONT TextFont() {
  static HFONT font = MakeFont(12, FW_NORMAL);
  return font;
}

Frame FrameOf(HWND window) {
  WindowPtr w = Find(window);
  return w ? ComputeFrame(*w) : Frame{};
}

}  // namespace user

using namespace user;

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return ScreenWidth();
    case SM_CYSCREEN: return ScreenHeight();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return kScrollWidth;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 26;
    case SM_CXFULLSCREEN: return WorkArea().right - WorkArea().left;
    case SM_CYFULLSCREEN: return WorkArea().bottom - WorkArea().top;
    default: return 0;
  }
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR: return RGB(224, 224, 224);
    case COLOR_BACKGROUND: return RGB(0, 128, 128);
    case COLOR_ACTIVECAPTION: return RGB(0, 0, 128);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_MENU: return RGB(255, 255, 255);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_HIGHLIGHT: return RGB(0, 0, 128);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(192, 192, 192);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_GRAYTEXT: return RGB(128, 128, 128);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(224, 224, 224);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(0, 0, 0);
    case COLOR_3DLIGHT: return RGB(224, 224, 224);
    default: return RGB(0, 0, 0);
  }
}
