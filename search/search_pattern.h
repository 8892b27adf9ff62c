// The stored search pattern, App.SearchString: letter-code bytes in display order with
// `*` and `?`, made from the units the search field holds in the font's code base.
#pragma once

#include "platform.h"

// Fills App.SearchString from zero-terminated units (at most 33 are taken): a unit of
// the 27 from the font's code base on becomes its letter code, any other unit its low
// 8 bits; a space followed by another space is dropped.
void StoreSearchPattern(const WCHAR* units);

// The stored pattern's length, never beyond its storage.
int SearchPatternLength();

// The unit of a letter (letter code 0x61 to 0x7B) in the code base.
inline WCHAR LetterUnit(LONG codeBase, BYTE letter) { return WCHAR(codeBase + letter - 0x61); }
