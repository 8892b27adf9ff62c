// Creating, resizing and destroying the outline, its line table and the page walk.
#include "index/index_view.h"

#include <cstdlib>
#include <cstring>

#include "base/alloc.h"
#include "index/index_fonts.h"

namespace {

IndexLine* NewLineTable(size_t capacity) {
  return static_cast<IndexLine*>(AllocOrQuit(sizeof(IndexLine) * (capacity + 1)));
}

}  // namespace

IndexView* CreateIndexView(HDC dc, const RECT* box, const FontChoice* font, WORD reserve) {
  if (!dc) return nullptr;
  IndexView* view = static_cast<IndexView*>(AllocOrQuit(sizeof(IndexView)));
  if (!view) return nullptr;
  memset(view, 0, sizeof *view);
  view->Dc = dc;
  if (font) view->Font = *font;
  if (box) {
    view->Left = box->left;
    view->Top = box->top;
    view->Width = box->right - box->left;
    view->Height = box->bottom - box->top;
  }
  if (reserve) {
    view->Lines = NewLineTable(reserve);
    if (view->Lines) {
      memset(&view->Lines[0], 0, sizeof(IndexLine));
      view->LineCapacity = reserve;
    }
  }
  return view;
}

int GrowIndexLines(IndexView* view, WORD position) {
  if (!view || !view->Lines) return IndexNoView;
  // The capacity is a 16-bit count: the last growth stops at its limit, and a table at
  // the limit ends where it stands, as one that finds no memory does.
  size_t capacity = size_t(view->LineCapacity) + IndexLineGrowth;
  if (capacity > 0xFFFF) capacity = 0xFFFF;
  IndexLine* lines = capacity > view->LineCapacity ? NewLineTable(capacity) : nullptr;
  if (!lines) {
    memset(&view->Lines[position], 0, sizeof(IndexLine));
    return IndexOutOfMemory;
  }
  // The entry past the capacity too: the table stays ended where it was.
  memcpy(lines, view->Lines, sizeof(IndexLine) * (size_t(view->LineCapacity) + 1));
  free(view->Lines);
  view->Lines = lines;
  view->LineCapacity = WORD(capacity);
  return IndexDone;
}

int ResizeIndexView(IndexView* view, LONG width, LONG height) {
  if (!view) return IndexNoView;
  view->Width = width;
  view->Height = height;
  return LayoutIndex(view, view->Stream, false);
}

void DestroyIndexView(IndexView* view, bool releaseRecord) {
  if (!view) return;
  free(view->Stream);
  view->Stream = nullptr;
  free(view->Lines);
  view->Lines = nullptr;
  view->LineCapacity = view->LineCount = view->VisibleCount = 0;
  ReleaseIndexFonts(view);
  if (releaseRecord) free(view);
}

int ComputeIndexLastTopLine(IndexView* view) {
  if (!view || !view->Lines || !view->VisibleCount || !view->LineCount) return -1;
  LONG remaining = view->Height;
  int fitting = 0;
  for (int i = view->LineCount - 1; i >= 0; --i) {
    const IndexLine& line = view->Lines[i];
    if (line.Height > remaining) break;
    if (!IsLineVisible(line)) continue;
    fitting += 1;
    remaining -= line.Height;
  }
  view->LastTopLine = WORD(view->VisibleCount - fitting);
  return view->LastTopLine;
}

LONG IndentOf(const IndexView* view, const IndexLine& line) {
  return view->Left + view->Width - line.X - line.Width;
}

PageWalk StartPage(const IndexView* view) {
  PageWalk walk = {view, 0, view->Top, view->Height, false};
  for (WORD passed = 0; passed < view->FirstLine && !IsEndLine(view->Lines[walk.line]); ++walk.line)
    if (IsLineVisible(view->Lines[walk.line])) ++passed;
  return walk;
}

bool NextShownLine(PageWalk& walk) {
  const IndexLine* lines = walk.view->Lines;
  if (walk.onLine) {
    walk.top += lines[walk.line].Height;
    walk.remaining -= lines[walk.line].Height;
    walk.line += 1;
  }
  for (;; ++walk.line) {
    const IndexLine& line = lines[walk.line];
    walk.onLine = false;
    if (IsEndLine(line) || walk.remaining < line.Height) return false;
    if (IsLineVisible(line)) return walk.onLine = true;
  }
}
