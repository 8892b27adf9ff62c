// Windows: creation, destruction, activation, focus, geometry, words and text.
#include <sstream>

#include "fixture.h"

namespace user_test {
namespace {

const std::vector<UINT> kLifeMessages = {
    WM_NCCREATE, WM_CREATE,   WM_SIZE,      WM_MOVE,         WM_SHOWWINDOW,        WM_ACTIVATE,
    WM_SETFOCUS, WM_KILLFOCUS, WM_DESTROY,  WM_NCDESTROY,    WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
    WM_CLOSE};

using WindowTest = UserTest;

TEST_F(WindowTest, CreatingAVisibleWindowSendsCreationSizeAndActivationInOrder) {
  // The record travels on the sender's stack: read while the message is handled.
  std::vector<UINT> changedFlags;
  SetHandler([&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGED) changedFlags.push_back(reinterpret_cast<WINDOWPOS*>(l)->flags);
    return std::nullopt;
  });
  HWND h = MakeTopLevel(WS_VISIBLE | WS_VSCROLL, WS_EX_WINDOWEDGE);
  ASSERT_NE(h, nullptr);
  std::vector<UINT> expected = {WM_NCCREATE,     WM_CREATE,            WM_SIZE,
                                WM_MOVE,         WM_SHOWWINDOW,        WM_WINDOWPOSCHANGING,
                                WM_ACTIVATE,     WM_SETFOCUS,          WM_WINDOWPOSCHANGED};
  EXPECT_EQ(Messages(kLifeMessages, h), expected);
  for (const Logged& l : Log()) {
    if (l.message == WM_SIZE) {
      EXPECT_EQ(LOWORD(l.lParam), 240 - 13);  // the scroll bar takes its width
      EXPECT_EQ(HIWORD(l.lParam), 320);
    }
    if (l.message == WM_ACTIVATE) {
      EXPECT_EQ(LOWORD(l.wParam), WA_ACTIVE);
    }
  }
  ASSERT_EQ(changedFlags.size(), 1u);
  EXPECT_EQ(changedFlags[0] & 0xFFFF0000u, 0u);
  EXPECT_EQ(GetForegroundWindow(), h);
  EXPECT_EQ(GetFocus(), h);
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST_F(WindowTest, CreateStructCarriesTheCallersValues) {
  CREATESTRUCTW seen{};
  int param = 5;
  SetHandler([&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_CREATE) seen = *reinterpret_cast<CREATESTRUCTW*>(l);
    return std::nullopt;
  });
  HWND h = CreateWindowExW(WS_EX_WINDOWEDGE, kLogClass, u"Title", WS_POPUP, 10, 20, 100, 50,
                           nullptr, nullptr, nullptr, &param);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.x, 10);
  EXPECT_EQ(seen.y, 20);
  EXPECT_EQ(seen.cx, 100);
  EXPECT_EQ(seen.cy, 50);
  EXPECT_EQ(seen.dwExStyle, DWORD(WS_EX_WINDOWEDGE));
  EXPECT_EQ(std::u16string(seen.lpszName), u"Title");
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WindowTest, CreateReturningMinusOneFailsAndDestroys) {
  SetHandler([](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  });
  HWND h = MakeTopLevel();
  EXPECT_EQ(h, nullptr);
  std::vector<UINT> expected = {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
  EXPECT_EQ(Messages(kLifeMessages), expected);
  EXPECT_EQ(user::MainWindow(), nullptr);
}

TEST_F(WindowTest, DestroyingSendsChildrenFirstAndNcDestroyLast) {
  HWND main = MakeTopLevel();
  HWND a = MakeChild(main, 1, RECT{0, 0, 10, 10});
  HWND b = MakeChild(main, 2, RECT{10, 0, 20, 10});
  HWND grandchild = MakeChild(a, 3, RECT{0, 0, 5, 5});
  Log().clear();
  ASSERT_TRUE(DestroyWindow(main));
  std::vector<std::pair<HWND, UINT>> seen;
  for (const Logged& l : Log())
    if (l.message == WM_DESTROY || l.message == WM_NCDESTROY) seen.push_back({l.window, l.message});
  std::vector<std::pair<HWND, UINT>> expected = {
      {b, WM_DESTROY},         {b, WM_NCDESTROY},          {grandchild, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {a, WM_DESTROY},         {a, WM_NCDESTROY},
      {main, WM_DESTROY},      {main, WM_NCDESTROY}};
  EXPECT_EQ(seen, expected);
  for (HWND h : {main, a, b, grandchild}) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, MessagesToDestroyedOrNullWindowsDoNothing) {
  HWND h = MakeTopLevel();
  DestroyWindow(h);
  Log().clear();
  EXPECT_EQ(SendMessageW(h, WM_USER, 1, 2), 0);
  EXPECT_EQ(SendMessageW(nullptr, WM_USER, 1, 2), 0);
  EXPECT_FALSE(PostMessageW(h, WM_USER, 1, 2));
  EXPECT_FALSE(DestroyWindow(h));
  EXPECT_FALSE(ShowWindow(h, SW_SHOW));
  EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 5, 5, SWP_NOZORDER));
  RECT r{1, 2, 3, 4};
  EXPECT_FALSE(GetClientRect(h, &r));
  EXPECT_EQ(GetWindowLongW(h, GWL_STYLE), 0);
  EXPECT_EQ(GetParent(h), nullptr);
  EXPECT_TRUE(Pump());
  EXPECT_TRUE(Log().empty());
}

