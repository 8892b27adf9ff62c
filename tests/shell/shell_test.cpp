// The shell in this process on the in-memory screen: task bar and work area, full
// screen, the menu bar and command bar with their buttons, tooltips, the input panel and
// dialog set-up. The test program's resources (menu 102, tool-bar record 102, string 302,
// bitmap 114) are embedded in this executable.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "test_support/headless_screen.h"
#include "test_support/pump.h"
#include "user/system.h"

namespace {

using namespace std::chrono_literals;

struct Received {
  UINT message;
  WPARAM wParam;
};
std::vector<Received> received;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_CLOSE || message == WM_CHAR || message == WM_SIZE) {
    received.push_back({message, wParam});
    if (message == WM_CLOSE) return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    now_ = std::chrono::steady_clock::time_point{} + 1h;
    shell::SetClockForTests([this] { return now_; });
    test_support::InstallScreenWithShell();
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = u"ShellOwner";
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, u"ShellOwner", u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner_);
    Pump();
    received.clear();
  }
  void TearDown() override {
    test_support::RemoveScreen();
    shell::SetClockForTests(nullptr);
  }

  static void Pump() { test_support::PumpMessages(); }
  static void Stylus(display::EventKind kind, int x, int y) {
    test_support::Stylus(kind, x, y);
    Pump();
  }
  static void Tap(POINT p) {
    Stylus(display::EventKind::StylusDown, p.x, p.y);
    Stylus(display::EventKind::StylusUp, p.x, p.y);
  }
  void Wait(std::chrono::milliseconds ms) {
    now_ += ms;
    shell::RunIdleChecks();
    Pump();
  }

  HWND MenuBar(DWORD flags = SHCMBF_HIDESIPBUTTON) {
    SHMENUBARINFO info{};
    info.cbSize = 32;
    info.hwndParent = owner_;
    info.dwFlags = flags;
    info.nToolBarId = 102;
    info.hInstRes = GetModuleHandleW(nullptr);
    EXPECT_TRUE(SHCreateMenuBar(&info));
    AddButtons(info.hwndMB);
    Pump();
    return info.hwndMB;
  }
  static void AddButtons(HWND bar) {
    static WCHAR tips[7][16] = {u"Previous Day", u"Today", u"Next Day", u"Choose Font",
                                u"Search", u"Search Again", u"Choose Article"};
    LPWSTR list[8] = {nullptr, tips[0], tips[1], tips[2], tips[3], tips[4], tips[5], tips[6]};
    SendMessageW(bar, TB_SETTOOLTIPS, 8, LPARAM(list));
    CommandBar_AddBitmap(bar, GetModuleHandleW(nullptr), 114, 7, 16, 16);
    TBBUTTON buttons[7] = {};
    for (int i = 0; i < 7; ++i) {
      buttons[i].iBitmap = i;
      buttons[i].idCommand = kCommands[i];
      buttons[i].fsState = TBSTATE_ENABLED;
      buttons[i].iString = -1;
    }
    SendMessageW(bar, TB_ADDBUTTONSW, 7, LPARAM(buttons));
  }
  // The centre of a button on the screen.
  static POINT ButtonCentre(HWND bar, int index) {
    RECT r{};
    SendMessageW(bar, TB_GETITEMRECT, WPARAM(index), LPARAM(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
  }
  static RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  static std::vector<WPARAM> Commands() {
    std::vector<WPARAM> ids;
    for (const auto& r : received)
      if (r.message == WM_COMMAND) ids.push_back(LOWORD(r.wParam));
    return ids;
  }
  static HWND ToolTip() { return FindWindowW(u"ToolTip", nullptr); }
  static std::u16string TextOf(HWND window) {
    WCHAR text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
  }

  static constexpr int kCommands[7] = {110, 108, 109, 40006, 116, 117, 107};
  HWND owner_ = nullptr;
  std::chrono::steady_clock::time_point now_;
};

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

// ---- Task bar and work area ---------------------------------------------------------------

TEST_F(Shell, TheTaskBarTopsTheScreenAndWindowsFillTheRest) {
  HWND bar = FindWindowW(u"HHTaskBar", u"");
  ASSERT_TRUE(bar);
  EXPECT_TRUE(IsWindowVisible(bar));
  ExpectRect(WindowRect(bar), 0, 0, 240, 26);
  ExpectRect(user::WorkArea(), 0, 26, 240, 320);
  ExpectRect(WindowRect(owner_), 0, 26, 240, 320);
  EXPECT_EQ(user::MainWindow(), owner_) << "the task bar is never the main window";
}

TEST_F(Shell, HidingTheTaskBarGivesTheWholeScreen) {
  HWND bar = FindWindowW(u"HHTaskBar", u"");
  ShowWindow(bar, SW_HIDE);
  Pump();
  ExpectRect(user::WorkArea(), 0, 0, 240, 320);
  ExpectRect(WindowRect(owner_), 0, 0, 240, 320);
  bool sized = false;
  for (const auto& r : received) sized |= r.message == WM_SIZE;
  EXPECT_TRUE(sized) << "the window heard of its new size";
  ShowWindow(bar, SW_SHOW);
  Pump();
  ExpectRect(user::WorkArea(), 0, 26, 240, 320);
  ExpectRect(WindowRect(owner_), 0, 26, 240, 320);
}

TEST_F(Shell, FullScreenFlagsHideAndShowTheTaskBarAndItsParts) {
  HWND bar = FindWindowW(u"HHTaskBar", u"");
  HWND menuBar = MenuBar(0);
  auto startIconShown = [] {
    // The start icon's first square, left of the title.
    uint32_t pixel = user::ComposeScreen()[size_t(8) * 240 + 6];
    return pixel != 0x003090;
  };
  auto sipButtonShown = [&] {
    return shell::DescribeBar(menuBar).find("input-panel-button") != std::string::npos;
  };
  ASSERT_TRUE(startIconShown());
  ASSERT_TRUE(sipButtonShown());

  EXPECT_TRUE(SHFullScreen(owner_, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
  Pump();
  EXPECT_FALSE(IsWindowVisible(bar));
  ExpectRect(user::WorkArea(), 0, 0, 240, 320);
  EXPECT_FALSE(sipButtonShown());

  EXPECT_TRUE(SHFullScreen(owner_, SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON));
  Pump();
  EXPECT_TRUE(IsWindowVisible(bar));
  ExpectRect(user::WorkArea(), 0, 26, 240, 320);
  EXPECT_TRUE(startIconShown());
  EXPECT_FALSE(sipButtonShown());
  SHFullScreen(owner_, SHFS_HIDESTARTICON);
  Pump();
  EXPECT_FALSE(startIconShown());

  EXPECT_TRUE(SHFullScreen(owner_, SHFS_SHOWSIPBUTTON));
  EXPECT_TRUE(sipButtonShown());
  EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
  EXPECT_TRUE(IsWindowVisible(bar)) << "a call without a window changes nothing";
}

// ---- Menu bar -------------------------------------------------------------------------------

TEST_F(Shell, TheMenuBarSitsAtTheBottomWithItsGoButton) {
  HWND bar = MenuBar();
  ASSERT_TRUE(bar);
  ExpectRect(WindowRect(bar), 0, 294, 240, 320);
  EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 8);
  TBBUTTON go{};
  ASSERT_TRUE(SendMessageW(bar, TB_GETBUTTON, 0, LPARAM(&go)));
  EXPECT_EQ(go.idCommand, 40001);
  EXPECT_EQ(go.fsStyle, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE);
  EXPECT_NE(shell::DescribeBar(bar).find("text=\"Go\""), std::string::npos);

  HMENU popup = HMENU(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 40001));
  ASSERT_TRUE(popup);
  EXPECT_EQ(GetMenuItemCount(popup), 4);
  EXPECT_EQ(GetMenuItemID(popup, 1), 108u);
  EXPECT_FALSE(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 12345)) << "no such button";
}

