// Window classes and the window tree: creation, destruction, relations, window words
// and text.
#include <algorithm>
#include <cstring>

#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

State& S() {
  static State state;
  return state;
}

WindowPtr Find(HWND handle) {
  auto& windows = S().windows;
  auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
  if (it == windows.end() || !it->second->alive) return nullptr;
  return it->second;
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent) {
    WindowPtr parent = Find(w->parent);
    if (!parent) break;
    w = parent.get();
  }
  return w;
}

LRESULT Call(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = Find(handle);
  if (!w || handle == S().desktop) return 0;
  return CallProcedure(w->proc ? w->proc : DefWindowProcW, handle, message, wParam, lParam);
}

// A procedure that let an exception through would unwind the program's code, which keeps
// no exception-safe state: the call is noexcept, so that ends the process instead.
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  return procedure(window, message, wParam, lParam);
}

LRESULT ProcedureOutOfMemory(UINT message) {
  kernel::OutOfMemory();
  switch (message) {
    case WM_CREATE: return -1;
    case WM_NCCREATE: return FALSE;
    default: return 0;
  }
}

std::u16string Utf16(LPCWSTR text) {
  if (!text || IS_INTRESOURCE(text)) return {};
  return std::u16string(text);
}

std::u16string LowerName(LPCWSTR name) {
  if (name && IS_INTRESOURCE(name)) return u"#" + std::u16string(1, char16_t(uintptr_t(name)));
  std::u16string lower = Utf16(name);
  for (auto& c : lower)
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  return lower;
}

namespace {

constexpr ATOM kFirstAtom = 0xC000;

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
  auto& classes = S().classes;
  if (name && IS_INTRESOURCE(name)) {
    for (auto& [key, cls] : classes)
      if (cls->wc.lpszClassName == name) return cls;
    return nullptr;
  }
  auto it = classes.find(LowerName(name));
  return it == classes.end() ? nullptr : it->second;
}

// Top-level windows with WS_EX_TOPMOST first, then each owner below the windows it owns.
void Restack() {
  auto& z = S().zorder;
  std::stable_partition(z.begin(), z.end(), [](HWND h) {
    WindowPtr w = Find(h);
    return w && (w->exStyle & WS_EX_TOPMOST);
  });
  for (bool moved = true; moved;) {
    moved = false;
    for (size_t i = 0; i < z.size() && !moved; ++i) {
      WindowPtr w = Find(z[i]);
      if (!w || !w->owner) continue;
      auto owner = std::find(z.begin(), z.begin() + i, w->owner);
      if (owner == z.begin() + i) continue;
      HWND h = z[i];
      z.erase(z.begin() + i);
      z.insert(std::find(z.begin(), z.end(), *owner), h);
      moved = true;
    }
  }
}

void SetDefaultRect(Window& w, int& x, int& y, int& width, int& height) {
  RECT area = WorkArea();
  if (w.parent) {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    return;
  }
  if (x == CW_USEDEFAULT) x = area.left, y = area.top;
  if (width == CW_USEDEFAULT) {
    width = area.right - area.left;
    height = area.bottom - area.top;
    w.defaultRect = true;
  }
}

WindowPtr NewWindow(std::shared_ptr<WindowClass> cls, DWORD exStyle, DWORD style, HWND parent) {
  auto w = std::make_shared<Window>();
  w->handle = reinterpret_cast<HWND>(S().nextHandle++);
  w->cls = cls;
  w->proc = cls->wc.lpfnWndProc;
  w->exStyle = exStyle;
  w->style = style & ~DWORD(WS_VISIBLE);
  if (parent && (style & WS_CHILD)) {
    w->parent = parent;
  } else if (parent) {
    WindowPtr p = Find(parent);
    Window* top = p ? TopLevelOf(p.get()) : nullptr;
    w->owner = top && top->handle != S().desktop ? top->handle : nullptr;
  }
  w->extra.assign(size_t(std::max(0, cls->wc.cbWndExtra)), 0);
  // A window made without a bar has an empty range until SetScrollInfo gives it one.
  if (style & WS_VSCROLL) w->vscroll.shown = true;
  else w->vscroll.max = 0;
  if (style & WS_HSCROLL) w->hscroll.shown = true;
  else w->hscroll.max = 0;
  return w;
}

