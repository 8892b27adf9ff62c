// Creating, resizing and destroying the view, and its line-table bookkeeping.
#include "view/article_view.h"

#include <cstdlib>
#include <cstring>

#include "content/article_format.h"
#include "view/entry_parts.h"
#include "view/line_walker.h"
#include "view/style_font.h"

ArticleView* CreateArticleView(HDC dc, const RECT* rect, const FontChoice* font, WORD capacity) {
  if (!dc) return nullptr;
  ArticleView* view = static_cast<ArticleView*>(malloc(sizeof(ArticleView)));
  if (!view) return nullptr;
  memset(view, 0, sizeof *view);
  view->Dc = dc;
  if (font) view->Font = *font;
  if (rect) {
    view->Left = rect->left;
    view->Top = rect->top;
    view->Width = rect->right - rect->left;
    view->Height = rect->bottom - rect->top;
  }
  if (capacity) {
    view->Lines = static_cast<LineEntry*>(malloc(sizeof(LineEntry) * (size_t(capacity) + 1)));
    if (view->Lines) {
      memset(&view->Lines[0], 0, sizeof(LineEntry));
      view->LineCapacity = capacity;
    }
  }
  return view;
}

int GrowLineTable(ArticleView* view, int index) {
  if (!view || !view->Lines) return ViewNoView;
  size_t capacity = size_t(view->LineCapacity) + 128;
  // The capacity is a 16-bit count: a table that would pass it cannot grow.
  LineEntry* lines = capacity <= 0xFFFF
                         ? static_cast<LineEntry*>(malloc(sizeof(LineEntry) * (capacity + 1)))
                         : nullptr;
  if (!lines) {
    memset(&view->Lines[index], 0, sizeof(LineEntry));
    return ViewOutOfMemory;
  }
  memcpy(lines, view->Lines, sizeof(LineEntry) * view->LineCapacity);
  free(view->Lines);
  view->Lines = lines;
  view->LineCapacity = WORD(capacity);
  return 0;
}

int ResizeArticleView(ArticleView* view, LONG width, LONG height) {
  if (!view) return ViewNoView;
  if (width <= 0 || height <= 0) return ViewBadSize;
  LONG keptWidth = view->Width, keptHeight = view->Height;
  view->Width = width;
  view->Height = height;
  WORD status = LayoutArticle(view, view->Text, false);
  // A view whose new lines could not be had keeps the size its lines were made for.
  if (status != LayoutDone && status != LayoutNoText) {
    view->Width = keptWidth;
    view->Height = keptHeight;
  }
  return status;
}

void DestroyArticleView(ArticleView* view, bool freeRecord) {
  if (!view) return;
  free(view->Text);
  view->Text = nullptr;
  free(view->Lines);
  view->Lines = nullptr;
  view->LineCapacity = 0;
  view->LineCount = 0;
  ReleaseStyleFonts(view);
  if (!freeRecord) return;
  FreeStyleFontList(view);
  free(view);
}

int ComputeLastTopLine(ArticleView* view) {
  if (!view || !view->Lines || !view->DisplayLineCount || !view->LineCount) return -1;
  int room = SHORT(view->Height);
  int fitted = 0;
  for (int i = view->LineCount - 1; i >= 0; --i) {
    const LineEntry& entry = view->Lines[i];
    if (room < entry.Height) break;
    int lines = DisplayLinesOf(entry);
    room -= lines * entry.Height;
    fitted += lines;
  }
  if (room < 0) fitted -= 1;
  view->LastTopLine = WORD(view->DisplayLineCount - fitted);
  return view->LastTopLine;
}

int ScrollToOffset(ArticleView* view, WORD offset) {
  if (!view || !view->Lines || !view->Text) return 0;
  LineWalker walk(view->Lines);
  // The line holds what it shows: its run and a hanging word, wherever that is stored.
  walk.SkipUntil([view, offset](const LineEntry& entry, int) {
    TextSpan span = EntrySpan(view, entry);
    return span.First <= offset && offset <= span.Last;
  });
  if (walk.AtEnd()) return 0;
  view->FirstLine = WORD(walk.Line() < view->LastTopLine ? walk.Line() : view->LastTopLine);
  return 1;
}
