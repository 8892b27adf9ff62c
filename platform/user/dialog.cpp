// Dialog boxes from templates: the dialog window and its controls laid out in dialog
// units, the dialog procedure behind DefDlgProcW, the nested loop of a modal dialog,
// and the dialog keys (Enter, Escape, Tab).
#include "user/dialog.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "kernel/resources.h"
#include "user/controls/common.h"
#include "user/controls/radio_group.h"
#include "user/dialog_template.h"
#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user::dialog {
namespace {

struct DialogData {
  HFONT font = nullptr;
  bool ownsFont = false;
  SIZE base{};
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
};

std::map<HWND, std::unique_ptr<DialogData>>& Dialogs() {
  static std::map<HWND, std::unique_ptr<DialogData>> dialogs;
  return dialogs;
}

DialogData* DataOf(HWND window) {
  auto it = Dialogs().find(window);
  return it == Dialogs().end() ? nullptr : it->second.get();
}

// The running modal dialogs, innermost last.
std::vector<HWND>& ModalStack() {
  static std::vector<HWND> stack;
  return stack;
}

std::vector<HWND> Controls(HWND dialog) {
  WindowPtr w = Find(dialog);
  return w ? w->children : std::vector<HWND>();
}

bool CanTakeFocus(HWND control) {
  LONG style = GetWindowLongW(control, GWL_STYLE);
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// Focus given by the dialog manager selects the whole text of an edit control.
void FocusControl(HWND control) {
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, EM_SETSEL, 0, -1);
}

HWND DefaultButton(HWND dialog) {
  for (HWND c : Controls(dialog))
    if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return c;
  return nullptr;
}

// The command Enter gives: the focused push button, else the default one, else IDOK.
int EnterCommand(HWND dialog, HWND focus, HWND& from) {
  if (focus && focus != dialog && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                                   (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    from = focus;
    return GetDlgCtrlID(focus);
  }
  from = DefaultButton(dialog);
  return from ? GetDlgCtrlID(from) : IDOK;
}

void MoveFocus(HWND dialog, bool backwards) {
  if (HWND next = GetNextDlgTabItem(dialog, GetFocus(), backwards)) FocusControl(next);
}

// Arrow keys on a radio button move to the next one of its group (round), checking
// an automatic one as a click would.
bool MoveInRadioGroup(HWND dialog, HWND from, bool backwards) {
  std::vector<HWND> controls = Controls(dialog);
  std::vector<bool> starts;
  size_t index = controls.size();
  for (size_t i = 0; i < controls.size(); ++i) {
    starts.push_back((GetWindowLongW(controls[i], GWL_STYLE) & WS_GROUP) != 0);
    if (controls[i] == from) index = i;
  }
  if (index == controls.size()) return false;
  auto [first, last] = buttons::GroupRange(starts, index);
  size_t n = last - first;
  for (size_t step = 1; step < n; ++step) {
    size_t i = first + (index - first + (backwards ? n - step : step)) % n;
    HWND c = controls[i];
    if (!(SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) || !IsWindowEnabled(c)) continue;
    SetFocus(c);
    if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) SendMessageW(c, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

LRESULT DefaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogData* d = DataOf(dialog);
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(dialog, &client);
      FillColour(reinterpret_cast<HDC>(wParam), client, GetSysColor(COLOR_WINDOW));
      return 1;
    }
    case WM_CLOSE:
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return 0;
    case WM_SETFONT:
      if (d) d->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return d ? reinterpret_cast<LRESULT>(d->font) : 0;
    case WM_ACTIVATE:
      if (!d) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(dialog, focus)) d->savedFocus = focus;
      } else if (d->savedFocus && IsWindow(d->savedFocus)) {
        SetFocus(d->savedFocus);
      }
      return 0;
    case WM_SETFOCUS:
      if (d && d->savedFocus && IsWindow(d->savedFocus)) SetFocus(d->savedFocus);
      return 0;
    case DM_GETDEFID: {
      HWND b = DefaultButton(dialog);
      return b ? MAKELRESULT(GetDlgCtrlID(b), DC_HASDEFID) : 0;
    }
    case WM_NCDESTROY: {
      if (d && d->ownsFont) DeleteObject(d->font);
      Dialogs().erase(dialog);
      break;
    }
  }
  return DefWindowProcW(dialog, message, wParam, lParam);
}

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  return DefDlgProcW(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return user::ProcedureOutOfMemory(message);
}

