#include "view/article_draw.h"

#include <cstring>

#include "content/article_format.h"
#include "text/text_run.h"
#include "view/line_walker.h"
#include "view/style_font.h"

namespace {

constexpr BYTE Space = 0x20;
constexpr COLORREF HighlightText = 0xFF0000;        // blue
constexpr COLORREF HighlightBackground = 0x00FFFF;  // yellow

bool IsRightToLeft(const LineEntry& entry) { return entry.ParaFlags & RightToLeft; }

// The style the page starts with: that of its first entry when it is text.
BYTE StartStyle(const LineEntry* entry) {
  return entry->ParaFlags && !IsRuleRecord(entry->ParaFlags) ? entry->ParaFlags : 1;
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

void DrawRun(ArticleView* view, bool rightToLeft, const BYTE* bytes, int count, int x, int y,
             int w, int h) {
  DrawDirectedRun(view->Dc, view->WidthTable, rightToLeft, bytes, count, x, y, w, h);
}

void Measure(ArticleView* view, bool rightToLeft, const BYTE* bytes, int* width, int* count) {
  FitDirectedRun(view->Dc, view->WidthTable, rightToLeft, bytes, width, count);
}

int WordLength(const BYTE* word) {
  int n = 0;
  while (word[n] && word[n] != Space) ++n;
  return n;
}

const BYTE* SkipSpaces(const BYTE* p) {
  while (*p == Space) ++p;
  return p;
}

// The hanging word of a right-to-left line follows its run and the spaces after it.
const BYTE* RightToLeftHangingWord(const ArticleView* view, const LineEntry& entry) {
  return SkipSpaces(view->Text + entry.Offset + entry.Length);
}

// The hanging word fitted into its column: k bytes of width w.
struct FittedWord {
  const BYTE* Start;
  int Count;
  int Width;
};

FittedWord FitRightToLeftWord(ArticleView* view, const LineEntry& entry) {
  FittedWord word = {RightToLeftHangingWord(view, entry), 0, entry.HangWidth};
  word.Count = int(strlen(reinterpret_cast<const char*>(word.Start)));
  Measure(view, true, word.Start, &word.Width, &word.Count);
  return word;
}

FittedWord FitLeftToRightWord(ArticleView* view, const LineEntry& entry) {
  FittedWord word = {view->Text + entry.Offset, 0, entry.HangWidth};
  word.Count = WordLength(word.Start);
  Measure(view, false, word.Start, &word.Width, &word.Count);
  return word;
}

const BYTE* LeftToRightRunStart(const ArticleView* view, const LineEntry& entry) {
  const BYTE* word = view->Text + entry.Offset;
  return SkipSpaces(word + WordLength(word));
}

void DrawRuleEntry(ArticleView* view, const LineEntry& entry, int y) {
  HGDIOBJ old = SelectObject(view->Dc, GetStockObject(BLACK_BRUSH));
  int middle = y + entry.Height / 2;
  Rectangle(view->Dc, entry.X, middle, entry.X + entry.Width, middle + 1);
  SelectObject(view->Dc, old);
}

void DrawTextEntry(ArticleView* view, const LineEntry& entry, int y) {
  bool rightToLeft = IsRightToLeft(entry);
  if (!entry.HangWidth) {
    DrawRun(view, rightToLeft, view->Text + entry.Offset, entry.Length, entry.X, y, entry.Width,
            entry.Height);
  } else if (rightToLeft) {
    FittedWord word = FitRightToLeftWord(view, entry);
    DrawRun(view, true, word.Start, word.Count, entry.X + entry.Width + entry.HangWidth - word.Width,
            y, word.Width, entry.Height);
    DrawRun(view, true, view->Text + entry.Offset, entry.Length, entry.X, y, entry.Width,
            entry.Height);
  } else {
    FittedWord word = FitLeftToRightWord(view, entry);
    DrawRun(view, false, word.Start, word.Count, entry.X - entry.HangWidth, y, word.Width,
            entry.Height);
    DrawRun(view, false, LeftToRightRunStart(view, entry), entry.Length, entry.X, y, entry.Width,
            entry.Height);
  }
}

void SelectEntryStyle(ArticleView* view, const LineEntry& entry, BYTE* style, unsigned colour) {
  if (StyleKey(entry.ParaFlags ^ *style)) SelectStyleFont(view, entry.ParaFlags | colour);
  *style = entry.ParaFlags;
}

// The text offsets an entry shows, its hanging word included: [first, last].
void EntrySpan(ArticleView* view, const LineEntry& entry, int* first, int* last) {
  *first = entry.Offset;
  *last = entry.Offset + entry.Length;
  if (!entry.HangWidth) return;
  if (IsRightToLeft(entry)) {
    const BYTE* word = RightToLeftHangingWord(view, entry);
    *last = int(word - view->Text) + int(strlen(reinterpret_cast<const char*>(word)));
  } else {
    *last = int(LeftToRightRunStart(view, entry) - view->Text) + entry.Length;
  }
}

void DrawHighlightEntry(ArticleView* view, const LineEntry& entry, int y) {
  const BYTE* text = view->Text;
  if (!entry.HangWidth) {
    DrawHighlightPart(view, text, text + entry.Offset, entry.Length, entry.X, y, entry);
  } else if (IsRightToLeft(entry)) {
    FittedWord word = FitRightToLeftWord(view, entry);
    DrawHighlightPart(view, text, word.Start, word.Count,
                      entry.X + entry.Width + entry.HangWidth - word.Width, y, entry);
    DrawHighlightPart(view, text, text + entry.Offset, entry.Length, entry.X, y, entry);
  } else {
    const BYTE* word = text + entry.Offset;
    DrawHighlightPart(view, text, word, WordLength(word), entry.X - entry.HangWidth, y, entry);
    DrawHighlightPart(view, text, LeftToRightRunStart(view, entry), entry.Length, entry.X, y, entry);
  }
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
  HGDIOBJ keptFont = SelectStyleFontKeeping(view, style | 0x100);
  if (erase) FillViewRect(view->Dc, view->Left, view->Top, view->Width, view->Height, WHITE_BRUSH);
  view->LinesDrawn = WalkPage(page, [&](const LineEntry& entry, int y) {
    if (IsRuleRecord(entry.ParaFlags)) {
      DrawRuleEntry(view, entry, y);
    } else {
      SelectEntryStyle(view, entry, &style, 0x100);
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
    if (IsRuleRecord(entry.ParaFlags)) return;
    int first = 0, last = 0;
    EntrySpan(view, entry, &first, &last);
    if (view->HighlightEnd < first || view->HighlightStart > last) return;
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
    Measure(view, rightToLeft, run, &before, &measured);
    part = run + s;
    partCount = count - s;
    partX = x + before;
  }
  int untilEnd = int(textStart + view->HighlightEnd - part);
  if (partCount > untilEnd) partCount = untilEnd;
  if (partCount <= 0) return;
  int width = UnlimitedWidth;
  Measure(view, rightToLeft, part, &width, &partCount);
  HDC dc = view->Dc;
  HBRUSH yellow = CreateSolidBrush(HighlightBackground);
  if (yellow) {
    RECT box = {partX, y - 1, partX + width, y + entry.Height + 1};
    FillRect(dc, &box, yellow);
  }
  DrawColouredDirectedRun(dc, view->WidthTable, rightToLeft, part, partCount, partX, y, width,
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
