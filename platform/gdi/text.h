// Measuring and drawing a run of UTF-16 units in a DC's font: no reordering and no
// shaping; each unit stands at the pen, which then moves by its whole-pixel advance.
// Measuring and drawing share these advances, so what is measured is what is drawn.
#pragma once

#include <vector>

#include "gdi/dc.h"
#include "gdi/font_instance.h"

namespace gdi {

struct Run {
  std::vector<const Glyph*> glyphs;  // null for the second unit of a surrogate pair
  std::vector<int> advances;         // per unit
  int width = 0;
};

// Lays out count units; dx, when given, replaces the advances.
Run LayOut(FontInstance& font, const char16_t* text, int count, const INT* dx = nullptr);

struct TextStyle {
  COLORREF colour = 0;
  bool underline = false;
  bool strikeout = false;
};

// Draws the run with its cell's top-left at (x, y), DC coordinates, cut to `limit` when
// given.
void DrawRun(Canvas& canvas, FontInstance& font, const Run& run, int x, int y,
             const TextStyle& style, const RECT* limit);

// Underlines one unit of a run drawn at x, y (the prefix mark of DrawTextW).
void UnderlineUnit(Canvas& canvas, FontInstance& font, const Run& run, int unit, int x, int y,
                   COLORREF colour, const RECT* limit);

// The DC's font instance, or null when the DC has no usable font.
FontInstance* FontOf(Dc& dc);
TextStyle StyleOf(const Dc& dc);

}  // namespace gdi
