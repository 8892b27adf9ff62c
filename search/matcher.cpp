#include "search/matcher.h"

#include "content/article_format.h"
#include "text/letter_code.h"

namespace {

// FoldValue of every byte, looked up once per byte of every scan.
struct FoldTable {
  BYTE Values[256];
  FoldTable() {
    for (int b = 0; b < 256; ++b)
      Values[b] = HasTableEntry(b) ? ByteFontTable[b - LetterTableFirst] : 0;
  }
};

const BYTE* FoldValues() {
  static const FoldTable table;
  return table.Values;
}

void StoreLength(int* length, ptrdiff_t value) {
  if (length) *length = int(value);
}

// The star at pattern index k, the text matched above position s (from lowest): the
// part before the star must end at s or below; the star takes what lies between.
const BYTE* StarStep(const BYTE* lowest, const BYTE* pattern, int k, ptrdiff_t s, ptrdiff_t t,
                     int* length) {
  if (k == 0) {
    StoreLength(length, t - s);
    return lowest + t;
  }
  int partLength = 0;
  const BYTE* part = MatchBackward(lowest, pattern, k, lowest + s, &partLength);
  if (!part) return nullptr;
  StoreLength(length, (lowest + t - part) + partLength);
  return lowest + t;
}

}  // namespace

BYTE FoldValue(BYTE b) { return FoldValues()[b]; }

const BYTE* MatchBackward(const BYTE* lowest, const BYTE* pattern, int n, const BYTE* from,
                          int* length) {
  if (n <= 0 || from < lowest) return nullptr;
  const BYTE* fold = FoldValues();
  const BYTE anchor = fold[pattern[n - 1]];
  if (!anchor) return nullptr;
  for (ptrdiff_t t = from - lowest; t >= 0; --t) {
    if (fold[lowest[t]] != anchor) continue;
    ptrdiff_t s = t - 1;
    int k = n - 2;
    while (k >= 0 && s >= 0) {
      BYTE value = fold[lowest[s]];
      if (!value) {
        --s;  // a point takes no pattern byte
        continue;
      }
      BYTE wanted = fold[pattern[k]];
      if (wanted == AnyRun) return StarStep(lowest, pattern, k, s, t, length);
      if (wanted != AnyOne && wanted != value) break;
      --k;
      --s;
    }
    if (k >= 0) continue;
    while (s >= 0 && !fold[lowest[s]]) --s;  // the points below the lowest letter belong to it
    StoreLength(length, t - s);
    return lowest + t;
  }
  return nullptr;
}

ParagraphSpan* ListParagraphs(const BYTE* text, SpanAllocator allocate) {
  ParagraphSpan* first = nullptr;
  ParagraphSpan** tail = &first;
  ParagraphRecord record;
  for (bool more = text && FirstRecord(text, &record); more; more = NextRecord(text, &record)) {
    auto* node = static_cast<ParagraphSpan*>(allocate(sizeof(ParagraphSpan)));
    if (!node) break;
    *node = {nullptr, text + record.Offset, record.Text + record.Length};
    *tail = node;
    tail = &node->Next;
  }
  return first;
}

void FreeParagraphList(ParagraphSpan* first) {
  while (first) {
    ParagraphSpan* next = first->Next;
    free(first);
    first = next;
  }
}

WORD SearchArticleFor(const BYTE* pattern, int n, const BYTE* text, WORD start, WORD* length,
                      SpanAllocator allocate) {
  ParagraphSpan* list = ListParagraphs(text, allocate);
  const BYTE* found = nullptr;
  int matched = 0;
  for (const ParagraphSpan* p = list; p && !found; p = p->Next) {
    const BYTE* lowest = p->Record + 2;
    if (start > p->End - text) continue;  // wholly before the start
    const BYTE* from = start >= lowest - text ? text + start : p->End - 1;
    found = MatchBackward(lowest, pattern, n, from, &matched);
  }
  FreeParagraphList(list);
  if (!found) return 0;
  if (length) *length = WORD(matched);
  return WORD(found - text);
}

WORD ContinueAfterMatch(const BYTE* text, WORD matchStart) {
  ParagraphRecord record;
  for (bool more = text && FirstRecord(text, &record); more; more = NextRecord(text, &record)) {
    WORD first = WORD(record.Text - text);
    if (matchStart < first || matchStart > first + record.Length) continue;
    return matchStart > first ? WORD(matchStart - 1) : WORD(EndOfRecord(record));
  }
  return WORD(matchStart - 1);
}
