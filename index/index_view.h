// The table of contents as an outline: the index stream laid out into display lines of
// titles right-aligned at their level's indent, each line shown or hidden, and the
// walk over the lines one page shows.
#pragma once

#include "base/app_state.h"
#include "content/index_stream.h"
#include "platform.h"

struct StyleFont;

// One display line of an entry's title; a line of zeros ends the table.
struct IndexLine {
  WORD Offset;      // position in the stream of the line's first byte (display order)
  WORD Length;      // bytes of the line
  WORD X;           // left edge of the line's text
  WORD Width;       // width of the line's text
  WORD Height;      // text height of the entry's font
  WORD Key;         // the entry's key
  BYTE EntryFlags;  // the entry's style byte, then changed by expanding and collapsing
};

struct IndexView {
  IndexLine* Lines;  // LineCapacity + 1 lines, ended by a line of zeros; owned
  HDC Dc;            // the dialog's device context, held by the dialog
  BYTE* Stream;      // the stream laid out, owned
  LONG LinesDrawn;   // lines the last DrawIndex showed: the dialog's page
  FontChoice Font;
  StyleFont* StyleFonts;  // newest first; their width tables are never measured
  LONG Left, Top, Width, Height;
  WORD FirstLine;     // visible lines above the first one drawn
  WORD VisibleCount;  // lines with EntryVisible
  WORD LineCount;     // lines of the table, its end not counted
  WORD LineCapacity;
  WORD LastTopLine;   // the largest FirstLine that still fills the view
};

// Results of laying out.
constexpr int IndexDone = 0;
constexpr int IndexNoStream = 2;
constexpr int IndexNoView = -1;
constexpr int IndexOutOfMemory = -2;
constexpr int IndexUnusable = -4;

// Lines the table grows by.
constexpr WORD IndexLineGrowth = 128;

// A zeroed view drawing into dc over the box (left, top, right, bottom; or none), with a
// table for `reserve` lines when reserve is not 0; none without a DC or memory.
IndexView* CreateIndexView(HDC dc, const RECT* box, const FontChoice* font, WORD reserve);

// Breaks every title of the stream into lines for the view's width. A stream whose
// first entry has style byte 0 or an empty title is refused with IndexUnusable and stays
// the caller's; any other the view owns from then on, also when the layout stops for
// memory (the table then ends after the last line written). releaseOld releases the
// stream the view held before (and, without a stream, clears it: IndexNoStream).
int LayoutIndex(IndexView* view, BYTE* stream, bool releaseOld);
// New width and height, and the view's own stream laid out again.
int ResizeIndexView(IndexView* view, LONG width, LONG height);
// Releases the stream, the line table and the fonts; with releaseRecord the view too.
void DestroyIndexView(IndexView* view, bool releaseRecord);

// Room for IndexLineGrowth more lines (up to the 16-bit limit of LineCapacity). When the
// table cannot grow, the line at `position` becomes the end line and IndexOutOfMemory.
int GrowIndexLines(IndexView* view, WORD position);

// Stores and returns the largest first line that still fills the view: the visible
// lines less those that fit from the table's end upward; -1 with no visible line.
int ComputeIndexLastTopLine(IndexView* view);

// How far the line's text ends from the view's right edge.
LONG IndentOf(const IndexView* view, const IndexLine& line);
inline bool IsEndLine(const IndexLine& line) { return line.EntryFlags == 0; }
inline bool IsLineVisible(const IndexLine& line) { return IsEntryVisible(line.EntryFlags); }

// The lines one page shows, top down: from FirstLine visible lines on, the visible lines
// whose heights fit the view's; the walk ends at the first line (shown or not) that no
// longer fits, or at the end line. Drawing, hit testing and the page size agree on it.
struct PageWalk {
  const IndexView* view;
  WORD line;       // the line reached
  LONG top;        // where the line reached stands
  LONG remaining;  // the view's height left from there down
  bool onLine;     // the line reached is shown and not yet passed
};
// The walk before the page's first line; `line` is where it starts. Needs the lines.
PageWalk StartPage(const IndexView* view);
// Moves to the next line shown; false at the page's end.
bool NextShownLine(PageWalk& walk);
inline const IndexLine& ShownLine(const PageWalk& walk) { return walk.view->Lines[walk.line]; }
