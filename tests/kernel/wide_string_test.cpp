#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(WideString, LengthCopyAndConcatenate) {
  WCHAR buffer[32];
  EXPECT_EQ(wcslen(u""), 0u);
  EXPECT_EQ(wcslen(u"Vintrel"), 7u);
  EXPECT_EQ(wcscpy(buffer, u"Font"), buffer);
  EXPECT_EQ(std::u16string(buffer), u"Font");
  EXPECT_EQ(wcscat(buffer, u"Name"), buffer);
  EXPECT_EQ(std::u16string(buffer), u"FontName");
  wcscat(buffer, u"");
  EXPECT_EQ(std::u16string(buffer), u"FontName");
}

TEST(WideString, BoundedCopyPadsAndDoesNotTerminateWhenFull) {
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  wcsncpy(buffer, u"ab", 5);
  EXPECT_EQ(std::u16string(buffer, 8), std::u16string(u"ab\0\0\0###", 8));
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  wcsncpy(buffer, u"abcdef", 3);
  EXPECT_EQ(std::u16string(buffer, 8), u"abc#####");
}

TEST(WideString, Comparisons) {
  const struct {
    const WCHAR* a;
    const WCHAR* b;
    size_t n;
    int exact;      // sign of wcscmp
    int exactN;     // sign of wcsncmp(n)
    int folded;     // sign of _wcsicmp
    int foldedN;    // sign of _wcsnicmp(n)
  } cases[] = {
      {u"abc", u"abc", 3, 0, 0, 0, 0},
      {u"/today", u"/TODAY", 6, 1, 1, 0, 0},
      {u"/Today ", u"/today", 6, -1, -1, 1, 0},
      {u"abc", u"abd", 2, -1, 0, -1, 0},
      {u"", u"a", 1, -1, -1, -1, -1},
      {u"B", u"a", 1, -1, -1, 1, 1},
      // Folding is to lower case: '_' (0x5F) sorts after 'A' but before 'a'.
      {u"_", u"A", 1, 1, 1, -1, -1},
      {u"\u05D0", u"a", 1, 1, 1, 1, 1},  // units compare unsigned, beyond ASCII too
      {u"abc", u"xyz", 0, -1, 0, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a, c.a + wcslen(c.a)) + " / " + std::string(c.b, c.b + wcslen(c.b)));
    EXPECT_EQ(Sign(wcscmp(c.a, c.b)), c.exact);
    EXPECT_EQ(Sign(wcsncmp(c.a, c.b, c.n)), c.exactN);
    EXPECT_EQ(Sign(_wcsicmp(c.a, c.b)), c.folded);
    EXPECT_EQ(Sign(_wcsnicmp(c.a, c.b, c.n)), c.foldedN);
  }
}

template <typename... Args>
std::u16string Format(const WCHAR* format, Args... args) {
  WCHAR buffer[256];
  int written = swprintf(buffer, format, args...);
  EXPECT_EQ(static_cast<size_t>(written), wcslen(buffer));
  WCHAR second[256];
  EXPECT_EQ(wsprintfW(second, format, args...), written);
  EXPECT_EQ(std::u16string(second), std::u16string(buffer));
  return buffer;
}

TEST(WideFormat, Integers) {
  EXPECT_EQ(Format(u"%d", 0), u"0");
  EXPECT_EQ(Format(u"%d", -42), u"-42");
  EXPECT_EQ(Format(u"%i|%+d|% d", 7, 7, 7), u"7|+7| 7");
  EXPECT_EQ(Format(u"%d", INT32_MIN), u"-2147483648");
  EXPECT_EQ(Format(u"%u", 4294967295u), u"4294967295");
  EXPECT_EQ(Format(u"%u", -1), u"4294967295");
  EXPECT_EQ(Format(u"%x|%X|%#x|%#X|%#x", 0xbeefu, 0xbeefu, 255u, 255u, 0u), u"beef|BEEF|0xff|0XFF|0");
  EXPECT_EQ(Format(u"%5d|%-5d|%05d|%-05d", 42, 42, -42, 42), u"   42|42   |-0042|42   ");
  EXPECT_EQ(Format(u"%.3d|%8.3d|%08.3d|%.0d|%.0x", 7, -7, 7, 0, 0u), u"007|    -007|     007||");
  EXPECT_EQ(Format(u"%*d|%-*d|%.*d", 4, 1, 4, 2, 3, 3), u"   1|2   |003");
  EXPECT_EQ(Format(u"%*d", -4, 1), u"1   ");
  EXPECT_EQ(Format(u"%hd|%hu|%hhx", 70000, 70000, 0x1ff), u"4464|4464|ff");
  EXPECT_EQ(Format(u"%lu|%ld", 3000000000u, -5), u"3000000000|-5");
  EXPECT_EQ(Format(u"%lld|%llx", -9000000000LL, 0x123456789abULL), u"-9000000000|123456789ab");
}

TEST(WideFormat, UrlEscapeForm) {
  // The program escapes bytes of addresses as %XX.
  EXPECT_EQ(Format(u"%%%.2X", 0x5), u"%05");
  EXPECT_EQ(Format(u"a%%%.2Xb%%%.2X", 0xE2, 0x2F), u"a%E2b%2F");
}

TEST(WideFormat, CharactersAndStrings) {
  EXPECT_EQ(Format(u"%c%c", u'\u05E9', 'A'), u"\u05E9A");
  EXPECT_EQ(Format(u"[%3c][%-3c]", 'x', 'y'), u"[  x][y  ]");
  EXPECT_EQ(Format(u"%s, %s", u"Lesson", u"\u05E9\u05DC"), u"Lesson, \u05E9\u05DC");
  EXPECT_EQ(Format(u"[%6s][%-6s][%.2s][%6.2s]", u"abc", u"abc", u"abc", u"abc"),
            u"[   abc][abc   ][ab][    ab]");
  EXPECT_EQ(Format(u"[%.*s]", 1, u"abc"), u"[a]");
  EXPECT_EQ(Format(u"%s", static_cast<const WCHAR*>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"[%s]", u""), u"[]");
}

TEST(WideFormat, LiteralTextAndOddConversions) {
  EXPECT_EQ(Format(u"plain"), u"plain");
  EXPECT_EQ(Format(u""), u"");
  EXPECT_EQ(Format(u"100%%"), u"100%");
  EXPECT_EQ(Format(u"%q|%d", 5), u"%q|5");  // unknown conversions are shown as written
  EXPECT_EQ(Format(u"end%"), u"end%");
  EXPECT_EQ(Format(u"end%5"), u"end%5");
}

TEST(WideFormat, HugeWidthsAreLimited) {
  std::vector<WCHAR> buffer(0x10000 + 16);
  EXPECT_EQ(swprintf(buffer.data(), u"%99999999999d", 1), 0xFFFF);
  EXPECT_EQ(swprintf(buffer.data(), u"%*d", INT32_MIN, 1), 0xFFFF);
  EXPECT_EQ(buffer[0], u'1');
  EXPECT_EQ(swprintf(buffer.data(), u"%.*d", INT32_MAX, 1), 0xFFFF);
}

}  // namespace
