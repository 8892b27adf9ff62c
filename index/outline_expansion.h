// Which lines of the outline are shown and what a tap means: sections expanded and
// collapsed, the outline opened at a lesson, the state kept across a relayout, and the
// hit test of a tap.
#pragma once

#include "platform.h"

struct IndexView;

// HitTestIndex's answer for a tap below the last line of the page.
constexpr LONG HitBelowLastLine = LONG(0x80000000);
// Beyond a line's text, the span a tap on its mark takes.
constexpr LONG MarkSpan = 13;

// The lesson a tap at (x, y) chooses (> 0); after it toggled a section, minus that
// section's identifier; HitBelowLastLine below the last line shown; else 0. On a line,
// its text and mark choose or toggle; left of the text nothing; beyond the mark a
// section line toggles and a lesson line does nothing.
LONG HitTestIndex(IndexView* view, LONG x, LONG y);

// Expands a collapsed section or collapses an expanded one, the entry whose line is
// given, and redraws. Collapsing hides every line of deeper indent below the entry;
// expanding shows the lines at the indent of the first of them, deeper ones staying as
// they were. Minus the section's identifier (the low 14 bits of its key).
LONG ToggleSection(IndexView* view, WORD line);
// Shows the lines of the line's entry from the line on, in the direction of step (+1 or
// -1); a section's lines show the plus mark.
void ShowEntryLines(IndexView* view, WORD line, int step);
// Shows the first entry for the lesson, the entry after it and every section it stands
// in, unless it is shown already. FirstLine does not move.
void ExpandToLesson(IndexView* view, WORD lesson);

// The expansion state: (Key, EntryFlags AND EntryExpanded) for each visible entry in
// line order, then a Key of 0; a heap block the caller releases.
WORD* SaveExpansion(IndexView* view);
// Shows again each saved entry, from the table's start on in order, with its saved
// Expanded bit added. 0, or -1 without stream, lines or list. It only adds: what the
// stream itself shows and expands stays so.
int RestoreExpansion(IndexView* view, const WORD* list);
