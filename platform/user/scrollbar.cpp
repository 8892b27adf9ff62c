// Window scroll bars: the range, page and position of each bar, the vertical bar's
// drawing (arrows, track, thumb) and the stylus on it (WM_VSCROLL with SB_* codes, then
// SB_ENDSCROLL). A bar whose range is empty is hidden (the client area grows, WM_SIZE),
// or shown disabled with SIF_DISABLENOSCROLL; a range that is no longer empty shows it.
#include <algorithm>

#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

constexpr int kArrow = 13;
constexpr int kMinThumb = 8;

enum class Part { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct Tracking {
  HWND window = nullptr;
  Part part = Part::None;
  int grab = 0;  // stylus offset from the thumb's top
  int trackPos = 0;
};
Tracking tracking;

int MaxPos(const ScrollBar& b) { return std::max(b.min, b.max - std::max(0, int(b.page) - 1)); }

int Clamp(const ScrollBar& b, int pos) { return std::clamp(pos, b.min, MaxPos(b)); }

void Box(HDC dc, RECT r) {
  FillColour(dc, r, GetSysColor(COLOR_BTNFACE));
  Outline(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

// A filled triangle pointing up or down, centred in the arrow box.
void Arrow(HDC dc, RECT r, bool up, bool enabled) {
  Box(dc, r);
  COLORREF colour = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  int cx = (r.left + r.right) / 2;
  int top = (r.top + r.bottom) / 2 - 2;
  for (int row = 0; row < 4; ++row) {
    int half = up ? row : 3 - row;
    FillColour(dc, RECT{cx - half, top + row, cx + half + 1, top + row + 1}, colour);
  }
}

void SendScroll(HWND h, int code, int pos = 0) {
  WORD high = WORD(int16_t(pos));  // the position as a signed 16-bit number
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(code, high), 0);
}

// The bar of a window, on the screen.
bool BarOnScreen(const Window& w, RECT& bar) {
  Frame f = ComputeFrame(w);
  if (IsRectEmpty(&f.vscroll)) return false;
  bar = f.vscroll;
  POINT at = WindowOrigin(w);
  OffsetRect(&bar, at.x, at.y);
  return true;
}

int PosForThumbTop(const Window& w, const ScrollParts& parts, int top) {
  const ScrollBar& b = w.vscroll;
  int room = (parts.track.bottom - parts.track.top) - (parts.thumb.bottom - parts.thumb.top);
  int span = MaxPos(b) - b.min;
  if (room <= 0 || span <= 0) return b.min;
  int offset = std::clamp(int(top - parts.track.top), 0, room);
  return b.min + (offset * span + room / 2) / room;
}

ScrollBar* BarOf(Window& w, int bar) {
  if (bar == SB_VERT) return &w.vscroll;
  if (bar == SB_HORZ) return &w.hscroll;
  return nullptr;
}

}  // namespace

bool ScrollBarEmpty(const ScrollBar& b) {
  return b.max <= b.min || (b.page > 0 && int64_t(b.page) > int64_t(b.max) - b.min);
}

ScrollParts ScrollGeometry(const Window& w, const RECT& bar, bool isTracking, int trackPos) {
  ScrollParts p;
  int height = bar.bottom - bar.top;
  int arrow = std::min(kArrow, height / 2);
  p.up = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
  p.down = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  p.track = RECT{bar.left, p.up.bottom, bar.right, p.down.top};
  const ScrollBar& b = w.vscroll;
  int length = p.track.bottom - p.track.top;
  if (ScrollBarEmpty(b) || length < kMinThumb) return p;
  int64_t range = int64_t(b.max) - b.min + 1;
  int thumb = b.page ? int(std::max<int64_t>(kMinThumb, length * int64_t(b.page) / range)) : kArrow;
  thumb = std::min(thumb, length);
  int span = MaxPos(b) - b.min;
  int pos = Clamp(b, isTracking ? trackPos : b.pos);
  int top = p.track.top + (span > 0 ? int(int64_t(pos - b.min) * (length - thumb) / span) : 0);
  p.thumb = RECT{bar.left, top, bar.right, top + thumb};
  p.hasThumb = true;
  return p;
}

void DrawScrollBar(Window& w, HDC dc, const RECT& bar) {
  int trackPos = 0;
  bool isTracking = ScrollBarTracked(w.handle, trackPos);
  ScrollParts p = ScrollGeometry(w, bar, isTracking, trackPos);
  bool enabled = !ScrollBarEmpty(w.vscroll);
  FillColour(dc, p.track, GetSysColor(COLOR_SCROLLBAR));
  Arrow(dc, p.up, true, enabled);
  Arrow(dc, p.down, false, enabled);
  if (p.hasThumb) Box(dc, p.thumb);
}

bool ScrollBarPress(HWND handle, POINT screen) {
  WindowPtr w = Find(handle);
  RECT bar;
  if (!w || !BarOnScreen(*w, bar) || !PtInRect(&bar, screen)) return false;
  tracking = Tracking{handle, Part::None, 0, w->vscroll.pos};
  if (ScrollBarEmpty(w->vscroll)) return true;  // shown disabled: the tap does nothing
  ScrollParts p = ScrollGeometry(*w, bar, false, 0);
  if (PtInRect(&p.up, screen)) {
    tracking.part = Part::LineUp;
    SendScroll(handle, SB_LINEUP);
  } else if (PtInRect(&p.down, screen)) {
    tracking.part = Part::LineDown;
    SendScroll(handle, SB_LINEDOWN);
  } else if (p.hasThumb && PtInRect(&p.thumb, screen)) {
    tracking.part = Part::Thumb;
    tracking.grab = screen.y - p.thumb.top;
  } else if (p.hasThumb && screen.y < p.thumb.top) {
    tracking.part = Part::PageUp;
    SendScroll(handle, SB_PAGEUP);
  } else if (p.hasThumb) {
    tracking.part = Part::PageDown;
    SendScroll(handle, SB_PAGEDOWN);
  }
  return true;
}

void ScrollBarMove(POINT screen) {
  if (tracking.part != Part::Thumb) return;
  WindowPtr w = Find(tracking.window);
  RECT bar;
  if (!w || !BarOnScreen(*w, bar)) return;
  ScrollParts p = ScrollGeometry(*w, bar, false, 0);
  int pos = PosForThumbTop(*w, p, screen.y - tracking.grab);
  if (pos == tracking.trackPos) return;
  tracking.trackPos = pos;
  w->vscroll.trackPos = pos;
  w->frameDirty = true;
  SendScroll(tracking.window, SB_THUMBTRACK, pos);
}

void ScrollBarRelease(POINT screen) {
  HWND h = tracking.window;
  if (!h) return;
  Part part = tracking.part;
  if (part == Part::Thumb) ScrollBarMove(screen);
  int pos = tracking.trackPos;
  tracking = Tracking{};
  if (WindowPtr w = Find(h)) w->frameDirty = true;
  if (part == Part::None) return;  // a disabled bar
  if (part == Part::Thumb) SendScroll(h, SB_THUMBPOSITION, pos);
  SendScroll(h, SB_ENDSCROLL);
}

bool ScrollBarTracking() { return tracking.window != nullptr; }

bool ScrollBarTracked(HWND handle, int& trackPos) {
  if (tracking.window != handle || tracking.part != Part::Thumb) return false;
  trackPos = tracking.trackPos;
  return true;
}

}  // namespace user