// The font a template asks for, or the system's dialog font.
HFONT TemplateFont(const dlg::DialogDescription& t, bool& owned) {
  owned = false;
  if (!t.hasFont) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi <= 0) dpi = 96;
  lf.lfHeight = -LONG((int(t.pointSize) * dpi + 36) / 72);
  lf.lfWeight = t.weight;
  lf.lfItalic = t.italic;
  lf.lfCharSet = t.charSet;
  size_t n = std::min<size_t>(t.faceName.size(), LF_FACESIZE - 1);
  std::copy_n(t.faceName.data(), n, lf.lfFaceName);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  owned = true;
  return font;
}

// A name-or-ordinal title as CreateWindowExW takes it: text, or 0xFFFF and the ordinal.
std::u16string TitleParam(const dlg::NameOrOrdinal& title) {
  if (title.isOrdinal()) return std::u16string{char16_t(0xFFFF), char16_t(title.ordinal)};
  return title.text;
}

bool IsRegisteredClass(const std::u16string& name) {
  WNDCLASSW wc;
  return GetClassInfoW(nullptr, name.c_str(), &wc) != FALSE;
}

// How many bytes from p on belong to the resource holding p, in the instance's module
// or the program's (an empty resource too, whose address the kernel gives apart). A
// template the caller built elsewhere in memory has no known end.
size_t TemplateBytesAvailable(HINSTANCE instance, const void* p) {
  auto* at = static_cast<const uint8_t*>(p);
  auto argument = [](const kernel::ResourceName& n) {
    return n.text.empty() ? MAKEINTRESOURCEW(n.ordinal) : n.text.c_str();
  };
  for (HMODULE handle : {HMODULE(instance), HMODULE(nullptr)}) {
    kernel::Module* m = kernel::ModuleFromHandle(handle);
    if (!m) continue;
    for (const kernel::ResourceEntry& e : m->resources) {
      std::span<const uint8_t> data = kernel::FindResourceBytes(handle, argument(e.type), argument(e.name));
      const uint8_t* begin = data.data();
      if (begin && at >= begin && at <= begin + data.size()) return size_t(begin + data.size() - at);
    }
  }
  return SIZE_MAX;
}

HWND CreateFromTemplate(HINSTANCE instance, const void* bytes, HWND owner, DLGPROC procedure,
                        LPARAM param, bool modal) {
  size_t size = TemplateBytesAvailable(instance, bytes);
  dlg::ParseResult parsed =
      dlg::ParseDialogTemplate(static_cast<const uint8_t*>(bytes), size, IsRegisteredClass);
  if (!parsed.dialog) return nullptr;
  const dlg::DialogDescription& t = *parsed.dialog;

  auto data = std::make_unique<DialogData>();
  data->font = TemplateFont(t, data->ownsFont);
  data->base = BaseUnitsOf(data->font);
  data->modal = modal;
  DialogData* d = data.get();

  RECT client{0, 0, UnitsToPixelsX(t.cx, d->base.cx), UnitsToPixelsY(t.cy, d->base.cy)};
  DWORD style = (t.style & ~DWORD(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
  std::u16string cls = t.windowClass.kind == dlg::NameOrOrdinal::Kind::Text ? t.windowClass.text
                                                                             : std::u16string(WC_DIALOG);
  HWND dialog = CreateWindowExW(t.exStyle, cls.c_str(), t.title.c_str(), style, 0, 0, client.right,
                                client.bottom, owner, nullptr, instance, nullptr);
  if (!dialog) {
    if (d->ownsFont) DeleteObject(d->font);
    return nullptr;
  }
  Dialogs()[dialog] = std::move(data);
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));

  // The template gives the client size; the frame comes on top of it.
  Frame frame = FrameOf(dialog);
  RECT wr;
  GetWindowRect(dialog, &wr);
  int width = client.right + (wr.right - wr.left) - (frame.client.right - frame.client.left);
  int height = client.bottom + (wr.bottom - wr.top) - (frame.client.bottom - frame.client.top);
  POINT at{UnitsToPixelsX(t.x, d->base.cx), UnitsToPixelsY(t.y, d->base.cy)};
  if (t.style & DS_CENTER) {
    RECT area = WorkArea();
    at = POINT{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
  } else if (owner && !(t.style & DS_ABSALIGN)) {
    ClientToScreen(owner, &at);
  }
  SetWindowPos(dialog, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(d->font), FALSE);

  for (const dlg::DialogItem& item : t.items) {
    std::u16string title = TitleParam(item.title);
    HWND control = CreateWindowExW(
        item.exStyle, item.className.c_str(), title.c_str(), item.style | WS_CHILD,
        UnitsToPixelsX(item.x, d->base.cx), UnitsToPixelsY(item.y, d->base.cy),
        UnitsToPixelsX(item.cx, d->base.cx), UnitsToPixelsY(item.cy, d->base.cy), dialog,
        reinterpret_cast<HMENU>(UINT_PTR(item.id)), instance, nullptr);
    if (!control) {
      DestroyWindow(dialog);
      return nullptr;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(d->font), FALSE);
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);  // the first tab stop
  if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && IsWindow(dialog)) {
    if (first) FocusControl(first);
  }
  if (!IsWindow(dialog)) return nullptr;
  return dialog;
}

}  // namespace

