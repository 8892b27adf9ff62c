// Painting: each top-level window owns a surface; its children draw into it, clipped to
// themselves and their ancestors. Update regions are kept as one bounding rectangle per
// window; WM_PAINT comes from them when the queue is empty. The screen is the desktop
// with the visible top-level windows laid over it, bottom first.
#include <algorithm>

#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDesktop = 0xFFFFFF;

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, &a, &b);
  return r;
}

// Where a window's pixels go: its top-level's surface, or the desktop's for the desktop
// and the screen DC.
gdi::Surface* SurfaceOf(Window& w) {
  Window* top = TopLevelOf(&w);
  return top ? top->surface.get() : nullptr;
}

// The window's client area (or whole window) on its surface, clipped by its ancestors'
// client areas.
RECT VisibleOnSurface(Window& w, bool wholeWindow) {
  POINT at;
  if (!SurfaceTopLeft(w, at)) return RECT{};
  Frame f = ComputeFrame(w);
  RECT area = wholeWindow ? RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top}
                          : f.client;
  OffsetRect(&area, at.x, at.y);
  for (WindowPtr p = Find(w.parent); p; p = Find(p->parent)) {
    POINT pAt;
    SurfaceTopLeft(*p, pAt);
    RECT client = ComputeFrame(*p).client;
    OffsetRect(&client, pAt.x, pAt.y);
    area = Intersect(area, client);
  }
  return area;
}

struct WindowTarget : gdi::DrawTarget {
  HWND handle;
  bool wholeWindow;
  bool clipped = false;
  RECT paint{};  // BeginPaint: the update rectangle, client coordinates

  WindowTarget(HWND h, bool whole) : handle(h), wholeWindow(whole) {}

  gdi::Surface* surface() override {
    WindowPtr w = Find(handle);
    return w ? SurfaceOf(*w) : nullptr;
  }
  POINT origin() override {
    WindowPtr w = Find(handle);
    POINT at{0, 0};
    if (!w || !SurfaceTopLeft(*w, at)) return at;
    if (!wholeWindow) {
      Frame f = ComputeFrame(*w);
      at.x += f.client.left, at.y += f.client.top;
    }
    return at;
  }
  RECT clip() override {
    WindowPtr w = Find(handle);
    if (!w) return RECT{};
    RECT area = VisibleOnSurface(*w, wholeWindow);
    if (!clipped) return area;
    RECT r = paint;
    POINT at = origin();
    OffsetRect(&r, at.x, at.y);
    return Intersect(area, r);
  }
};

bool Dirty(const Window& w) { return w.dirty && !IsRectEmpty(&w.update); }

HWND FirstDirty(HWND h) {
  WindowPtr w = Find(h);
  if (!w || !(w->style & WS_VISIBLE)) return nullptr;
  if (Dirty(*w)) return h;
  for (HWND c : w->children)
    if (HWND found = FirstDirty(c)) return found;
  return nullptr;
}

void Blit(std::vector<uint32_t>& screen, int sw, int sh, const gdi::Surface& s, POINT at) {
  int x0 = std::max(0, int(at.x)), y0 = std::max(0, int(at.y));
  int x1 = std::min(sw, int(at.x) + s.width), y1 = std::min(sh, int(at.y) + s.height);
  for (int y = y0; y < y1; ++y) {
    const uint32_t* from = &s.pixels[size_t(y - at.y) * s.width + size_t(x0 - at.x)];
    std::copy(from, from + (x1 - x0), &screen[size_t(y) * sw + x0]);
  }
}

}  // namespace

bool SurfaceTopLeft(const Window& w, POINT& at) {
  const Window* top = &w;
  while (top->parent) {
    WindowPtr p = Find(top->parent);
    if (!p) return false;
    top = p.get();
  }
  POINT mine = WindowOrigin(w);
  POINT topAt = WindowOrigin(*top);
  at = POINT{mine.x - topAt.x, mine.y - topAt.y};
  return true;
}

void AllocateSurface(Window& w) {
  w.surface = std::make_unique<gdi::Surface>(std::max(0, int(w.rect.right - w.rect.left)),
                                             std::max(0, int(w.rect.bottom - w.rect.top)), kWhite);
}

// Keeps what the window showed in the part that remains; the rest is painted anew.
void ResizeSurface(Window& w) {
  if (!w.surface) return AllocateSurface(w);
  gdi::Surface& s = *w.surface;
  int width = std::max(0, int(w.rect.right - w.rect.left));
  int height = std::max(0, int(w.rect.bottom - w.rect.top));
  std::vector<uint32_t> pixels(size_t(width) * height, kWhite);
  for (int y = 0; y < std::min(height, s.height); ++y)
    std::copy_n(s.pixels.data() + size_t(y) * s.width, std::min(width, s.width),
                pixels.data() + size_t(y) * width);
  s.pixels = std::move(pixels);
  s.width = width;
  s.height = height;
}

