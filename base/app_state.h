// The block of application globals, zero-filled at start, and the process-wide
// values read once from the publisher key.
#pragma once

#include "platform.h"

struct ArticleView;

// The chosen font: face, size and the font's code base (where it keeps alef).
struct FontChoice {
  WCHAR Face[32];  // zero-terminated, at most 31 units; empty: no font chosen yet
  LONG Size;       // font size handed to font creation; 0 when none is stored
  LONG CodeBase;   // 97, 224 or 1488 (registry value FontAsciiBase)
};

// Bits of AppState::Flags.
enum : DWORD {
  TapPaging = 0x80000000,     // a tap inside the reading view pages the text
  TapVertical = 0x10000000,   // page by the tap's vertical (else horizontal) position
  TapPageMode = 0x07000000,   // 2 or 4: taps page by half the lines shown
  KeyPageMode = 0x00700000,   // the same rule for Page Up and Page Down
  Reverse = 0x00000800,       // mapped Hebrew text is handed over in reversed order
  ScrollBar = 0x000000C0,     // either bit: the main window has a vertical scroll bar
  LessonChosen = 0x00000004,  // the current lesson was chosen explicitly
};
constexpr DWORD DefaultFlags = 0xD1140040;

// The packed modes and tests of Flags, by name.
inline DWORD TapPageModeOf(DWORD flags) { return (flags & TapPageMode) >> 24; }
inline DWORD KeyPageModeOf(DWORD flags) { return (flags & KeyPageMode) >> 20; }
inline bool TapsPage(DWORD flags) { return (flags & TapPaging) != 0; }
inline bool TapsVertically(DWORD flags) { return (flags & TapVertical) != 0; }
inline bool IsReversed(DWORD flags) { return (flags & Reverse) != 0; }
inline bool HasScrollBar(DWORD flags) { return (flags & ScrollBar) != 0; }
inline bool IsLessonChosen(DWORD flags) { return (flags & LessonChosen) != 0; }

struct AppState {
  HINSTANCE Instance;
  FontChoice Font;
  WORD LastPosition;  // first visible display line to restore at view creation
  DWORD Flags;
  WORD Lesson;             // the lesson shown, 1 to 267; 0 = none yet
  BYTE SearchString[34];   // zero-terminated letter-code pattern, at most 33 bytes
  ArticleView* View;       // the reading view of the main window, owned
  LONG MenuBarOnBottom;    // 1: menu bar at the bottom; 0: command bar at the top
  LONG MenuBarHeight;
  LONG SurroundingGutter;  // margin kept free around the reading view, pixels
  HWND MenuBar;
  HWND MainWindow;
  HBITMAP OutlineBitmaps[3];  // bitmap resources 201, 202, 203
  WORD* BookmarkList;         // lesson numbers ended by 0, or null
  WORD BookmarkCount;
  WORD BookmarkOptions;
  LONG TodayRequested;  // the command line asked for today's lesson
};

extern AppState App;

// Process-wide values set once by WinMain from the publisher key.
extern DWORD IgnoreActivate;
extern DWORD FullScreen;
extern DWORD AllowSipInHebrewSearch;
extern HWND TaskBarWindow;

// The font code base in use: the code base of the application's FontChoice.
inline LONG FontAsciiBase() { return App.Font.CodeBase; }
