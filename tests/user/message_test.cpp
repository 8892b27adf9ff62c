// The queue and loop: posting and sending, the quit request, painting, keys, the wheel,
// the idle loop with the headless screen.
#include "fixture.h"

namespace user_test {
namespace {

using MessageTest = UserTest;

void Send(display::Event e) { user::HandleDisplayEvent(e); }

display::Event Key(display::EventKind kind, uint32_t vk, char32_t ch = 0, uint32_t mods = 0) {
  display::Event e;
  e.kind = kind;
  e.key = vk;
  e.ch = ch;
  e.modifiers = mods;
  return e;
}

TEST_F(MessageTest, SentMessagesArriveAtOncePostedOnesInOrderFromTheLoop) {
  HWND h = MakeTopLevel();
  Pump();
  Log().clear();
  PostMessageW(h, WM_USER + 1, 0, 0);
  PostMessageW(h, WM_USER + 2, 0, 0);
  EXPECT_EQ(SendMessageW(h, WM_USER + 3, 0, 0), 0);
  EXPECT_EQ(Messages({WM_USER + 1, WM_USER + 2, WM_USER + 3}), std::vector<UINT>{WM_USER + 3});
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, UINT(WM_USER + 1));
  Pump();
  std::vector<UINT> expected = {WM_USER + 3, WM_USER + 1, WM_USER + 2};
  EXPECT_EQ(Messages({WM_USER + 1, WM_USER + 2, WM_USER + 3}), expected);
}

TEST_F(MessageTest, QuitEndsTheLoopWithItsCodeAfterTheMessagesBeforeIt) {
  HWND h = MakeTopLevel();
  PostMessageW(h, WM_USER, 0, 0);
  PostQuitMessage(7);
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, UINT(WM_USER));
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageTest, InvalidatedAreasGiveOnePaintWithTheirUnionAndBeginPaintValidates) {
  HWND h = MakeTopLevel(WS_VISIBLE | WS_VSCROLL);
  PAINTSTRUCT seen{};
  int paints = 0;
  SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w != h || m != WM_PAINT) return std::nullopt;
    ++paints;
    BeginPaint(w, &seen);
    EndPaint(w, &seen);
    return 0;
  });
  Pump();
  Log().clear();
  paints = 0;
  RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
  InvalidateRect(h, &a, FALSE);
  InvalidateRect(h, &b, TRUE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
  Pump();
  EXPECT_EQ(paints, 1);
  RECT expected{10, 5, 40, 20};
  EXPECT_TRUE(EqualRect(&seen.rcPaint, &expected));
  EXPECT_EQ(Messages({WM_ERASEBKGND}).size(), 1u);  // asked for by the second call
  EXPECT_FALSE(seen.fErase);                        // the class brush erased it
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));
  Pump();
  EXPECT_EQ(paints, 1);
}

TEST_F(MessageTest, ValidateRectAndTheDefaultPaintClearTheUpdateRegion) {
  HWND h = MakeTopLevel();
  Pump();
  Log().clear();
  InvalidateRect(h, nullptr, FALSE);
  ValidateRect(h, nullptr);
  Pump();
  EXPECT_EQ(Messages({WM_PAINT}).size(), 0u);
  InvalidateRect(h, nullptr, FALSE);
  Pump();  // DefWindowProcW's WM_PAINT validates
  EXPECT_EQ(Messages({WM_PAINT}).size(), 1u);
}

TEST_F(MessageTest, ParentsPaintBeforeTheirChildren) {
  HWND main = MakeTopLevel();
  HWND child = MakeChild(main, 1, RECT{10, 10, 50, 50});
  Pump();
  Log().clear();
  InvalidateRect(main, nullptr, TRUE);  // covers the child too
  Pump();
  std::vector<HWND> order;
  for (const Logged& l : Log())
    if (l.message == WM_PAINT) order.push_back(l.window);
  EXPECT_EQ(order, (std::vector<HWND>{main, child}));
}

