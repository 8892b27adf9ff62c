// The modal dialogs as the main window and the start-up see them.
#pragma once

#include "base/app_state.h"
#include "dialogs/article_dialog.h"

// Runs dialog template `templateId` modally over `owner` for `font`; 1 for OK, 2 for
// Cancel. The dialog itself is not part of the program yet: until it is, the choice
// stays as it was, as a Cancel leaves it.
inline INT_PTR RunFontDialog(HWND owner, int templateId, FontChoice* font) {
  (void)owner, (void)templateId, (void)font;
  return 2;
}

// The table of contents over `owner`, opened at `lesson`; the lesson the reader chose,
// or 0 when none.
inline WORD RunChooseArticle(HINSTANCE instance, HWND owner, WORD lesson, FontChoice* font) {
  return ChooseArticle(instance, owner, lesson, font);
}
