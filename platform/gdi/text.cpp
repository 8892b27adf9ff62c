// Runs of text: layout, glyph blending, and the text calls built on them.
#include "gdi/text.h"
#include "kernel/out_of_memory.h"

#include <algorithm>

using namespace gdi;

namespace gdi {
namespace {

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

uint32_t Blend(uint32_t dst, uint32_t src, unsigned coverage) {
  if (coverage >= 255) return src;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    out |= uint32_t(d + ((s - d) * int(coverage) + 127) / 255) << shift;
  }
  return out;
}

void BlendGlyph(Canvas& canvas, const Glyph& glyph, int penX, int baseline, uint32_t colour,
                const RECT& area) {
  const long long left = (long long)penX + glyph.left + canvas.origin.x;
  const long long top = (long long)baseline - glyph.top + canvas.origin.y;
  const long long x0 = std::max<long long>(left, area.left);
  const long long x1 = std::min<long long>(left + glyph.width, area.right);
  const long long y0 = std::max<long long>(top, area.top);
  const long long y1 = std::min<long long>(top + glyph.rows, area.bottom);
  for (long long y = y0; y < y1; ++y) {
    const uint8_t* cover = glyph.coverage.data() + size_t(y - top) * glyph.width;
    uint32_t* row = canvas.surface->pixels.data() + size_t(y) * canvas.surface->width;
    for (long long x = x0; x < x1; ++x) {
      const unsigned c = cover[x - left];
      if (c) row[x] = canvas.store(Blend(row[x], colour, c));
    }
  }
}

// The surface area a drawing call may touch: the canvas clip, cut to the limit.
RECT DrawArea(const Canvas& canvas, const RECT* limit) {
  return limit ? Intersect(canvas.clip, ToSurface(canvas, *limit)) : canvas.clip;
}

}  // namespace

Run LayOut(FontInstance& font, const char16_t* text, int count, const INT* dx) {
  Run run;
  run.glyphs.resize(size_t(count), nullptr);
  run.advances.resize(size_t(count), 0);
  for (int i = 0; i < count; ++i) {
    char32_t ch = text[i];
    const bool pair = IsHigh(text[i]) && i + 1 < count && IsLow(text[i + 1]);
    if (pair) ch = 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    const Glyph& glyph = font.glyphFor(ch);
    run.glyphs[size_t(i)] = &glyph;
    run.advances[size_t(i)] = dx ? dx[i] : glyph.advance;
    if (pair) {
      ++i;
      if (dx) run.advances[size_t(i)] = dx[i];
    }
  }
  for (int a : run.advances) run.width += a;
  return run;
}

void DrawRun(Canvas& canvas, FontInstance& font, const Run& run, int x, int y,
             const TextStyle& style, const RECT* limit) {
  if (canvas.empty()) return;
  const RECT area = DrawArea(canvas, limit);
  const FontMetrics& m = font.metrics();
  const uint32_t colour = ToPixel(style.colour);
  const int baseline = y + m.ascent;
  long long pen = x;
  for (size_t i = 0; i < run.glyphs.size(); ++i) {
    if (run.glyphs[i]) BlendGlyph(canvas, *run.glyphs[i], int(pen), baseline, colour, area);
    pen += run.advances[i];
  }
  Canvas lines = canvas;
  lines.clip = area;
  if (style.underline) {
    const int top = baseline + m.underlineTop;
    lines.fill({x, top, x + run.width, top + m.underlineThickness}, colour);
  }
  if (style.strikeout) {
    const int top = baseline - m.strikeoutTop;
    lines.fill({x, top, x + run.width, top + m.strikeoutThickness}, colour);
  }
}

void UnderlineUnit(Canvas& canvas, FontInstance& font, const Run& run, int unit, int x, int y,
                   COLORREF colour, const RECT* limit) {
  if (canvas.empty() || unit < 0 || size_t(unit) >= run.advances.size()) return;
  int start = x;
  for (int i = 0; i < unit; ++i) start += run.advances[size_t(i)];
  const FontMetrics& m = font.metrics();
  const int top = y + m.ascent + m.underlineTop;
  Canvas lines = canvas;
  lines.clip = DrawArea(canvas, limit);
  lines.fill({start, top, start + run.advances[size_t(unit)], top + m.underlineThickness},
             ToPixel(colour));
}

FontInstance* FontOf(Dc& dc) {
  return dc.font.object ? dc.font.object->instance.get() : nullptr;
}

TextStyle StyleOf(const Dc& dc) {
  TextStyle style;
  style.colour = dc.textColour;
  if (dc.font.object) {
    style.underline = dc.font.object->log.lfUnderline != 0;
    style.strikeout = dc.font.object->log.lfStrikeOut != 0;
  }
  return style;
}

}  // namespace gdi

BOOL GetTextExtentExPointW(HDC handle, LPCWSTR text, int count, int maxExtent, LPINT fit,
                           LPINT extents, LPSIZE size) try {
  auto dc = FindDc(handle);
  FontInstance* font = dc ? FontOf(*dc) : nullptr;
  if (!font || count < 0 || (count > 0 && !text)) return FALSE;
  const Run run = LayOut(*font, text, count);
  int fitting = 0;
  long long running = 0;
  for (int i = 0; i < count; ++i) {
    running += run.advances[size_t(i)];
    if (fit && running > maxExtent) break;
    if (extents) extents[i] = int(running);
    fitting = i + 1;
  }
  if (fit) *fit = fitting;
  if (size) *size = {run.width, font->metrics().height};
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                 UINT count, const INT* dx) try {
  auto dc = FindDc(handle);
  if (!dc || (count > 0 && !text) || count > 0x7FFFFFFF) return FALSE;
  Canvas canvas = CanvasOf(*dc);
  const RECT* limit = (options & ETO_CLIPPED) && rect ? rect : nullptr;
  if ((options & ETO_OPAQUE) && rect) canvas.fill(*rect, ToPixel(dc->bkColour));
  if (count == 0) return TRUE;
  FontInstance* font = FontOf(*dc);
  if (!font) return FALSE;
  const Run run = LayOut(*font, text, int(count), dx);
  if (dc->bkMode == OPAQUE) {
    canvas.fill({x, y, x + run.width, y + font->metrics().height}, ToPixel(dc->bkColour), limit);
  }
  DrawRun(canvas, *font, run, x, y, StyleOf(*dc), limit);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(dc, x, y, 0, nullptr, text, UINT(count), nullptr);
}
