// The main window's procedure.
#pragma once

#include "platform.h"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