TEST_F(Shell, SHCreateMenuBarRefusesWhatItCannotBuild) {
  struct Case {
    const char* what;
    DWORD size;
    bool parent;
    UINT toolBar;
  };
  const Case cases[] = {
      {"record too small", 20, true, 102},
      {"no parent", 32, false, 102},
      {"no such tool-bar resource", 32, true, 999},
  };
  for (const auto& c : cases) {
    SHMENUBARINFO info{};
    info.cbSize = c.size;
    info.hwndParent = c.parent ? owner_ : nullptr;
    info.nToolBarId = c.toolBar;
    info.hInstRes = GetModuleHandleW(nullptr);
    EXPECT_FALSE(SHCreateMenuBar(&info)) << c.what;
    EXPECT_FALSE(info.hwndMB) << c.what;
  }
  EXPECT_FALSE(FindWindowW(u"MenuBar", nullptr)) << "no bar was left behind";
  SHMENUBARINFO own{};
  own.cbSize = sizeof own;
  own.hwndParent = owner_;
  own.nToolBarId = 102;
  own.hInstRes = GetModuleHandleW(nullptr);
  EXPECT_TRUE(SHCreateMenuBar(&own)) << "our own record size";
}

TEST_F(Shell, EachButtonSendsItsCommandToTheOwner) {
  HWND bar = MenuBar();
  for (int i = 0; i < 7; ++i) {
    received.clear();
    Tap(ButtonCentre(bar, i + 1));
    EXPECT_EQ(Commands(), std::vector<WPARAM>{WPARAM(kCommands[i])}) << "button " << i + 1;
  }
}