void InvalidateClient(Window& w, const RECT& area, bool erase) {
  SIZE size = ClientSize(w);
  RECT client{0, 0, size.cx, size.cy};
  RECT r = Intersect(area, client);
  if (IsRectEmpty(&r)) return;
  RECT joined;
  UnionRect(&joined, w.dirty ? &w.update : &r, &r);
  w.update = joined;
  w.dirty = true;
  w.erase = w.erase || erase;
  // The parent's painting covers its children there: they paint again after it.
  for (HWND c : w.children) {
    WindowPtr child = Find(c);
    if (!child || !(child->style & WS_VISIBLE)) continue;
    RECT inChild = r;
    Frame f = ComputeFrame(*child);
    OffsetRect(&inChild, -(child->rect.left + f.client.left), -(child->rect.top + f.client.top));
    child->frameDirty = true;
    InvalidateClient(*child, inChild, true);
  }
}

void InvalidateWhole(Window& w) {
  w.frameDirty = true;
  InvalidateClient(w, RECT{-0x10000, -0x10000, 0x10000, 0x10000}, true);
}

void ExposeInParent(const Window& w, const RECT& rect) {
  WindowPtr parent = Find(w.parent);
  if (parent) InvalidateClient(*parent, rect, true);
}

HWND NextWindowToPaint() {
  std::vector<HWND> z(S().zorder.rbegin(), S().zorder.rend());
  for (HWND h : z)
    if (HWND found = FirstDirty(h)) return found;
  return nullptr;
}

HDC WindowDC(HWND handle, bool wholeWindow) {
  if (!Find(handle)) return nullptr;
  return gdi::CreateTargetDC(std::make_shared<WindowTarget>(handle, wholeWindow));
}

const std::vector<uint32_t>& ComposeScreen() {
  static std::vector<uint32_t> screen;
  DrawDirtyFrames();
  int sw = ScreenWidth(), sh = ScreenHeight();
  screen.assign(size_t(sw) * sh, kDesktop);
  if (WindowPtr desktop = Find(GetDesktopWindow()); desktop && desktop->surface)
    Blit(screen, sw, sh, *desktop->surface, POINT{0, 0});
  for (auto it = S().zorder.rbegin(); it != S().zorder.rend(); ++it) {
    WindowPtr w = Find(*it);
    if (w && (w->style & WS_VISIBLE) && w->surface)
      Blit(screen, sw, sh, *w->surface, POINT{w->rect.left, w->rect.top});
  }
  return screen;
}

void PresentChanges(display::Display& d) {
  const std::vector<uint32_t>& screen = ComposeScreen();
  if (S().shownOn == &d && S().shown == screen) return;
  d.present(screen.data());
  S().shown = screen;
  S().shownOn = &d;
}

}  // namespace user

using namespace user;

HDC GetDC(HWND window) try {
  return WindowDC(window ? window : GetDesktopWindow(), false);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HDC GetWindowDC(HWND window) try {
  return WindowDC(window ? window : GetDesktopWindow(), true);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

int ReleaseDC(HWND, HDC dc) { return gdi::ReleaseTargetDC(dc) ? 1 : 0; }

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) try {
  WindowPtr w = Find(window);
  if (!w || !paint) return nullptr;
  if (w->frameDirty) DrawFrame(*w);
  auto target = std::make_shared<WindowTarget>(window, false);
  target->clipped = true;
  target->paint = w->dirty ? w->update : RECT{};
  bool erase = w->dirty && w->erase;
  w->dirty = w->erase = false;
  w->update = RECT{};
  *paint = PAINTSTRUCT{};
  paint->hdc = gdi::CreateTargetDC(target);
  paint->rcPaint = target->paint;
  paint->fErase = FALSE;
  if (erase)
    paint->fErase = Call(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
  return paint->hdc;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  gdi::ReleaseTargetDC(paint->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) try {
  if (!window) {
    for (auto& [key, w] : S().windows) InvalidateWhole(*w);
    return TRUE;
  }
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  if (!rect) InvalidateWhole(*w);
  else InvalidateClient(*w, *rect, erase != FALSE);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL ValidateRect(HWND window, const RECT* rect) try {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  if (!rect) {
    w->dirty = w->erase = false;
    w->update = RECT{};
    return TRUE;
  }
  RECT rest;
  SubtractRect(&rest, &w->update, rect);
  w->update = rest;
  if (IsRectEmpty(&rest)) w->dirty = w->erase = false;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) try {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  bool dirty = w->dirty && !IsRectEmpty(&w->update);
  if (rect) *rect = dirty ? w->update : RECT{};
  if (dirty && erase && w->erase) {
    HDC dc = GetDC(window);
    w->erase = Call(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    ReleaseDC(window, dc);
  }
  return dirty;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL UpdateWindow(HWND window) try {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  // This window, then its children, as the idle loop would.
  for (int guard = 0; guard < 256; ++guard) {
    HWND next = FirstDirty(window);
    if (!next) return TRUE;
    Call(next, WM_PAINT, 0, 0);
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
