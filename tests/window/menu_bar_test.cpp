// The reader's bars on the in-memory screen: which kind the system version and the
// publisher setting give, where they sit, their buttons, pictures and tooltips, the
// Reverse and Bookmark check marks, and the dialogs' set-up in both screen modes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "window/menu_bar.h"
#include "platform.h"
#include "resources/resource_ids.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "test_support/headless_screen.h"
#include "test_support/pump.h"
#include "user/system.h"

namespace {

constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;
constexpr int TaskBarHeight = 26;

struct ButtonRow {
  int image;
  int command;
  const char* tip;
};
constexpr ButtonRow Buttons[7] = {
    {0, IDM_PREVIOUS_ARTICLE, "Previous Day"}, {1, IDM_TODAY, "Today"},
    {2, IDM_NEXT_ARTICLE, "Next Day"},         {3, IDM_FONT, "Choose Font"},
    {4, IDM_SEARCH, "Search"},                 {5, IDM_SEARCH_AGAIN, "Search Again"},
    {6, IDM_CHOOSE_ARTICLE, "Choose Article"},
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::InstallScreenWithShell("", ScreenWidth, ScreenHeight);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = u"MenuBarOwner";
    RegisterClassW(&wc);
    std::memset(&App, 0, sizeof App);
    FullScreen = 0;
    App.Instance = GetModuleHandleW(nullptr);
    App.MainWindow = CreateWindowExW(0, u"MenuBarOwner", u"Owner", WS_VISIBLE, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                     nullptr, nullptr, nullptr);
    ASSERT_TRUE(App.MainWindow);
    Pump();
  }
  void TearDown() override {
    test_support::RemoveScreen();
    ::unsetenv("VINTREL_OS_VERSION");
    std::memset(&App, 0, sizeof App);
    FullScreen = 0;
  }

  static void Pump() { test_support::PumpMessages(); }
  // The bar as the main window's creation builds it, on that system version.
  static void Build(const char* version, LONG menuBarOnBottom) {
    ::setenv("VINTREL_OS_VERSION", version, 1);
    App.MenuBarOnBottom = menuBarOnBottom;
    CreateMenuBar();
    Pump();
  }
  static std::u16string ClassOf(HWND window) {
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
  }
  static RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  static bool Checked(UINT id) {
    return (GetMenuState(CommandMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  // The tooltip of each button of the bar, "" where it has none, from the bar's listing.
  static std::vector<std::string> ToolTips(HWND bar) {
    std::vector<std::string> tips;
    std::string listing = shell::DescribeBar(bar);
    for (size_t at = listing.find("button index="); at != std::string::npos;
         at = listing.find("button index=", at + 1)) {
      std::string line = listing.substr(at, listing.find('\n', at) - at);
      size_t tip = line.find(" tip=\"");
      tips.push_back(tip == std::string::npos
                         ? ""
                         : line.substr(tip + 6, line.size() - tip - 7));
    }
    return tips;
  }
};

// ---- Which bar --------------------------------------------------------------------------

struct BarKindCase {
  const char* version;
  LONG menuBarOnBottom;  // the publisher setting
  bool bottomBar;
};

class BarKind : public MenuBarTest, public ::testing::WithParamInterface<BarKindCase> {};

TEST_P(BarKind, FollowsTheVersionAndThenThePublisherSetting) {
  const BarKindCase& c = GetParam();
  Build(c.version, c.menuBarOnBottom);
  ASSERT_TRUE(App.MenuBar);
  EXPECT_EQ(ClassOf(App.MenuBar), c.bottomBar ? u"MenuBar" : u"CommandBar");
  EXPECT_EQ(App.MenuBarOnBottom, c.bottomBar ? 1 : 0);
  EXPECT_TRUE(IsWindowVisible(App.MenuBar));
}

INSTANTIATE_TEST_SUITE_P(Versions, BarKind,
                         ::testing::Values(BarKindCase{"4.20", 0, false},
                                           BarKindCase{"4.20", 1, true},
                                           BarKindCase{"3.0", 0, false},
                                           BarKindCase{"4.21", 0, true},
                                           BarKindCase{"5.0", 0, true},
                                           BarKindCase{"6.0", 0, true}),
                         [](const auto& info) {
                           std::string name = std::string("Version") + info.param.version +
                                              "Setting" +
                                              std::to_string(info.param.menuBarOnBottom);
                           for (char& ch : name)
                             if (ch == '.') ch = '_';
                           return name;
                         });

// ---- Where it sits ------------------------------------------------------------------------

TEST_F(MenuBarTest, BottomBarLeavesAScrollBarsWidthFreeAndGivesItsHeight) {
  Build("5.0", 0);
  RECT r = WindowRect(App.MenuBar);
  EXPECT_GT(App.MenuBarHeight, 0);
  EXPECT_EQ(App.MenuBarHeight, r.bottom - r.top);
  EXPECT_EQ(r.bottom, ScreenHeight);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, ScreenWidth - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0);
}

TEST_F(MenuBarTest, CommandBarTopsTheMainWindowsClientArea) {
  Build("4.20", 0);
  EXPECT_EQ(GetParent(App.MenuBar), App.MainWindow);
  EXPECT_GT(App.MenuBarHeight, 0);
  EXPECT_EQ(App.MenuBarHeight, CommandBar_Height(App.MenuBar));
  RECT bar = WindowRect(App.MenuBar), owner = WindowRect(App.MainWindow);
  EXPECT_EQ(bar.top, owner.top);
  EXPECT_EQ(bar.left, owner.left);
  EXPECT_EQ(bar.right, owner.right);
}

// ---- Buttons, pictures, tooltips ----------------------------------------------------------

class BothBars : public MenuBarTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BothBars, MenuButtonComesFirstThenTheSevenButtons) {
  Build(GetParam(), 0);
  ASSERT_EQ(SendMessageW(App.MenuBar, TB_BUTTONCOUNT, 0, 0), 8);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE("button " + std::to_string(i + 1));
    TBBUTTON b{};
    ASSERT_TRUE(SendMessageW(App.MenuBar, TB_GETBUTTON, WPARAM(i + 1), LPARAM(&b)));
    EXPECT_EQ(b.iBitmap, Buttons[i].image);
    EXPECT_EQ(b.idCommand, Buttons[i].command);
    EXPECT_EQ(b.fsState, TBSTATE_ENABLED);
    EXPECT_EQ(b.fsStyle, TBSTYLE_BUTTON);
  }
}