TEST_F(MessageTest, DrawingGoesToTheScreenClippedToTheWindow) {
  HWND main = CreateWindowExW(0, kLogClass, u"T", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 240,
                              320, nullptr, nullptr, nullptr, nullptr);
  HWND child = MakeChild(main, 1, RECT{50, 50, 60, 60});
  Pump();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HDC dc = GetDC(main);
  RECT square{10, 10, 20, 20};
  FillRect(dc, &square, red);
  ReleaseDC(main, dc);
  dc = GetDC(child);
  RECT big{-100, -100, 100, 100};
  FillRect(dc, &big, red);
  ReleaseDC(child, dc);
  DeleteObject(red);
  const std::vector<uint32_t>& screen = user::ComposeScreen();
  auto at = [&](int x, int y) { return screen[size_t(y) * 240 + size_t(x)]; };
  // Client (10, 10) lies below the 1-pixel border and the 24-pixel caption.
  EXPECT_EQ(at(11, 35), 0xFF0000u);
  EXPECT_EQ(at(20, 44), 0xFF0000u);
  EXPECT_EQ(at(21, 45), 0xFFFFFFu);
  EXPECT_EQ(at(51, 75), 0xFF0000u);  // the child
  EXPECT_EQ(at(60, 84), 0xFF0000u);
  EXPECT_EQ(at(61, 85), 0xFFFFFFu);
  EXPECT_EQ(at(50, 74), 0xFFFFFFu);
  EXPECT_EQ(at(100, 5), 0x000080u);  // the active caption
}

TEST_F(MessageTest, ADeviceContextHeldAcrossResizesDrawsWhereTheWindowIsNow) {
  HWND h = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
  Pump();
  HDC dc = GetDC(h);
  SetWindowPos(h, nullptr, 50, 60, 150, 200, SWP_NOZORDER);
  Pump();
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT r{0, 0, 1000, 1000};
  FillRect(dc, &r, blue);
  DeleteObject(blue);
  const std::vector<uint32_t>& screen = user::ComposeScreen();
  auto at = [&](int x, int y) { return screen[size_t(y) * 240 + size_t(x)]; };
  EXPECT_EQ(at(50, 60), 0x0000FFu);
  EXPECT_EQ(at(199, 259), 0x0000FFu);
  EXPECT_EQ(at(200, 260), 0xFFFFFFu);
  EXPECT_EQ(at(49, 59), 0xFFFFFFu);
  EXPECT_EQ(ReleaseDC(h, dc), 1);
  DestroyWindow(h);
  EXPECT_EQ(ReleaseDC(h, dc), 0);  // released already
}

TEST_F(MessageTest, KeysGoToTheFocusAndTranslateIntoCharacters) {
  HWND main = MakeTopLevel();
  HWND child = MakeChild(main, 1, RECT{0, 0, 10, 10});
  Pump();
  struct Case {
    HWND focus;
    display::Event down;
    std::vector<WPARAM> chars;
  };
  const Case cases[] = {
      {child, Key(display::EventKind::KeyDown, 'A', U'a'), {u'a'}},
      {child, Key(display::EventKind::KeyDown, 'A', U'A', display::ModShift), {u'A'}},
      {child, Key(display::EventKind::KeyDown, 'A'), {}},  // the display types the text itself
      {child, Key(display::EventKind::KeyDown, VK_RETURN), {u'\r'}},
      {child, Key(display::EventKind::KeyDown, 'F', 0, display::ModCtrl), {6}},
      {nullptr, Key(display::EventKind::KeyDown, VK_ESCAPE), {0x1B}},
      {nullptr, Key(display::EventKind::KeyDown, VK_DOWN), {}},
  };
  for (const Case& c : cases) {
    SetFocus(c.focus);
    Log().clear();
    Send(c.down);
    display::Event up = c.down;
    up.kind = display::EventKind::KeyUp;
    Send(up);
    Pump();
    HWND target = c.focus ? c.focus : main;
    std::vector<WPARAM> chars;
    int downs = 0;
    for (const Logged& l : Log()) {
      if (l.window != target) continue;
      if (l.message == WM_CHAR) chars.push_back(l.wParam);
      if (l.message == WM_KEYDOWN) {
        ++downs;
        EXPECT_EQ(l.wParam, c.down.key);
      }
    }
    EXPECT_EQ(downs, 1) << c.down.key;
    EXPECT_EQ(chars, c.chars) << c.down.key;
    EXPECT_EQ(Messages({WM_KEYUP}, target).size(), 1u);
  }
}

