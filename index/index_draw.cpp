#include "index/index_draw.h"

#include "base/app_state.h"
#include "index/index_fonts.h"
#include "index/index_view.h"
#include "text/conversion.h"
#include "text/text_run.h"

namespace {

constexpr BYTE StyleKeyBits = 0x1F;

// The mark bitmaps of AppState: plus, minus, page.
HBITMAP MarkBitmap(const IndexLine& line) {
  if (line.Key & SectionKeyBit) return App.OutlineBitmaps[IsEntryExpanded(line.EntryFlags) ? 1 : 0];
  return App.OutlineBitmaps[2];
}

}  // namespace

void DrawOutlineMark(IndexView* view, const IndexLine& line, LONG y) {
  if (!view) return;
  HBITMAP bitmap = MarkBitmap(line);
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(view->Dc);
  if (!memory) return;
  HGDIOBJ old = SelectObject(memory, bitmap);
  BITMAP info;
  GetObjectW(bitmap, 24, &info);
  int x = line.X + line.Width + OutlineMarkGap;
  int d = (line.Height - OutlineMarkSize) / 2;
  int top = d > 0 ? y + d : y;
  StretchBlt(view->Dc, x, top, OutlineMarkSize, OutlineMarkSize, memory, 0, 0, OutlineMarkSize,
             OutlineMarkSize, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

int DrawIndex(IndexView* view, bool erase) {
  if (!view || !view->Stream || !view->Lines) return -1;
  view->LinesDrawn = 0;
  if (view->FirstLine > view->VisibleCount) view->FirstLine = view->LastTopLine;
  PageWalk walk = StartPage(view);
  COLORREF text = GetTextColor(view->Dc);
  SetActiveCodeBase(FontAsciiBase());
  HGDIOBJ kept = GetCurrentObject(view->Dc, OBJ_FONT);
  BYTE style = ShownLine(walk).EntryFlags;
  SelectIndexFont(view, style | IndexColourRequest);
  if (erase) FillViewRect(view->Dc, view->Left, view->Top, view->Width, view->Height, WHITE_BRUSH);
  WORD lastKey = 0;
  while (NextShownLine(walk)) {
    const IndexLine& line = ShownLine(walk);
    if ((line.EntryFlags ^ style) & StyleKeyBits) SelectIndexFont(view, line.EntryFlags | IndexColourRequest);
    style = line.EntryFlags;
    if (line.Key != lastKey) {
      DrawOutlineMark(view, line, walk.top);
      lastKey = line.Key;
    }
    DrawTextRun(view->Dc, view->Stream + line.Offset, line.Length, line.X, walk.top, line.Width,
                line.Height);
    view->LinesDrawn += 1;
  }
  SelectObject(view->Dc, kept);
  SetTextColor(view->Dc, text);
  SetActiveCodeBase(CodeBaseLetter);
  return 0;
}

int ScrollIndex(IndexView* view, int delta, bool redraw, bool clamp) {
  if (!view) return -1;
  int target = view->FirstLine + delta;
  if (target < 0) target = 0;
  else if ((clamp || target > view->VisibleCount) && target > view->LastTopLine) target = view->LastTopLine;
  if (redraw && target == view->FirstLine) return 1;
  view->FirstLine = WORD(target);
  return redraw ? DrawIndex(view, true) : 1;
}
