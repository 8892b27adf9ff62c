// Menus: the MENU resource read into items, check marks and states by command and by
// position, item information in the handheld's record size, and popups tracked with
// keys and the stylus, their choice arriving as WM_COMMAND after they closed.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <sstream>

#include "display/png.h"
#include "user/menu_popup.h"
#include "user/menu_resource.h"
#include "user/system.h"
#include "session.h"

namespace {

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    user::ResetForTests();
    menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(102));
    go = GetSubMenu(menu, 0);
  }
  void TearDown() override {
    DestroyMenu(menu);
    user::ResetForTests();
  }
  HMENU menu = nullptr;
  HMENU go = nullptr;
};

std::u16string Text(HMENU m, UINT position) {
  WCHAR text[64] = {};
  GetMenuStringW(m, position, text, 64, MF_BYPOSITION);
  return text;
}

TEST_F(MenuTest, LoadsTheResourceWithNestedPopups) {
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(GetMenuItemCount(go), 8);
  struct Want {
    UINT id;
    const char16_t* text;
  };
  const Want want[] = {{40004, u"&About"}, {0, u""},        {40006, u"F&ont\bCtrl+F"}, {122, u"Re&verse"},
                       {130, u"&Disabled"}, {0, u""},      {UINT(-1), u"&More"},       {40005, u"E&xit\bCtrl+Q"}};
  for (UINT i = 0; i < 8; ++i) {
    EXPECT_EQ(GetMenuItemID(go, int(i)), want[i].id) << i;  // "\a" in the script is 0x08 here
    EXPECT_EQ(Text(go, i), std::u16string(want[i].text)) << i;
  }
  EXPECT_EQ(GetMenuState(go, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(go, 122, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
  EXPECT_EQ(GetMenuState(go, 130, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
  HMENU more = GetSubMenu(go, 6);
  ASSERT_NE(more, nullptr);
  EXPECT_EQ(GetMenuItemID(more, 0), 140u);
  EXPECT_EQ(GetSubMenu(go, 0), nullptr);
  EXPECT_EQ(GetSubMenu(go, 99), nullptr);
  EXPECT_EQ(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(999)), nullptr);
}

TEST(MenuResource, RefusesCutOffBytes) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(102), RT_MENU);
  ASSERT_NE(found, nullptr);
  auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  size_t size = SizeofResource(nullptr, found);
  ASSERT_TRUE(user::menu::ParseMenuResource(bytes, size));
  for (size_t n = 5; n < size; ++n) {
    std::vector<uint8_t> piece(bytes, bytes + n);
    EXPECT_FALSE(user::menu::ParseMenuResource(piece.data(), piece.size())) << n;
  }
  const uint8_t empty[4] = {0, 0, 0, 0};
  auto none = user::menu::ParseMenuResource(empty, 4);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
  const uint8_t wrongHeader[6] = {1, 0, 0, 0, 0x80, 0};
  EXPECT_FALSE(user::menu::ParseMenuResource(wrongHeader, 6));
}

TEST_F(MenuTest, CheckMarksRoundTripByCommandAndPosition) {
  struct Case {
    UINT item, flags;
    DWORD wantPrevious;
  };
  const Case cases[] = {
      {122, MF_BYCOMMAND | MF_UNCHECKED, MF_CHECKED},  {122, MF_BYCOMMAND | MF_CHECKED, MF_UNCHECKED},
      {3, MF_BYPOSITION | MF_UNCHECKED, MF_CHECKED},   {3, MF_BYPOSITION | MF_UNCHECKED, MF_UNCHECKED},
      {140, MF_BYCOMMAND | MF_CHECKED, MF_UNCHECKED},  // found inside the nested popup
      {777, MF_BYCOMMAND | MF_CHECKED, DWORD(-1)},     {42, MF_BYPOSITION | MF_CHECKED, DWORD(-1)},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckMenuItem(go, c.item, c.flags), c.wantPrevious) << c.item;
  EXPECT_EQ(CheckMenuItem(reinterpret_cast<HMENU>(0x1234), 122, MF_CHECKED), DWORD(-1));
  EXPECT_EQ(GetMenuState(GetSubMenu(go, 6), 0, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));

  // The toggle the program makes: read the state with a 44-byte record, flip it.
  for (int round = 0; round < 2; ++round) {
    MENUITEMINFOW info;
    std::memset(&info, 0xAB, sizeof info);
    info.cbSize = 44;
    info.fMask = MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(go, 122, FALSE, &info));
    bool checked = info.fState & MFS_CHECKED;
    EXPECT_EQ(info.wID, 122u);
    EXPECT_EQ(CheckMenuItem(go, 122, checked ? MF_UNCHECKED : MF_CHECKED), checked ? DWORD(MF_CHECKED) : 0u);
    EXPECT_EQ(bool(GetMenuState(go, 122, MF_BYCOMMAND) & MF_CHECKED), !checked);
  }
  MENUITEMINFOW info{};
  info.cbSize = 44;
  info.fMask = MIIM_STATE;
  EXPECT_FALSE(GetMenuItemInfoW(go, 777, FALSE, &info));
  EXPECT_FALSE(GetMenuItemInfoW(go, 40, TRUE, &info));
}

TEST_F(MenuTest, ItemInfoFillsOnlyWhatTheRecordSizeCovers) {
  MENUITEMINFOW info;
  std::memset(&info, 0xAB, sizeof info);
  info.cbSize = 44;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_SUBMENU | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(go, 6, TRUE, &info));  // the nested popup
  EXPECT_EQ(info.fType, UINT(MFT_STRING));
  // Past 44 bytes nothing is written.
  const auto* raw = reinterpret_cast<const uint8_t*>(&info);
  for (size_t i = 44; i < sizeof info; ++i) EXPECT_EQ(raw[i], 0xAB) << i;
  MENUITEMINFOW full{};
  full.cbSize = sizeof full;
  full.fMask = MIIM_TYPE | MIIM_SUBMENU;
  WCHAR text[4];
  full.dwTypeData = text;
  full.cch = 4;
  ASSERT_TRUE(GetMenuItemInfoW(go, 2, TRUE, &full));
  EXPECT_EQ(std::u16string(text), u"F&o");
  EXPECT_EQ(full.cch, 12u);
  EXPECT_EQ(full.hSubMenu, nullptr);
}