void Link(const WindowPtr& w) {
  S().windows[reinterpret_cast<uintptr_t>(w->handle)] = w;
  if (w->parent) {
    Find(w->parent)->children.push_back(w->handle);
  } else {
    S().zorder.insert(S().zorder.begin(), w->handle);
    Restack();
  }
}

void Unlink(Window& w) {
  if (WindowPtr parent = Find(w.parent)) {
    auto& c = parent->children;
    c.erase(std::remove(c.begin(), c.end(), w.handle), c.end());
  }
  auto& z = S().zorder;
  z.erase(std::remove(z.begin(), z.end(), w.handle), z.end());
  auto& q = S().queue;
  q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) { return m.hwnd == w.handle; }),
          q.end());
  if (S().capture == w.handle) S().capture = nullptr;
  if (S().focus == w.handle) S().focus = nullptr;
  if (S().active == w.handle) S().active = nullptr;
  w.alive = false;
  S().windows.erase(reinterpret_cast<uintptr_t>(w.handle));
}

bool IsSelfOrDescendant(HWND root, HWND h) {
  for (WindowPtr w = Find(h); w; w = Find(w->parent))
    if (w->handle == root) return true;
  return false;
}

}  // namespace

void RestackTopLevels() { Restack(); }

HWND CreateDesktop() {
  auto cls = std::make_shared<WindowClass>();
  cls->name = u"#32769";
  cls->wc.lpfnWndProc = DefWindowProcW;
  auto w = NewWindow(cls, 0, WS_VISIBLE, nullptr);
  w->style |= WS_VISIBLE;
  w->rect = RECT{0, 0, ScreenWidth(), ScreenHeight()};
  AllocateSurface(*w);
  S().windows[reinterpret_cast<uintptr_t>(w->handle)] = w;
  return w->handle;
}

// Destroys the window, what it owns and its children, children first.
bool DestroyTree(HWND handle) {
  WindowPtr w = Find(handle);
  if (!w || w->destroying || handle == S().desktop) return false;
  w->destroying = true;
  if (w->style & WS_VISIBLE) HideForDestruction(*w);
  if (S().capture && IsSelfOrDescendant(handle, S().capture)) ReleaseCapture();
  std::vector<HWND> owned;
  for (auto& [key, other] : S().windows)
    if (other->owner == handle) owned.push_back(other->handle);
  for (HWND o : owned) DestroyTree(o);
  std::vector<HWND> children(w->children.rbegin(), w->children.rend());
  for (HWND c : children) DestroyTree(c);
  if (S().focus && IsSelfOrDescendant(handle, S().focus)) S().focus = nullptr;
  Call(handle, WM_DESTROY, 0, 0);
  Call(handle, WM_NCDESTROY, 0, 0);
  Unlink(*w);
  return true;
}

}  // namespace user

using namespace user;

