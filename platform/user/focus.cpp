// Activation (one active top-level window, brought to the front), keyboard focus and
// stylus capture.
#include <algorithm>

#include "kernel/utf.h"
#include "user/icon.h"
#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

bool Within(HWND root, HWND h) { return h && (h == root || IsChild(root, h)); }

void BringToFront(HWND h) {
  auto& z = S().zorder;
  z.erase(std::remove(z.begin(), z.end(), h), z.end());
  z.insert(z.begin(), h);
  RestackTopLevels();
}

bool CanActivate(const Window& w, HWND leaving) {
  return w.handle != leaving && !w.destroying && !w.parent && (w.style & WS_VISIBLE) &&
         !(w.style & WS_DISABLED) && !(w.exStyle & WS_EX_NOACTIVATE) && !w.system;
}

}  // namespace

void Activate(HWND handle, WORD state) {
  WindowPtr w = Find(handle);
  if (!w || w->parent || w->destroying) return;
  HWND old = S().active;
  BringToFront(handle);
  if (old == handle) return;
  S().active = handle;
  if (WindowPtr o = Find(old)) {
    o->frameDirty = true;
    Call(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(handle));
  }
  if (S().active != handle || !w->alive) return;
  w->frameDirty = true;
  if (display::Display* d = display::Current(); d && !w->system) {
    ShowTitleOnDisplay();
    if (w->cls && w->cls->wc.hIcon) ShowIconOnDisplay(w->cls->wc.hIcon);
  }
  Call(handle, WM_ACTIVATE, MAKEWPARAM(state, 0), reinterpret_cast<LPARAM>(old));
  if (S().active == handle && S().focus && !Within(handle, S().focus)) SetFocus(nullptr);
}

void ShowTitleOnDisplay() {
  display::Display* d = display::Current();
  WindowPtr w = Find(S().active);
  if (!d || !w || w->system) return;
  // Owners form no cycle, but a bounded walk never depends on it.
  for (int depth = 0; depth < 64 && w->owner; ++depth) {
    WindowPtr owner = Find(w->owner);
    if (!owner || owner->system) break;
    w = owner;
  }
  d->setTitle(kernel::Utf16ToUtf8(w->text));
}

void ActivateNext(HWND leaving) {
  WindowPtr w = Find(leaving);
  HWND next = nullptr;
  if (w && w->owner)
    if (WindowPtr owner = Find(w->owner); owner && CanActivate(*owner, leaving)) next = owner->handle;
  for (size_t i = 0; !next && i < S().zorder.size(); ++i)
    if (WindowPtr c = Find(S().zorder[i]); c && CanActivate(*c, leaving)) next = c->handle;
  if (next) {
    Activate(next, WA_ACTIVE);
    return;
  }
  if (S().active != leaving) return;
  S().active = nullptr;
  if (S().focus && Within(leaving, S().focus)) SetFocus(nullptr);
  Call(leaving, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
}

}  // namespace user

using namespace user;

HWND GetActiveWindow() try {
  return S().active;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND SetActiveWindow(HWND window) try {
  HWND old = S().active;
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  Window* top = TopLevelOf(w.get());
  if (!(top->style & WS_VISIBLE) || (top->style & WS_DISABLED)) return nullptr;
  Activate(top->handle, WA_ACTIVE);
  return old;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND GetForegroundWindow() try {
  if (S().remote.foreground)
    if (HWND remote = S().remote.foreground()) return remote;
  return S().active;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL SetForegroundWindow(HWND window) try {
  if (S().remote.isRemote && S().remote.setForeground && S().remote.isRemote(window))
    return S().remote.setForeground(window);
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  Window* top = TopLevelOf(w.get());
  // A window disabled by a modal dialog brings the dialog to the front instead.
  if (top->style & WS_DISABLED) {
    for (HWND h : S().zorder)
      if (WindowPtr o = Find(h); o && o->owner == top->handle && (o->style & WS_VISIBLE))
        return SetForegroundWindow(h);
    return FALSE;
  }
  if (!(top->style & WS_VISIBLE)) return FALSE;
  Activate(top->handle, WA_ACTIVE);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

HWND GetFocus() try {
  return S().focus;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND SetFocus(HWND window) try {
  HWND old = S().focus;
  if (!window) {
    S().focus = nullptr;
    if (old) Call(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  WindowPtr w = Find(window);
  if (!w || window == S().desktop) return nullptr;
  Window* top = TopLevelOf(w.get());
  if (top->handle != S().active) {
    Activate(top->handle, WA_ACTIVE);
    old = S().focus;
    if (!w->alive) return old;
  }
  if (old == window) return old;
  S().focus = window;
  if (old) Call(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (S().focus == window)
    Call(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND GetCapture() try {
  return S().capture;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND SetCapture(HWND window) try {
  HWND old = S().capture;
  if (!Find(window)) return old;
  S().capture = window;
  if (old && old != window) Call(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  return old;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL ReleaseCapture() try {
  HWND old = S().capture;
  S().capture = nullptr;
  if (old) Call(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
