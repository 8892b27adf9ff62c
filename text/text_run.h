// Measuring and drawing runs of letter-code text. Every run is converted through the
// shared conversion buffer, so for the active code base the caller has set; the
// directed primitives set it themselves from the run's direction.
#pragma once

#include "base/app_state.h"
#include "platform.h"
#include "text/conversion.h"
#include "text/letter_code.h"

// Format of every text drawing: centred both ways on one line, '&' taken literally.
constexpr UINT RunDrawFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;  // 0x825

// Glyph widths of codes 16 to 127 in one font (index code - 16); points are 0.
constexpr int WidthTableSize = 112;

// A maximum width no run reaches, for measuring a run whole.
constexpr int UnlimitedWidth = 0x7FFF;

// Fits the converted run into *width pixels as the platform measures it. In: the
// maximum width and the byte count; out: the width and byte count of the part that fits.
// False when the run could not be measured (no memory for its conversion or for the
// platform's measuring): the outputs are then no fit to use.
bool FitByExtent(HDC dc, const BYTE* bytes, int* width, int* count);

// Fits the run by adding widths from the table; stops at a zero byte. Without a table
// the width becomes 0 and the count stays.
void FitByWidthTable(const WORD* widths, const BYTE* bytes, int* width, int* count);

// Draws a run centred in its box: letter by letter with the points over their letters
// when both the active and the font code base are Unicode, else as one string.
void DrawViewRun(HDC dc, const WORD* widths, const BYTE* bytes, int count, int x, int y,
                 int w, int h);

// Draws a right-to-left run from its last byte, which stands at the box's right edge,
// leftward; each vowel point over the letter to its right. The box comes back with its
// left and right edges moved.
void DrawPointedRun(HDC dc, const WORD* widths, const BYTE* bytes, int count, RECT* box);

void DrawTextRun(HDC dc, const BYTE* bytes, int count, int x, int y, int w, int h);

// DrawTextRun in the given colours; the DC's colours are put back afterwards.
void DrawColouredRun(HDC dc, const BYTE* bytes, int count, int x, int y, int w, int h,
                     COLORREF text, COLORREF background);

void FillViewRect(HDC dc, int x, int y, int w, int h, int stockIndex);

// The primitives by the run's direction. A right-to-left run is converted for the
// font's code base, fitted by the width table and drawn with DrawViewRun; a
// left-to-right run is not converted and is fitted by the platform's extent. The
// active code base is the letter code again when they return.
inline LONG CodeBaseOfDirection(bool rightToLeft) {
  return rightToLeft ? FontAsciiBase() : CodeBaseLetter;
}
// Inline, as the layout fits every line through it. False as FitByExtent is.
inline bool FitDirectedRun(HDC dc, const WORD* widths, bool rightToLeft, const BYTE* bytes,
                           int* width, int* count) {
  SetActiveCodeBase(CodeBaseOfDirection(rightToLeft));
  bool fitted = true;
  if (rightToLeft) FitByWidthTable(widths, bytes, width, count);
  else fitted = FitByExtent(dc, bytes, width, count);
  SetActiveCodeBase(CodeBaseLetter);
  return fitted;
}
void DrawDirectedRun(HDC dc, const WORD* widths, bool rightToLeft, const BYTE* bytes, int count,
                     int x, int y, int w, int h);
// DrawDirectedRun in the given colours; the DC's colours are put back afterwards.
void DrawColouredDirectedRun(HDC dc, const WORD* widths, bool rightToLeft, const BYTE* bytes,
                             int count, int x, int y, int w, int h, COLORREF text,
                             COLORREF background);

// Outlines count nested one-pixel frames in the colour, each filled with the DC's
// brush; the box comes back inset by count pixels on every side.
void DrawFrames(HDC dc, RECT* box, COLORREF colour, int count);