TEST_F(Shell, APressOnlyCountsWhenReleasedOnAnEnabledButton) {
  HWND bar = MenuBar();
  POINT today = ButtonCentre(bar, 2), next = ButtonCentre(bar, 3);
  Stylus(display::EventKind::StylusDown, today.x, today.y);
  Stylus(display::EventKind::StylusMove, next.x, next.y);
  Stylus(display::EventKind::StylusUp, next.x, next.y);
  EXPECT_TRUE(Commands().empty()) << "released on another button";

  EXPECT_TRUE(SendMessageW(bar, TB_ENABLEBUTTON, 108, MAKELPARAM(FALSE, 0)));
  EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, 108, 0));
  Tap(today);
  EXPECT_TRUE(Commands().empty()) << "a disabled button";
  SendMessageW(bar, TB_ENABLEBUTTON, 108, MAKELPARAM(TRUE, 0));
  Tap(today);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{108});
  EXPECT_EQ(SendMessageW(bar, TB_COMMANDTOINDEX, 109, 0), 3);
  EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 4242, 0), -1);
}

// ---- Tooltips -----------------------------------------------------------------------------------

TEST_F(Shell, PressAndHoldShowsTheTooltipUntilRelease) {
  HWND bar = MenuBar();
  POINT today = ButtonCentre(bar, 2);
  Stylus(display::EventKind::StylusDown, today.x, today.y);
  Wait(300ms);
  EXPECT_FALSE(ToolTip()) << "not yet";
  Wait(300ms);
  HWND tip = ToolTip();
  ASSERT_TRUE(tip);
  EXPECT_EQ(TextOf(tip), u"Today");
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_LE(WindowRect(tip).bottom, WindowRect(bar).top) << "above the bottom bar";
  Stylus(display::EventKind::StylusUp, today.x, today.y);
  EXPECT_FALSE(ToolTip());
  EXPECT_EQ(Commands(), std::vector<WPARAM>{108});
}

TEST_F(Shell, HoverShowsTheTooltipAndLeavingHidesIt) {
  HWND bar = MenuBar();
  POINT next = ButtonCentre(bar, 3), font = ButtonCentre(bar, 4), go = ButtonCentre(bar, 0);
  Stylus(display::EventKind::StylusMove, next.x, next.y);
  Wait(600ms);
  ASSERT_TRUE(ToolTip());
  EXPECT_EQ(TextOf(ToolTip()), u"Next Day");

  Stylus(display::EventKind::StylusMove, font.x, font.y);
  EXPECT_FALSE(ToolTip()) << "another button starts over";
  Wait(600ms);
  ASSERT_TRUE(ToolTip());
  EXPECT_EQ(TextOf(ToolTip()), u"Choose Font");

  Stylus(display::EventKind::StylusMove, 100, 100);  // off the bar, over the window
  Wait(20ms);
  EXPECT_FALSE(ToolTip());

  Stylus(display::EventKind::StylusMove, go.x, go.y);
  Wait(600ms);
  EXPECT_FALSE(ToolTip()) << "the menu button's entry is empty";
}

