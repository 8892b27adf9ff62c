// Window geometry: positions, sizes, showing and hiding, coordinates, hit testing.
// WM_SIZE and WM_MOVE are sent by the platform itself whenever the client area's size
// or position changes, whatever the procedure does with WM_WINDOWPOSCHANGED.
#include <algorithm>

#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void MoveInZOrder(Window& w, HWND insertAfter) {
  auto& list = w.parent ? Find(w.parent)->children : S().zorder;
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
  // Top-level lists run topmost first, child lists bottom first.
  bool top = insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST;
  if (insertAfter == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
  if (insertAfter == HWND_NOTOPMOST) w.exStyle &= ~DWORD(WS_EX_TOPMOST), top = true;
  if (insertAfter == HWND_BOTTOM) top = false;
  if (w.parent) {
    if (top) list.push_back(w.handle);
    else list.insert(list.begin(), w.handle);
    InvalidateWhole(w);
  } else {
    if (top) list.insert(list.begin(), w.handle);
    else list.push_back(w.handle);
    RestackTopLevels();
  }
}

void SetVisible(Window& w, bool visible) {
  if (visible) {
    w.style |= WS_VISIBLE;
    InvalidateWhole(w);
    return;
  }
  w.style &= ~DWORD(WS_VISIBLE);
  if (w.parent) ExposeInParent(w, w.rect);
  HWND h = w.handle;
  if (S().focus && (S().focus == h || IsChild(h, S().focus))) SetFocus(w.parent);
  if (S().active == h) ActivateNext(h);
}

}  // namespace

POINT WindowOrigin(const Window& w) {
  if (!w.parent) return POINT{w.rect.left, w.rect.top};
  WindowPtr parent = Find(w.parent);
  POINT p = parent ? ClientOrigin(*parent) : POINT{0, 0};
  return POINT{p.x + w.rect.left, p.y + w.rect.top};
}

POINT ClientOrigin(const Window& w) {
  POINT p = WindowOrigin(w);
  Frame f = ComputeFrame(w);
  return POINT{p.x + f.client.left, p.y + f.client.top};
}

RECT ScreenRect(const Window& w) {
  POINT p = WindowOrigin(w);
  return RECT{p.x, p.y, p.x + (w.rect.right - w.rect.left), p.y + (w.rect.bottom - w.rect.top)};
}

SIZE ClientSize(const Window& w) {
  Frame f = ComputeFrame(w);
  return SIZE{f.client.right - f.client.left, f.client.bottom - f.client.top};
}

