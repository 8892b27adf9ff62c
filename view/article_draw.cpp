#include "view/article_draw.h"

#include "content/article_format.h"
#include "text/text_run.h"
#include "view/entry_parts.h"
#include "view/line_walker.h"
#include "view/style_font.h"
#include "view/view_colours.h"

namespace {

// The style the page starts with: that of its first entry when it is text.
BYTE StartStyle(const LineEntry* entry) {
  return entry->ParaFlags && !IsRuleRecord(entry->ParaFlags) ? entry->ParaFlags : BYTE(BaseStyle);
}

// Calls visit(entry, y) for every entry from the page's start that fits whole in the
// view, top first; returns the display lines passed, the blank line after the last
// entry visited included even when it falls below the view.
template <typename Visit>
LONG WalkPage(const PageStart& page, Visit visit) {
  int bottom = page.Y + page.Room;
  LineWalker walk(page.Entry, page.Y);
  for (; !walk.AtEnd() && walk.Top() + walk.Entry().Height <= bottom; walk.Next())
    visit(walk.Entry(), walk.Top());
  return walk.Line();
}

void DrawRuleEntry(ArticleView* view, const LineEntry& entry, int y) {
  HGDIOBJ old = SelectObject(view->Dc, GetStockObject(BLACK_BRUSH));
  int middle = y + entry.Height / 2;
  Rectangle(view->Dc, entry.X, middle, entry.X + entry.Width, middle + 1);
  SelectObject(view->Dc, old);
}

void DrawPart(ArticleView* view, const LineEntry& entry, const EntryPart& part, int y) {
  DrawDirectedRun(view->Dc, view->WidthTable, IsRightToLeft(entry), part.Bytes, part.Count, part.X,
                  y, part.Width, entry.Height);
}

void DrawTextEntry(ArticleView* view, const LineEntry& entry, int y) {
  EntryParts parts = MeasureEntryParts(view, entry);
  if (parts.HasWord) DrawPart(view, entry, parts.Word, y);
  DrawPart(view, entry, parts.Run, y);
}

// Selects the entry's style font when its key differs from the current style's; extra
// are the request bits besides the key.
void SelectEntryStyle(ArticleView* view, const LineEntry& entry, BYTE* style, unsigned extra) {
  if (StyleKey(entry.ParaFlags ^ *style)) SelectStyleFont(view, entry.ParaFlags | extra);
  *style = entry.ParaFlags;
}

bool IsHighlighted(const ArticleView* view, const LineEntry& entry) {
  TextSpan span = EntrySpan(view, entry);
  return view->HighlightEnd >= span.First && view->HighlightStart <= span.Last;
}

// The bytes of a part the highlight may cover: those drawn, but all of a left-to-right
// hanging word, from its column's left edge.
int HighlightCount(const LineEntry& entry, const EntryPart& part) {
  return IsRightToLeft(entry) ? part.Count : part.Length;
}

void DrawHighlightEntry(ArticleView* view, const LineEntry& entry, int y) {
  EntryParts parts = MeasureEntryParts(view, entry);
  const BYTE* text = view->Text;
  if (parts.HasWord) {
    DrawHighlightPart(view, text, parts.Word.Bytes, HighlightCount(entry, parts.Word), parts.Word.X,
                      y, entry);
  }
  DrawHighlightPart(view, text, parts.Run.Bytes, parts.Run.Count, parts.Run.X, y, entry);
}

bool IsDrawable(const ArticleView* view) { return view && view->Text && view->Lines; }

}  // namespace

PageStart FindFirstVisibleEntry(ArticleView* view) {
  if (!view || !view->Lines) return {nullptr, 0, 0};
  if (view->FirstLine > view->DisplayLineCount) view->FirstLine = view->LastTopLine;
  LineWalker walk(view->Lines);
  walk.SkipUntil([view](const LineEntry&, int line) { return line >= view->FirstLine; });
  PageStart page = {walk.Position(), view->Top, view->Height};
  if (walk.Line() > view->FirstLine) {
    // The page begins with the blank line after the entry before.
    page.Y += walk.Position()[-1].Height;
    page.Room -= walk.Position()[-1].Height;
  }
  return page;
}