// The window listing shows where a dialog's caption "ok" button is, for scripts.
std::string DialogDetail(HWND dialog) {
  Frame frame = FrameOf(dialog);
  if (IsRectEmpty(&frame.okButton)) return {};
  RECT w;
  GetWindowRect(dialog, &w);
  RECT ok = frame.okButton;
  OffsetRect(&ok, w.left, w.top);
  return " ok=" + std::to_string(ok.left) + "," + std::to_string(ok.top) + "," + std::to_string(ok.right) +
         "," + std::to_string(ok.bottom);
}

void RegisterDialogClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DialogWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = WC_DIALOG;
  RegisterClassW(&wc);
  SetListingDetail(WC_DIALOG, DialogDetail);
}

bool IsDialog(HWND window) { return DataOf(window) != nullptr; }

bool CancelInnermost() {
  if (ModalStack().empty()) return false;
  Cancel(ModalStack().back());
  return true;
}

void Cancel(HWND dialog) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (DialogData* d = DataOf(dialog); d && !d->ended) EndDialog(dialog, IDCANCEL);
}

SIZE BaseUnitsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  static const char16_t letters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  GetTextExtentPoint32W(dc, letters, 52, &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

}  // namespace user::dialog

using namespace user;
using namespace user::dialog;

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM param) try {
  HWND top = owner;
  if (WindowPtr o = Find(owner)) top = TopLevelOf(o.get())->handle;
  HWND dialog = CreateFromTemplate(instance, dialogTemplate, top, procedure, param, true);
  if (!dialog) return -1;
  DialogData* d = DataOf(dialog);
  if (!d->ended) ShowWindow(dialog, SW_SHOW);
  ModalStack().push_back(dialog);
  ModalLoop loop;
  loop.window = dialog;
  loop.owner = top;
  loop.done = [dialog] {
    DialogData* data = DataOf(dialog);
    return !data || data->ended;
  };
  loop.cancel = [dialog] { Cancel(dialog); };
  loop.filter = [dialog](MSG& msg) { return IsDialogMessageW(dialog, &msg) != FALSE; };
  RunModalLoop(loop);
  std::erase(ModalStack(), dialog);
  d = DataOf(dialog);
  INT_PTR result = d ? d->result : 0;
  if (IsWindow(dialog)) {
    ShowWindow(dialog, SW_HIDE);
    DestroyWindow(dialog);
  }
  if (top && IsWindow(top) && IsWindowEnabled(top)) SetActiveWindow(top);
  return result;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM param) try {
  HWND dialog = CreateFromTemplate(instance, dialogTemplate, owner, procedure, param, false);
  if (!dialog) return nullptr;
  const auto* head = reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate);
  bool extended = reinterpret_cast<const WORD*>(dialogTemplate)[1] == 0xFFFF;
  DWORD style = extended ? reinterpret_cast<const DWORD*>(dialogTemplate)[3] : head->style;
  if (style & WS_VISIBLE) ShowWindow(dialog, SW_SHOW);
  return dialog;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
  HRSRC found = FindResourceW(instance, name, RT_DIALOG);
  if (!found) return -1;
  return DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, found))),
                                 owner, procedure, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) try {
  DialogData* d = DataOf(dialog);
  if (!d) return FALSE;
  d->ended = true;
  d->result = result;
  if (!d->modal) ShowWindow(dialog, SW_HIDE);
  // Wakes the modal loop, which looks at the end only between messages.
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) try {
  auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
  if (procedure) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    INT_PTR r = CallProcedure(procedure, dialog, message, wParam, lParam);
    if (r) {
      switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
          return r;
        default:
          return IsWindow(dialog) ? GetWindowLongPtrW(dialog, DWLP_MSGRESULT) : 0;
      }
    }
    if (!IsWindow(dialog)) return 0;
  }
  return DefaultHandling(dialog, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG message) try {
  if (!dialog || !message || !IsWindow(dialog)) return FALSE;
  HWND target = message->hwnd;
  if (target != dialog && !IsChild(dialog, target)) return FALSE;
  if (message->message == WM_KEYDOWN) {
    LRESULT code = target != dialog ? SendMessageW(target, WM_GETDLGCODE, message->wParam,
                                                   reinterpret_cast<LPARAM>(message))
                                    : 0;
    switch (message->wParam) {
      case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) break;
        MoveFocus(dialog, controls::ShiftDown());
        return TRUE;
      case VK_RETURN: {
        if (code & DLGC_WANTALLKEYS) break;
        HWND from = nullptr;
        int id = EnterCommand(dialog, target, from);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(from));
        return TRUE;
      }
      case VK_UP:
      case VK_DOWN:
      case VK_LEFT:
      case VK_RIGHT:
        if (!(code & DLGC_RADIOBUTTON) || (code & DLGC_WANTARROWS)) break;
        MoveInRadioGroup(dialog, target, message->wParam == VK_UP || message->wParam == VK_LEFT);
        return TRUE;
      case VK_ESCAPE:
        if (code & DLGC_WANTALLKEYS) break;
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
    }
  }
  TranslateMessage(message);
  DispatchMessageW(message);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

