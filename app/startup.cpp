#include "app/startup.h"

#include <algorithm>
#include <cstring>

#include "base/alloc.h"
#include "base/app_state.h"
#include "dialogs/font_dialog.h"
#include "app/main_window.h"
#include "base/settings_store.h"
#include "calendar/lesson_choice.h"
#include "index/bookmarks.h"
#include "view/article_draw.h"
#include "view/article_view.h"
#include "resources/resource_ids.h"

const WCHAR MainWindowName[] = u"Vintrel - 5765 (heb)";

namespace {

constexpr DWORD FullScreenHide = 42;  // task bar, input-panel button and start icon

// Stored numbers that feed pixel arithmetic are kept where that arithmetic cannot
// overflow. Within these ranges nothing shown changes: the platform draws no font
// taller than 512 pixels (a size of 1024 is one of 1280 in the large style), and no
// screen is 32767 pixels across.
constexpr LONG LargestFontSize = 1024;
constexpr LONG LargestGutter = 32767;

LONG StoredNumberWithin(LPCWSTR keyPath, LPCWSTR name, LONG largest) {
  LONG stored = static_cast<LONG>(ReadNumber(keyPath, name, 0));
  return std::clamp(stored, -largest, largest);
}

bool Ended = false;     // SaveAndQuit has run
bool Loaded = false;    // LoadSettings has read every setting

bool WriteSettings();

// Hands over to a running copy: the Today command when it is in front, else it is
// brought to the front. True when a copy runs.
bool HandOverToRunningCopy() {
  HWND running = FindWindowW(MainWindowName, MainWindowName);
  if (!running) return false;
  HWND foreground = GetForegroundWindow();
  HWND top = foreground;
  while (HWND parent = top ? GetParent(top) : nullptr) top = parent;
  if (running == foreground) SendMessageW(running, WM_COMMAND, IDM_TODAY, 0);
  if (running != top) SetForegroundWindow(running);
  return true;
}

// The program's path, unless it is stored already: a start that changes nothing writes
// nothing.
void StoreProgramPath() {
  WCHAR path[MAX_PATH];
  path[0] = 0;
  SetLastError(ERROR_SUCCESS);
  if (GetModuleFileNameW(App.Instance, path, MAX_PATH) == 0) ReportIfOutOfMemory();
  if (!path[0]) return;
  WCHAR* stored = ReadText(u"Program Path");
  bool same = stored && wcscmp(stored, path) == 0;
  free(stored);
  if (!same) WriteText(u"Program Path", path);
}

void LoadFontName() {
  WCHAR* name = ReadText(u"FontName");
  if (!name) return;
  if (name[0]) {
    size_t length = 0;
    while (length < 31 && name[length]) ++length;
    std::memcpy(App.Font.Face, name, length * sizeof(WCHAR));
    App.Font.Face[length] = 0;
  }
  free(name);
}

void LoadSearchString() {
  DWORD size = 0;
  BYTE* data = ReadBytesSized(u"SearchString", nullptr, &size);
  if (!data) return;
  if (data[0]) {
    size_t length = 0;
    while (length < 33 && length < size && data[length]) ++length;
    std::memcpy(App.SearchString, data, length);
    App.SearchString[length] = 0;
  }
  free(data);
}

void EnterFullScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SHFullScreen(window, FullScreenHide);
  MoveWindow(window, r.left, 0, r.right, r.bottom, FALSE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
  std::memset(&App, 0, sizeof App);
  App.Instance = instance;
  SetOutOfMemoryHandler(SaveAndQuit);
  ReadPublisherSettings();
  BOOL taskBarWasVisible = TaskBarWindow ? IsWindowVisible(TaskBarWindow) : FALSE;
  if (commandLine && commandLine[0] && _wcsicmp(commandLine, u"/today") == 0)
    App.TodayRequested = 1;

  if (!InitInstance(show)) {
    if (TaskBarWindow && taskBarWasVisible) ShowWindow(TaskBarWindow, SW_SHOW);
    return 0;
  }
  // The resources hold no accelerator table: the handle is null and never translates.
  HACCEL accelerators = LoadAcceleratorsW(App.Instance, MAKEINTRESOURCEW(3));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (TaskBarWindow && taskBarWasVisible) ShowWindow(TaskBarWindow, SW_SHOW);
  return static_cast<int>(message.wParam);
}

void ReadPublisherSettings() {
  IgnoreActivate = ReadNumber(PublisherKey, u"IgnoreActivate", 0);
  FullScreen = ReadNumber(PublisherKey, u"FullScreen", 0);
  AllowSipInHebrewSearch = ReadNumber(PublisherKey, u"AllowSipInHebrewSearch", 1);
  TaskBarWindow = FullScreen ? FindWindowW(u"HHTaskBar", u"") : nullptr;
  App.MenuBarOnBottom = static_cast<LONG>(ReadNumber(PublisherKey, u"MenuBarOnBottom", 0));
  App.SurroundingGutter = StoredNumberWithin(PublisherKey, u"SurroundingGutter", LargestGutter);
}

HWND InitInstance(int show) {
  if (HandOverToRunningCopy()) return nullptr;
  InitCommonControls();
  if (TaskBarWindow) ShowWindow(TaskBarWindow, SW_HIDE);
  LoadSettings();
  SelectLesson(0, App.TodayRequested);
  RegisterMainClass(App.Instance, MainWindowName);
  DWORD style = WS_VISIBLE | (HasScrollBar(App.Flags) ? WS_VSCROLL : 0);
  HWND window = CreateWindowExW(WS_EX_WINDOWEDGE, MainWindowName, MainWindowName, style,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, App.Instance, nullptr);
  if (!window) return nullptr;
  if (FullScreen) EnterFullScreen(window);
  ShowWindow(window, show);
  UpdateWindow(window);
  if (App.Font.Face[0] == 0) {
    RunFontDialog(window, &App.Font);
    ChangeArticleFont(App.View, &App.Font);
  }
  return window;
}

void RegisterMainClass(HINSTANCE instance, LPCWSTR className) {
  WNDCLASSW windowClass;
  std::memset(&windowClass, 0, sizeof windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
}

void LoadSettings() {
  // A run of the settings begins: its end is still to come.
  Loaded = false;
  Ended = false;
  SetOutOfMemoryHandler(SaveAndQuit);
  StoreProgramPath();
  LoadFontName();
  LoadSearchString();
  App.Font.Size = StoredNumberWithin(ProductKey, u"FontSize", LargestFontSize);
  App.Font.CodeBase = static_cast<LONG>(ReadNumber(ProductKey, u"FontAsciiBase", 1488));
  App.LastPosition = static_cast<WORD>(ReadNumber(ProductKey, u"LastPosition", 0));
  App.Flags = ReadNumber(ProductKey, u"Flags", DefaultFlags);
  App.Lesson = static_cast<WORD>(ReadNumber(ProductKey, u"Lesson", 0));
  for (int i = 0; i < 3; ++i) {
    SetLastError(ERROR_SUCCESS);
    App.OutlineBitmaps[i] = LoadBitmapW(App.Instance, MAKEINTRESOURCEW(IDB_OUTLINE_PLUS + i));
    if (!App.OutlineBitmaps[i]) ReportIfOutOfMemory();
  }
  LoadBookmarks();
  Loaded = true;
}

void SaveAndQuit() {
  if (Ended) return;
  Ended = true;
  for (HBITMAP& bitmap : App.OutlineBitmaps) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
  }
  // Memory that ran out while the settings were being read ends the program before
  // they are all in memory: the stored ones are then kept as they are, not overwritten
  // with the half-read state. The settings and the bookmarks go in one save.
  HKEY save = Loaded ? BeginSettingsSave() : nullptr;
  // A value that could not be written (memory ran out) is written again with the
  // others before the save ends, so that the file does not take the new lesson with the
  // old position.
  if (Loaded && !WriteSettings()) WriteSettings();
  if (App.View) {
    DestroyArticleView(App.View, true);
    App.View = nullptr;
  }
  if (Loaded) SaveBookmarks();
  EndSettingsSave(save);
  FreeBookmarks();
  PostQuitMessage(0);
}

namespace {

// True when every value was written.
bool WriteSettings() {
  bool written = true;
  auto write = [&written](int result) { written = written && result; };
  if (App.SearchString[0])
    write(WriteByteString(u"SearchString", reinterpret_cast<const char*>(App.SearchString)));
  if (App.Font.Face[0]) write(WriteText(u"FontName", App.Font.Face));
  if (App.Font.Size) write(WriteNumber(u"FontSize", static_cast<DWORD>(App.Font.Size)));
  if (App.Font.CodeBase) write(WriteNumber(u"FontAsciiBase", static_cast<DWORD>(App.Font.CodeBase)));
  if (App.View) write(WriteNumber(u"LastPosition", ArticleViewFirstLine(App.View)));
  write(WriteNumber(u"Flags", App.Flags));
  if (App.Lesson) write(WriteNumber(u"Lesson", App.Lesson));
  return written;
}

}  // namespace