TEST_F(WindowTest, AWindowThatDestroysItselfInsideAMessageLeavesThePlatformSound) {
  HWND h = MakeTopLevel();
  HWND child = MakeChild(h, 7, RECT{0, 0, 100, 100});
  SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w == child && m == WM_LBUTTONDOWN) {
      DestroyWindow(h);
      return 0;
    }
    return std::nullopt;
  });
  PostMessageW(h, WM_USER, 0, 0);  // queued for a window that will be gone
  Tap(50, 50);
  EXPECT_TRUE(Pump());
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(IsWindow(child));
  Log().clear();
  Tap(50, 50);  // nothing there any more
  EXPECT_TRUE(Pump());
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(user::MainWindow(), nullptr);
  EXPECT_NE(MakeTopLevel(), nullptr);
}

TEST_F(WindowTest, DestroyingItselfWhileBeingResizedStopsTheResize) {
  HWND h = MakeTopLevel();
  SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w == h && m == WM_WINDOWPOSCHANGED) DestroyWindow(h);
    return std::nullopt;
  });
  Log().clear();
  SetWindowPos(h, nullptr, 0, 0, 100, 100, SWP_NOZORDER);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Messages({WM_SIZE, WM_MOVE}), std::vector<UINT>{});
}

TEST_F(WindowTest, TappingAnInactiveWindowActivatesItWithClickActive) {
  HWND first = CreateWindowExW(0, kLogClass, u"First", WS_POPUP | WS_VISIBLE, 0, 0, 240, 150,
                               nullptr, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExW(0, kLogClass, u"Second", WS_POPUP | WS_VISIBLE, 0, 200, 240, 120,
                                nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(first);
  EXPECT_EQ(GetActiveWindow(), first);
  Log().clear();
  Tap(20, 250);
  std::vector<std::pair<HWND, WORD>> activations;
  for (const Logged& l : Log())
    if (l.message == WM_ACTIVATE) activations.push_back({l.window, LOWORD(l.wParam)});
  std::vector<std::pair<HWND, WORD>> expected = {{first, WA_INACTIVE}, {second, WA_CLICKACTIVE}};
  EXPECT_EQ(activations, expected);
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(GetWindow(first, GW_HWNDPREV), second);  // now in front
}

TEST_F(WindowTest, FocusMovesBetweenChildrenWithKillAndSetFocus) {
  HWND main = MakeTopLevel();
  HWND a = MakeChild(main, 1, RECT{0, 0, 10, 10});
  HWND b = MakeChild(main, 2, RECT{10, 0, 20, 10});
  SetFocus(a);
  Log().clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_EQ(Log()[0].window, a);
  EXPECT_EQ(Log()[0].message, UINT(WM_KILLFOCUS));
  EXPECT_EQ(Log()[1].window, b);
  EXPECT_EQ(Log()[1].message, UINT(WM_SETFOCUS));
  EXPECT_EQ(GetFocus(), b);
  ShowWindow(b, SW_HIDE);  // a hidden window gives the focus up
  EXPECT_NE(GetFocus(), b);
}

TEST_F(WindowTest, ClientAreaExcludesCaptionBorderAndScrollBar) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT client;  // window coordinates
  };
  const Case cases[] = {
      {WS_POPUP, 0, {0, 0, 100, 80}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 99, 79}},
      {WS_POPUP | WS_CAPTION, 0, {1, 25, 99, 79}},
      {WS_POPUP | WS_CAPTION | WS_VSCROLL, 0, {1, 25, 86, 79}},
      {WS_POPUP | WS_VSCROLL, WS_EX_WINDOWEDGE, {0, 0, 87, 80}},
      {WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, {3, 3, 97, 77}},
  };
  for (const Case& c : cases) {
    HWND h = CreateWindowExW(c.exStyle, kLogClass, u"", c.style, 10, 20, 100, 80, nullptr, nullptr,
                             nullptr, nullptr);
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    EXPECT_EQ(client.right, c.client.right - c.client.left) << std::hex << c.style;
    EXPECT_EQ(client.bottom, c.client.bottom - c.client.top) << std::hex << c.style;
    POINT p{0, 0};
    ClientToScreen(h, &p);
    EXPECT_EQ(p.x, 10 + c.client.left);
    EXPECT_EQ(p.y, 20 + c.client.top);
    ScreenToClient(h, &p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(window.right - window.left, 100);
    DestroyWindow(h);
  }
}