using namespace user;

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL) try {
  WindowPtr w = Find(window);
  if (!w || !info || info->cbSize < sizeof(SCROLLINFO)) return 0;
  ScrollBar* b = BarOf(*w, bar);
  if (!b) return 0;
  if (info->fMask & SIF_RANGE) b->min = info->nMin, b->max = info->nMax;
  if (info->fMask & SIF_PAGE) b->page = info->nPage;
  if (b->max > b->min) b->page = UINT(std::min<int64_t>(b->page, int64_t(b->max) - b->min + 1));
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  b->pos = Clamp(*b, b->pos);
  bool empty = ScrollBarEmpty(*b);
  bool show = !empty || (info->fMask & SIF_DISABLENOSCROLL);
  b->disabled = empty;
  if (show != b->shown) {
    SIZE old = ClientSize(*w);
    b->shown = show;
    DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    w->style = show ? (w->style | flag) : (w->style & ~flag);
    if (bar == SB_VERT) FrameChanged(window, old);
  }
  w->frameDirty = true;
  return b->pos;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) try {
  WindowPtr w = Find(window);
  if (!w || !info || info->cbSize < sizeof(SCROLLINFO)) return FALSE;
  ScrollBar* b = BarOf(*w, bar);
  if (!b) return FALSE;
  if (info->fMask & SIF_RANGE) info->nMin = b->min, info->nMax = b->max;
  if (info->fMask & SIF_PAGE) info->nPage = b->page;
  if (info->fMask & SIF_POS) info->nPos = b->pos;
  if (info->fMask & SIF_TRACKPOS) {
    int trackPos = b->pos;
    info->nTrackPos = bar == SB_VERT && ScrollBarTracked(window, trackPos) ? trackPos : b->pos;
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
  int old = GetScrollPos(window, bar);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return old;
}

int GetScrollPos(HWND window, int bar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
  if (!Find(window)) return FALSE;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minimum, maximum, 0, 0, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) try {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(window, bar, &info)) return FALSE;
  if (minimum) *minimum = info.nMin;
  if (maximum) *maximum = info.nMax;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
