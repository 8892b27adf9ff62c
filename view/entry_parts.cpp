#include "view/entry_parts.h"

#include <cstring>

#include "text/text_run.h"

namespace {

constexpr BYTE Space = 0x20;

int WordLength(const BYTE* word) {
  int n = 0;
  while (word[n] && word[n] != Space) ++n;
  return n;
}

const BYTE* SkipSpaces(const BYTE* p) {
  while (*p == Space) ++p;
  return p;
}

// The parts where they stand in the text; a hanging word is not fitted yet.
EntryParts LocateParts(const ArticleView* view, const LineEntry& entry) {
  const BYTE* start = view->Text + entry.Offset;
  EntryParts parts = {};
  parts.Run = {start, entry.Length, entry.Length, entry.X, entry.Width};
  if (!entry.HangWidth) return parts;
  parts.HasWord = true;
  if (IsRightToLeft(entry)) {
    // Stored in display order, the word follows the run and its spaces up to the
    // paragraph's end.
    const BYTE* word = SkipSpaces(start + entry.Length);
    parts.Word = {word, int(strlen(reinterpret_cast<const char*>(word))), 0, 0, 0};
  } else {
    // The word comes first, the run after it and its spaces.
    int length = WordLength(start);
    parts.Word = {start, length, 0, entry.X - entry.HangWidth, 0};
    parts.Run.Bytes = SkipSpaces(start + length);
  }
  return parts;
}

}  // namespace

EntryParts MeasureEntryParts(ArticleView* view, const LineEntry& entry) {
  EntryParts parts = LocateParts(view, entry);
  if (!parts.HasWord) return parts;
  EntryPart& word = parts.Word;
  word.Width = entry.HangWidth;
  word.Count = word.Length;
  FitDirectedRun(view->Dc, view->WidthTable, IsRightToLeft(entry), word.Bytes, &word.Width,
                 &word.Count);
  if (IsRightToLeft(entry)) word.X = entry.X + entry.Width + entry.HangWidth - word.Width;
  return parts;
}

TextSpan EntrySpan(const ArticleView* view, const LineEntry& entry) {
  EntryParts parts = LocateParts(view, entry);
  const BYTE* end = parts.Run.Bytes + parts.Run.Length;
  if (parts.HasWord && parts.Word.Bytes + parts.Word.Length > end)
    end = parts.Word.Bytes + parts.Word.Length;
  return {entry.Offset, int(end - view->Text)};
}
