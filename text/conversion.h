// Conversion of letter-code text to UTF-16 units for the chosen font's code base,
// with the bracket mirroring and reversal of the Reverse option.
#pragma once

#include "text/letter_code.h"

// A growing UTF-16 buffer for conversions; its CodeBase decides the conversion.
struct ConversionBuffer {
  WCHAR* Units;   // owned, or null
  LONG Capacity;  // input length the buffer was made for: 2 * (Capacity + 1) units
  LONG CodeBase;  // code base to convert for; 0 means FontAsciiBase()
};

// The one buffer every measuring and drawing run converts through. It starts with
// no buffer and code base 97, grows to the longest run and is never released.
extern ConversionBuffer SharedConversion;

// The code base of the run being measured or drawn: FontAsciiBase() during a
// right-to-left run, 97 (no conversion) otherwise.
inline LONG ActiveCodeBase() { return SharedConversion.CodeBase; }
inline void SetActiveCodeBase(LONG codeBase) { SharedConversion.CodeBase = codeBase; }

// Converts up to n bytes (stopping early at a zero byte) and terminates the units.
// With a record the result is the record's Units, otherwise a new heap buffer the
// caller frees; null when no buffer could be had. extraUnits, when given, receives
// the number of units produced minus n.
WCHAR* MapLetterCode(const BYTE* bytes, int n, ConversionBuffer* record, int* extraUnits);

// Reverses m units in place, exchanging the bracket pairs () [] {}. Returns 0, or 1
// when no temporary buffer could be had (the units are left as they were).
int MirrorAndReverse(WCHAR* units, int m);
