// The table of contents: a stream of index entries that ends at the first position
// whose style byte is 0. Every reader and writer of index streams walks it with
// FirstEntry / NextEntry and writes it with WriteIndexEntry / WriteIndexStreamEnd.
//
//   bytes 0-1  Key, little-endian (low byte first)
//   byte 2     style byte, never 0 in an entry (0 ends the stream)
//   byte 3     Level
//   4 ...      title bytes, none of them 0, in display order
//   last       0
//
// For example a collapsed section 0xBFFE titled "ab", its lesson 5 titled "c", the end:
//   FE BF 8C 01 'a' 'b' 00   05 40 01 02 'c' 00   00 00 00 00 00
#pragma once

#include "content/lesson_record.h"
#include "platform.h"

// Bits of the Key.
constexpr WORD ArticleKeyBit = 0x4000;  // with SectionKeyBit clear: leads to a lesson
constexpr WORD SectionKeyBit = 0x8000;  // with ArticleKeyBit clear: a section header
constexpr WORD KeyNumberBits = 0x3FFF;  // the lesson, or the section's identifier

constexpr bool IsArticleKey(WORD key) {
  return (key & (ArticleKeyBit | SectionKeyBit)) == ArticleKeyBit;
}
constexpr bool IsSectionKey(WORD key) {
  return (key & (ArticleKeyBit | SectionKeyBit)) == SectionKeyBit;
}
// The lesson of an article key, the identifier of a section key.
constexpr WORD KeyNumber(WORD key) { return key & KeyNumberBits; }
constexpr WORD ArticleKey(LessonNumber lesson) { return WORD(ArticleKeyBit | lesson); }
constexpr WORD SectionKey(WORD identifier) { return WORD(SectionKeyBit | identifier); }

// Bits of the style byte, besides the StyleKey of the entry's font (StyleKeyBits of
// the article format, with the same sizes and weight).
constexpr BYTE EntryExpanded = 0x40;  // a section shows the minus mark, else the plus mark
constexpr BYTE EntryVisible = 0x80;   // the entry's lines are shown

constexpr bool IsEntryExpanded(BYTE style) { return (style & EntryExpanded) != 0; }
constexpr bool IsEntryVisible(BYTE style) { return (style & EntryVisible) != 0; }

// The title's right end stands Level x LevelIndent pixels in from the view's right edge.
constexpr LONG LevelIndent = 13;
constexpr LONG IndentOfLevel(BYTE level) { return level * LevelIndent; }

// One entry of a stream.
struct IndexEntry {
  WORD Offset;        // position of the entry's first byte in the stream
  WORD Key;
  BYTE Style;
  BYTE Level;
  const BYTE* Title;  // the title bytes; Title[TitleLength] is the entry's closing zero
  WORD TitleLength;
};

// A written stream ends with five zero bytes; a reader stops at the first of them that
// stands where a style byte would.
constexpr DWORD IndexStreamEndSize = 5;

// Bytes an entry with a title of the given length takes.
constexpr DWORD IndexEntrySize(DWORD titleLength) { return 4 + titleLength + 1; }

// The first entry of the stream; false when the stream has none. A walk bounded by the
// data's size also ends before an entry the size cuts off.
bool FirstEntry(const BYTE* stream, IndexEntry* entry, DWORD size = UnboundedStream);
// The entry after *entry; false at the end of the stream.
bool NextEntry(const BYTE* stream, IndexEntry* entry, DWORD size = UnboundedStream);
// Position of the byte after the entry.
inline DWORD EndOfEntry(const IndexEntry& entry) {
  return entry.Offset + IndexEntrySize(entry.TitleLength);
}

// Bytes of the stream's entries, its end not counted: where the walk ends.
DWORD IndexEntriesLength(const BYTE* stream, DWORD size = UnboundedStream);
// True when the stream's end stands at position: a style byte 0 within the size.
bool IsIndexStreamEnd(const BYTE* stream, DWORD position, DWORD size = UnboundedStream);
// A stream read from size bytes of data, sure to end within its block: the block itself
// when a style byte 0 stands where its bounded walk ends; otherwise (data cut off, or not
// ended) a new block holding the whole entries and the five zero bytes, the data
// released. Null without a stream or memory (the data released then too).
BYTE* EndIndexStreamWithin(BYTE* stream, DWORD size);
// The stream's first entry with the key; false when there is none (or no stream).
bool FindEntry(const BYTE* stream, WORD key, IndexEntry* entry, DWORD size = UnboundedStream);

// Writes one entry at out and returns the position after it.
BYTE* WriteIndexEntry(BYTE* out, WORD key, BYTE style, BYTE level, const BYTE* title,
                      DWORD titleLength);
// Writes the stream's five zero bytes at out and returns the position after them.
BYTE* WriteIndexStreamEnd(BYTE* out);
