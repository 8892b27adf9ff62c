// The wildcard matcher. A pattern is letter-code bytes in display order, like the
// right-to-left text it is looked for in: letters, spaces, punctuation, `*` (any run,
// also an empty one) and `?` (any one character). Text and pattern compare through
// FoldValue, so points are skipped and pointed letters count as their plain letters;
// final forms stay distinct. A scan runs from high offsets to low ones, forward in
// reading order. Nothing here reads the application's state: the reader and
// vintrel-book search with the same code.
#pragma once

#include <cstddef>

#include "platform.h"

// Bytes a pattern holds at most.
constexpr int LongestPattern = 33;
constexpr BYTE AnyRun = '*';
constexpr BYTE AnyOne = '?';

// The value a byte is compared by: its entry of the byte font table for codes 16 to
// 123 (a letter's plain letter, a point 0, space, digits and punctuation themselves),
// 0 for every other byte. Bytes of value 0 are skipped by every comparison.
BYTE FoldValue(BYTE b);

// A match of the n pattern bytes with its highest byte at or below from and its lowest
// not below lowest: the address of its highest byte, or null. The last pattern byte
// (the anchor) compares by its value only, so a `*` or `?` there stands for itself,
// and a last byte of value 0 matches nothing. The length goes to *length when given:
// from the highest byte down to the lowest matched, with the points below it.
const BYTE* MatchBackward(const BYTE* lowest, const BYTE* pattern, int n, const BYTE* from,
                          int* length);

// One paragraph of an article: its record (the flags byte) and the zero ending its text.
struct ParagraphSpan {
  ParagraphSpan* Next;
  const BYTE* Record;
  const BYTE* End;
};
// Where the list's nodes come from: a heap allocation, null when there is no memory.
using SpanAllocator = void* (*)(size_t size);

// The article's paragraphs in stored order, or null for an empty text. When a node
// cannot be had the list ends with the nodes made so far.
ParagraphSpan* ListParagraphs(const BYTE* text, SpanAllocator allocate);
void FreeParagraphList(ParagraphSpan* first);

// The first match from start on: the rest of the paragraph holding start, from start
// down, then each later paragraph whole, from its last stored byte down; the first
// paragraph with a match decides. Returns the offset of the match's highest byte and
// its length in *length (when given), or 0. Start 0 scans every paragraph whole.
WORD SearchArticleFor(const BYTE* pattern, int n, const BYTE* text, WORD start, WORD* length,
                      SpanAllocator allocate);

// Where the scan goes on after a match whose lowest byte is at matchStart: the byte
// below it, or, when the match begins with its paragraph's first stored byte, the next
// record, so that the paragraph is not scanned again.
WORD ContinueAfterMatch(const BYTE* text, WORD matchStart);
