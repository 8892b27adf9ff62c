// What a line entry shows: its run and, on the first line of a paragraph with a
// hanging word, that word in its column. The one description the drawing, the
// highlight and the span of text a line stands for are taken from.
#pragma once

#include "content/article_format.h"
#include "view/article_view.h"

inline bool IsRightToLeft(const LineEntry& entry) { return entry.ParaFlags & RightToLeft; }

// A stretch of the view's text and the box it is drawn in on the line.
struct EntryPart {
  const BYTE* Bytes;
  int Length;  // bytes of the text the part holds
  int Count;   // bytes drawn: the whole run; of a hanging word those that fit its column
  int X;       // left edge of the drawn bytes
  int Width;   // their width
};

struct EntryParts {
  bool HasWord;
  EntryPart Word;  // the hanging word, drawn before the run
  EntryPart Run;
};

// The parts, the hanging word fitted into its column in the font selected for the
// entry: left-to-right from the column's left edge, right-to-left against its right
// edge.
EntryParts MeasureEntryParts(ArticleView* view, const LineEntry& entry);

// The text offsets the entry's parts hold, both ends included; needs no font.
struct TextSpan {
  int First;
  int Last;
};
TextSpan EntrySpan(const ArticleView* view, const LineEntry& entry);
