#include "test_support/main_window_start.h"

#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "base/app_state.h"
#include "base/settings_store.h"
#include "test_support/pump.h"

namespace test_support {

HWND StartMainWindow(WORD lesson) {
  // A reader who has chosen a font, unless the test stored one: no font dialog opens.
  WCHAR* face = ReadText(u"FontName");
  if (!face) WriteText(u"FontName", u"DejaVu Sans");
  free(face);
  WriteNumber(u"Lesson", lesson);
  WriteNumber(u"Flags", ReadNumber(ProductKey, u"Flags", DefaultFlags) | LessonChosen);
  std::memset(&App, 0, sizeof App);
  App.Instance = GetModuleHandleW(nullptr);
  ReadPublisherSettings();
  HWND window = InitInstance(SW_SHOW);
  PumpMessages();
  return window;
}

}  // namespace test_support
