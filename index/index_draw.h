// Drawing and scrolling the outline: the visible lines of one page, each entry's mark
// beside its first line on the page.
#pragma once

#include "platform.h"

struct IndexView;
struct IndexLine;

// The mark's box: 9 x 9 pixels, standing 4 pixels right of the title's right end.
constexpr int OutlineMarkSize = 9;
constexpr int OutlineMarkGap = 4;

// Draws the page from FirstLine (moved to LastTopLine when it is beyond the visible
// lines) into the view's DC, the background first with erase; sets LinesDrawn. 0, or -1
// without view, stream or lines.
int DrawIndex(IndexView* view, bool erase);
// The plus (collapsed section), minus (expanded section) or page mark of the line, in
// the indent beside it, centred on its height, at the line's top y.
void DrawOutlineMark(IndexView* view, const IndexLine& line, LONG y);
// Moves FirstLine by delta visible lines, never below 0 and, with clamp (or beyond the
// visible lines), never past LastTopLine. With redraw: 1 and nothing changes when the
// line stays, else DrawIndex's result; without: 1. -1 without a view.
int ScrollIndex(IndexView* view, int delta, bool redraw, bool clamp);