void SendSizeAndMove(Window& w) {
  HWND h = w.handle;
  SIZE size = ClientSize(w);
  w.sentClient = size;
  Call(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
  if (!w.alive) return;
  POINT origin = ClientOrigin(w);
  if (WindowPtr parent = Find(w.parent)) {
    POINT p = ClientOrigin(*parent);
    origin.x -= p.x, origin.y -= p.y;
  }
  Call(h, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

void FrameChanged(HWND handle, SIZE oldClient) {
  WindowPtr w = Find(handle);
  if (!w) return;
  InvalidateWhole(*w);
  SIZE now = ClientSize(*w);
  if (now.cx != oldClient.cx || now.cy != oldClient.cy) {
    w->sentClient = now;
    Call(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(now.cx, now.cy));
  }
}

void HideForDestruction(Window& w) {
  SetVisible(w, false);
}

void ResizeDefaultWindows() {
  RECT area = S().workArea;
  std::vector<HWND> windows = S().zorder;
  for (HWND h : windows) {
    WindowPtr w = Find(h);
    if (!w || !w->defaultRect) continue;
    SetWindowPos(h, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (WindowPtr again = Find(h)) again->defaultRect = true;
  }
}

HWND TopLevelAt(POINT screen) {
  for (HWND h : S().zorder) {
    WindowPtr w = Find(h);
    if (w && (w->style & WS_VISIBLE) && Contains(w->rect, screen)) return h;
  }
  return nullptr;
}

HWND DeepestChildAt(HWND top, POINT screen) {
  WindowPtr w = Find(top);
  while (w) {
    Frame f = ComputeFrame(*w);
    POINT origin = WindowOrigin(*w);
    RECT client = f.client;
    OffsetRect(&client, origin.x, origin.y);
    if (!Contains(client, screen)) return w->handle;
    WindowPtr hit;
    for (auto it = w->children.rbegin(); it != w->children.rend() && !hit; ++it) {
      WindowPtr c = Find(*it);
      if (c && (c->style & WS_VISIBLE) && Contains(ScreenRect(*c), screen)) hit = c;
    }
    if (!hit) return w->handle;
    w = hit;
  }
  return top;
}

}  // namespace user

using namespace user;

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                  UINT flags) try {
  WindowPtr w = Find(window);
  if (!w || window == S().desktop) return FALSE;
  WINDOWPOS pos{window, insertAfter, x, y, width, height, flags & 0xFFFF};
  if (flags & SWP_NOMOVE) pos.x = w->rect.left, pos.y = w->rect.top;
  if (flags & SWP_NOSIZE)
    pos.cx = w->rect.right - w->rect.left, pos.cy = w->rect.bottom - w->rect.top;
  Call(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (!w->alive) return FALSE;
  pos.cx = std::max(0, pos.cx), pos.cy = std::max(0, pos.cy);

  RECT old = w->rect;
  RECT now{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  bool moved = now.left != old.left || now.top != old.top;
  bool sized = (now.right - now.left) != (old.right - old.left) ||
               (now.bottom - now.top) != (old.bottom - old.top);
  if (moved || sized) {
    if (w->parent && (w->style & WS_VISIBLE)) ExposeInParent(*w, old);
    w->rect = now;
    w->defaultRect = false;
    if (sized && !w->parent) ResizeSurface(*w);
    InvalidateWhole(*w);
  }
  if (flags & SWP_FRAMECHANGED) InvalidateWhole(*w);
  if (flags & SWP_SHOWWINDOW) SetVisible(*w, true);
  if (flags & SWP_HIDEWINDOW) SetVisible(*w, false);
  if (!(flags & SWP_NOZORDER)) MoveInZOrder(*w, insertAfter);
  if (!(flags & SWP_NOACTIVATE) && !w->parent && (w->style & WS_VISIBLE) &&
      !(w->exStyle & WS_EX_NOACTIVATE) && S().active != window)
    Activate(window, WA_ACTIVE);
  if (!w->alive) return FALSE;

  pos.flags &= 0xFFFF;
  Call(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (!w->alive) return TRUE;
  SIZE client = ClientSize(*w);
  if (moved) {
    POINT origin = ClientOrigin(*w);
    if (WindowPtr parent = Find(w->parent)) {
      POINT p = ClientOrigin(*parent);
      origin.x -= p.x, origin.y -= p.y;
    }
    Call(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  }
  // Also after a style change took effect (SWP_FRAMECHANGED).
  if (w->alive && (sized || client.cx != w->sentClient.cx || client.cy != w->sentClient.cy)) {
    w->sentClient = client;
    Call(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.cx, client.cy));
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  return SetWindowPos(window, nullptr, x, y, width, height, flags);
}

BOOL ShowWindow(HWND window, int command) try {
  WindowPtr w = Find(window);
  if (!w || window == S().desktop) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE || command == SW_MINIMIZE) {
    if (!wasVisible) return FALSE;
    Call(window, WM_SHOWWINDOW, FALSE, 0);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return wasVisible;
  }
  bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && !w->parent &&
                  !(w->exStyle & WS_EX_NOACTIVATE);
  if (wasVisible) {
    if (activate && S().active != window) Activate(window, WA_ACTIVE);
    return wasVisible;
  }
  Call(window, WM_SHOWWINDOW, TRUE, 0);
  if (!w->alive) return FALSE;
  UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
  if (!activate) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
  return wasVisible;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL GetWindowRect(HWND window, LPRECT rect) try {
  WindowPtr w = Find(window);
  if (!w || !rect) return FALSE;
  if (window == S().desktop) {
    *rect = RECT{0, 0, ScreenWidth(), ScreenHeight()};
    return TRUE;
  }
  *rect = ScreenRect(*w);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL GetClientRect(HWND window, LPRECT rect) try {
  WindowPtr w = Find(window);
  if (!w || !rect) return FALSE;
  if (window == S().desktop) {
    *rect = RECT{0, 0, ScreenWidth(), ScreenHeight()};
    return TRUE;
  }
  SIZE size = ClientSize(*w);
  *rect = RECT{0, 0, size.cx, size.cy};
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL ClientToScreen(HWND window, LPPOINT point) try {
  WindowPtr w = Find(window);
  if (!w || !point) return FALSE;
  if (window == S().desktop) return TRUE;
  POINT origin = ClientOrigin(*w);
  point->x += origin.x, point->y += origin.y;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL ScreenToClient(HWND window, LPPOINT point) try {
  WindowPtr w = Find(window);
  if (!w || !point) return FALSE;
  if (window == S().desktop) return TRUE;
  POINT origin = ClientOrigin(*w);
  point->x -= origin.x, point->y -= origin.y;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) try {
  POINT a{0, 0}, b{0, 0};
  if (from && !ClientToScreen(from, &a)) return 0;
  if (to && !ClientToScreen(to, &b)) return 0;
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) points[i].x += dx, points[i].y += dy;
  return MAKELONG(dx, dy);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

HWND WindowFromPoint(POINT point) try {
  HWND top = TopLevelAt(point);
  return top ? DeepestChildAt(top, point) : nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) try {
  WindowPtr w = Find(parent);
  if (!w) return nullptr;
  SIZE size = ClientSize(*w);
  if (point.x < 0 || point.y < 0 || point.x >= size.cx || point.y >= size.cy) return nullptr;
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    WindowPtr c = Find(*it);
    if (c && Contains(c->rect, point)) return c->handle;
  }
  return parent;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}
