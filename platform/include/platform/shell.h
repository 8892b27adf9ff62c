// The handheld shell: task bar, menu bar, command bar with tool-bar buttons and
// tooltips, full-screen mode, the input panel, dialog set-up and the web launcher.
#pragma once

#include "platform/types.h"
#include "platform/user.h"

// ---- Common controls: tool-bar buttons ---------------------------------------------------
void InitCommonControls();

#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08

#define TBSTYLE_BUTTON 0x00
#define TBSTYLE_SEP 0x01
#define TBSTYLE_CHECK 0x02
#define TBSTYLE_DROPDOWN 0x08
#define TBSTYLE_AUTOSIZE 0x10

#define I_IMAGENONE (-2)

typedef struct _TBBUTTON {
  int iBitmap;
  int idCommand;
  BYTE fsState;
  BYTE fsStyle;
  BYTE bReserved[2];
  ULONG_PTR dwData;
  INT_PTR iString;
} TBBUTTON, *PTBBUTTON, *LPTBBUTTON;
typedef const TBBUTTON* LPCTBBUTTON;

#define TB_ENABLEBUTTON (WM_USER + 1)
#define TB_CHECKBUTTON (WM_USER + 2)
#define TB_ISBUTTONENABLED (WM_USER + 9)
#define TB_ISBUTTONCHECKED (WM_USER + 10)
#define TB_SETSTATE (WM_USER + 17)
#define TB_GETSTATE (WM_USER + 18)
#define TB_GETBUTTON (WM_USER + 23)
#define TB_BUTTONCOUNT (WM_USER + 24)
#define TB_COMMANDTOINDEX (WM_USER + 25)
#define TB_GETITEMRECT (WM_USER + 29)
#define TB_BUTTONSTRUCTSIZE (WM_USER + 30)
#define TB_ADDBUTTONSW (WM_USER + 68)
#define TB_ADDBUTTONS TB_ADDBUTTONSW
#define TB_SETTOOLTIPS (WM_USER + 81)

// ---- Command bar (at the top of a window's client area) ----------------------------------
#define HINST_COMMCTRL ((HINSTANCE)(LONG_PTR)-1)
#define IDB_STD_SMALL_COLOR 0

HWND CommandBar_Create(HINSTANCE instance, HWND parent, int id);
int CommandBar_Height(HWND bar);
// Adds a menu title for each popup of menu resource menuId at button position `button`.
BOOL CommandBar_InsertMenubar(HWND bar, HINSTANCE instance, WORD menuId, WORD button);
// Adds an image strip; returns the index of its first image, -1 on failure. A negative
// count is accepted and means the same number of images.
int CommandBar_AddBitmap(HWND bar, HINSTANCE instance, int bitmapId, int imageCount,
                         int imageWidth, int imageHeight);
BOOL CommandBar_AddToolTips(HWND bar, UINT count, LPWSTR* tips);
// A close button at the right end that sends WM_CLOSE to the bar's window.
BOOL CommandBar_AddAdornments(HWND bar, DWORD flags, DWORD reserved);
BOOL CommandBar_Show(HWND bar, BOOL show);
HMENU CommandBar_GetMenu(HWND bar, WORD button);
void CommandBar_Destroy(HWND bar);

// ---- Menu bar (at the bottom of the screen) ------------------------------------------------
#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004

typedef struct tagSHMENUBARINFO {
  DWORD cbSize;  // 32 (the handheld's record, through hwndMB) or sizeof(SHMENUBARINFO)
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;
  COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

BOOL SHCreateMenuBar(SHMENUBARINFO* info);
// lParam: a button's command id; returns that button's popup menu.
#define SHCMBM_GETSUBMENU (WM_USER + 401)

// ---- Full screen, dialogs, settings --------------------------------------------------------
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020
BOOL SHFullScreen(HWND window, DWORD state);

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010

typedef struct tagSHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;
BOOL SHInitDialog(PSHINITDLGINFO info);

typedef struct tagSHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;
// WM_SETTINGCHANGE's wParam when the input panel went up or down.
#define SPI_SETSIPINFO 224
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info);

// ---- Input panel ----------------------------------------------------------------------------
typedef enum tagSIPSTATE {
  SIP_UP = 0,
  SIP_DOWN = 1,
  SIP_FORCEDOWN = 2,
  SIP_UNCHANGED = 3,
  SIP_INPUTDIALOG = 4,
} SIPSTATE;
BOOL SHSipPreference(HWND window, SIPSTATE state);

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
BOOL SipShowIM(DWORD flags);

// ---- Launcher ---------------------------------------------------------------------------------
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

typedef struct _SHELLEXECUTEINFO {
  DWORD cbSize;  // 60 (the handheld's record) or sizeof(SHELLEXECUTEINFO)
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  LPVOID lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
} SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;
#define ERROR_NO_ASSOCIATION 1155L
#define SE_ERR_NOASSOC 31
// Opens a web address (http:// or https://, without control characters) in the desktop's
// browser through xdg-open, detached; never waits for it. False when no opener is
// installed (ERROR_FILE_NOT_FOUND), the file is no such address (ERROR_NO_ASSOCIATION,
// hInstApp SE_ERR_NOASSOC: nothing else is handed to the desktop) or the record is
// unusable.
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);
