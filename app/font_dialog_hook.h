// The Choose Font dialog as the start-up sees it.
#pragma once

#include "app/app_state.h"

// Runs dialog template `templateId` modally over `owner` for `font`; 1 for OK, 2 for
// Cancel. The dialog itself is not part of the program yet: until it is, the choice
// stays as it was, as a Cancel leaves it.
inline INT_PTR RunFontDialog(HWND owner, int templateId, FontChoice* font) {
  (void)owner, (void)templateId, (void)font;
  return 2;
}
