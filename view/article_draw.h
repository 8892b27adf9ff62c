// Painting the visible page of an article view, the search highlight over it,
// scrolling by display lines and applying a new font.
#pragma once

#include "view/article_view.h"

// Where the page starts: the first visible entry, its top and the room left below it.
struct PageStart {
  const LineEntry* Entry;
  int Y;
  int Room;
};

// Finds the first visible entry, first bringing a FirstLine beyond the article back to
// LastTopLine. Shared by the page and the highlight drawing; no entry without a view
// or line table.
PageStart FindFirstVisibleEntry(ArticleView* view);

// -1 without view, text or line table; else 0, or DrawHighlight's result when a
// highlight is set. With erase the view rectangle is first filled white.
int DrawArticle(ArticleView* view, bool erase);
int DrawHighlight(ArticleView* view);
// Draws the highlighted bytes among count bytes of run, which is drawn at x, y.
void DrawHighlightPart(ArticleView* view, const BYTE* textStart, const BYTE* run, int count,
                       int x, int y, const LineEntry& entry);

// -1 without view; 1 when nothing moved; after a move DrawArticle's result with redraw,
// else 3.
int ScrollArticle(ArticleView* view, int delta, int redraw, bool clamp);

// -1 without view; without a choice the fonts are released (0); else the fonts are
// made again from the choice and the article laid out (1 when that fails) and drawn.
int ChangeArticleFont(ArticleView* view, const FontChoice* choice);