LONG GetDialogBaseUnits() try {
  SIZE base = BaseUnitsOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  return MAKELONG(base.cx, base.cy);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) try {
  DialogData* d = DataOf(dialog);
  if (!d || !rect) return FALSE;
  rect->left = UnitsToPixelsX(rect->left, d->base.cx);
  rect->right = UnitsToPixelsX(rect->right, d->base.cx);
  rect->top = UnitsToPixelsY(rect->top, d->base.cy);
  rect->bottom = UnitsToPixelsY(rect->bottom, d->base.cy);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int size) try {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (text && size > 0) text[0] = 0;
    return 0;
  }
  return UINT(GetWindowTextW(control, text, size));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) try {
  WCHAR text[16];
  if (isSigned)
    swprintf(text, u"%d", int(value));
  else
    swprintf(text, u"%u", value);
  return SetDlgItemTextW(dialog, id, text);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) try {
  WCHAR text[16] = {};
  GetDlgItemTextW(dialog, id, text, 16);
  const WCHAR* p = text;
  bool negative = isSigned && *p == u'-';
  if (negative) ++p;
  long long value = 0;
  bool digits = false;
  for (; *p >= u'0' && *p <= u'9' && value <= 0xFFFFFFFFLL; ++p, digits = true) value = value * 10 + (*p - u'0');
  bool ok = digits && *p == 0 && value <= (isSigned ? 0x7FFFFFFFLL + negative : 0xFFFFFFFFLL);
  if (translated) *translated = ok;
  if (!ok) return 0;
  return UINT(negative ? -value : value);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) try {
  std::vector<HWND> stops;
  for (HWND c : Controls(dialog))
    if (CanTakeFocus(c)) stops.push_back(c);
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), control);
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  size_t i = size_t(it - stops.begin());
  return stops[(i + (previous ? stops.size() - 1 : 1)) % stops.size()];
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return FALSE;
  SendMessageW(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? UINT(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) try {
  bool found = false;
  for (HWND c : Controls(dialog)) {
    int id = GetDlgCtrlID(c);
    if (id < firstId || id > lastId) continue;
    SendMessageW(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    found = found || id == checkId;
  }
  return found;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
