// The C string functions over UTF-16 units (WCHAR), as the program names them.
#include "platform/kernel.h"

namespace {

// Case folding of the compare-without-case functions: ASCII letters only.
WCHAR FoldCase(WCHAR unit) { return (unit >= u'A' && unit <= u'Z') ? unit + (u'a' - u'A') : unit; }

int Difference(WCHAR a, WCHAR b) { return static_cast<int>(a) - static_cast<int>(b); }

}  // namespace

size_t wcslen(const WCHAR* s) {
  const WCHAR* end = s;
  while (*end) ++end;
  return static_cast<size_t>(end - s);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
  WCHAR* out = dst;
  while ((*out++ = *src++) != 0) {
  }
  return dst;
}

// Copies at most n units and pads with zeros up to n; like strncpy, the result is not
// terminated when src has n units or more.
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n) {
  size_t i = 0;
  for (; i < n && src[i]; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = 0;
  return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
  wcscpy(dst + wcslen(dst), src);
  return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) { return wcsncmp(a, b, static_cast<size_t>(-1)); }

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i] || a[i] == 0) return Difference(a[i], b[i]);
  }
  return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, static_cast<size_t>(-1)); }

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    WCHAR x = FoldCase(a[i]);
    WCHAR y = FoldCase(b[i]);
    if (x != y || x == 0) return Difference(x, y);
  }
  return 0;
}
