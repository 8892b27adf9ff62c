// What the window listing shows of each control beyond class, id, text and place: the
// check state of buttons, the items and selection of list boxes, the selection of edit
// controls, the bitmap of a static control.
#include <algorithm>
#include <string>

#include "user/controls/common.h"
#include "user/system.h"

namespace user::controls {
namespace {

std::string ButtonDetail(HWND window) {
  DWORD type = DWORD(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK;
  if (type == BS_OWNERDRAW) return " ownerdraw=1";
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return type == BS_DEFPUSHBUTTON ? " default=1" : "";
  return " check=" + std::to_string(SendMessageW(window, BM_GETCHECK, 0, 0));
}

std::u16string ItemText(HWND window, int index) {
  std::u16string text(size_t(SendMessageW(window, LB_GETTEXTLEN, WPARAM(index), 0)) + 1, u'\0');
  LRESULT n = SendMessageW(window, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(n > 0 ? n : 0));
  return text;
}

// One line per item below the list's line; the rows in view carry their place on the
// screen, the place to tap.
std::string ListItems(HWND window, int count, int sel) {
  RECT client;
  GetClientRect(window, &client);
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += "\n  item " + std::to_string(i) + " text=" + QuoteForListing(ItemText(window, i));
    if (i == sel) out += " selected=1";
    RECT row;
    if (SendMessageW(window, LB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&row)) == LB_ERR ||
        row.top < 0 || row.top >= client.bottom)
      continue;
    row.bottom = std::min(row.bottom, client.bottom);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&row), 2);
    out += " rect=" + std::to_string(row.left) + "," + std::to_string(row.top) + "," +
           std::to_string(row.right) + "," + std::to_string(row.bottom);
  }
  return out;
}

std::string ListBoxDetail(HWND window) {
  int count = int(SendMessageW(window, LB_GETCOUNT, 0, 0));
  int sel = int(SendMessageW(window, LB_GETCURSEL, 0, 0));
  std::string out = " count=" + std::to_string(count) + " sel=" + std::to_string(sel) +
                    " top=" + std::to_string(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
  if (sel >= 0) out += " seltext=" + QuoteForListing(ItemText(window, sel));
  return out + ListItems(window, count, sel);
}

std::string EditDetail(HWND window) {
  DWORD start = 0, end = 0;
  SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::string out = " sel=" + std::to_string(start) + "," + std::to_string(end);
  if (GetFocus() == window) out += " focus=1";
  return out;
}

std::string StaticDetail(HWND window) {
  if ((DWORD(GetWindowLongW(window, GWL_STYLE)) & SS_TYPEMASK) != SS_BITMAP) return "";
  return SendMessageW(window, STM_GETIMAGE, IMAGE_BITMAP, 0) ? " bitmap=1" : " bitmap=0";
}

}  // namespace

void RegisterListingDetails() {
  SetListingDetail(u"Button", ButtonDetail);
  SetListingDetail(u"ListBox", ListBoxDetail);
  SetListingDetail(u"Edit", EditDetail);
  SetListingDetail(u"Static", StaticDetail);
}

}  // namespace user::controls
