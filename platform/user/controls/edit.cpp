// The edit control: single-line (scrolling sideways to keep the caret in view) or
// multi-line (wrapping at its width, scrolling down); left, centred or right aligned;
// a caret, a selection made with the stylus or Shift and the arrows, and the EM_*
// messages. The units are shown in the order they stand, never reordered.
#include <algorithm>
#include <memory>

#include "user/controls/common.h"
#include "user/controls/edit_model.h"

namespace user::controls {
namespace {

constexpr int kMargin = 1;

struct EditState {
  explicit EditState(DWORD style) : model((style & ES_MULTILINE) != 0), style(style) {}
  edit::EditModel model;
  DWORD style;
  HFONT font = nullptr;
  int scrollX = 0;     // single line: pixels scrolled off the left
  size_t firstLine = 0;  // multi-line: the top line shown
  bool dragging = false;
  bool modified = false;
};

bool Multiline(const EditState& s) { return s.style & ES_MULTILINE; }
bool ReadOnly(const EditState& s) { return s.style & ES_READONLY; }

// Layout of the text in the control's current font and size.
struct View {
  RECT client{};
  int width = 0;        // room for text
  int lineHeight = 12;
  std::vector<edit::Line> lines;
  edit::Measure measure;
};

// Measuring needs a DC holding the control's font; the layout is made fresh for each
// use, which keeps it right whatever changed (font, size, text).
class Layout {
 public:
  Layout(HWND window, EditState& s) : window_(window), dc_(GetDC(window)) {
    old_ = SelectObject(dc_, DrawingFont(s.font));
    GetClientRect(window, &v.client);
    v.width = std::max(0, int(v.client.right - v.client.left) - 2 * kMargin);
    v.lineHeight = LineHeight(dc_);
    v.measure = MeasureIn(dc_);
    int wrap = Multiline(s) && !(s.style & ES_AUTOHSCROLL) ? std::max(1, v.width) : 0;
    v.lines = edit::LayoutLines(s.model.text(), wrap, v.measure);
  }
  ~Layout() {
    SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  View v;

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_;
};

int LineWidth(const EditState& s, const View& v, const edit::Line& line) {
  return edit::OffsetInLine(s.model.text(), line, line.start + line.length, v.measure);
}

// Where the line's first unit stands, in client pixels.
int LineX(const EditState& s, const View& v, const edit::Line& line) {
  int room = v.width - LineWidth(s, v, line);
  int x = kMargin;
  if (room > 0) {
    if (s.style & ES_RIGHT) x += room;
    else if (s.style & ES_CENTER) x += room / 2;
  }
  return Multiline(s) ? x : x - s.scrollX;
}

int VisibleLines(const View& v) {
  return std::max(1, int(v.client.bottom - v.client.top) / std::max(1, v.lineHeight));
}

// Scrolls so that the caret is in view.
void ShowCaret(EditState& s, const View& v) {
  size_t line = edit::LineOfPosition(v.lines, s.model.caret());
  if (Multiline(s)) {
    size_t visible = size_t(VisibleLines(v));
    if (line < s.firstLine) s.firstLine = line;
    if (line >= s.firstLine + visible) s.firstLine = line - visible + 1;
    return;
  }
  const edit::Line& l = v.lines[line];
  int textWidth = LineWidth(s, v, l);
  if (textWidth <= v.width) {
    s.scrollX = 0;
    return;
  }
  int caretX = edit::OffsetInLine(s.model.text(), l, s.model.caret(), v.measure);
  s.scrollX = edit::ScrollToShow(s.scrollX, caretX, v.width, textWidth);
}

void Refresh(HWND window, EditState& s) {
  {
    Layout layout(window, s);
    ShowCaret(s, layout.v);
  }
  InvalidateRect(window, nullptr, TRUE);
}

// The text changed: the window's own copy follows, the parent hears of it.
void Changed(HWND window, EditState& s, bool notify) {
  s.modified = true;
  DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.model.text().c_str()));
  Refresh(window, s);
  if (notify) {
    Notify(window, EN_UPDATE);
    Notify(window, EN_CHANGE);
  }
}

// A single-line control without ES_AUTOHSCROLL takes no more text than its width
// shows; the others take any.
bool FitsWithoutScrolling(HWND window, EditState& s) {
  if (Multiline(s) || (s.style & ES_AUTOHSCROLL)) return true;
  Layout layout(window, s);
  return LineWidth(s, layout.v, layout.v.lines[0]) <= layout.v.width;
}

size_t PositionAt(EditState& s, const View& v, int x, int y) {
  size_t line = s.firstLine + size_t(std::max(0, y / std::max(1, v.lineHeight)));
  if (!Multiline(s)) line = 0;
  if (line >= v.lines.size()) line = v.lines.size() - 1;
  const edit::Line& l = v.lines[line];
  return edit::PositionAtOffset(s.model.text(), l, x - LineX(s, v, l), v.measure);
}

void Paint(HWND window, EditState& s, HDC dc) {
  HGDIOBJ oldFont = SelectObject(dc, DrawingFont(s.font));
  Layout layout(window, s);
  const View& v = layout.v;
  const std::u16string& text = s.model.text();
  FillColour(dc, v.client, GetSysColor(COLOR_WINDOW));
  bool focused = HasFocus(window);
  bool showSelection = s.model.hasSelection() && (focused || (s.style & ES_NOHIDESEL));
  COLORREF textColour = IsWindowEnabled(window) ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
  size_t first = Multiline(s) ? s.firstLine : 0;
  int y = 0;
  for (size_t i = first; i < v.lines.size() && y < v.client.bottom; ++i, y += v.lineHeight) {
    const edit::Line& line = v.lines[i];
    int x = LineX(s, v, line);
    RECT row{0, y, v.client.right, y + v.lineHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &row, text.c_str() + line.start, UINT(line.length), nullptr);
    size_t from = std::max(s.model.selStart(), line.start);
    size_t to = std::min(s.model.selEnd(), line.start + line.length);
    if (showSelection && from < to) {
      // The selected units again, on the highlight, clipped to their own extent.
      RECT sel{x + edit::OffsetInLine(text, line, from, v.measure), y,
               x + edit::OffsetInLine(text, line, to, v.measure), y + v.lineHeight};
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      ExtTextOutW(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &sel, text.c_str() + line.start,
                  UINT(line.length), nullptr);
    }
    if (focused && edit::LineOfPosition(v.lines, s.model.caret()) == i) {
      int cx = x + edit::OffsetInLine(text, line, s.model.caret(), v.measure);
      if (cx >= v.client.right) cx = v.client.right - 1;
      RECT caret{cx, y, cx + 1, y + v.lineHeight};
      FillColour(dc, caret, GetSysColor(COLOR_WINDOWTEXT));
    }
  }
  SelectObject(dc, oldFont);
}

// Keys that move the caret; true when handled.
bool MoveKey(HWND window, EditState& s, WPARAM key) {
  bool extend = ShiftDown();
  Layout layout(window, s);
  const View& v = layout.v;
  size_t line = edit::LineOfPosition(v.lines, s.model.caret());
  const edit::Line& l = v.lines[line];
  switch (key) {
    case VK_LEFT: s.model.left(extend); break;
    case VK_RIGHT: s.model.right(extend); break;
    case VK_HOME: s.model.moveTo(l.start, extend); break;
    case VK_END: s.model.moveTo(l.start + l.length, extend); break;
    case VK_UP:
    case VK_DOWN: {
      if (!Multiline(s)) {
        key == VK_UP ? s.model.left(extend) : s.model.right(extend);
        break;
      }
      size_t target = key == VK_UP ? (line == 0 ? 0 : line - 1) : std::min(line + 1, v.lines.size() - 1);
      if (target == line) break;
      int x = LineX(s, v, l) + edit::OffsetInLine(s.model.text(), l, s.model.caret(), v.measure);
      const edit::Line& t = v.lines[target];
      s.model.moveTo(edit::PositionAtOffset(s.model.text(), t, x - LineX(s, v, t), v.measure), extend);
      break;
    }
    default: return false;
  }
  ShowCaret(s, v);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

LRESULT GetSel(const EditState& s, WPARAM wParam, LPARAM lParam) {
  DWORD start = DWORD(s.model.selStart()), end = DWORD(s.model.selEnd());
  if (auto* p = reinterpret_cast<DWORD*>(wParam)) *p = start;
  if (auto* p = reinterpret_cast<DWORD*>(lParam)) *p = end;
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return LRESULT(MAKELONG(start, end));
}

LRESULT CopyText(const std::u16string& text, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<WCHAR*>(buffer);
  if (!out || size == 0) return 0;
  size_t n = std::min(text.size(), size_t(size) - 1);
  std::copy_n(text.data(), n, out);
  out[n] = 0;
  return LRESULT(n);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  EditState* s = StateOf<EditState>(window);
  if (!s && message != WM_NCCREATE) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      s = new EditState(DWORD(cs->style));
      if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && cs->lpszName[0] != 0xFFFF)
        s->model.setText(cs->lpszName);
      SetState(window, s);
      return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_NCDESTROY:
      delete s;
      SetState<EditState>(window, nullptr);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Refresh(window, *s);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      s->model.setText(text ? std::u16string_view(text) : std::u16string_view());
      s->scrollX = 0;
      s->firstLine = 0;
      Changed(window, *s, true);
      s->modified = false;
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyText(s->model.text(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return LRESULT(s->model.length());
    case EM_GETSEL:
      return GetSel(*s, wParam, lParam);
    case EM_SETSEL:
      s->model.setSel(long(int(wParam)), long(int(lParam)));
      Refresh(window, *s);
      return 0;
    case EM_REPLACESEL: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      if (s->model.replaceSel(text ? std::u16string_view(text) : std::u16string_view()))
        Changed(window, *s, true);
      return 0;
    }
    case EM_LIMITTEXT:
      s->model.setLimit(long(int(wParam)));
      return 0;
    case EM_GETLIMITTEXT:
      return LRESULT(s->model.limit());
    case EM_SCROLLCARET:
      Refresh(window, *s);
      return TRUE;
    case EM_GETMODIFY:
      return s->modified;
    case EM_SETMODIFY:
      s->modified = wParam != 0;
      return 0;
    case EM_SETREADONLY:
      s->style = wParam ? (s->style | ES_READONLY) : (s->style & ~DWORD(ES_READONLY));
      SetWindowLongW(window, GWL_STYLE, LONG(s->style));
      return TRUE;
    case EM_GETLINECOUNT: {
      Layout layout(window, *s);
      return LRESULT(layout.v.lines.size());
    }
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Multiline(*s) && (s->style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETFOCUS:
      InvalidateRect(window, nullptr, TRUE);
      Notify(window, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, TRUE);
      Notify(window, EN_KILLFOCUS);
      return 0;
    case WM_SIZE:
      Refresh(window, *s);
      return 0;
    case WM_CHAR: {
      if (ReadOnly(*s)) return 0;
      edit::EditModel before = s->model;
      if (!s->model.typeChar(char16_t(wParam))) return 0;
      if (!FitsWithoutScrolling(window, *s)) {
        s->model = before;
        return 0;
      }
      Changed(window, *s, true);
      return 0;
    }
    case WM_KEYDOWN:
      if (MoveKey(window, *s, wParam)) return 0;
      if (wParam == VK_DELETE && !ReadOnly(*s) && s->model.deleteForward()) Changed(window, *s, true);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window) SetFocus(window);
      SetCapture(window);
      s->dragging = true;
      Layout layout(window, *s);
      s->model.moveTo(PositionAt(*s, layout.v, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)),
                      (wParam & MK_SHIFT) != 0);
      ShowCaret(*s, layout.v);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!s->dragging) return 0;
      Layout layout(window, *s);
      s->model.moveTo(PositionAt(*s, layout.v, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
      ShowCaret(*s, layout.v);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONUP:
      if (s->dragging) {
        s->dragging = false;
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      s->dragging = false;
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole client area
    case WM_PAINT:
      return PaintControl(window, *s, Paint);
  }
  return DefWindowProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

}  // namespace user::controls