TEST_F(Shell, TheIdleLoopWakesWhenAHoveredButtonsTooltipIsDue) {
  shell::SetClockForTests(nullptr);
  test_support::InstallScreenWithShell("wait 20000\n");
  owner_ = CreateWindowExW(0, u"ShellOwner", u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  HWND bar = MenuBar();
  POINT next = ButtonCentre(bar, 3);
  Stylus(display::EventKind::StylusMove, next.x, next.y);
  bool shown = false;
  user::AddIdleHook([&] {
    if (!ToolTip()) return;
    shown = true;
    PostQuitMessage(0);
  });
  auto start = std::chrono::steady_clock::now();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  EXPECT_TRUE(shown);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "the loop slept past the delay";
}

// ---- Input panel ---------------------------------------------------------------------------------

TEST_F(Shell, TheInputPanelTypesIntoTheFocusedField) {
  HWND bar = MenuBar(0);
  HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 4, 4, 150, 20,
                              owner_, HMENU(1013), nullptr, nullptr);
  ASSERT_TRUE(edit);
  SetFocus(edit);
  RECT sip{};
  std::string listing = shell::DescribeBar(bar);
  ASSERT_NE(listing.find("input-panel-button"), std::string::npos);
  Tap(POINT{235, 307});  // the input-panel button at the bar's right end
  HWND panel = FindWindowW(u"InputPanel", nullptr);
  ASSERT_TRUE(panel);
  ASSERT_TRUE(IsWindowVisible(panel));
  GetWindowRect(panel, &sip);
  EXPECT_EQ(sip.bottom, WindowRect(bar).top) << "just above the menu bar";
  EXPECT_EQ(GetFocus(), edit) << "the panel takes no focus";

  // Keys are 20 x 16: the 'a' row is the third, the bottom row has shift, space, * ? and
  // backspace.
  auto key = [&](int column, int row) { return POINT{column * 20 + 10, sip.top + row * 16 + 8}; };
  for (POINT p : {key(0, 2), key(8, 4), key(9, 4), key(4, 4), key(0, 4), key(0, 2), key(0, 0)})
    Tap(p);
  EXPECT_EQ(TextOf(edit), u"a*? A!");
  Tap(key(11, 4));  // backspace
  EXPECT_EQ(TextOf(edit), u"a*? A");

  Tap(POINT{235, 307});
  EXPECT_FALSE(IsWindowVisible(FindWindowW(u"InputPanel", nullptr)));
}

TEST_F(Shell, ProgramsRaiseAndLowerTheInputPanel) {
  auto shown = [] { return IsWindowVisible(FindWindowW(u"InputPanel", nullptr)) != FALSE; };
  struct Step {
    const char* what;
    std::function<BOOL()> call;
    bool shownAfter;
  };
  const Step steps[] = {
      {"SipShowIM on", [] { return SipShowIM(SIPF_ON); }, true},
      {"SipShowIM off", [] { return SipShowIM(SIPF_OFF); }, false},
      {"preference up", [this] { return SHSipPreference(owner_, SIP_UP); }, true},
      {"preference unchanged", [this] { return SHSipPreference(owner_, SIP_UNCHANGED); }, true},
      {"preference down", [this] { return SHSipPreference(owner_, SIP_DOWN); }, false},
      {"preference up again", [this] { return SHSipPreference(owner_, SIP_UP); }, true},
      {"forced down", [this] { return SHSipPreference(owner_, SIP_FORCEDOWN); }, false},
  };
  for (const auto& step : steps) {
    EXPECT_TRUE(step.call()) << step.what;
    Pump();
    EXPECT_EQ(shown(), step.shownAfter) << step.what;
  }
  SipShowIM(SIPF_ON);
  SHACTIVATEINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SHHandleWMSettingChange(owner_, SPI_SETSIPINFO, 0, &info));
  EXPECT_EQ(info.fSipUp, 1u);
  EXPECT_FALSE(SHHandleWMSettingChange(owner_, 0, 0, &info)) << "not about the panel";
}

// ---- Dialog set-up -------------------------------------------------------------------------------

