#include "search/matcher.h"

#include <cstdint>
#include <cstring>

#include "content/article_format.h"
#include "text/letter_code.h"

namespace {

using Block = BYTE __attribute__((vector_size(16)));
constexpr ptrdiff_t BlockSize = sizeof(Block);
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a block's last byte is its highest");

// The bytes of one fold value: a plain letter and its pointed forms, or one punctuation
// mark, each repeated across a block. A scan for an anchor compares 16 bytes at a time
// with them; a value held by more bytes than that is looked for byte by byte.
struct FoldClass {
  static constexpr int Most = 8;
  Block Bytes[Most];
  int Count = 0;
  bool Vectorised() const { return Count <= Most; }
};

// FoldValue of every byte, looked up once per byte of every scan, and the class of every
// fold value.
struct FoldTable {
  BYTE Values[256];
  FoldClass Classes[256];
  FoldTable() {
    for (int b = 0; b < 256; ++b) {
      Values[b] = HasTableEntry(b) ? ByteFontTable[b - LetterTableFirst] : 0;
      FoldClass& c = Classes[Values[b]];
      if (c.Count < FoldClass::Most) c.Bytes[c.Count] = Block{} + BYTE(b);
      ++c.Count;
    }
  }
};

const FoldTable& Folds() {
  static const FoldTable table;
  return table;
}

// The index of the highest byte of the block at `at` that is in the class, or -1.
int HighestInBlock(const BYTE* at, const FoldClass& anchor) {
  Block block;
  std::memcpy(&block, at, sizeof block);
  Block hits = {};
  for (int i = 0; i < anchor.Count; ++i) hits |= Block(block == anchor.Bytes[i]);
  uint64_t halves[2];
  std::memcpy(halves, &hits, sizeof halves);
  if (halves[1]) return 8 + (63 - __builtin_clzll(halves[1])) / 8;
  if (halves[0]) return (63 - __builtin_clzll(halves[0])) / 8;
  return -1;
}

// The highest position at or below t (from lowest) whose byte folds to the anchor, or -1.
ptrdiff_t PreviousAnchor(const FoldTable& folds, const BYTE* lowest, ptrdiff_t t, BYTE anchor) {
  const FoldClass& bytes = folds.Classes[anchor];
  if (bytes.Vectorised()) {
    for (; t >= BlockSize - 1; t -= BlockSize) {
      int at = HighestInBlock(lowest + t - (BlockSize - 1), bytes);
      if (at >= 0) return t - (BlockSize - 1) + at;
    }
  }
  while (t >= 0 && folds.Values[lowest[t]] != anchor) --t;
  return t;
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

BYTE FoldValue(BYTE b) { return Folds().Values[b]; }

const BYTE* MatchBackward(const BYTE* lowest, const BYTE* pattern, int n, const BYTE* from,
                          int* length) {
  if (n <= 0 || from < lowest) return nullptr;
  const FoldTable& folds = Folds();
  const BYTE* fold = folds.Values;
  const BYTE anchor = fold[pattern[n - 1]];
  if (!anchor) return nullptr;
  for (ptrdiff_t t = PreviousAnchor(folds, lowest, from - lowest, anchor); t >= 0;
       t = PreviousAnchor(folds, lowest, t - 1, anchor)) {
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
