#include <gtest/gtest.h>

#include "kernel/utf.h"

namespace {

using kernel::Utf16ToUtf8;
using kernel::Utf8ToUtf16;

TEST(Utf, WellFormedTextRoundTrips) {
  const char* texts[] = {"", "Program Path", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",  // Hebrew
                         "\xE2\x82\xAC 1", "\xF0\x9F\x93\x96 book"};
  for (const char* text : texts) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  }
  EXPECT_EQ(Utf8ToUtf16("\xD7\xA9"), u"\u05E9");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x93\x96"), u"\U0001F4D6");
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
  const struct {
    const char* input;
    std::u16string expected;
  } cases[] = {
      {"a\x80z", u"a\uFFFDz"},                   // stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},             // overlong encoding of '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},   // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},   // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xD7", u"\uFFFD"},                        // cut off at the end
      {"\xE2\x82z", u"\uFFFDz"},                  // cut off before an ASCII letter
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.input), c.expected) << c.input;
  }
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  const struct {
    std::u16string input;
    const char* expected;
    bool wellFormed;
  } cases[] = {
      {u"a\xD800z", "a\xEF\xBF\xBDz", false},
      {u"\xDC00", "\xEF\xBF\xBD", false},
      {u"x\xD83D", "x\xEF\xBF\xBD", false},
      {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD", false},
      {u"\xD83D\xDCD6", "\xF0\x9F\x93\x96", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.input), c.expected);
    EXPECT_EQ(kernel::IsWellFormedUtf16(c.input), c.wellFormed);
  }
}

}  // namespace
