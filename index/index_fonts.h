// The outline's own fonts, one per style key of its entries: sizes and weight as the
// article's style fonts have them, blue text for large bold keys.
#pragma once

#include "platform.h"

struct IndexView;

// Bit of a style request besides the key (its low five bits): set the text colour too.
constexpr unsigned IndexColourRequest = 0x100;

// Black, or blue for keys with both the large and the bold bit.
COLORREF IndexTextColour(unsigned key);

// Selects the font of the request's key into the view's DC (made on first use), and
// with IndexColourRequest its colour; the font selected before, or none when the font
// cannot be had (nothing is selected then).
HGDIOBJ SelectIndexFont(IndexView* view, unsigned request);
// A new font record for the key at the head of the view's list; its font, or none (and
// no record) without memory or a font.
HFONT AddIndexFont(IndexView* view, BYTE key);
// Deletes every font of the view and releases their records.
void ReleaseIndexFonts(IndexView* view);
