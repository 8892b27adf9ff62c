#include "dialog_fixture.h"

#include <cstring>

#include "base/app_state.h"
#include "display/display.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace dialogs_test {

void DialogTest::SetUp() {
  std::memset(&App, 0, sizeof App);
  App.Instance = GetModuleHandleW(nullptr);
  FullScreen = 0;
  TaskBarWindow = nullptr;
  // The script keeps waiting, so the screen never ends the dialogs itself.
  test_support::InstallScreenWithShell("wait 600000");
  user::AddIdleHook([this] { steps_.RunNext(); });
}

void DialogTest::TearDown() {
  steps_.Clear();
  test_support::RemoveScreen();
  FullScreen = 0;
  TaskBarWindow = nullptr;
}

void DialogTest::Steps(std::vector<Step> steps) { steps_.Set(std::move(steps)); }

std::vector<std::u16string> ListItems(HWND dialog, int id) {
  std::vector<std::u16string> items;
  LRESULT count = SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[64] = {};
    SendDlgItemMessageW(dialog, id, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::u16string SelectedItem(HWND dialog, int id) {
  LRESULT selected = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
  if (selected < 0) return u"";
  return ListItems(dialog, id)[size_t(selected)];
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::u16string ItemText(HWND dialog, int id) {
  WCHAR text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

// Scrolls the item into view and taps it, as a user would.
void TapItem(HWND dialog, int listId, const std::u16string& item) {
  HWND list = GetDlgItem(dialog, listId);
  LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(item.c_str()));
  ASSERT_GE(index, 0) << "no item " << std::string(item.begin(), item.end());
  SendMessageW(list, LB_SETTOPINDEX, WPARAM(index), 0);
  RECT row;
  SendMessageW(list, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&row));
  POINT at{row.left + 4, (row.top + row.bottom) / 2};
  ClientToScreen(list, &at);
  test_support::Tap(at.x, at.y);
}

void TapControl(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  test_support::Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

RECT PlaceInDialog(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace dialogs_test