TEST_F(MenuTest, EnableAndBuildMenus) {
  EXPECT_EQ(EnableMenuItem(go, 130, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(go, 130, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(go, 999, MF_BYCOMMAND | MF_GRAYED), -1);
  HMENU popup = CreatePopupMenu();
  EXPECT_TRUE(AppendMenuW(popup, MF_STRING, 5, u"&Five"));
  EXPECT_TRUE(AppendMenuW(popup, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenuW(popup, MF_STRING | MF_CHECKED, 6, u"Six"));
  EXPECT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_EQ(GetMenuItemID(popup, 1), 0u);
  EXPECT_EQ(CheckMenuItem(popup, 6, MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_TRUE(DestroyMenu(popup));
  EXPECT_FALSE(DestroyMenu(popup));  // already gone
  EXPECT_EQ(GetMenuItemCount(popup), -1);
  // A submenu destroyed before its parent: the parent's item no longer leads to it.
  HMENU more = GetSubMenu(go, 6);
  EXPECT_TRUE(DestroyMenu(more));
  EXPECT_EQ(GetSubMenu(go, 6), nullptr);
  EXPECT_EQ(CheckMenuItem(go, 140, MF_CHECKED), DWORD(-1));
}

// An owner window that records the commands it gets, and a popup driven from the idle loop.
struct Tracked {
  std::deque<std::function<void()>> steps;
  std::vector<WPARAM> commands;
};
Tracked* tracked = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && tracked) tracked->commands.push_back(wParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeOwner() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.lpszClassName = u"MenuOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"MenuOwner", u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

BOOL Track(Tracked& t, HMENU popup, HWND owner, UINT flags, int x = 20, int y = 300) {
  tracked = &t;
  user::AddIdleHook([&t] {
    if (tracked == &t && !t.steps.empty()) {
      auto step = std::move(t.steps.front());
      t.steps.pop_front();
      step();
    } else if (tracked == &t && user::menu::PopupOpen()) {
      EndMenu();
    }
  });
  BOOL r = TrackPopupMenuEx(popup, flags, x, y, owner, nullptr);
  // Posted commands arrive once the loop runs again.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  tracked = nullptr;
  return r;
}

// The listed items of the open popup: "id text rect" per line.
std::string Listing() {
  std::ostringstream out;
  user::PrintWindowList(out);
  return out.str();
}

RECT ItemRect(const std::string& listing, UINT id) {
  std::string key = " id=" + std::to_string(id) + " ";
  size_t at = listing.find(key);
  if (at == std::string::npos) return RECT{};
  size_t r = listing.find("rect=", at) + 5;
  RECT rect{};
  std::sscanf(listing.c_str() + r, "%d,%d,%d,%d", &rect.left, &rect.top, &rect.right, &rect.bottom);
  return rect;
}

TEST_F(MenuTest, KeysChooseAndTheOwnerHearsAfterTheClose) {
  HWND owner = MakeOwner();
  Tracked t;
  bool openWhenCommand = true;
  t.steps.push_back([] { test::Key(VK_DOWN); });        // About
  t.steps.push_back([] { test::Key(VK_DOWN); });        // past the separator: Font
  t.steps.push_back([] { test::Key(VK_RETURN); });
  EXPECT_TRUE(Track(t, go, owner, TPM_LEFTALIGN | TPM_BOTTOMALIGN));
  openWhenCommand = FindWindowW(u"MenuPopup", nullptr) != nullptr;
  ASSERT_EQ(t.commands.size(), 1u);
  EXPECT_EQ(LOWORD(t.commands[0]), 40006);
  EXPECT_FALSE(openWhenCommand);

  Tracked cancel;
  cancel.steps.push_back([] { test::Key(VK_DOWN); });
  cancel.steps.push_back([] { test::Key(VK_ESCAPE); });
  EXPECT_TRUE(Track(cancel, go, owner, 0));
  EXPECT_TRUE(cancel.commands.empty());

  Tracked returned;
  returned.steps.push_back([] { test::Key(VK_UP); });  // wraps to the last item, Exit
  returned.steps.push_back([] { test::Key(VK_RETURN); });
  EXPECT_EQ(Track(returned, go, owner, TPM_RETURNCMD), 40005);
  EXPECT_TRUE(returned.commands.empty());

  Tracked mnemonic;
  mnemonic.steps.push_back([] { test::Type(U'v'); });
  EXPECT_EQ(Track(mnemonic, go, owner, TPM_RETURNCMD), 122);
}

TEST_F(MenuTest, TapsChooseAndATapOutsideDismisses) {
  HWND owner = MakeOwner();
  Tracked t;
  std::string listing;
  RECT popupRect{};
  t.steps.push_back([&] {
    const std::vector<uint32_t>& screen = user::ComposeScreen();
    display::WritePng(::testing::TempDir() + "user_controls_menu.png", screen.data(), user::ScreenWidth(),
                      user::ScreenHeight(), user::ScreenWidth());
    listing = Listing();
    HWND popup = FindWindowW(u"MenuPopup", nullptr);
    GetWindowRect(popup, &popupRect);
    RECT r = ItemRect(listing, 122);
    test::Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  });
  EXPECT_TRUE(Track(t, go, owner, TPM_LEFTALIGN | TPM_BOTTOMALIGN, 10, 290));
  ASSERT_EQ(t.commands.size(), 1u);
  EXPECT_EQ(LOWORD(t.commands[0]), 122);
  // Opened upward from the point: its bottom edge there.
  EXPECT_EQ(popupRect.left, 10);
  EXPECT_EQ(popupRect.bottom, 290);
  EXPECT_NE(listing.find("window class=\"MenuPopup\""), std::string::npos) << listing;
  EXPECT_NE(listing.find("id=122 text=\"Re&verse\" check=1"), std::string::npos) << listing;
  EXPECT_NE(listing.find("id=40006 text=\"F&ont\\x08Ctrl+F\" check=0"), std::string::npos) << listing;
  EXPECT_NE(listing.find("separator"), std::string::npos);

  Tracked grayed;  // a grayed item does nothing; a tap outside closes the popup
  grayed.steps.push_back([&] {
    RECT r = ItemRect(Listing(), 130);
    test::Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  });
  grayed.steps.push_back([] { test::Tap(230, 5); });
  EXPECT_TRUE(Track(grayed, go, owner, TPM_LEFTALIGN | TPM_TOPALIGN, 10, 30));
  EXPECT_TRUE(grayed.commands.empty());

  Tracked nested;  // a popup item opens its menu beside it
  nested.steps.push_back([&] { test::Key(VK_UP); });
  nested.steps.push_back([&] { test::Key(VK_UP); });  // "More"
  nested.steps.push_back([&] { test::Key(VK_RIGHT); });
  nested.steps.push_back([&] {
    RECT r = ItemRect(Listing(), 140);
    test::Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  });
  EXPECT_EQ(Track(nested, go, owner, TPM_RETURNCMD, 10, 30), 140);
}

}  // namespace