TEST_F(Shell, SHInitDialogGivesDoneButtonSizeThatFollowsTheScreenAndLowersThePanel) {
  HWND dialog = CreateWindowExW(0, u"ShellOwner", u"Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                30, 60, 150, 100, owner_, nullptr, nullptr, nullptr);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON};
  EXPECT_TRUE(SHInitDialog(&info));
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & LONG(WS_EX_CAPTIONOKBTN));
  ExpectRect(WindowRect(dialog), 30, 60, 180, 160);  // keeps its place without a size flag

  for (DWORD flag : {DWORD(SHIDIF_SIZEDLG), DWORD(SHIDIF_SIZEDLGFULLSCREEN),
                     DWORD(SHIDIF_FULLSCREENNOMENUBAR)}) {
    MoveWindow(dialog, 30, 60, 150, 100, FALSE);
    SHINITDLGINFO sized{SHIDIM_FLAGS, dialog, flag};
    EXPECT_TRUE(SHInitDialog(&sized));
    ExpectRect(WindowRect(dialog), 0, 26, 240, 320);
  }

  // The sized dialog follows the screen's size, until it is placed otherwise.
  display::Event resize;
  resize.kind = display::EventKind::Resize;
  resize.width = 300, resize.height = 400;
  user::HandleDisplayEvent(resize);
  ExpectRect(WindowRect(dialog), 0, 26, 300, 400);
  MoveWindow(dialog, 30, 60, 150, 100, FALSE);
  resize.width = 240, resize.height = 320;
  user::HandleDisplayEvent(resize);
  ExpectRect(WindowRect(dialog), 30, 60, 180, 160);

  SipShowIM(SIPF_ON);
  SHINITDLGINFO down{SHIDIM_FLAGS, dialog, SHIDIF_SIPDOWN};
  EXPECT_TRUE(SHInitDialog(&down));
  EXPECT_FALSE(IsWindowVisible(FindWindowW(u"InputPanel", nullptr)));

  SHINITDLGINFO noMask{0, dialog, SHIDIF_SIZEDLG};
  MoveWindow(dialog, 30, 60, 150, 100, FALSE);
  EXPECT_TRUE(SHInitDialog(&noMask));
  ExpectRect(WindowRect(dialog), 30, 60, 180, 160);
  SHINITDLGINFO gone{SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLG};
  EXPECT_FALSE(SHInitDialog(&gone));
  EXPECT_FALSE(SHInitDialog(nullptr));
}

// ---- Command bar ---------------------------------------------------------------------------------

TEST_F(Shell, TheCommandBarTopsTheClientAreaWithMenuButtonsAndClose) {
  HWND bar = CommandBar_Create(GetModuleHandleW(nullptr), owner_, 1);
  ASSERT_TRUE(bar);
  EXPECT_EQ(GetParent(bar), owner_);
  EXPECT_EQ(CommandBar_Height(bar), 26);
  ExpectRect(WindowRect(bar), 0, 26, 240, 52);
  EXPECT_TRUE(CommandBar_InsertMenubar(bar, GetModuleHandleW(nullptr), 102, 0));
  EXPECT_EQ(CommandBar_AddBitmap(bar, GetModuleHandleW(nullptr), 114, 7, 16, 16), 0);
  EXPECT_EQ(CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, -7, 16, 16), 7);
  EXPECT_EQ(CommandBar_AddBitmap(bar, GetModuleHandleW(nullptr), 999, 3, 16, 16), -1);

  HMENU menu = CommandBar_GetMenu(bar, 0);
  ASSERT_TRUE(menu);
  HMENU go = GetSubMenu(menu, 0);
  EXPECT_EQ(GetMenuItemID(go, 0), 40004u);
  EXPECT_NE(shell::DescribeBar(bar).find("text=\"Go\""), std::string::npos);
  EXPECT_EQ(CheckMenuItem(menu, 108, MF_CHECKED), DWORD(MF_UNCHECKED))
      << "the program checks items through the bar's menu";

  AddButtons(bar);
  Pump();
  Tap(ButtonCentre(bar, 3));
  EXPECT_EQ(Commands(), std::vector<WPARAM>{109});

  EXPECT_EQ(shell::DescribeBar(bar).find("close-button"), std::string::npos);
  EXPECT_TRUE(CommandBar_AddAdornments(bar, 0, 0));
  Pump();
  received.clear();
  Tap(POINT{235, 39});
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, UINT(WM_CLOSE));

  EXPECT_TRUE(CommandBar_Show(bar, FALSE));
  EXPECT_FALSE(IsWindowVisible(bar));
  CommandBar_Destroy(bar);
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(CommandBar_Height(bar), 0);
}

}  // namespace
