// A modal dialog from one of the program's dialog templates.
#pragma once

#include "platform.h"

// Runs template `templateId` of the program's resources modally over `owner` with the
// procedure and its parameter; the dialog's result, or -1 when there is no such
// template or it cannot be read, or when it cannot open (out of memory is reported).
INT_PTR RunDialog(int templateId, HWND owner, DLGPROC procedure, LPARAM param);
