// Fonts per paragraph style key, derived from the view's font choice, each with the
// glyph width table the right-to-left runs are measured with.
#pragma once

#include "base/app_state.h"
#include "platform.h"
#include "text/text_run.h"

struct ArticleView;

struct StyleFont {
  StyleFont* Next;
  HFONT FontHandle;  // 0 once released
  BYTE Key;          // flags & 0x1F
  WORD Widths[WidthTableSize];
};

// Marks of a width table not measured since its font was created.
constexpr WORD WidthsUnmeasured0 = 0xFFFF;
constexpr WORD WidthsUnmeasured1 = 0xBAAD;

// A style request is a style key (or a whole flags byte, whose other bits are
// ignored) with these bits: either of them sets the style's text colour as well.
constexpr unsigned ColourRequest = 0x300;
// The colour bit the page drawing asks with.
constexpr unsigned StyleColourRequest = 0x100;

LONG StyleFontHeight(LONG size, unsigned key);
LONG StyleFontWeight(unsigned key);
COLORREF StyleTextColour(unsigned key);

// The font of a style key for a font choice: its face, and the key's size and weight.
HFONT CreateKeyFont(const FontChoice& choice, unsigned key);
// The first node of a font list with the key, or none.
StyleFont* FindStyleFont(StyleFont* list, unsigned key);

// Selects the request's style font into the view's DC (and its colour when asked);
// returns the font selected before, or none when there is no view or the font or its
// width table cannot be had (nothing is selected then).
HGDIOBJ SelectStyleFont(ArticleView* view, unsigned request);
// SelectStyleFont for the first selection of an operation: returns the font to select
// back when the operation ends, the DC's font before the call even when this
// selection fails.
HGDIOBJ SelectStyleFontKeeping(ArticleView* view, unsigned request);
HFONT AddStyleFont(ArticleView* view, BYTE key);
HFONT CreateStyleFont(ArticleView* view, StyleFont* node, BYTE key);
// Points the view's WidthTable at the table of the node holding the font, measuring it
// when forced or not yet measured. False when there is no such node or the measuring
// failed (the table stays unmeasured, to be measured at its next use).
bool BuildWidthTable(ArticleView* view, HFONT font, bool force);
int ReleaseStyleFonts(ArticleView* view);
void RecreateStyleFonts(ArticleView* view, const FontChoice* choice);
// Frees the nodes themselves (after ReleaseStyleFonts), for the view's end.
void FreeStyleFontList(ArticleView* view);
