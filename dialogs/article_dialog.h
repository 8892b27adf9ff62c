// The Choose Article dialog: the table of contents as an outline over the whole client
// area with a vertical scroll bar, opened at the current lesson with the bookmarks
// section on top. A tap on a lesson chooses it; a tap on a section opens or closes it.
#pragma once

#include "base/app_state.h"
#include "platform.h"

struct IndexView;

// The one dialog's state, zeroed at every opening.
struct ArticleDialogState {
  WORD Result;    // the lesson to return: the current one, the one tapped, 0 after Cancel
  WORD Current;   // the current lesson passed in
  HWND Dialog;
  HDC Dc;         // the dialog's own, held from its initialisation to its destruction
  RECT Client;    // the client area less the width of a vertical scroll bar
  IndexView* View;  // the outline, owned
  FontChoice* Font;
};

extern ArticleDialogState ArticleDialog;

// Lines the outline reserves at its creation.
constexpr WORD ArticleDialogLines = 100;

// Runs the dialog modally over parent, opened at lesson with the font; the lesson
// chosen (the current one after OK), or 0 after Cancel.
WORD ChooseArticle(HINSTANCE instance, HWND parent, WORD lesson, FontChoice* font);
INT_PTR CALLBACK ArticleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Builds the outline: the index stream with the bookmarks section in front, laid out
// over the client area and expanded to the current lesson; the scroll bar follows.
void OpenIndexView();
// The scroll bar's range (0 to LastTopLine) and position (FirstLine) from the outline.
void UpdateIndexScrollBar();
