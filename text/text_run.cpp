#include "text/text_run.h"

#include "base/app_state.h"
#include "text/conversion.h"

namespace {

// Units the conversion makes of one byte for the given code base.
int UnitsOfByte(BYTE b, LONG codeBase) {
  if (codeBase == CodeBaseLetter || !HasTableEntry(b)) return 1;
  if (codeBase == CodeBaseUnicode) return UnicodePairTable[b - LetterTableFirst].Second ? 2 : 1;
  return ByteFontTable[b - LetterTableFirst] ? 1 : 0;
}

LONG ConversionCodeBase() {
  return SharedConversion.CodeBase ? SharedConversion.CodeBase : FontAsciiBase();
}

// The leading bytes whose units all lie within the first `units`; their unit count
// goes to *covered.
int BytesWithinUnits(const BYTE* bytes, int count, int units, int* covered) {
  LONG codeBase = ConversionCodeBase();
  int k = 0, used = 0;
  while (k < count && bytes[k]) {
    int next = used + UnitsOfByte(bytes[k], codeBase);
    if (next > units) break;
    used = next;
    ++k;
  }
  *covered = used;
  return k;
}

void DrawUnit(HDC dc, WCHAR unit, const RECT& cell) {
  RECT box = cell;
  DrawTextW(dc, &unit, 1, &box, RunDrawFormat);
}

// Runs draw() with the DC's text and background colours set, then puts them back.
template <typename Draw>
void InColours(HDC dc, COLORREF text, COLORREF background, Draw draw) {
  COLORREF oldText = SetTextColor(dc, text);
  COLORREF oldBackground = SetBkColor(dc, background);
  draw();
  SetBkColor(dc, oldBackground);
  SetTextColor(dc, oldText);
}

}  // namespace

bool FitByExtent(HDC dc, const BYTE* bytes, int* width, int* count) {
  int extra = 0;
  WCHAR* units = MapLetterCode(bytes, *count, &SharedConversion, &extra);
  if (!units) {
    *width = 0;
    *count = 0;
    return false;
  }
  // The platform is handed the units the conversion really made, and the fit is taken
  // back to whole input bytes, so runs with two-unit or dropped codes measure right.
  int total = *count + extra;
  int fit = 0;
  SIZE size = {0, 0};
  bool measured = GetTextExtentExPointW(dc, units, total, *width, &fit, nullptr, &size);
  int fitUnits = fit;
  if (total != *count) *count = BytesWithinUnits(bytes, *count, fit, &fitUnits);
  else *count = fit;
  size = {0, 0};
  measured = GetTextExtentExPointW(dc, units, fitUnits, *width, &fit, nullptr, &size) && measured;
  *width = size.cx;
  return measured;
}

void FitByWidthTable(const WORD* widths, const BYTE* bytes, int* width, int* count) {
  if (!widths) {
    *width = 0;
    return;
  }
  unsigned maximum = unsigned(*width);
  int limit = *count;
  unsigned used = 0;
  int fitted = 0;
  for (; bytes[fitted] && limit > 0; ++fitted, --limit) {
    BYTE b = bytes[fitted];
    if (b < LetterTableFirst || IsVowelPoint(b) || b >= 128) continue;
    unsigned sum = used + widths[b - LetterTableFirst];
    if (sum > maximum) break;
    used = sum;
  }
  *width = int(used);
  *count = fitted;
}

void DrawViewRun(HDC dc, const WORD* widths, const BYTE* bytes, int count, int x, int y,
                 int w, int h) {
  if (widths && ActiveCodeBase() == CodeBaseUnicode && FontAsciiBase() == CodeBaseUnicode) {
    RECT box = {x, y, x + w, y + h};
    DrawPointedRun(dc, widths, bytes, count, &box);
  } else {
    DrawTextRun(dc, bytes, count, x, y, w, h);
  }
}

void DrawPointedRun(HDC dc, const WORD* widths, const BYTE* bytes, int count, RECT* box) {
  SetBkMode(dc, TRANSPARENT);
  LONG advance = 0;
  for (int i = count - 1; i >= 0; --i) {
    BYTE b = bytes[i];
    if (b == Holam) {
      // The 3 pixels at the left edge of the glyph drawn before.
      advance = 3;
      box->right = box->left + 3;
    } else if (IsVowelPoint(b)) {
      box->right += advance;
    } else {
      LONG w = widths && b >= LetterTableFirst && b < 128 ? widths[b - LetterTableFirst] : 0;
      box->left = box->right - w;
      advance = w;
    }
    UnicodePair pair = HasTableEntry(b) ? UnicodePairTable[b - LetterTableFirst]
                                         : UnicodePair{WCHAR(b), 0};
    if (!pair.Second) {
      DrawUnit(dc, pair.First, *box);
    } else if (pair.First == HolamUnit) {
      // Lamed in its cell, the holam over the 3 pixels around its left edge.
      DrawUnit(dc, pair.Second, *box);
      box->right = box->left + 1;
      box->left -= 2;
      DrawUnit(dc, pair.First, *box);
      box->left += 2;
      advance = 3;
    } else {
      DrawUnit(dc, pair.First, *box);
      DrawUnit(dc, pair.Second, *box);
    }
    box->right = box->left;
  }
}

void DrawTextRun(HDC dc, const BYTE* bytes, int count, int x, int y, int w, int h) {
  int extra = 0;
  WCHAR* units = MapLetterCode(bytes, count, &SharedConversion, &extra);
  if (!units) return;
  RECT box = {x, y, x + w, y + h};
  DrawTextW(dc, units, count + extra, &box, RunDrawFormat);
}

void DrawColouredRun(HDC dc, const BYTE* bytes, int count, int x, int y, int w, int h,
                     COLORREF text, COLORREF background) {
  InColours(dc, text, background, [&] { DrawTextRun(dc, bytes, count, x, y, w, h); });
}

void DrawDirectedRun(HDC dc, const WORD* widths, bool rightToLeft, const BYTE* bytes, int count,
                     int x, int y, int w, int h) {
  SetActiveCodeBase(CodeBaseOfDirection(rightToLeft));
  DrawViewRun(dc, widths, bytes, count, x, y, w, h);
  SetActiveCodeBase(CodeBaseLetter);
}

void DrawColouredDirectedRun(HDC dc, const WORD* widths, bool rightToLeft, const BYTE* bytes,
                             int count, int x, int y, int w, int h, COLORREF text,
                             COLORREF background) {
  InColours(dc, text, background,
            [&] { DrawDirectedRun(dc, widths, rightToLeft, bytes, count, x, y, w, h); });
}

void FillViewRect(HDC dc, int x, int y, int w, int h, int stockIndex) {
  RECT box = {x, y, x + w, y + h};
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(stockIndex)));
}

void DrawFrames(HDC dc, RECT* box, COLORREF colour, int count) {
  HPEN pen = CreatePen(PS_SOLID, 0, colour);
  HGDIOBJ old = pen ? SelectObject(dc, pen) : nullptr;
  for (int i = 0; i < count; ++i) {
    if (pen) Rectangle(dc, box->left, box->top, box->right, box->bottom);
    box->left += 1;
    box->top += 1;
    box->right -= 1;
    box->bottom -= 1;
  }
  if (pen) {
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}
