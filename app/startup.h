// Start-up, settings and the orderly end of the program.
#pragma once

#include "platform.h"

extern const WCHAR MainWindowName[];  // class and title of the main window

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
// The publisher key's screen modes, menu bar and gutter; finds the task bar to hide in
// full-screen mode.
void ReadPublisherSettings();
// The main window, or null when another copy runs or the window cannot be created.
HWND InitInstance(int show);
void RegisterMainClass(HINSTANCE instance, LPCWSTR className);
void LoadSettings();
// Writes the settings, destroys the view, saves the bookmarks and posts the quit
// request; runs at most once per run of the settings (from LoadSettings on).
void SaveAndQuit();