TEST_F(WindowTest, DefaultSizedWindowsFillAndFollowTheWorkArea) {
  HWND h = MakeTopLevel();
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 320);
  Log().clear();
  user::SetWorkArea(RECT{0, 26, 240, 320});
  GetWindowRect(h, &r);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.bottom, 320);
  ASSERT_EQ(Messages({WM_SIZE}), std::vector<UINT>{WM_SIZE});
  display::Event resize;
  resize.kind = display::EventKind::Resize;
  resize.width = 320;
  resize.height = 240;
  user::HandleDisplayEvent(resize);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.top, 26);  // the work area kept its distances from the edges
  EXPECT_EQ(r.right, 320);
  EXPECT_EQ(r.bottom, 240);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  // A window moved by the program no longer follows.
  MoveWindow(h, 0, 0, 100, 100, TRUE);
  user::SetWorkArea(RECT{0, 0, 320, 240});
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right, 100);
}

TEST_F(WindowTest, SetWindowPosFlags) {
  HWND h = CreateWindowExW(0, kLogClass, u"", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr, nullptr,
                           nullptr);
  struct Case {
    UINT flags;
    RECT expected;
    bool visible;
  };
  const Case cases[] = {
      {SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, {10, 10, 30, 40}, false},
      {SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, {5, 6, 25, 36}, false},
      {SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW, {5, 6, 25, 36}, true},
      {SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW, {5, 6, 25, 36}, false},
  };
  for (const Case& c : cases) {
    SetWindowPos(h, nullptr, 5, 6, 20, 30, c.flags);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.flags;
    EXPECT_EQ(bool(IsWindowVisible(h)), c.visible) << c.flags;
  }
}

