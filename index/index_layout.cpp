// Breaking the titles of the index stream into display lines: each title reversed into
// reading order, broken at the last space that fits (a word wider than the line is cut
// where the width ends), each line right-aligned at its entry's indent and referring to
// the stored bytes in display order.
#include <cstdlib>
#include <cstring>

#include "base/alloc.h"
#include "index/index_fonts.h"
#include "index/index_view.h"
#include "text/conversion.h"
#include "text/text_run.h"

namespace {

constexpr BYTE Space = 0x20;
constexpr BYTE StyleKeyBits = 0x1F;

// The state that runs through one layout.
struct Layout {
  IndexView* view;
  const BYTE* stream;
  WORD line;    // the next line to write
  BYTE style;   // style byte of the entry whose font is selected
  LONG height;  // that font's text height
};

bool IsUsableStart(const BYTE* stream) {
  IndexEntry first;
  return FirstEntry(stream, &first) && first.TitleLength > 0;
}

void SelectEntryFont(Layout& layout, BYTE style) {
  SelectIndexFont(layout.view, style);
  TEXTMETRICW metrics;
  memset(&metrics, 0, sizeof metrics);
  GetTextMetricsW(layout.view->Dc, &metrics);
  layout.height = metrics.tmHeight;
}

// Fits the bytes at p into the available width; a fit that ends inside a word moves
// back to the last space of the line (the line ends before it), a word with none is cut
// where the width ended; a line takes at least one byte, however narrow the view. False
// when a run could not be measured (memory ran out).
bool FitLine(HDC dc, const BYTE* p, int left, int available, int* count, int* width) {
  *count = left;
  *width = available;
  if (!FitByExtent(dc, p, width, count)) return false;
  if (p[*count] && p[*count] != Space) {
    for (int t = *count - 1; t >= 1; --t) {
      if (p[t] != Space) continue;
      *count = t;
      if (!FitByExtent(dc, p, width, count)) return false;
      break;
    }
  }
  if (*count == 0) {
    *count = 1;
    *width = 0x7FFF;
    if (!FitByExtent(dc, p, width, count)) return false;
    *count = 1;
  }
  return true;
}

// Lays out the lines of one title from its reading-order copy.
int LayOutTitle(Layout& layout, const IndexEntry& entry, const BYTE* copy, LONG indent) {
  IndexView* view = layout.view;
  const BYTE* p = copy;
  int left = entry.TitleLength;
  for (;;) {
    while (*p == Space) ++p, --left;
    if (!*p) return IndexDone;
    if (layout.line >= view->LineCapacity) {
      int status = GrowIndexLines(view, layout.line);
      if (status) return status;
    }
    int available = view->Width > indent ? int(view->Width - indent) : 0;
    int count, width;
    if (!FitLine(view->Dc, p, left, available, &count, &width)) return IndexOutOfMemory;
    IndexLine& line = view->Lines[layout.line++];
    // The table stays ended after every line, so that a paint during the layout (under
    // an out-of-memory message) finds its end.
    memset(&view->Lines[layout.line], 0, sizeof(IndexLine));
    line.Offset = WORD(entry.Title - layout.stream + entry.TitleLength - (p - copy) - count);
    line.Length = WORD(count);
    line.Width = WORD(width);
    line.Height = WORD(layout.height);
    line.Key = entry.Key;
    line.EntryFlags = layout.style;
    line.X = WORD(view->Left + view->Width - indent - width);
    if (IsEntryVisible(layout.style)) view->VisibleCount += 1;
    p += count;
    left -= count;
  }
}

int LayOutEntry(Layout& layout, const IndexEntry& entry) {
  IndexView* view = layout.view;
  LONG indent = IndentOfLevel(entry.Level);
  if ((entry.Style ^ layout.style) & StyleKeyBits) SelectEntryFont(layout, entry.Style);
  layout.style = entry.Style;
  if (indent >= view->Width) indent = 0;
  BYTE* copy = static_cast<BYTE*>(AllocOrQuit(size_t(entry.TitleLength) + 1));
  if (!copy) return IndexOutOfMemory;
  for (WORD i = 0; i < entry.TitleLength; ++i) copy[i] = entry.Title[entry.TitleLength - 1 - i];
  copy[entry.TitleLength] = 0;
  int status = LayOutTitle(layout, entry, copy, indent);
  free(copy);
  return status;
}

int LayOutEntries(Layout& layout, const BYTE* stream) {
  IndexEntry entry;
  for (bool more = FirstEntry(stream, &entry); more; more = NextEntry(stream, &entry)) {
    int status = LayOutEntry(layout, entry);
    if (status) return status;
  }
  return IndexDone;
}

// The view takes the stream accepted for layout; the one it held goes when asked.
void TakeStream(IndexView* view, BYTE* stream, bool releaseOld) {
  if (releaseOld && view->Stream != stream) free(view->Stream);
  view->Stream = stream;
}

}  // namespace

int LayoutIndex(IndexView* view, BYTE* stream, bool releaseOld) {
  if (!view) return IndexNoView;
  view->VisibleCount = 0;
  view->LastTopLine = 0;
  if (!stream) {
    if (releaseOld) TakeStream(view, nullptr, true);
    return IndexNoStream;
  }
  if (!IsUsableStart(stream)) return IndexUnusable;
  TakeStream(view, stream, releaseOld);
  view->LineCount = 0;
  if (!view->Lines || !view->LineCapacity) {
    free(view->Lines);
    view->LineCapacity = 0;
    view->Lines = static_cast<IndexLine*>(AllocOrQuit(sizeof(IndexLine) * (IndexLineGrowth + 1)));
    if (!view->Lines) return IndexOutOfMemory;
    view->LineCapacity = IndexLineGrowth;
  }
  SetActiveCodeBase(FontAsciiBase());
  HGDIOBJ kept = GetCurrentObject(view->Dc, OBJ_FONT);
  Layout layout = {view, stream, 0, 1, 0};
  memset(&view->Lines[0], 0, sizeof(IndexLine));
  SelectEntryFont(layout, layout.style);
  // Whatever stops the layout, the table ends after the last line written.
  int status = LayOutEntries(layout, stream);
  view->LineCount = layout.line;
  ComputeIndexLastTopLine(view);
  SelectObject(view->Dc, kept);
  SetActiveCodeBase(CodeBaseLetter);
  return status;
}
