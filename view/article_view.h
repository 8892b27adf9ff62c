// The article view: the reading surface, its line table and its scrolling position.
#pragma once

#include "base/app_state.h"
#include "platform.h"

struct StyleFont;

// One display line that shows text or a rule.
struct LineEntry {
  WORD Offset;     // text offset of the line's run (see the hanging word below)
  WORD Length;     // bytes of the run, without a hanging word; 0 for a rule
  WORD X;          // left edge of the run
  WORD HangWidth;  // width of the hanging first-word column, first line only
  WORD Width;      // measured width of the run; the length of a rule
  WORD Height;     // line height: the text height of the paragraph's style font
  BYTE ParaFlags;  // the paragraph's flags; 0x80 only on its last line; 0 ends the table
};
// A line with HangWidth holds the paragraph's first word in reading order outside its
// run: left-to-right, Offset is the word's start and the run follows the word and its
// spaces, the word drawn from X - HangWidth to X; right-to-left, Offset is the run's
// start and the word follows the run and its spaces in the stored text, drawn
// right-aligned from X + Width to X + Width + HangWidth.

struct ArticleView {
  LineEntry* Lines;  // LineCapacity + 1 entries, ended by an all-zero entry
  HDC Dc;            // the main window's drawing surface, held by the window
  BYTE* Text;        // the shown article (paragraph records), owned
  LONG LinesDrawn;   // display lines counted by the last DrawArticle
  FontChoice Font;
  StyleFont* StyleFonts;  // newest first
  WORD* WidthTable;       // widths of the style font selected last
  LONG Left, Top, Width, Height;
  WORD FirstLine;         // first visible display line
  WORD DisplayLineCount;  // entries plus the blank lines after entries carrying 0x80
  WORD LineCount;         // entries without the closing one
  WORD LineCapacity;
  WORD LastTopLine;  // the first display line of the last full page
  WORD HighlightStart;  // highlighted bytes [HighlightStart, HighlightEnd); both 0: none
  WORD HighlightEnd;
  // The search's title banner stands over the page: every draw shows it again, until
  // the page moves or is laid out anew.
  bool BannerShown;
};

// Layout results. The failures travel as unsigned 16-bit values.
constexpr WORD LayoutDone = 0;
constexpr WORD LayoutNoText = 2;
constexpr WORD LayoutNoView = WORD(-1);     // 65535
constexpr WORD LayoutOutOfMemory = WORD(-2);  // 65534
constexpr WORD LayoutUnusable = WORD(-4);   // 65532

constexpr int ViewNoView = -1;
constexpr int ViewBadSize = -5;
constexpr int ViewOutOfMemory = -2;

// A zeroed view over the rectangle (or an empty one) with a line table of capacity + 1
// entries when capacity is not 0; none without a device context or memory.
ArticleView* CreateArticleView(HDC dc, const RECT* rect, const FontChoice* font, WORD capacity);

// Breaks the text into display lines for the view's width and fonts. On success the
// view owns text (freeOld frees its previous one) and the highlight is cleared. Without
// memory (LayoutOutOfMemory) the view keeps its text, lines, counts and highlight as
// they were; an unusable text clears the highlight and counts only. The caller keeps a
// text the view did not take.
WORD LayoutArticle(ArticleView* view, BYTE* text, bool freeOld);

// Room for 128 more entries; on failure the entry at index closes the table and -2
// (-1 without view or table).
int GrowLineTable(ArticleView* view, int index);

// -1 without view, -5 for a width or height not above 0 (nothing changes), else the
// status of laying out the view's own text again (a failure as its 16-bit value, the
// view then keeping its size and lines).
int ResizeArticleView(ArticleView* view, LONG width, LONG height);

// Frees the text and the line table and releases the fonts; with freeRecord also the
// style font list and the record itself.
void DestroyArticleView(ArticleView* view, bool freeRecord);

// Makes the line holding the offset (in its run or its hanging word) the first visible
// one, no further than LastTopLine; 1 when one does, else 0.
int ScrollToOffset(ArticleView* view, WORD offset);

// The first visible display line, the reading position kept in the settings.
inline WORD ArticleViewFirstLine(const ArticleView* view) { return view ? view->FirstLine : 0; }

// Stores and returns the largest first line that still fills the view; -1 when
// nothing is laid out.
int ComputeLastTopLine(ArticleView* view);