TEST_F(WindowTest, AStyleChangeTakesEffectWithFrameChanged) {
  HWND h = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
  SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) | WS_CAPTION);
  Log().clear();
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  std::vector<LPARAM> sizes;
  for (const Logged& l : Log())
    if (l.message == WM_SIZE) sizes.push_back(l.lParam);
  EXPECT_EQ(sizes, std::vector<LPARAM>{MAKELPARAM(98, 74)});
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.bottom, 74);
  EXPECT_TRUE(IsWindowVisible(h));
  Log().clear();
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(Messages({WM_SIZE}).size(), 0u);  // nothing changed since
}

TEST_F(WindowTest, ParentsOwnersAndRelations) {
  HWND main = MakeTopLevel();
  HWND child = MakeChild(main, 42, RECT{0, 0, 10, 10});
  HWND popup = CreateWindowExW(0, kLogClass, u"Popup", WS_POPUP, 0, 0, 10, 10, child, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(GetParent(child), main);
  EXPECT_EQ(GetParent(popup), main);  // a popup's owner is the top-level window
  EXPECT_EQ(GetParent(main), nullptr);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), main);
  EXPECT_EQ(GetWindow(main, GW_CHILD), child);
  EXPECT_EQ(GetDlgItem(main, 42), child);
  EXPECT_EQ(GetDlgCtrlID(child), 42);
  EXPECT_TRUE(IsChild(main, child));
  EXPECT_FALSE(IsChild(main, popup));
  EXPECT_EQ(user::MainWindow(), main);
  HWND desktop = GetDesktopWindow();
  EXPECT_TRUE(IsWindow(desktop));
  RECT r;
  GetWindowRect(desktop, &r);
  EXPECT_EQ(r.right, 240);
}

TEST_F(WindowTest, FindWindowMatchesClassAndTitleThenAsksTheRemoteFinder) {
  HWND h = MakeTopLevel(WS_VISIBLE, 0, u"Reader");
  EXPECT_EQ(FindWindowW(kLogClass, u"Reader"), h);
  EXPECT_EQ(FindWindowW(u"logwindow", nullptr), h);  // class names ignore case
  EXPECT_EQ(FindWindowW(nullptr, u"Reader"), h);
  EXPECT_EQ(FindWindowW(kLogClass, u"reader"), nullptr);  // titles do not
  HWND remote = reinterpret_cast<HWND>(uintptr_t(0x7000000));
  std::u16string asked;
  user::SetRemoteWindowFinder([&](LPCWSTR cls, LPCWSTR) {
    asked = cls;
    return remote;
  });
  EXPECT_EQ(FindWindowW(u"Other", u"x"), remote);
  EXPECT_EQ(asked, u"Other");
  EXPECT_EQ(FindWindowW(kLogClass, u"Reader"), h);
}

TEST_F(WindowTest, WindowWordsAndText) {
  HWND h = MakeTopLevel(WS_VISIBLE | WS_VSCROLL, 0, u"Title");
  EXPECT_EQ(DWORD(GetWindowLongW(h, GWL_STYLE)) & (WS_VISIBLE | WS_VSCROLL),
            DWORD(WS_VISIBLE | WS_VSCROLL));
  SetWindowLongPtrW(h, GWL_USERDATA, LONG_PTR(0x123456789));
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_USERDATA), LONG_PTR(0x123456789));
  SetWindowLongPtrW(h, 8, LONG_PTR(-5));  // extra bytes of the class
  EXPECT_EQ(GetWindowLongPtrW(h, 8), LONG_PTR(-5));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(h, 12), 0);  // beyond the 16 extra bytes
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
  EXPECT_EQ(GetWindowTextLengthW(h), 5);
  WCHAR text[4];
  EXPECT_EQ(GetWindowTextW(h, text, 4), 3);
  EXPECT_EQ(std::u16string(text), u"Tit");
  EXPECT_TRUE(SetWindowTextW(h, u"New"));
  WCHAR whole[16];
  GetWindowTextW(h, whole, 16);
  EXPECT_EQ(std::u16string(whole), u"New");
  EXPECT_EQ(Messages({WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH}).size(), 4u);
}

