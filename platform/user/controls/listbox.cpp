// The list box: a column of text items, one selected, sorted or in the order added,
// scrolled with its scroll bar, the stylus, Up and Down; LBS_NOTIFY tells the parent
// of selection, double taps and focus.
#include <algorithm>

#include "user/controls/common.h"
#include "user/controls/listbox_model.h"

namespace user::controls {
namespace {

constexpr int kTextIndent = 2;

struct ListState {
  explicit ListState(DWORD style) : model((style & LBS_SORT) != 0), style(style) {}
  listbox::ListModel model;
  DWORD style;
  HFONT font = nullptr;
  bool tracking = false;
  // The last tap, for telling a double tap (the window layer makes no double-click
  // messages of its own).
  int lastTapIndex = -1;
  LONG lastTapTime = 0;
};

constexpr LONG kDoubleTapMs = 500;

int ItemHeight(HWND window, const ListState& s) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, DrawingFont(s.font));
  int h = LineHeight(dc);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return h;
}

int VisibleRows(HWND window, const ListState& s) {
  RECT client;
  GetClientRect(window, &client);
  return std::max(1, int(client.bottom - client.top) / ItemHeight(window, s));
}

void UpdateScrollBar(HWND window, const ListState& s) {
  if (!(s.style & WS_VSCROLL)) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, s.model.count() - 1);
  si.nPage = UINT(VisibleRows(window, s));
  si.nPos = s.model.topIndex();
  SetScrollInfo(window, SB_VERT, &si, TRUE);
}

// Without LBS_NOINTEGRALHEIGHT the list shows whole rows only: its height shrinks to
// the last row that fits.
void FitWholeRows(HWND window, const ListState& s) {
  if (s.style & LBS_NOINTEGRALHEIGHT) return;
  RECT client, outer;
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  int h = ItemHeight(window, s);
  int extra = int(client.bottom) % h;
  if (extra == 0 || client.bottom < h) return;
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top - extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Changed(HWND window, ListState& s) {
  UpdateScrollBar(window, s);
  InvalidateRect(window, nullptr, TRUE);
}

void NotifyIf(HWND window, const ListState& s, WORD code) {
  if (s.style & LBS_NOTIFY) Notify(window, code);
}

// Selects an item as the user does: in view, and the parent told.
void UserSelect(HWND window, ListState& s, int index) {
  if (!s.model.valid(index)) return;
  bool changed = s.model.selection() != index;
  s.model.setSelection(index);
  s.model.ensureVisible(index, VisibleRows(window, s));
  Changed(window, s);
  if (changed) NotifyIf(window, s, LBN_SELCHANGE);
}

int IndexAt(HWND window, const ListState& s, int y) {
  if (y < 0) return -1;
  int index = s.model.topIndex() + y / ItemHeight(window, s);
  return s.model.valid(index) ? index : -1;
}

void Paint(HWND window, ListState& s, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillColour(dc, client, GetSysColor(COLOR_WINDOW));
  HGDIOBJ old = SelectObject(dc, DrawingFont(s.font));
  int h = LineHeight(dc);
  SetBkMode(dc, TRANSPARENT);
  for (int i = s.model.topIndex(), y = 0; i < s.model.count() && y < client.bottom; ++i, y += h) {
    RECT row{0, y, client.right, y + h};
    bool selected = i == s.model.selection();
    if (selected) FillColour(dc, row, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::u16string& text = s.model.text(i);
    ExtTextOutW(dc, kTextIndent, y, ETO_CLIPPED, &row, text.c_str(), UINT(text.size()), nullptr);
  }
  SelectObject(dc, old);
}

void Scroll(HWND window, ListState& s, WPARAM wParam) {
  int rows = VisibleRows(window, s);
  int top = s.model.topIndex();
  switch (LOWORD(wParam)) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= rows; break;
    case SB_PAGEDOWN: top += rows; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = int(short(HIWORD(wParam))); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = s.model.count() - 1; break;
    default: return;
  }
  top = std::clamp(top, 0, std::max(0, s.model.count() - 1));
  s.model.setTop(top, rows);
  Changed(window, s);
}

bool Key(HWND window, ListState& s, WPARAM key) {
  int rows = VisibleRows(window, s);
  int current = s.model.selection();
  int target;
  switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_PRIOR: target = current - rows; break;
    case VK_NEXT: target = current + rows; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = s.model.count() - 1; break;
    default: return false;
  }
  if (s.model.count() == 0) return true;
  UserSelect(window, s, std::clamp(target, 0, s.model.count() - 1));
  return true;
}

LRESULT CopyItem(const ListState& s, WPARAM index, LPARAM buffer) {
  int i = int(index);
  if (!s.model.valid(i)) return LB_ERR;
  const std::u16string& text = s.model.text(i);
  if (auto* out = reinterpret_cast<WCHAR*>(buffer)) {
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = 0;
  }
  return LRESULT(text.size());
}

