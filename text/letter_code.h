// The one-byte letter code in which all Hebrew text is stored, and its two
// conversion tables: to UTF-16 for a Unicode Hebrew font and to the byte layout of
// an 8-bit Hebrew font. Both tables have one entry per code from 16 to 123, indexed
// by code - LetterTableFirst.
#pragma once

#include "platform.h"

typedef BYTE LetterCode;

// Font code bases: the code point at which a font keeps alef.
constexpr LONG CodeBaseLetter = 97;    // the letter code itself, no conversion
constexpr LONG CodeBaseByteFont = 224;  // U+00E0.., through ByteFontTable
constexpr LONG CodeBaseUnicode = 1488;  // U+05D0.., through UnicodePairTable

constexpr int LetterTableFirst = 16;
constexpr int LetterTableLast = 123;
constexpr int LetterTableSize = LetterTableLast - LetterTableFirst + 1;  // 108

// Ranges of the code.
constexpr LetterCode FirstPointedFinalKaf = 16;  // 16..19: final kaf with a point
constexpr LetterCode ReshDagesh = 20;
constexpr LetterCode FirstPoint = 21;  // 21..31: vowel points, no width of their own
constexpr LetterCode LastPoint = 31;
constexpr LetterCode Holam = 31;
constexpr LetterCode HolamLamedDagesh = 89;  // holam then lamed with dagesh
constexpr LetterCode HolamLamed = 90;        // holam then plain lamed
constexpr LetterCode Alef = 97;              // 97..123: alef to tav
constexpr LetterCode Tav = 123;

constexpr WCHAR HolamUnit = 0x05B9;

inline bool IsVowelPoint(unsigned code) { return code >= FirstPoint && code <= LastPoint; }

// Two UTF-16 units; Second 0 means a one-unit entry. Where there are two, the
// point comes first.
struct UnicodePair {
  WCHAR First;
  WCHAR Second;
};

extern const UnicodePair UnicodePairTable[LetterTableSize];
// 0: no character in an 8-bit font (the code is dropped).
extern const BYTE ByteFontTable[LetterTableSize];

// The letters in alphabetical order, each normal form before its final form.
extern const char AlphabetOrder[28];  // "abcdefghijlkmonqprsutwvxyz{"

inline bool HasTableEntry(unsigned code) {
  return code >= LetterTableFirst && code <= LetterTableLast;
}
