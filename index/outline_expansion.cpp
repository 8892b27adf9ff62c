#include "index/outline_expansion.h"

#include "base/alloc.h"
#include "index/index_draw.h"
#include "index/index_view.h"

namespace {

bool HasLines(const IndexView* view) { return view && view->Stream && view->Lines; }

void Show(IndexView* view, IndexLine& line) {
  if (IsLineVisible(line)) return;
  line.EntryFlags |= EntryVisible;
  view->VisibleCount += 1;
}

void Hide(IndexView* view, IndexLine& line) {
  if (!IsLineVisible(line)) return;
  line.EntryFlags &= BYTE(~EntryVisible);
  view->VisibleCount -= 1;
}

// The first line after the entry whose line is given: its lines share the key.
WORD AfterEntry(const IndexView* view, WORD line) {
  WORD key = view->Lines[line].Key;
  WORD next = line;
  while (!IsEndLine(view->Lines[next]) && view->Lines[next].Key == key) ++next;
  return next;
}

// The entry's first line.
WORD StartOfEntry(const IndexView* view, WORD line) {
  WORD key = view->Lines[line].Key;
  while (line > 0 && view->Lines[line - 1].Key == key) --line;
  return line;
}

// Every line of the entry takes the Expanded state.
void SetEntryExpanded(IndexView* view, WORD line, bool expanded) {
  WORD end = AfterEntry(view, line);
  for (WORD i = StartOfEntry(view, line); i < end; ++i) {
    BYTE& flags = view->Lines[i].EntryFlags;
    flags = expanded ? BYTE(flags | EntryExpanded) : BYTE(flags & ~EntryExpanded);
  }
}

}  // namespace

LONG HitTestIndex(IndexView* view, LONG x, LONG y) {
  if (!HasLines(view)) return 0;
  if (x < view->Left || x > view->Left + view->Width || y < view->Top || y > view->Top + view->Height)
    return 0;
  PageWalk walk = StartPage(view);
  while (NextShownLine(walk)) {
    const IndexLine& line = ShownLine(walk);
    if (y > walk.top + line.Height) continue;
    LONG textEnd = line.X + line.Width;
    if (line.X <= x && x <= textEnd + MarkSpan)
      return line.Key & ArticleKeyBit ? LONG(KeyNumber(line.Key)) : ToggleSection(view, walk.line);
    if (!(line.Key & SectionKeyBit) || x <= textEnd) return 0;
    return ToggleSection(view, walk.line);
  }
  return HitBelowLastLine;
}

// The lines below the entry belong to it while their indent is deeper than its own: a
// section followed by a line of its own level or above has nothing to show or hide.
LONG ToggleSection(IndexView* view, WORD line) {
  if (!HasLines(view) || line >= view->LineCount) return 0;
  IndexLine* lines = view->Lines;
  bool collapse = IsEntryExpanded(lines[line].EntryFlags);
  SetEntryExpanded(view, line, !collapse);
  LONG own = IndentOf(view, lines[line]);
  WORD q = AfterEntry(view, line);
  LONG shown = IndentOf(view, lines[q]);
  WORD visibleBefore = view->VisibleCount;
  for (; shown > own && !IsEndLine(lines[q]) && IndentOf(view, lines[q]) >= shown; ++q) {
    if (collapse) Hide(view, lines[q]);
    else if (IndentOf(view, lines[q]) == shown) Show(view, lines[q]);
  }
  if (view->VisibleCount != visibleBefore) ComputeIndexLastTopLine(view);
  DrawIndex(view, true);
  return -LONG(KeyNumber(lines[line].Key));
}

void ShowEntryLines(IndexView* view, WORD line, int step) {
  if (!HasLines(view) || line > view->LineCount) return;
  WORD key = view->Lines[line].Key;
  for (int i = line; i >= 0 && !IsEndLine(view->Lines[i]) && view->Lines[i].Key == key; i += step) {
    Show(view, view->Lines[i]);
    if (key & SectionKeyBit) view->Lines[i].EntryFlags &= BYTE(~EntryExpanded);
  }
}

void ExpandToLesson(IndexView* view, WORD lesson) {
  if (!HasLines(view) || lesson == 0) return;
  WORD found = 0;
  const IndexLine* lines = view->Lines;
  while (!IsEndLine(lines[found]) &&
         (KeyNumber(lines[found].Key) != lesson || (lines[found].Key & SectionKeyBit)))
    ++found;
  if (IsEndLine(lines[found]) || IsLineVisible(lines[found])) return;
  ShowEntryLines(view, found, +1);
  ShowEntryLines(view, AfterEntry(view, found), +1);
  LONG limit = IndentOf(view, lines[found]);
  for (int i = found - 1; i >= 0; --i) {
    LONG indent = IndentOf(view, lines[i]);
    if (indent >= limit) continue;
    ShowEntryLines(view, WORD(i), -1);
    limit = indent;
  }
  ComputeIndexLastTopLine(view);
}

WORD* SaveExpansion(IndexView* view) {
  if (!HasLines(view) || IsEndLine(view->Lines[0])) return nullptr;
  size_t pairs = 0;
  WORD last = 0;
  for (const IndexLine* line = view->Lines; !IsEndLine(*line); ++line)
    if (IsLineVisible(*line) && line->Key != last) ++pairs, last = line->Key;
  if (pairs == 0) return nullptr;
  WORD* list = static_cast<WORD*>(AllocOrQuit((2 * pairs + 1) * sizeof(WORD)));
  if (!list) return nullptr;
  WORD* out = list;
  last = 0;
  for (const IndexLine* line = view->Lines; !IsEndLine(*line); ++line) {
    if (!IsLineVisible(*line) || line->Key == last) continue;
    *out++ = last = line->Key;
    *out++ = line->EntryFlags & EntryExpanded;
  }
  *out = 0;
  return list;
}

int RestoreExpansion(IndexView* view, const WORD* list) {
  if (!HasLines(view) || !list) return -1;
  IndexLine* lines = view->Lines;
  WORD position = 0;
  for (const WORD* pair = list; pair[0]; pair += 2) {
    WORD q = position;
    while (!IsEndLine(lines[q]) && lines[q].Key != pair[0]) ++q;
    position = q;
    BYTE wanted = BYTE(EntryVisible | (pair[1] & EntryExpanded));
    for (; !IsEndLine(lines[q]) && lines[q].Key == pair[0]; position = q++) {
      Show(view, lines[q]);
      lines[q].EntryFlags |= wanted;
    }
  }
  ComputeIndexLastTopLine(view);
  return 0;
}
