// DrawTextW: text in a rectangle, on one line or broken at line feeds and between words,
// aligned left, right or centred, with "&" marking the underlined character.
#include <algorithm>
#include <string>

#include "gdi/text.h"
#include "kernel/out_of_memory.h"

using namespace gdi;

namespace {

// One line of text as drawn, with the positions of its underlined characters.
struct Line {
  std::u16string units;
  std::vector<int> marks;
};

// "&x" draws x underlined, "&&" one "&"; a trailing "&" draws nothing.
Line StripPrefixes(const std::u16string& text) {
  Line line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      line.units.push_back(text[i]);
      continue;
    }
    if (++i >= text.size()) break;
    if (text[i] != u'&') line.marks.push_back(int(line.units.size()));
    line.units.push_back(text[i]);
  }
  return line;
}

std::vector<std::u16string> SplitAtLineFeeds(const std::u16string& text) {
  std::vector<std::u16string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      parts.emplace_back();
    } else {
      parts.back().push_back(text[i]);
    }
  }
  return parts;
}

Line Slice(const Line& line, size_t start, size_t end) {
  Line part;
  part.units = line.units.substr(start, end - start);
  for (int mark : line.marks) {
    if (mark >= int(start) && mark < int(end)) part.marks.push_back(mark - int(start));
  }
  return part;
}

// Breaks a line between words so each part fits the width where it can; a word wider
// than the width keeps a line of its own. Spaces at a break are dropped.
void BreakBetweenWords(FontInstance& font, const Line& line, int width, std::vector<Line>& out) {
  const std::u16string& u = line.units;
  const Run run = LayOut(font, u.data(), int(u.size()));
  size_t pos = 0;
  do {
    const size_t start = pos;
    size_t end = u.size(), next = u.size();
    long long used = 0;
    size_t lastSpace = std::u16string::npos;
    for (size_t i = start; i < u.size(); ++i) {
      used += run.advances[i];
      if (u[i] == u' ') {
        lastSpace = i;
        continue;
      }
      if (used <= width || i == start) continue;
      if (lastSpace != std::u16string::npos && lastSpace > start) {
        end = lastSpace;
      } else {
        end = std::min(u.find(u' ', i), u.size());
      }
      next = end;
      break;
    }
    while (end > start && u[end - 1] == u' ') --end;
    out.push_back(Slice(line, start, end));
    pos = next;
    while (pos < u.size() && u[pos] == u' ') ++pos;
  } while (pos < u.size());
}

std::vector<Line> LinesOf(FontInstance& font, const std::u16string& text, UINT format,
                          int width) {
  std::vector<std::u16string> parts;
  if (format & DT_SINGLELINE) {
    parts.push_back(text);
  } else {
    parts = SplitAtLineFeeds(text);
  }
  std::vector<Line> lines;
  for (const auto& part : parts) {
    Line line = (format & DT_NOPREFIX) ? Line{part, {}} : StripPrefixes(part);
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
      BreakBetweenWords(font, line, width, lines);
    } else {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

int LineLeft(const RECT& rect, int lineWidth, UINT format) {
  if (format & DT_CENTER) return rect.left + (rect.right - rect.left - lineWidth) / 2;
  if (format & DT_RIGHT) return rect.right - lineWidth;
  return rect.left;
}

int FirstTop(const RECT& rect, int lineHeight, UINT format) {
  if (!(format & DT_SINGLELINE)) return rect.top;
  if (format & DT_VCENTER) return rect.top + (rect.bottom - rect.top - lineHeight) / 2;
  if (format & DT_BOTTOM) return rect.bottom - lineHeight;
  return rect.top;
}

}  // namespace

int DrawTextW(HDC handle, LPCWSTR text, int count, LPRECT rect, UINT format) try {
  auto dc = FindDc(handle);
  FontInstance* font = dc ? FontOf(*dc) : nullptr;
  if (!font || !rect || (!text && count != 0)) return 0;
  if (count == -1) count = int(std::char_traits<char16_t>::length(text));
  if (count < 0) return 0;
  const std::u16string all(text ? text : u"", size_t(count));
  const int lineHeight = font->metrics().height;
  const std::vector<Line> lines = LinesOf(*font, all, format, rect->right - rect->left);
  std::vector<Run> runs;
  int widest = 0;
  for (const Line& line : lines) {
    runs.push_back(LayOut(*font, line.units.data(), int(line.units.size())));
    widest = std::max(widest, runs.back().width);
  }
  const int height = lineHeight * int(lines.size());
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  Canvas canvas = CanvasOf(*dc);
  const RECT* limit = (format & DT_NOCLIP) ? nullptr : rect;
  const TextStyle style = StyleOf(*dc);
  const int top = FirstTop(*rect, lineHeight, format);
  int y = top;
  for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
    const int x = LineLeft(*rect, runs[i].width, format);
    if (dc->bkMode == OPAQUE) {
      canvas.fill({x, y, x + runs[i].width, y + lineHeight}, ToPixel(dc->bkColour), limit);
    }
    DrawRun(canvas, *font, runs[i], x, y, style, limit);
    for (int mark : lines[i].marks) {
      UnderlineUnit(canvas, *font, runs[i], mark, x, y, dc->textColour, limit);
    }
  }
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) {
    return top - rect->top + lineHeight;
  }
  return height;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
