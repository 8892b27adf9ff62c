// Popup menus on the screen: TrackPopupMenu shows a menu as a window at a point,
// opening downward or upward, and tracks the stylus and the keys (Up, Down, Right,
// Left, Enter, Escape, mnemonic letters) in a nested loop until an item is chosen or
// the menu is dismissed. The choice reaches the owner as WM_COMMAND after the popup
// has closed.
#include <algorithm>

#include "user/controls/common.h"
#include "user/internal.h"
#include "user/menu.h"
#include "user/menu_popup.h"
#include "kernel/out_of_memory.h"

namespace user::menu {
namespace {

constexpr int kCheckColumn = 14;  // room for the check mark, left of the caption
constexpr int kRightMargin = 8;
constexpr int kShortcutGap = 16;  // between caption and shortcut label
constexpr int kItemPadding = 6;   // added to the font's height
constexpr int kSeparatorHeight = 7;
const char16_t* const kClass = u"MenuPopup";

struct Level {
  Menu* menu = nullptr;
  HWND window = nullptr;
  int hot = -1;
  std::vector<RECT> rects;  // each item in the window's client coordinates
};

struct Tracker {
  HWND owner = nullptr;
  std::vector<Level> levels;
  bool done = false;
  UINT chosen = 0;
  bool stylusDown = false;
};

Tracker* current = nullptr;

HFONT MenuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool Selectable(const Item& item) {
  return item.type != MFT_SEPARATOR && !(item.state & (MF_GRAYED | MF_DISABLED));
}

Level* LevelOf(HWND window) {
  if (!current) return nullptr;
  for (Level& l : current->levels)
    if (l.window == window) return &l;
  return nullptr;
}

// Sizes every item of the menu; returns the client size of its window.
SIZE Measure(Level& level) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  int lineHeight = controls::LineHeight(dc) + kItemPadding;
  int captionWidth = 0, shortcutWidth = 0;
  for (const Item& item : level.menu->items) {
    std::u16string caption, shortcut;
    SplitText(item.text, caption, shortcut);
    caption = StripMnemonic(caption, nullptr);
    SIZE a{}, b{};
    GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &a);
    GetTextExtentPoint32W(dc, shortcut.c_str(), int(shortcut.size()), &b);
    if (item.submenu) b.cx = std::max<LONG>(b.cx, 8);
    captionWidth = std::max<int>(captionWidth, a.cx);
    shortcutWidth = std::max<int>(shortcutWidth, b.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int width = kCheckColumn + captionWidth + (shortcutWidth ? kShortcutGap + shortcutWidth : 0) + kRightMargin;
  int y = 0;
  level.rects.clear();
  for (const Item& item : level.menu->items) {
    int h = item.type == MFT_SEPARATOR ? kSeparatorHeight : lineHeight;
    level.rects.push_back(RECT{0, y, width, y + h});
    y += h;
  }
  return SIZE{width, y};
}

void DrawItem(HDC dc, const Item& item, const RECT& r, bool hot) {
  if (item.type == MFT_SEPARATOR) {
    int mid = (r.top + r.bottom) / 2;
    FillColour(dc, RECT{r.left + 2, mid, r.right - 2, mid + 1}, GetSysColor(COLOR_GRAYTEXT));
    return;
  }
  bool enabled = !(item.state & (MF_GRAYED | MF_DISABLED));
  if (hot && enabled) FillColour(dc, r, GetSysColor(COLOR_HIGHLIGHT));
  COLORREF ink = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                          : GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  SetTextColor(dc, ink);
  SetBkMode(dc, TRANSPARENT);
  std::u16string caption, shortcut;
  SplitText(item.text, caption, shortcut);
  if (item.state & MF_CHECKED) {
    // A tick in the check column.
    int x = r.left + 3, y = (r.top + r.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int t = 0; t < 2; ++t) {
      MoveToEx(dc, x, y - 1 + t, nullptr);
      LineTo(dc, x + 2, y + 1 + t);
      LineTo(dc, x + 7, y - 4 + t);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  RECT text{r.left + kCheckColumn, r.top, r.right - kRightMargin, r.bottom};
  // DrawTextW underlines the unit after "&", as a mnemonic.
  DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (!shortcut.empty())
    DrawTextW(dc, shortcut.c_str(), int(shortcut.size()), &text,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.submenu) {
    // A small arrow pointing right.
    int x = r.right - kRightMargin, y = (r.top + r.bottom) / 2;
    for (int i = 0; i < 4; ++i)
      FillColour(dc, RECT{x + i, y - 3 + i, x + i + 1, y + 4 - i}, ink);
  }
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  Level* level = LevelOf(window);
  RECT client;
  GetClientRect(window, &client);
  FillColour(dc, client, GetSysColor(COLOR_MENU));
  if (level) {
    HGDIOBJ old = SelectObject(dc, MenuFont());
    for (size_t i = 0; i < level->menu->items.size() && i < level->rects.size(); ++i)
      DrawItem(dc, level->menu->items[i], level->rects[i], int(i) == level->hot);
    SelectObject(dc, old);
  }
  EndPaint(window, &ps);
}

void SetHot(Level& level, int hot) {
  if (level.hot == hot) return;
  level.hot = hot;
  InvalidateRect(level.window, nullptr, FALSE);
}

void CloseLevelsAfter(size_t keep) {
  while (current->levels.size() > keep) {
    DestroyWindow(current->levels.back().window);
    current->levels.pop_back();
  }
}

void OpenLevel(Menu* menu, int x, int y, UINT flags);

// The loop looks at the end only between messages: a message wakes it.
void Finish() {
  current->done = true;
  PostMessageW(current->levels.empty() ? nullptr : current->levels.front().window, WM_NULL, 0, 0);
}

void Cancel() {
  if (current) Finish();
}

// Opens the submenu of the hot item of the last level, beside it.
void OpenSubmenu(size_t levelIndex) {
  Level& level = current->levels[levelIndex];
  if (level.hot < 0) return;
  Item& item = level.menu->items[size_t(level.hot)];
  if (!item.submenu || !Selectable(item)) return;
  CloseLevelsAfter(levelIndex + 1);
  RECT r = level.rects[size_t(level.hot)];
  POINT at{r.right, r.top};
  ClientToScreen(level.window, &at);
  OpenLevel(item.submenu, at.x, at.y, TPM_LEFTALIGN | TPM_TOPALIGN);
  if (current->levels.size() > levelIndex + 1) {
    Level& sub = current->levels.back();
    for (size_t i = 0; i < sub.menu->items.size(); ++i)
      if (Selectable(sub.menu->items[i])) {
        SetHot(sub, int(i));
        break;
      }
  }
}

void Choose(size_t levelIndex) {
  Level& level = current->levels[levelIndex];
  if (level.hot < 0) return;
  Item& item = level.menu->items[size_t(level.hot)];
  if (!Selectable(item)) return;
  if (item.submenu) return OpenSubmenu(levelIndex);
  current->chosen = item.id;
  Finish();
}


// The level and item under a screen point; false when the point is on no popup.
bool HitTest(POINT screen, size_t& levelIndex, int& item) {
  for (size_t l = current->levels.size(); l-- > 0;) {
    Level& level = current->levels[l];
    POINT p = screen;
    ScreenToClient(level.window, &p);
    RECT client;
    GetClientRect(level.window, &client);
    if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom) continue;
    levelIndex = l;
    item = -1;
    for (size_t i = 0; i < level.rects.size(); ++i)
      if (p.y >= level.rects[i].top && p.y < level.rects[i].bottom) item = int(i);
    return true;
  }
  return false;
}

void Stylus(UINT message, POINT screen) {
  size_t l = 0;
  int item = -1;
  bool on = HitTest(screen, l, item);
  if (message == WM_LBUTTONDOWN) {
    current->stylusDown = true;
    if (!on) return Cancel();
  }
  if (!on) {
    if (!current->levels.empty()) SetHot(current->levels.back(), -1);
    if (message == WM_LBUTTONUP) current->stylusDown = false;
    return;
  }
  Level& level = current->levels[l];
  CloseLevelsAfter(l + 1);
  bool selectable = item >= 0 && Selectable(level.menu->items[size_t(item)]);
  SetHot(level, selectable ? item : -1);
  if (message == WM_LBUTTONDOWN && selectable && level.menu->items[size_t(item)].submenu) OpenSubmenu(l);
  if (message == WM_LBUTTONUP) {
    current->stylusDown = false;
    if (selectable && !level.menu->items[size_t(item)].submenu) Choose(l);
  }
}

void StepHot(Level& level, int direction) {
  int n = int(level.menu->items.size());
  if (n == 0) return;
  int i = level.hot;
  for (int step = 0; step < n; ++step) {
    i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
    if (Selectable(level.menu->items[size_t(i)])) return SetHot(level, i);
  }
}

void MnemonicKey(char16_t c) {
  Level& level = current->levels.back();
  char16_t folded = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  for (size_t i = 0; i < level.menu->items.size(); ++i) {
    const Item& item = level.menu->items[i];
    std::u16string caption, shortcut;
    SplitText(item.text, caption, shortcut);
    int index = -1;
    std::u16string plain = StripMnemonic(caption, &index);
    if (index < 0 || !Selectable(item)) continue;
    char16_t m = plain[size_t(index)];
    if (m >= u'a' && m <= u'z') m = char16_t(m - 32);
    if (m == folded) {
      SetHot(level, int(i));
      return Choose(current->levels.size() - 1);
    }
  }
}

void Key(WPARAM key) {
  size_t last = current->levels.size() - 1;
  Level& level = current->levels[last];
  switch (key) {
    case VK_UP: StepHot(level, -1); break;
    case VK_DOWN: StepHot(level, +1); break;
    case VK_RIGHT: OpenSubmenu(last); break;
    case VK_LEFT:
      if (last > 0) CloseLevelsAfter(last);
      break;
    case VK_RETURN: Choose(last); break;
    case VK_ESCAPE:
      if (last > 0)
        CloseLevelsAfter(last);
      else
        Cancel();
      break;
  }
}

// Sees every message while a popup is open: keys and the stylus belong to the menu.
bool Filter(MSG& msg) {
  if (!current || current->done) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Key(msg.wParam);
      return true;
    case WM_CHAR:
      if (msg.wParam > 0x20) MnemonicKey(char16_t(msg.wParam));
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      if (msg.message == WM_MOUSEMOVE && !current->stylusDown) return true;
      POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      ClientToScreen(msg.hwnd, &screen);
      Stylus(msg.message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg.message, screen);
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTCLIENT;
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

void RegisterPopupClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PopupProc;
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  SetListingDetail(kClass, DescribePopup);
}

void OpenLevel(Menu* menu, int x, int y, UINT flags) {
  SendMessageW(current->owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(ToHandle(menu)), 0);
  Level level;
  level.menu = menu;
  SIZE size = Measure(level);
  int width = size.cx + 2, height = size.cy + 2;  // with the border
  if (flags & TPM_RIGHTALIGN) x -= width;
  else if (flags & TPM_CENTERALIGN) x -= width / 2;
  if (flags & TPM_BOTTOMALIGN) y -= height;
  else if (flags & TPM_VCENTERALIGN) y -= height / 2;
  int sw = ScreenWidth(), sh = ScreenHeight();
  if (y + height > sh) y = (flags & TPM_BOTTOMALIGN) ? sh - height : std::max(0, y - height);
  x = std::clamp(x, 0, std::max(0, sw - width));
  y = std::clamp(y, 0, std::max(0, sh - height));
  level.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, u"", WS_POPUP | WS_BORDER,
                                 x, y, width, height, nullptr, nullptr, nullptr, nullptr);
  if (!level.window) return;
  current->levels.push_back(std::move(level));
  ShowWindow(current->levels.back().window, SW_SHOWNA);
}

}  // namespace

bool PopupOpen() { return current != nullptr; }

void Dismiss() { Cancel(); }

std::string DescribePopup(HWND window) {
  Level* level = LevelOf(window);
  if (!level) return {};
  std::string out;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  for (size_t i = 0; i < level->menu->items.size() && i < level->rects.size(); ++i) {
    const Item& item = level->menu->items[i];
    const RECT& r = level->rects[i];
    out += "\n  item " + std::to_string(i);
    if (item.type == MFT_SEPARATOR) {
      out += " separator";
    } else {
      out += " id=" + std::to_string(item.submenu ? 0 : item.id);
      out += " text=" + QuoteForListing(item.text);
      out += std::string(" check=") + ((item.state & MF_CHECKED) ? "1" : "0");
      if (item.state & (MF_GRAYED | MF_DISABLED)) out += " grayed=1";
      if (item.submenu) out += " popup=1";
    }
    out += " rect=" + std::to_string(origin.x + r.left) + "," + std::to_string(origin.y + r.top) + "," +
           std::to_string(origin.x + r.right) + "," + std::to_string(origin.y + r.bottom);
  }
  return out;
}

UINT Track(HMENU handle, UINT flags, int x, int y, HWND owner) {
  Menu* menu = FromHandle(handle);
  if (!menu || current || menu->items.empty()) return UINT(-1);
  RegisterPopupClass();
  Tracker tracker;
  tracker.owner = owner;
  current = &tracker;
  // However the tracking ends (memory that runs out on the way included), its popups
  // close and no pointer to the tracker outlives it.
  struct EndTracking {
    ~EndTracking() {
      try {
        if (GetCapture() && LevelOf(GetCapture())) ReleaseCapture();
        CloseLevelsAfter(0);
      } catch (const std::bad_alloc&) {
      }
      current = nullptr;
    }
  } end;
  OpenLevel(menu, x, y, flags);
  if (tracker.levels.empty()) return UINT(-1);
  SetCapture(tracker.levels.front().window);
  ModalLoop loop;
  loop.done = [&tracker] { return tracker.done; };
  loop.cancel = [] { Cancel(); };
  loop.filter = Filter;
  RunModalLoop(loop);
  return tracker.chosen;
}

}  // namespace user::menu

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) try {
  UINT chosen = user::menu::Track(menu, flags, x, y, owner);
  if (chosen == UINT(-1)) return FALSE;
  if (flags & TPM_RETURNCMD) return BOOL(chosen);
  if (chosen && !(flags & TPM_NONOTIFY) && owner)
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() try {
  if (!user::menu::PopupOpen()) return FALSE;
  user::menu::Dismiss();
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
