#include "base/app_state.h"

AppState App;
DWORD IgnoreActivate;
DWORD FullScreen;
DWORD AllowSipInHebrewSearch;
HWND TaskBarWindow;