ATOM RegisterClassW(const WNDCLASSW* windowClass) try {
  if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
      !windowClass->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string key = LowerName(windowClass->lpszClassName);
  if (S().classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<WindowClass>();
  cls->wc = *windowClass;
  cls->name = windowClass->lpszClassName;
  cls->classExtra.assign(size_t(std::max(0, windowClass->cbClsExtra)), 0);
  ATOM atom = ATOM(kFirstAtom + S().classes.size());
  cls->wc.lpszClassName = MAKEINTRESOURCEW(atom);
  cls->wc.lpszMenuName = nullptr;  // the caller's string need not outlive the call
  S().classes[key] = cls;
  return atom;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) try {
  std::shared_ptr<WindowClass> cls = FindClass(className);
  if (!cls) return FALSE;
  for (auto& [key, w] : S().windows)
    if (w->cls == cls) return FALSE;
  S().classes.erase(LowerName(cls->name.c_str()));
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW windowClass) try {
  std::shared_ptr<WindowClass> cls = FindClass(className);
  if (!cls || !windowClass) return FALSE;
  *windowClass = cls->wc;
  windowClass->lpszClassName = cls->name.c_str();
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int GetClassNameW(HWND window, LPWSTR name, int size) try {
  WindowPtr w = Find(window);
  if (!w || !name || size <= 0) return 0;
  int n = std::min<int>(int(w->cls->name.size()), size - 1);
  std::copy_n(w->cls->name.data(), n, name);
  name[n] = 0;
  return n;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId,
                     HINSTANCE instance, LPVOID param) try {
  std::shared_ptr<WindowClass> cls = FindClass(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !Find(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  WindowPtr w = NewWindow(cls, exStyle, style, parent == S().desktop && (style & WS_CHILD) ? nullptr : parent);
  if (w->parent) w->id = reinterpret_cast<UINT_PTR>(menuOrId);
  w->instance = instance;
  w->text = Utf16(windowName);
  SetDefaultRect(*w, x, y, width, height);
  w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  Link(w);
  if (IsTopLevel(*w)) AllocateSurface(*w);

  HWND h = w->handle;
  CREATESTRUCTW cs{param, instance, menuOrId, parent, height, width, y, x, LONG(style), windowName,
                   className, exStyle};
  if (!Call(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyTree(h);
    return nullptr;
  }
  if (Call(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyTree(h);
    return nullptr;
  }
  if (!w->alive) return nullptr;
  SendSizeAndMove(*w);
  if (w->alive && (style & WS_VISIBLE))
    ShowWindow(h, (exStyle & WS_EX_NOACTIVATE) || w->parent ? SW_SHOWNA : SW_SHOW);
  return w->alive ? h : nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL DestroyWindow(HWND window) try {
  return DestroyTree(window);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

HWND GetParent(HWND window) try {
  if (S().remote.isRemote && S().remote.parent && S().remote.isRemote(window))
    return S().remote.parent(window);
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND GetWindow(HWND window, UINT relation) try {
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  if (relation == GW_OWNER) return w->owner;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.back();
  // Siblings, topmost first.
  std::vector<HWND> siblings;
  if (WindowPtr parent = Find(w->parent))
    siblings.assign(parent->children.rbegin(), parent->children.rend());
  else
    siblings = S().zorder;
  if (siblings.empty()) return nullptr;
  auto it = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings.begin() || it == siblings.end() ? nullptr : *(it - 1);
    default: return nullptr;
  }
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL IsChild(HWND parent, HWND window) {
  WindowPtr w = Find(window);
  return w && w->parent && parent != window && IsSelfOrDescendant(parent, window);
}

BOOL IsWindow(HWND window) try {
  return Find(window) != nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL IsWindowVisible(HWND window) try {
  for (WindowPtr w = Find(window); w; w = Find(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!w->parent) return TRUE;
  }
  return FALSE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL EnableWindow(HWND window, BOOL enable) try {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable) {
    w->style &= ~DWORD(WS_DISABLED);
  } else {
    w->style |= WS_DISABLED;
    if (S().focus && IsSelfOrDescendant(window, S().focus)) SetFocus(nullptr);
    if (S().capture && IsSelfOrDescendant(window, S().capture)) ReleaseCapture();
  }
  Call(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  InvalidateRect(window, nullptr, TRUE);
  return wasDisabled;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL IsWindowEnabled(HWND window) {
  WindowPtr w = Find(window);
  return w && !(w->style & WS_DISABLED);
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) try {
  std::u16string cls = className ? LowerName(className) : u"";
  for (HWND h : S().zorder) {
    WindowPtr w = Find(h);
    if (!w || w->destroying) continue;
    if (className && LowerName(w->cls->name.c_str()) != cls) continue;
    if (windowName && w->text != Utf16(windowName)) continue;
    return h;
  }
  if (S().remote.find) return S().remote.find(className, windowName);
  return nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND GetDesktopWindow() try {
  if (!S().desktop) S().desktop = CreateDesktop();
  return S().desktop;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HWND GetDlgItem(HWND dialog, int id) try {
  WindowPtr w = Find(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (WindowPtr child = Find(c); child && child->id == UINT_PTR(id)) return c;
  return nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

int GetDlgCtrlID(HWND window) {
  WindowPtr w = Find(window);
  return w && w->parent ? int(w->id) : 0;
}

namespace {

bool ExtraSlot(Window& w, int index, size_t size) {
  if (index < 0 || size_t(index) + size > w.extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return false;
  }
  return true;
}

LONG_PTR GetWord(Window& w, int index, size_t size) {
  switch (index) {
    case GWL_STYLE: return LONG(w.style);
    case GWL_EXSTYLE: return LONG(w.exStyle);
    case GWL_USERDATA: return w.userData;
    case GWL_ID: return LONG_PTR(w.id);
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w.proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w.instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w.parent ? w.parent : w.owner);
  }
  if (!ExtraSlot(w, index, size)) return 0;
  if (size == sizeof(LONG)) {
    LONG value;
    std::memcpy(&value, &w.extra[size_t(index)], size);
    return value;
  }
  LONG_PTR value;
  std::memcpy(&value, &w.extra[size_t(index)], size);
  return value;
}

void SetStyle(Window& w, DWORD style) {
  DWORD visible = w.style & WS_VISIBLE;
  bool vscroll = (style & WS_VSCROLL) != (w.style & WS_VSCROLL);
  w.style = (style & ~DWORD(WS_VISIBLE)) | visible;
  if (vscroll) w.vscroll.shown = (style & WS_VSCROLL) != 0;
  w.frameDirty = true;
}

LONG_PTR SetWord(Window& w, int index, LONG_PTR value, size_t size) {
  LONG_PTR old = GetWord(w, index, size);
  switch (index) {
    case GWL_STYLE: SetStyle(w, DWORD(value)); return old;
    case GWL_EXSTYLE: w.exStyle = DWORD(value), w.frameDirty = true; return old;
    case GWL_USERDATA: w.userData = value; return old;
    case GWL_ID: w.id = UINT_PTR(value); return old;
    case GWL_WNDPROC: w.proc = reinterpret_cast<WNDPROC>(value); return old;
    case GWL_HINSTANCE: w.instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT:
      if (!w.parent) w.owner = reinterpret_cast<HWND>(value), Restack();
      return old;
  }
  if (!ExtraSlot(w, index, size)) return 0;
  if (size == sizeof(LONG)) {
    LONG v = LONG(value);
    std::memcpy(&w.extra[size_t(index)], &v, size);
  } else {
    std::memcpy(&w.extra[size_t(index)], &value, size);
  }
  return old;
}

}  // namespace

LONG GetWindowLongW(HWND window, int index) {
  WindowPtr w = Find(window);
  return w ? LONG(GetWord(*w, index, sizeof(LONG))) : 0;
}

LONG SetWindowLongW(HWND window, int index, LONG value) try {
  WindowPtr w = Find(window);
  return w ? LONG(SetWord(*w, index, value, sizeof(LONG))) : 0;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
  WindowPtr w = Find(window);
  return w ? GetWord(*w, index, sizeof(LONG_PTR)) : 0;
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) try {
  WindowPtr w = Find(window);
  return w ? SetWord(*w, index, value, sizeof(LONG_PTR)) : 0;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

int GetWindowTextW(HWND window, LPWSTR text, int size) {
  if (!text || size <= 0) return 0;
  text[0] = 0;
  return int(SendMessageW(window, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) { return int(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  if (!Find(window)) return FALSE;
  return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}
