#include "window/menu_bar.h"

#include "base/app_state.h"
#include "index/bookmarks.h"
#include "resources/resource_ids.h"

namespace {

constexpr int CommandBarId = 1;
constexpr int ButtonCount = 7;

// The handheld's record sizes.
constexpr DWORD VersionInfoSize = 276;
constexpr DWORD MenuBarInfoSize = 32;
constexpr UINT MenuItemInfoSize = 44;

// The tooltips in button order, after an empty one for the menu button.
WCHAR PreviousTip[] = u"Previous Day";
WCHAR TodayTip[] = u"Today";
WCHAR NextTip[] = u"Next Day";
WCHAR FontTip[] = u"Choose Font";
WCHAR SearchTip[] = u"Search";
WCHAR SearchAgainTip[] = u"Search Again";
WCHAR ChooseArticleTip[] = u"Choose Article";
LPWSTR ToolTips[ButtonCount + 1] = {nullptr,   PreviousTip, TodayTip,       NextTip,
                                    FontTip,   SearchTip,   SearchAgainTip, ChooseArticleTip};

constexpr TBBUTTON Button(int image, int command) {
  return TBBUTTON{image, command, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, -1};
}
// Previous Article, Today, Next Article, Font, Search, Search Again, Choose Article.
constexpr TBBUTTON Buttons[ButtonCount] = {
    Button(0, IDM_PREVIOUS_ARTICLE), Button(1, IDM_TODAY),       Button(2, IDM_NEXT_ARTICLE),
    Button(3, IDM_FONT),             Button(4, IDM_SEARCH),      Button(5, IDM_SEARCH_AGAIN),
    Button(6, IDM_CHOOSE_ARTICLE)};

// From 4.21 on the shell's menu bar at the bottom is the only kind of bar.
bool BottomBarRequired() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = VersionInfoSize;
  if (!GetVersionExW(&version)) return false;
  return (version.dwMajorVersion == 4 && version.dwMinorVersion >= 21) ||
         version.dwMajorVersion > 4;
}

// The menu bar at the bottom of the screen, leaving a scroll bar's width free at its
// right end. False when the shell could not make it.
bool CreateBottomBar() {
  SHMENUBARINFO info{};
  info.cbSize = MenuBarInfoSize;
  info.hwndParent = App.MainWindow;
  info.dwFlags = SHCMBF_HIDESIPBUTTON;
  info.nToolBarId = IDR_GO_MENU;
  info.hInstRes = App.Instance;
  if (!SHCreateMenuBar(&info)) return false;
  App.MenuBar = info.hwndMB;
  RECT r{};
  GetWindowRect(App.MenuBar, &r);
  App.MenuBarHeight = r.bottom - r.top;
  MoveWindow(App.MenuBar, r.left, r.top, r.right - GetSystemMetrics(SM_CXVSCROLL) - r.left,
             r.bottom - r.top, TRUE);
  return true;
}

// The command bar at the top of the main window's client area, with the menu.
bool CreateTopBar() {
  App.MenuBar = CommandBar_Create(App.Instance, App.MainWindow, CommandBarId);
  if (!App.MenuBar) return false;
  App.MenuBarHeight = CommandBar_Height(App.MenuBar);
  CommandBar_InsertMenubar(App.MenuBar, App.Instance, IDR_GO_MENU, 0);
  return true;
}

// The tooltips, the button pictures and the seven buttons, then the common controls'
// standard images, which no button uses.
void AddToolButtons() {
  SendMessageW(App.MenuBar, TB_SETTOOLTIPS, ButtonCount + 1, LPARAM(ToolTips));
  CommandBar_AddBitmap(App.MenuBar, App.Instance, IDB_TOOLBAR, ButtonCount, 16, 16);
  SendMessageW(App.MenuBar, TB_ADDBUTTONSW, ButtonCount, LPARAM(Buttons));
  CommandBar_AddBitmap(App.MenuBar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, -ButtonCount, 16, 16);
}

// Whether the item can be read, and if so whether it carries a check mark.
bool ReadCheck(HMENU menu, UINT id, bool& checked) {
  MENUITEMINFOW info{};
  info.cbSize = MenuItemInfoSize;
  info.fMask = MIIM_STATE;
  if (!menu || !GetMenuItemInfoW(menu, id, FALSE, &info)) return false;
  checked = (info.fState & MFS_CHECKED) != 0;
  return true;
}

}  // namespace

void CreateMenuBar() {
  if (BottomBarRequired()) App.MenuBarOnBottom = 1;
  bool made = App.MenuBarOnBottom ? CreateBottomBar() : CreateTopBar();
  if (!made) return;
  AddToolButtons();
  if (FullScreen && !App.MenuBarOnBottom) CommandBar_AddAdornments(App.MenuBar, 0, 0);
  CommandBar_Show(App.MenuBar, TRUE);
}

HMENU CommandMenu() {
  if (!App.MenuBar) return nullptr;
  if (App.MenuBarOnBottom)
    return reinterpret_cast<HMENU>(SendMessageW(App.MenuBar, SHCMBM_GETSUBMENU, 0, IDM_GO_BUTTON));
  return CommandBar_GetMenu(App.MenuBar, 0);
}

int SetMenuCheck(HMENU menu, int set, UINT id, int checked) {
  if (set) {
    CheckMenuItem(menu, id, checked ? MF_CHECKED : MF_UNCHECKED);
    return checked ? 1 : 0;
  }
  bool wasChecked = false;
  if (!ReadCheck(menu, id, wasChecked)) return 0;  // no item: nothing is checked
  CheckMenuItem(menu, id, wasChecked ? MF_UNCHECKED : MF_CHECKED);
  return wasChecked ? 0 : 1;
}

void UpdateBookmarkCheck(HWND, int set) {
  SetMenuCheck(CommandMenu(), set, IDM_BOOKMARK, IsBookmarked());
}

void UpdateReverseCheck(HWND, int set) {
  HMENU menu = CommandMenu();
  int reversed = IsReversed(App.Flags) ? 1 : 0;
  // A toggle flips the item's mark, or the option itself when there is no item to read.
  bool checked = false;
  if (!set) reversed = ReadCheck(menu, IDM_REVERSE, checked) ? !checked : !reversed;
  if (SetMenuCheck(menu, 1, IDM_REVERSE, reversed))
    App.Flags |= Reverse;
  else
    App.Flags &= ~DWORD(Reverse);
}

void InitDialogScreen(HWND dialog, DWORD flags) {
  SHINITDLGINFO info{};
  info.dwMask = SHIDIM_FLAGS;
  info.hDlg = dialog;
  info.dwFlags = flags | (FullScreen ? 0 : SHIDIF_DONEBUTTON);
  SHInitDialog(&info);
  if (!FullScreen) return;
  // From the top of the screen down to the dialog's former bottom edge.
  RECT r{};
  GetWindowRect(dialog, &r);
  MoveWindow(dialog, r.left, 0, r.right - r.left, r.bottom, FALSE);
}
