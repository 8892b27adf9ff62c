// The paragraph format of an article: a stream of paragraph records ended by a zero
// byte where the next flags byte would stand. Every reader of article text walks it
// with FirstRecord / NextRecord and reads the record bytes through the helpers here;
// every writer writes its records with WriteParagraph.
//
//   byte 0   flags byte, never 0
//   byte 1   second byte: IndentByte of a text paragraph, RuleWidthByte of a rule; any value
//   2 ...    text bytes, none of them 0 (none for a rule)
//   last     0
//
// For example a heading, a full-width rule and a body paragraph "ab", then the end:
//   D1 00 'h' 00   C7 D2 00   B1 00 'a' 'b' 00   00
// written as
//   out = WriteParagraph(out, HeadingFlags, 0, h, 1);
//   out = WriteParagraph(out, RuleFlags, FullWidthRule, nullptr, 0);
//   out = WriteParagraph(out, BodyFlags, 0, ab, 2);
//   *out = 0;
#pragma once

#include "content/lesson_record.h"
#include "platform.h"

// Bits of the flags byte.
enum : BYTE {
  RuleRecord = 0x07,     // all three bits set: a horizontal rule, not text
  BaseStyle = 0x01,      // text of the normal size
  SmallStyle = 0x02,     // font size x 6/8, navy
  LargeStyle = 0x04,     // font size x 5/4; wins over SmallStyle for the size
  BoldStyle = 0x08,      // weight 700
  RightToLeft = 0x10,    // Hebrew, stored in display order (read from the last byte)
  AlignmentBits = 0x60,  // 0x20 right, 0x40 centred, 0x00 and 0x60 left
  AlignRightBit = 0x20,
  AlignCentreBit = 0x40,
  BlankAfter = 0x80,     // one empty display line follows the paragraph
  StyleKeyBits = 0x1F,
};

// Flags bytes of the article's head that the title banner recognises.
enum : BYTE {
  TitleTag = 0xCC,                // large, bold, centred, blank line after
  TitleTagRightToLeft = 0xDC,
  SubtitleTag = 0xC1,             // base style, centred, blank line after
  SubtitleTagRightToLeft = 0xD1,
};

// Flags bytes of the paragraph kinds the book is written in.
enum : BYTE {
  HeadingFlags = BaseStyle | RightToLeft | AlignCentreBit | BlankAfter,       // 0xD1
  SmallHeadingFlags = SmallStyle | RightToLeft | AlignCentreBit | BlankAfter,  // 0xD2
  BodyFlags = BaseStyle | RightToLeft | AlignRightBit | BlankAfter,           // 0xB1
  NoteFlags = SmallStyle | RightToLeft | AlignRightBit | BlankAfter,          // 0xB2
  LeftToRightFlags = BaseStyle | BlankAfter,                                  // 0x81
  RuleFlags = RuleRecord | AlignCentreBit | BlankAfter,                       // 0xC7
};

enum ParagraphAlignment { AlignLeft, AlignRight, AlignCentre };

inline bool IsRuleRecord(BYTE flags) { return (flags & RuleRecord) == RuleRecord; }
// Every distinct key has a font of its own.
inline BYTE StyleKey(BYTE flags) { return flags & StyleKeyBits; }
ParagraphAlignment AlignmentOf(BYTE flags);
inline bool IsTitleTag(BYTE flags) { return flags == TitleTag || flags == TitleTagRightToLeft; }
inline bool IsSubtitleTag(BYTE flags) {
  return flags == SubtitleTag || flags == SubtitleTagRightToLeft;
}

// The IndentByte of a text paragraph: a margin in pixels from the edge the paragraph
// is aligned to (bits 0-5), and the hang factor of its first word (bits 6-7).
inline LONG Margin(BYTE indentByte) { return indentByte & 0x3F; }
inline LONG HangFactor(BYTE indentByte) { return indentByte >> 6; }

// Length in pixels of a rule in a view of the given width: 0 none, 1 to 160 pixels,
// 161 to 255 (byte - 160) x 2 percent of the width; never more than the width.
LONG RuleLength(BYTE ruleWidthByte, LONG viewWidth);
// The RuleWidthByte of a rule across the whole view: (210 - 160) x 2 = 100 percent.
constexpr BYTE FullWidthRule = 210;

// Bytes a record with the given number of text bytes takes.
constexpr DWORD ParagraphRecordSize(DWORD textLength) { return 2 + textLength + 1; }

// One paragraph record of a stream.
struct ParagraphRecord {
  WORD Offset;       // position of the flags byte in the stream
  BYTE Flags;
  BYTE Second;       // IndentByte or RuleWidthByte
  const BYTE* Text;  // the text bytes; Text[Length] is the record's closing zero
  WORD Length;       // number of text bytes
};

// The first record of the stream; false when the stream has none.
bool FirstRecord(const BYTE* stream, ParagraphRecord* record, DWORD size = UnboundedStream);
// The record after *record; false at the terminator.
bool NextRecord(const BYTE* stream, ParagraphRecord* record, DWORD size = UnboundedStream);
// Position of the byte after the record.
inline DWORD EndOfRecord(const ParagraphRecord& record) {
  return record.Offset + ParagraphRecordSize(record.Length);
}

// Writes one record at out (text may be null when length is 0) and returns the position
// after it.
BYTE* WriteParagraph(BYTE* out, BYTE flags, BYTE second, const BYTE* text, DWORD length);

// Length of the stream's complete paragraph records, up to the terminator (or to the
// first record the size cuts off): the position where a terminator stands or belongs.
WORD ArticleStreamLength(const BYTE* stream, DWORD size = UnboundedStream);