LPCWSTR TextParam(LPARAM lParam) {
  auto* text = reinterpret_cast<LPCWSTR>(lParam);
  return text ? text : u"";
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  ListState* s = StateOf<ListState>(window);
  if (!s && message != WM_NCCREATE) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE:
      SetState(window, new ListState(DWORD(reinterpret_cast<const CREATESTRUCTW*>(lParam)->style)));
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CREATE:
      FitWholeRows(window, *s);
      UpdateScrollBar(window, *s);
      return 0;
    case WM_NCDESTROY:
      delete s;
      SetState<ListState>(window, nullptr);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      FitWholeRows(window, *s);
      UpdateScrollBar(window, *s);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SIZE:
      s->model.setTop(s->model.topIndex(), VisibleRows(window, *s));
      Changed(window, *s);
      return 0;
    case LB_RESETCONTENT:
      s->model.reset();
      Changed(window, *s);
      return LB_OKAY;
    case LB_ADDSTRING: {
      int i = s->model.add(TextParam(lParam));
      Changed(window, *s);
      return i;
    }
    case LB_INSERTSTRING: {
      int i = s->model.insert(int(wParam), TextParam(lParam));
      Changed(window, *s);
      return i;
    }
    case LB_DELETESTRING: {
      int left = s->model.remove(int(wParam));
      Changed(window, *s);
      return left;
    }
    case LB_GETCOUNT:
      return s->model.count();
    case LB_GETCURSEL:
      return s->model.selection();
    case LB_GETSEL:
      return s->model.valid(int(wParam)) ? (int(wParam) == s->model.selection()) : LB_ERR;
    case LB_SETCURSEL: {
      int r = s->model.setSelection(int(wParam));
      s->model.ensureVisible(s->model.selection(), VisibleRows(window, *s));
      Changed(window, *s);
      return r;
    }
    case LB_SELECTSTRING: {
      int i = s->model.findPrefix(int(wParam), TextParam(lParam));
      if (i == LB_ERR) return LB_ERR;
      s->model.setSelection(i);
      s->model.ensureVisible(i, VisibleRows(window, *s));
      Changed(window, *s);
      return i;
    }
    case LB_FINDSTRING:
      return s->model.findPrefix(int(wParam), TextParam(lParam));
    case LB_FINDSTRINGEXACT:
      return s->model.findExact(int(wParam), TextParam(lParam));
    case LB_GETTEXT:
      return CopyItem(*s, wParam, lParam);
    case LB_GETTEXTLEN:
      return s->model.valid(int(wParam)) ? LRESULT(s->model.text(int(wParam)).size()) : LB_ERR;
    case LB_GETITEMDATA:
      return s->model.valid(int(wParam)) ? LRESULT(s->model.data(int(wParam))) : LB_ERR;
    case LB_SETITEMDATA:
      if (!s->model.valid(int(wParam))) return LB_ERR;
      s->model.setData(int(wParam), uintptr_t(lParam));
      return LB_OKAY;
    case LB_GETTOPINDEX:
      return s->model.topIndex();
    case LB_SETTOPINDEX: {
      int r = s->model.setTop(int(wParam), VisibleRows(window, *s));
      Changed(window, *s);
      return r == LB_ERR ? LB_ERR : LB_OKAY;
    }
    case LB_GETITEMHEIGHT:
      return ItemHeight(window, *s);
    case LB_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || !s->model.valid(int(wParam))) return LB_ERR;
      RECT client;
      GetClientRect(window, &client);
      int h = ItemHeight(window, *s);
      int top = (int(wParam) - s->model.topIndex()) * h;
      *rect = RECT{0, top, client.right, top + h};
      return LB_OKAY;
    }
    case WM_VSCROLL:
      Scroll(window, *s, wParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      Key(window, *s, wParam);
      return 0;
    case WM_CHAR: {
      // A typed letter selects the next item that begins with it.
      char16_t prefix[2] = {char16_t(wParam), 0};
      if (prefix[0] < 0x20) return 0;
      int i = s->model.findPrefix(s->model.selection(), prefix);
      if (i != LB_ERR) UserSelect(window, *s, i);
      return 0;
    }
    case WM_SETFOCUS:
      NotifyIf(window, *s, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyIf(window, *s, LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window) SetFocus(window);
      SetCapture(window);
      s->tracking = true;
      int i = IndexAt(window, *s, GET_Y_LPARAM(lParam));
      if (i >= 0) UserSelect(window, *s, i);
      LONG now = GetMessageTime();
      bool doubleTap = i >= 0 && i == s->lastTapIndex && now - s->lastTapTime <= kDoubleTapMs;
      s->lastTapIndex = doubleTap ? -1 : i;
      s->lastTapTime = now;
      if (doubleTap) NotifyIf(window, *s, LBN_DBLCLK);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->tracking) {
        int i = IndexAt(window, *s, GET_Y_LPARAM(lParam));
        if (i >= 0) UserSelect(window, *s, i);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s->tracking) {
        s->tracking = false;
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      s->tracking = false;
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
