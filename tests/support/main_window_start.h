// The main window as the start-up makes it, on a lesson chosen explicitly, for tests and
// benchmarks that have installed a screen and a settings folder of their own.
#pragma once

#include <cstring>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "app/startup.h"
#include "pump.h"

inline HWND StartMainWindow(WORD lesson) {
  WriteNumber(u"Lesson", lesson);
  WriteNumber(u"Flags", ReadNumber(ProductKey, u"Flags", DefaultFlags) | LessonChosen);
  std::memset(&App, 0, sizeof App);
  App.Instance = GetModuleHandleW(nullptr);
  ReadPublisherSettings();
  HWND window = InitInstance(SW_SHOW);
  PumpMessages();
  return window;
}