TEST_P(BothBars, TooltipsFollowTheButtonsAndTheMenuButtonHasNone) {
  Build(GetParam(), 0);
  std::vector<std::string> tips = ToolTips(App.MenuBar);
  ASSERT_EQ(tips.size(), 8u);
  EXPECT_EQ(tips[0], "");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(tips[size_t(i) + 1], Buttons[i].tip);
}

TEST_P(BothBars, EachButtonShowsItsOwnPicture) {
  Build(GetParam(), 0);
  HBITMAP strip = LoadBitmapW(App.Instance, MAKEINTRESOURCEW(IDB_TOOLBAR));
  ASSERT_TRUE(strip);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, strip);
  const std::vector<uint32_t>& screen = user::ComposeScreen();
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE("button " + std::to_string(i + 1));
    RECT r{};
    ASSERT_TRUE(SendMessageW(App.MenuBar, TB_GETITEMRECT, WPARAM(i + 1), LPARAM(&r)));
    POINT corner{(r.left + r.right - 16) / 2, (r.top + r.bottom - 16) / 2};
    ClientToScreen(App.MenuBar, &corner);
    int differing = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        COLORREF c = GetPixel(memory, Buttons[i].image * 16 + x, y);
        uint32_t expected = uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        differing += screen[size_t(corner.y + y) * ScreenWidth + size_t(corner.x + x)] != expected;
      }
    EXPECT_EQ(differing, 0);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(strip);
}

TEST_F(MenuBarTest, GoButtonOfTheBottomBarOpensTheGoPopup) {
  Build("5.0", 0);
  TBBUTTON b{};
  ASSERT_TRUE(SendMessageW(App.MenuBar, TB_GETBUTTON, 0, LPARAM(&b)));
  EXPECT_EQ(b.idCommand, IDM_GO_BUTTON);
  HMENU menu = CommandMenu();
  ASSERT_TRUE(menu);
  EXPECT_EQ(GetMenuItemCount(menu), 17);
  EXPECT_EQ(GetMenuItemID(menu, 0), 40004u);
}

