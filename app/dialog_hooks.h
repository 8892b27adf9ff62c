// The modal dialogs as the main window sees them that are not part of the program yet.
#pragma once

#include "base/app_state.h"

// The table of contents over `owner`, opened at `lesson`; the lesson the reader chose,
// or 0 when none. Not part of the program yet: until it is, no lesson is chosen.
inline WORD RunChooseArticle(HINSTANCE instance, HWND owner, WORD lesson, FontChoice* font) {
  (void)instance, (void)owner, (void)lesson, (void)font;
  return 0;
}
