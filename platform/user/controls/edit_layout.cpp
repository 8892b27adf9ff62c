#include "user/controls/edit_layout.h"

namespace user::edit {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Length of the hard line starting at start, and where the next line starts.
void HardLine(std::u16string_view text, size_t start, size_t& length, size_t& next) {
  size_t i = start;
  while (i < text.size() && !IsBreak(text[i])) ++i;
  length = i - start;
  if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
    next = i + 2;
  else
    next = i < text.size() ? i + 1 : i;
}

void WrapHardLine(std::u16string_view text, size_t start, size_t length, int width,
                  const Measure& measure, std::vector<Line>& out) {
  std::vector<int> widths;
  while (length > 0) {
    measure(text.substr(start, length), widths);
    if (widths.empty() || widths[length - 1] <= width) {
      out.push_back({start, length});
      return;
    }
    size_t fit = 0;
    while (fit < length && widths[fit] <= width) ++fit;
    // Break after the last blank of the part that fits; a blank that does not fit
    // hangs at the end of its line.
    size_t cut = 0;
    if (fit < length && text[start + fit] == u' ') {
      cut = fit + 1;
    } else {
      for (size_t i = fit; i > 0 && cut == 0; --i)
        if (text[start + i - 1] == u' ') cut = i;
    }
    if (cut == 0) cut = fit > 0 ? fit : 1;
    out.push_back({start, cut});
    start += cut;
    length -= cut;
  }
}

}  // namespace

std::vector<Line> LayoutLines(std::u16string_view text, int wrapWidth, const Measure& measure) {
  std::vector<Line> lines;
  size_t start = 0;
  for (;;) {
    size_t length = 0, next = 0;
    HardLine(text, start, length, next);
    if (wrapWidth > 0 && length > 0)
      WrapHardLine(text, start, length, wrapWidth, measure, lines);
    else
      lines.push_back({start, length});
    if (start + length >= text.size()) break;  // the last line: no break follows it
    start = next;  // after a break; a break at the very end leaves an empty last line
  }
  return lines;
}

size_t LineOfPosition(const std::vector<Line>& lines, size_t pos) {
  size_t found = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].start <= pos) found = i;
  return found;
}

int OffsetInLine(std::u16string_view text, const Line& line, size_t pos, const Measure& measure) {
  if (pos <= line.start) return 0;
  size_t n = pos - line.start;
  if (n > line.length) n = line.length;
  if (n == 0) return 0;
  std::vector<int> widths;
  measure(text.substr(line.start, n), widths);
  return widths.empty() ? 0 : widths[n - 1];
}

size_t PositionAtOffset(std::u16string_view text, const Line& line, int x, const Measure& measure) {
  if (line.length == 0 || x <= 0) return line.start;
  std::vector<int> widths;
  measure(text.substr(line.start, line.length), widths);
  int previous = 0;
  for (size_t i = 0; i < line.length && i < widths.size(); ++i) {
    if (x < widths[i]) return line.start + i + ((x - previous) * 2 >= widths[i] - previous ? 1 : 0);
    previous = widths[i];
  }
  return line.start + line.length;
}

int ScrollToShow(int scroll, int caretX, int viewWidth, int textWidth) {
  if (viewWidth <= 0) return caretX;
  if (caretX < scroll) scroll = caretX;
  if (caretX >= scroll + viewWidth) scroll = caretX - viewWidth + 1;
  // Do not leave empty room at the end when the text fits less of the view.
  int maxScroll = textWidth + 1 > viewWidth ? textWidth + 1 - viewWidth : 0;
  if (scroll > maxScroll) scroll = maxScroll;
  if (scroll < 0) scroll = 0;
  return scroll;
}

}  // namespace user::edit