TEST_F(MenuBarTest, CommandBarMenuHoldsTheGoPopup) {
  Build("4.20", 0);
  HMENU menu = CommandMenu();
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 17);
  EXPECT_NE(shell::DescribeBar(App.MenuBar).find("text=\"Go\""), std::string::npos);
}

// ---- Full screen ----------------------------------------------------------------------------

struct AdornmentCase {
  const char* version;
  DWORD fullScreen;
  bool closeButton;
};

class Adornment : public MenuBarTest, public ::testing::WithParamInterface<AdornmentCase> {};

TEST_P(Adornment, OnlyAFullScreenCommandBarGetsTheCloseButton) {
  FullScreen = GetParam().fullScreen;
  Build(GetParam().version, 0);
  bool shown = shell::DescribeBar(App.MenuBar).find("close-button") != std::string::npos;
  EXPECT_EQ(shown, GetParam().closeButton);
}

INSTANTIATE_TEST_SUITE_P(Modes, Adornment,
                         ::testing::Values(AdornmentCase{"4.20", 1, true},
                                           AdornmentCase{"4.20", 0, false},
                                           AdornmentCase{"5.0", 1, false},
                                           AdornmentCase{"5.0", 0, false}),
                         [](const auto& info) {
                           std::string name = std::string(info.param.version[0] == '4'
                                                              ? "CommandBar"
                                                              : "MenuBar") +
                                              (info.param.fullScreen ? "FullScreen" : "Normal");
                           return name;
                         });

// ---- No bar -----------------------------------------------------------------------------------

TEST_F(MenuBarTest, WithoutAMenuBarNothingIsMarkedAndReverseStillToggles) {
  // The shell refuses a bar without a window to belong to.
  for (DWORD flags : {DWORD(0), DWORD(Reverse), DefaultFlags}) {
    SCOPED_TRACE(flags);
    std::memset(&App, 0, sizeof App);
    App.Instance = GetModuleHandleW(nullptr);
    App.Flags = flags;
    Build("5.0", 0);
    EXPECT_FALSE(App.MenuBar);
    EXPECT_EQ(App.MenuBarHeight, 0);
    EXPECT_FALSE(CommandMenu());

    UpdateReverseCheck(nullptr, 1);
    EXPECT_EQ(App.Flags, flags) << "nothing to mark: Reverse stays";
    UpdateReverseCheck(nullptr, 0);
    EXPECT_EQ(App.Flags, flags ^ Reverse);
    UpdateReverseCheck(nullptr, 0);
    EXPECT_EQ(App.Flags, flags);
    UpdateBookmarkCheck(nullptr, 1);
  }
}

// ---- Check marks ----------------------------------------------------------------------------

TEST_F(MenuBarTest, SetMenuCheckSetsOrTogglesByCommand) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, IDM_REVERSE, u"Re&verse");
  struct Case {
    int set, checked;
    bool before;
    int result;
  };
  const Case cases[] = {{1, 1, false, 1}, {1, 0, true, 0}, {1, 5, false, 1},
                        {1, 1, true, 1},  {0, 0, false, 1}, {0, 1, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE("set " + std::to_string(c.set) + " checked " + std::to_string(c.checked) +
                 " before " + std::to_string(c.before));
    CheckMenuItem(menu, IDM_REVERSE, c.before ? MF_CHECKED : MF_UNCHECKED);
    EXPECT_EQ(SetMenuCheck(menu, c.set, IDM_REVERSE, c.checked), c.result);
    EXPECT_EQ((GetMenuState(menu, IDM_REVERSE, MF_BYCOMMAND) & MF_CHECKED) != 0, c.result == 1);
  }
  EXPECT_EQ(SetMenuCheck(menu, 0, 999, 0), 0) << "an item that is not there is not checked";
  DestroyMenu(menu);
}

