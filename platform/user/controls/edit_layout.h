// Where the units of an edit control's text stand: lines (hard breaks, and word
// wrapping in a multi-line control), caret positions in pixels and the unit under a
// point. The width of text comes from a measuring function, so the layout can be
// tested without fonts.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace user::edit {

// Fills widths[i] with the width of the first i + 1 units of text (one call per run).
using Measure = std::function<void(std::u16string_view text, std::vector<int>& widths)>;

struct Line {
  size_t start = 0;   // first unit
  size_t length = 0;  // units shown, without the line break
};

// Lines of text. With wrapWidth > 0, a line that does not fit breaks after its last
// blank that fits, or before the first unit that does not fit (at least one unit a line).
std::vector<Line> LayoutLines(std::u16string_view text, int wrapWidth, const Measure& measure);

// The line holding position pos (a position at a wrap belongs to the next line).
size_t LineOfPosition(const std::vector<Line>& lines, size_t pos);

// Pixel offset of position pos within its line's text.
int OffsetInLine(std::u16string_view text, const Line& line, size_t pos, const Measure& measure);

// The position in line nearest to pixel offset x from the line's start.
size_t PositionAtOffset(std::u16string_view text, const Line& line, int x, const Measure& measure);

// The horizontal scroll that keeps a caret at offset caretX visible in a view of the
// given width, changing the current scroll as little as possible.
int ScrollToShow(int scroll, int caretX, int viewWidth, int textWidth);

}  // namespace user::edit
