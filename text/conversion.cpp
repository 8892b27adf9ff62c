#include "text/conversion.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"

ConversionBuffer SharedConversion = {nullptr, 0, CodeBaseLetter};

namespace {

// The buffer for n input bytes: the record's own when it is big enough, else a new
// one (the record gives up its old buffer first, so a failure leaves it empty).
WCHAR* BufferFor(int n, ConversionBuffer* record) {
  if (record && record->Units && record->Capacity >= n) return record->Units;
  if (record) {
    free(record->Units);
    record->Units = nullptr;
    record->Capacity = 0;
  }
  WCHAR* units = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * 2 * (size_t(n) + 1)));
  if (record && units) {
    record->Units = units;
    record->Capacity = n;
  }
  return units;
}

// Writes the units for one byte and returns how many were written (0 to 2).
int ConvertByte(BYTE b, LONG codeBase, WCHAR* out) {
  if (codeBase == CodeBaseLetter || !HasTableEntry(b)) {
    out[0] = b;
    return 1;
  }
  if (codeBase == CodeBaseUnicode) {
    const UnicodePair& pair = UnicodePairTable[b - LetterTableFirst];
    out[0] = pair.First;
    if (!pair.Second) return 1;
    out[1] = pair.Second;
    return 2;
  }
  BYTE mapped = ByteFontTable[b - LetterTableFirst];
  if (!mapped) return 0;
  out[0] = mapped;
  return 1;
}

WCHAR MirroredBracket(WCHAR u) {
  switch (u) {
    case u'(': return u')';
    case u')': return u'(';
    case u'[': return u']';
    case u']': return u'[';
    case u'{': return u'}';
    case u'}': return u'{';
    default: return u;
  }
}

}  // namespace

WCHAR* MapLetterCode(const BYTE* bytes, int n, ConversionBuffer* record, int* extraUnits) {
  if (n < 0) n = 0;
  LONG codeBase = record && record->CodeBase ? record->CodeBase : FontAsciiBase();
  if (extraUnits) *extraUnits = 0;
  WCHAR* units = BufferFor(n, record);
  if (!units) return nullptr;
  int produced = 0;
  for (int i = 0; i < n && bytes[i]; ++i) produced += ConvertByte(bytes[i], codeBase, units + produced);
  units[produced] = 0;
  if (extraUnits) *extraUnits = produced - n;
  if (n > 0 && codeBase != CodeBaseLetter && IsReversed(App.Flags)) MirrorAndReverse(units, produced);
  return units;
}

int MirrorAndReverse(WCHAR* units, int m) {
  if (m <= 0) return 0;
  WCHAR* reversed = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * size_t(m)));
  if (!reversed) return 1;
  for (int i = 0; i < m; ++i) reversed[m - 1 - i] = MirroredBracket(units[i]);
  memcpy(units, reversed, sizeof(WCHAR) * size_t(m));
  free(reversed);
  return 0;
}