int DrawArticle(ArticleView* view, bool erase) {
  if (!IsDrawable(view)) return -1;
  PageStart page = FindFirstVisibleEntry(view);
  BYTE style = StartStyle(page.Entry);
  COLORREF keptColour = GetTextColor(view->Dc);
  HGDIOBJ keptFont = SelectStyleFontKeeping(view, style | StyleColourRequest);
  if (erase) FillViewRect(view->Dc, view->Left, view->Top, view->Width, view->Height, WHITE_BRUSH);
  view->LinesDrawn = WalkPage(page, [&](const LineEntry& entry, int y) {
    if (IsRuleRecord(entry.ParaFlags)) {
      DrawRuleEntry(view, entry, y);
    } else {
      SelectEntryStyle(view, entry, &style, StyleColourRequest);
      DrawTextEntry(view, entry, y);
    }
  });
  SelectObject(view->Dc, keptFont);
  SetTextColor(view->Dc, keptColour);
  if (view->HighlightStart || view->HighlightEnd) return DrawHighlight(view);
  return 0;
}

int DrawHighlight(ArticleView* view) {
  if (!IsDrawable(view)) return -1;
  PageStart page = FindFirstVisibleEntry(view);
  BYTE style = StartStyle(page.Entry);
  HGDIOBJ keptFont = SelectStyleFontKeeping(view, style);
  WalkPage(page, [&](const LineEntry& entry, int y) {
    if (IsRuleRecord(entry.ParaFlags) || !IsHighlighted(view, entry)) return;
    SelectEntryStyle(view, entry, &style, 0);
    DrawHighlightEntry(view, entry, y);
  });
  SelectObject(view->Dc, keptFont);
  return 0;
}

void DrawHighlightPart(ArticleView* view, const BYTE* textStart, const BYTE* run, int count,
                       int x, int y, const LineEntry& entry) {
  if (!view || !view->Dc) return;
  bool rightToLeft = IsRightToLeft(entry);
  int s = view->HighlightStart - int(run - textStart);
  const BYTE* part = run;
  int partCount = count;
  int partX = x;
  if (s > count) return;
  if (s >= 0) {
    int before = UnlimitedWidth, measured = s;
    FitDirectedRun(view->Dc, view->WidthTable, rightToLeft, run, &before, &measured);
    part = run + s;
    partCount = count - s;
    partX = x + before;
  }
  int untilEnd = int(textStart + view->HighlightEnd - part);
  if (partCount > untilEnd) partCount = untilEnd;
  if (partCount <= 0) return;
  int width = UnlimitedWidth;
  FitDirectedRun(view->Dc, view->WidthTable, rightToLeft, part, &width, &partCount);
  HBRUSH yellow = CreateSolidBrush(HighlightBackground);
  if (yellow) {
    RECT box = {partX, y - 1, partX + width, y + entry.Height + 1};
    FillRect(view->Dc, &box, yellow);
  }
  DrawColouredDirectedRun(view->Dc, view->WidthTable, rightToLeft, part, partCount, partX, y, width,
                          entry.Height, HighlightText, HighlightBackground);
  if (yellow) DeleteObject(yellow);
}

int ScrollArticle(ArticleView* view, int delta, int redraw, bool clamp) {
  if (!view) return -1;
  int target = view->FirstLine + delta;
  if (target < 0) {
    target = 0;
  } else if (clamp || target > view->DisplayLineCount) {
    if (target >= view->FirstLine && view->FirstLine >= view->LastTopLine) return 1;
    if (target > view->DisplayLineCount) target = view->LastTopLine;
  }
  if (redraw == 1 && target == view->FirstLine) return 1;
  bool moved = target != view->FirstLine;
  if (moved) view->FirstLine = WORD(target);
  if (redraw) return DrawArticle(view, true);
  return moved ? 3 : 1;
}

int ChangeArticleFont(ArticleView* view, const FontChoice* choice) {
  if (!view) return -1;
  if (!choice) return ReleaseStyleFonts(view);
  RecreateStyleFonts(view, choice);
  if (LayoutArticle(view, view->Text, false) != LayoutDone) return 1;
  return DrawArticle(view, true);
}
