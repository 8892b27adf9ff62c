#include "search/search_pattern.h"

#include <cstring>

#include "base/app_state.h"
#include "search/matcher.h"
#include "text/letter_code.h"

namespace {

constexpr int Letters = 27;

BYTE PatternByte(WCHAR unit, LONG codeBase) {
  if (unit >= codeBase && unit < codeBase + Letters) return BYTE(unit - codeBase + Alef);
  return BYTE(unit & 0xFF);
}

}  // namespace

void StoreSearchPattern(const WCHAR* units) {
  LONG codeBase = FontAsciiBase();
  int n = 0;
  for (int i = 0; units && units[i] && n < LongestPattern; ++i) {
    if (units[i] == u' ' && units[i + 1] == u' ') continue;  // a run of spaces is one
    App.SearchString[n++] = PatternByte(units[i], codeBase);
  }
  App.SearchString[n] = 0;
}

int SearchPatternLength() {
  return int(strnlen(reinterpret_cast<const char*>(App.SearchString), LongestPattern));
}