TEST_F(WindowTest, DisablingAWindowSendsEnableAndTakesItsFocus) {
  HWND main = MakeTopLevel();
  HWND child = MakeChild(main, 1, RECT{0, 0, 50, 50});
  SetFocus(child);
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_NE(GetFocus(), child);
  EXPECT_TRUE(EnableWindow(child, TRUE));  // it was disabled
  EXPECT_EQ(Messages({WM_ENABLE}, child).size(), 2u);
  EnableWindow(child, FALSE);
  Log().clear();
  Tap(10, 10);
  Pump();
  EXPECT_EQ(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP}).size(), 0u);
}

TEST_F(WindowTest, TheCaptionOkButtonSendsIdOk) {
  HWND h = CreateWindowExW(WS_EX_CAPTIONOKBTN, kLogClass, u"Dialog", WS_POPUP | WS_VISIBLE | WS_CAPTION,
                           0, 0, 240, 200, nullptr, nullptr, nullptr, nullptr);
  user::Frame f = user::FrameOf(h);
  ASSERT_FALSE(IsRectEmpty(&f.okButton));
  EXPECT_TRUE(f.okButton.right <= f.captionBar.right && f.okButton.top >= f.captionBar.top &&
              f.okButton.bottom <= f.captionBar.bottom);
  Pump();
  Log().clear();
  Tap(f.okButton.left + 2, f.okButton.top + 2);
  Tap(f.captionBar.left + 5, f.captionBar.top + 5);  // the caption itself does nothing
  Pump();
  std::vector<WPARAM> commands;
  for (const Logged& l : Log())
    if (l.message == WM_COMMAND) commands.push_back(l.wParam);
  EXPECT_EQ(commands, std::vector<WPARAM>{IDOK});
  EXPECT_EQ(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP}).size(), 0u);
}

TEST_F(WindowTest, SystemMetrics) {
  const std::pair<int, int> cases[] = {
      {SM_CXSCREEN, 240}, {SM_CYSCREEN, 320}, {SM_CXVSCROLL, 13}, {SM_CYHSCROLL, 13},
      {SM_CXEDGE, 2},     {SM_CYEDGE, 2},     {SM_CXBORDER, 1},   {SM_CYBORDER, 1},
      {SM_CYCAPTION, 24},
  };
  for (auto [index, value] : cases) EXPECT_EQ(GetSystemMetrics(index), value) << index;
}

TEST_F(WindowTest, AcceleratorsWithoutATableTranslateNothing) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(3));
  EXPECT_EQ(table, nullptr);
  HWND h = MakeTopLevel();
  MSG msg{h, WM_KEYDOWN, 'A', 1, 0, {}};
  EXPECT_EQ(TranslateAcceleratorW(h, table, &msg), 0);
}

TEST_F(WindowTest, TheWindowListShowsVisibleWindowsTopmostFirstWithTheirControls) {
  HWND main = MakeTopLevel(WS_VISIBLE, 0, u"Main \"1\"");
  MakeChild(main, 5, RECT{10, 20, 60, 40}, WS_VISIBLE, u"Go");
  MakeChild(main, 6, RECT{0, 0, 5, 5}, 0, u"Hidden");
  CreateWindowExW(0, kLogClass, u"Box", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 100, 200, 80, main,
                  nullptr, nullptr, nullptr);
  user::SetListingDetail(kLogClass, [](HWND h) {
    return GetParent(h) && GetDlgCtrlID(h) == 5 ? std::string(" check=1") : std::string();
  });
  std::ostringstream out;
  user::PrintWindowList(out);
  EXPECT_EQ(out.str(),
            "window class=\"LogWindow\" title=\"Box\" rect=20,100,220,180\n"
            "window class=\"LogWindow\" title=\"Main \\\"1\\\"\" rect=0,0,240,320\n"
            "  control class=\"LogWindow\" id=5 text=\"Go\" rect=10,20,60,40 check=1\n"
            "end\n");
  user::SetListingDetail(kLogClass, nullptr);
}

}  // namespace
}  // namespace user_test