TEST_P(BothBars, ReverseCheckFollowsFlagsAndTwoTogglesRestoreBoth) {
  for (DWORD flags : {DefaultFlags, DefaultFlags | Reverse}) {
    SCOPED_TRACE(flags);
    if (App.MenuBar) DestroyWindow(App.MenuBar);
    App.MenuBar = nullptr;
    App.Flags = flags;
    Build(GetParam(), 0);
    bool reversed = (flags & Reverse) != 0;
    UpdateReverseCheck(App.MainWindow, 1);
    EXPECT_EQ(App.Flags, flags);
    EXPECT_EQ(Checked(IDM_REVERSE), reversed);

    UpdateReverseCheck(App.MainWindow, 0);
    EXPECT_EQ(App.Flags, flags ^ Reverse);
    EXPECT_EQ(Checked(IDM_REVERSE), !reversed);

    UpdateReverseCheck(App.MainWindow, 0);
    EXPECT_EQ(App.Flags, flags);
    EXPECT_EQ(Checked(IDM_REVERSE), reversed);
  }
}

TEST_P(BothBars, BookmarkCheckFollowsTheCurrentLesson) {
  Build(GetParam(), 0);
  WORD list[] = {12, 200, 0};
  App.BookmarkList = list;
  App.BookmarkCount = 2;
  for (WORD lesson : {WORD(200), WORD(13), WORD(12), WORD(0), WORD(200)}) {
    SCOPED_TRACE(lesson);
    App.Lesson = lesson;
    UpdateBookmarkCheck(App.MainWindow, 1);
    EXPECT_EQ(Checked(IDM_BOOKMARK), lesson == 12 || lesson == 200);
  }
  EXPECT_FALSE(Checked(IDM_REVERSE)) << "only the Bookmark item changes";
  App.BookmarkList = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Kinds, BothBars, ::testing::Values("4.20", "5.0"),
                         [](const auto& info) {
                           return std::string(info.param[0] == '4' ? "CommandBar" : "MenuBar");
                         });

// ---- Dialogs ----------------------------------------------------------------------------------

class DialogScreen : public MenuBarTest {
 protected:
  HWND Dialog(const RECT& r) {
    HWND dialog = CreateWindowExW(0, u"MenuBarOwner", u"Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  App.MainWindow, nullptr, nullptr, nullptr);
    EXPECT_TRUE(dialog);
    return dialog;
  }
  static bool HasDoneButton(HWND dialog) {
    return (DWORD(GetWindowLongW(dialog, GWL_EXSTYLE)) & WS_EX_CAPTIONOKBTN) != 0;
  }
  static constexpr DWORD DialogFlags = SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN |
                                       SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR;
};

TEST_F(DialogScreen, NormalModeGivesTheDoneButtonBelowTheTaskBar) {
  HWND dialog = Dialog(RECT{10, 60, 200, 250});
  InitDialogScreen(dialog, DialogFlags);
  EXPECT_TRUE(HasDoneButton(dialog));
  RECT r = WindowRect(dialog);
  EXPECT_EQ(r.top, TaskBarHeight) << "the shell's placement is kept";
  EXPECT_EQ(r.bottom, ScreenHeight);
}

TEST_F(DialogScreen, NormalModeWithoutSizingKeepsTheDialogsOwnPlace) {
  HWND dialog = Dialog(RECT{10, 60, 200, 250});
  InitDialogScreen(dialog, 0);
  EXPECT_TRUE(HasDoneButton(dialog));
  RECT r = WindowRect(dialog);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 250);
}

TEST_F(DialogScreen, FullScreenStretchesToTheTopWithoutTheDoneButton) {
  FullScreen = 1;  // the task bar still shows, so only the stretch reaches the top
  HWND dialog = Dialog(RECT{10, 60, 200, 250});
  InitDialogScreen(dialog, DialogFlags);
  EXPECT_FALSE(HasDoneButton(dialog));
  RECT r = WindowRect(dialog);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.bottom, ScreenHeight);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, ScreenWidth);
}

TEST_F(DialogScreen, FullScreenKeepsTheSidesAndTheBottomEdge) {
  FullScreen = 1;
  HWND dialog = Dialog(RECT{10, 60, 200, 250});
  InitDialogScreen(dialog, 0);
  EXPECT_FALSE(HasDoneButton(dialog));
  RECT r = WindowRect(dialog);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 250);
}

}  // namespace
