#include <gtest/gtest.h>

#include "kernel/utf.h"
#include "platform.h"

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

// The platform's conversion calls, on the same codec.
std::u16string ToWide(std::string_view utf8, DWORD flags = 0) {
  const int size = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), int(utf8.size()), nullptr, 0);
  std::u16string wide(size, u'\0');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, flags, utf8.data(), int(utf8.size()), wide.data(), size),
            size);
  return wide;
}

std::string ToUtf8(std::u16string_view wide, DWORD flags = 0) {
  const int size = WideCharToMultiByte(CP_UTF8, flags, wide.data(), int(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string utf8(size, '\0');
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, flags, wide.data(), int(wide.size()), utf8.data(), size,
                                nullptr, nullptr),
            size);
  return utf8;
}

TEST(CodePage, ConvertsUtf8BothWays) {
  for (const char* text :
       {"Program Path", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xF0\x9F\x93\x96 b"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ToWide(text, MB_ERR_INVALID_CHARS), Utf8ToUtf16(text));
    EXPECT_EQ(ToUtf8(Utf8ToUtf16(text), WC_ERR_INVALID_CHARS), text);
  }
  // Without the strict flags, what is malformed becomes U+FFFD.
  EXPECT_EQ(ToWide("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(ToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
}

// A count of -1 takes the input up to and with its terminator.
TEST(CodePage, TerminatedInputCountsItsTerminator) {
  WCHAR wide[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD7\xA9x", -1, wide, 8), 3);
  EXPECT_EQ(std::u16string(wide, 3), std::u16string(u"\u05E9x\0", 3));
  char utf8[8];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u05E9x", -1, utf8, 8, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(utf8, 4), std::string("\xD7\xA9x\0", 4));
}

// A failed call returns 0, writes nothing and tells why.
TEST(CodePage, FailuresWriteNothingAndTellWhy) {
  const struct {
    const char* Name;
    UINT CodePage;
    DWORD Flags;
    const char* Input;
    int InputCount;
    int OutputCount;  // -1: no output with a count of 4
    DWORD Error;
  } cases[] = {
      {"another code page", 1252, 0, "ab", 2, 4, ERROR_INVALID_PARAMETER},
      {"no input", CP_UTF8, 0, nullptr, 2, 4, ERROR_INVALID_PARAMETER},
      {"empty input", CP_UTF8, 0, "ab", 0, 4, ERROR_INVALID_PARAMETER},
      {"negative count", CP_UTF8, 0, "ab", -2, 4, ERROR_INVALID_PARAMETER},
      {"a count without an output", CP_UTF8, 0, "ab", 2, -1, ERROR_INVALID_PARAMETER},
      {"unknown flag", CP_UTF8, 0x01, "ab", 2, 4, ERROR_INVALID_FLAGS},
      {"output too small", CP_UTF8, 0, "abc", 3, 2, ERROR_INSUFFICIENT_BUFFER},
      {"malformed, strict", CP_UTF8, MB_ERR_INVALID_CHARS, "a\xE2\x82", 3, 4,
       ERROR_NO_UNICODE_TRANSLATION},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WCHAR out[4] = {u'#', u'#', u'#', u'#'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.CodePage, c.Flags, c.Input, c.InputCount,
                                  c.OutputCount < 0 ? nullptr : out,
                                  c.OutputCount < 0 ? 4 : c.OutputCount),
              0);
    EXPECT_EQ(GetLastError(), c.Error);
    EXPECT_EQ(std::u16string(out, 4), u"####");
  }
  char out[4] = {'#', '#', '#', '#'};
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"a\xDC00", 2, out, 4, nullptr,
                                nullptr),
            0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
  // UTF-8 has no default character.
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 4, "?", nullptr), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 4, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, out, 2, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(out, 4), "####");
}

}  // namespace