TEST_F(MessageTest, TypedTextArrivesAsCharactersWithSurrogatePairs) {
  HWND h = MakeTopLevel();
  Pump();
  Log().clear();
  for (char32_t c : {U'\u05E9', U'\U0001F600'}) {
    display::Event e;
    e.kind = display::EventKind::Char;
    e.ch = c;
    Send(e);
  }
  Pump();
  std::vector<WPARAM> chars;
  for (const Logged& l : Log())
    if (l.message == WM_CHAR && l.window == h) chars.push_back(l.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{0x05E9, 0xD83D, 0xDE00}));
}

TEST_F(MessageTest, TheWheelScrollsTheWindowWithAScrollBarUnderThePointer) {
  HWND bar = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 240, 160,
                             nullptr, nullptr, nullptr, nullptr);
  HWND child = MakeChild(bar, 1, RECT{0, 0, 50, 50});
  HWND plain = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE, 0, 160, 240, 160,
                               nullptr, nullptr, nullptr, nullptr);
  Pump();
  struct Case {
    int x, y, wheel;
    std::vector<WPARAM> codes;
  };
  const Case cases[] = {
      {100, 100, 1, {SB_LINEUP, SB_ENDSCROLL}},
      {10, 10, -2, {SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}},  // over the child
      {100, 200, 1, {}},
  };
  for (const Case& c : cases) {
    Log().clear();
    display::Event e;
    e.kind = display::EventKind::Wheel;
    e.x = c.x, e.y = c.y, e.wheel = c.wheel;
    Send(e);
    Pump();
    std::vector<WPARAM> codes;
    for (const Logged& l : Log())
      if (l.message == WM_VSCROLL) {
        EXPECT_EQ(l.window, bar);
        codes.push_back(LOWORD(l.wParam));
      }
    EXPECT_EQ(codes, c.codes) << c.y;
  }
  (void)child, (void)plain;
}

TEST_F(MessageTest, StylusMessagesCarryClientCoordinatesAndFollowTheCapture) {
  HWND main = MakeTopLevel();
  HWND child = MakeChild(main, 1, RECT{100, 100, 140, 140});
  Pump();
  SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w == child && m == WM_LBUTTONDOWN) SetCapture(child);
    return std::nullopt;
  });
  Log().clear();
  display::Event e;
  e.kind = display::EventKind::StylusDown;
  e.x = 110, e.y = 120;
  Send(e);
  e.kind = display::EventKind::StylusMove;
  e.x = 5, e.y = 5;  // outside the child: the capture still gets it
  Pump();
  Send(e);
  e.kind = display::EventKind::StylusUp;
  Send(e);
  Pump();
  std::vector<std::pair<UINT, std::pair<int, int>>> seen;
  for (const Logged& l : Log())
    if (l.message >= WM_MOUSEFIRST && l.message <= WM_MOUSELAST) {
      EXPECT_EQ(l.window, child);
      seen.push_back({l.message, {GET_X_LPARAM(l.lParam), GET_Y_LPARAM(l.lParam)}});
    }
  std::vector<std::pair<UINT, std::pair<int, int>>> expected = {
      {WM_LBUTTONDOWN, {10, 20}}, {WM_MOUSEMOVE, {-95, -95}}, {WM_LBUTTONUP, {-95, -95}}};
  EXPECT_EQ(seen, expected);
  ReleaseCapture();
}

TEST_F(MessageTest, TheLoopRunsScriptLinesWhenIdleAndIdleHooks) {
  Screen("key Return\n");
  int idle = 0;
  user::AddIdleHook([&] { ++idle; });
  HWND h = MakeTopLevel();
  SetHandler([&](HWND w, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (w == h && m == WM_KEYDOWN && wp == VK_RETURN) PostQuitMessage(4);
    return std::nullopt;
  });
  EXPECT_EQ(RunLoop(), 4);
  EXPECT_GT(idle, 0);
}

TEST_F(MessageTest, TheEndOfTheScriptClosesTheMainWindowAndForcesAStubbornOneAway) {
  struct Case {
    bool closes;
    int exitCode;
  };
  for (Case c : {Case{true, 9}, Case{false, 0}}) {
    Screen("");
    HWND h = MakeTopLevel();
    SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (w == h && m == WM_CLOSE && !c.closes) return 0;
      if (w == h && m == WM_DESTROY && c.closes) PostQuitMessage(9);
      return std::nullopt;
    });
    Log().clear();
    EXPECT_EQ(RunLoop(), c.exitCode);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(Messages({WM_CLOSE}, h).size(), 1u);
  }
}

}  // namespace
}  // namespace user_test
