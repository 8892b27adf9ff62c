// Unicode Hebrew to the letter code and back: every entry of the program's table, and
// pointed words in the display order the reader draws.
#include <gtest/gtest.h>

#include "letter_encoding.h"
#include "text/letter_code.h"
#include "utf8.h"

namespace {

using book::DecodeHebrew;
using book::EncodeHebrew;
using book::SwapTextOrder;
using Bytes = std::vector<uint8_t>;

std::u32string U(const char* utf8) { return *book::DecodeUtf8(utf8, nullptr); }

Bytes DisplayOrder(const std::u32string& text) {
  book::Encoded e = EncodeHebrew(text);
  EXPECT_FALSE(e.Fault) << (e.Fault ? e.Fault->Message : "");
  return SwapTextOrder(e.Codes);
}

// Each code from its own UTF-16 units (in reading order: a letter before its point),
// a vowel point on bet; back to combining sequences and to the same code again.
TEST(LetterEncoding, EveryTableEntryEncodesFromItsUnitsAndDecodesBack) {
  for (unsigned code = LetterTableFirst; code <= LetterTableLast; ++code) {
    const UnicodePair& pair = UnicodePairTable[code - LetterTableFirst];
    std::u32string text;
    Bytes expected;
    if (IsVowelPoint(code)) {
      text = {U'\u05D1', pair.First};
      expected = {0x62, uint8_t(code)};
    } else {
      text = pair.Second ? std::u32string{pair.Second, pair.First} : std::u32string{pair.First};
      expected = {uint8_t(code)};
    }
    book::Encoded e = EncodeHebrew(text);
    ASSERT_FALSE(e.Fault) << "code " << code;
    EXPECT_EQ(e.Codes, expected) << "code " << code;
    const std::u32string back = DecodeHebrew(expected.data(), expected.size());
    for (char32_t c : back) EXPECT_LT(c, 0xFB00u) << "code " << code << ": no presentation forms";
    EXPECT_EQ(EncodeHebrew(back).Codes, expected) << "code " << code;
  }
}

struct WordCase {
  const char* Text;
  Bytes Display;
};

// In display order each point stands immediately before its letter.
TEST(LetterEncoding, PointedWordsInDisplayOrder) {
  const WordCase cases[] = {
      {"שָׁלוֹם", {0x6E, 88, 0x6D, 22, 65}},      // shin dot, vav with holam
      {"לֹא", {0x61, 90}},                       // holam on lamed
      {"הַלֹּל", {0x6D, 89, 23, 0x65}},            // lamed with dagesh and holam
      {"מֶלֶךְ", {18, 25, 0x6D, 25, 0x6F}},         // final kaf with sheva
      {"לְךָ", {16, 27, 0x6D}},                   // final kaf with qamats
      {"כֹּל", {0x6D, 31, 78}},                    // kaf with dagesh, then holam
      {"שִׂמְחָה", {0x65, 22, 0x68, 27, 0x6F, 21, 66}},
      {"בְּרֵאשִׁית", {0x7B, 0x6A, 21, 65, 0x61, 24, 0x79, 27, 69}},
      {"שּׁ שּׂ שּ רּ וּ", {73, ' ', 20, ' ', 86, ' ', 68, ' ', 67}},
      {"א־ב ט״ו א׳", {0x27, 0x61, ' ', 0x66, 0x22, 0x69, ' ', 0x62, 0x2D, 0x61}},
      {"פרק 12", {'1', '2', ' ', 0x78, 0x79, 0x75}},   // digits keep their order
      {"(א) [ב]", {'[', 0x62, ']', ' ', '(', 0x61, ')'}},  // brackets mirrored
  };
  for (const WordCase& c : cases) EXPECT_EQ(DisplayOrder(U(c.Text)), c.Display) << c.Text;
}

TEST(LetterEncoding, MarksInAnyOrderAndPresentationFormsGiveTheSameCodes) {
  const Bytes expected = DisplayOrder(U"\u05E9\u05C1\u05B8");
  EXPECT_EQ(DisplayOrder(U"\u05E9\u05B8\u05C1"), expected);
  EXPECT_EQ(DisplayOrder(U"\uFB2A\u05B8"), expected);
  EXPECT_EQ(DisplayOrder(U"\u05DA\u05BC\u05B8"), DisplayOrder(U"\u05DA\u05B8\u05BC"));
  EXPECT_EQ(DisplayOrder(U"\uFB35"), Bytes{73});
  EXPECT_EQ(DisplayOrder(U"\u05D5\u05BA"), Bytes{88});  // holam haser reads as holam
}

TEST(LetterEncoding, CantillationIsDroppedAndNoted) {
  book::Encoded plain = EncodeHebrew(U("בָּרָא"));
  book::Encoded marked = EncodeHebrew(U"\u05D1\u05BC\u05B8\u05E8\u05B8\u0596\u05D0\u05BD");
  EXPECT_FALSE(plain.DroppedCantillation);
  EXPECT_TRUE(marked.DroppedCantillation);
  EXPECT_EQ(marked.Codes, plain.Codes);
}

struct FaultCase {
  std::u32string Text;
  size_t Index;
  const char* Message;
};

TEST(LetterEncoding, CharactersTheCodeCannotHoldAreFaults) {
  const FaultCase cases[] = {
      {U"\u05D0A", 1, "'A' cannot stand in right-to-left text"},
      {U"\u05D0\u05D0\u05BC", 1, "U+05D0 with U+05BC has no place in the letter code"},
      {U"\u05B8\u05D0", 0, "the mark U+05B8 follows no Hebrew letter"},
      {U"\u05D0 \u05B8", 2, "the mark U+05B8 follows no Hebrew letter"},
      {U"\u05D0\t", 1, "U+0009 has no place in the letter code"},
      {U"\u05D1\u05BF", 1, "U+05BF has no place in the letter code"},
      {U"\u05D1\u05BC\u05BC", 0, "U+05D1 with U+05BC and U+05BC has no place"},
      {U"\u05D0\uFB4C", 1, "U+FB4C has no place in the letter code"},
  };
  for (const FaultCase& c : cases) {
    book::Encoded e = EncodeHebrew(c.Text);
    ASSERT_TRUE(e.Fault) << c.Message;
    EXPECT_EQ(e.Fault->Index, c.Index) << c.Message;
    EXPECT_NE(e.Fault->Message.find(c.Message), std::string::npos) << e.Fault->Message;
  }
  EXPECT_TRUE(book::EncodeLeftToRight(U("abc א")).Fault);
  EXPECT_EQ(book::EncodeLeftToRight(U"Mail: a@b.org").Codes.size(), 13u);
}

TEST(LetterEncoding, DecodingGivesLettersWithMarksInCanonicalOrder) {
  const Bytes reading = SwapTextOrder({0x6E, 88, 0x6D, 22, 65});
  EXPECT_EQ(DecodeHebrew(reading.data(), reading.size()),
            U"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD");
  const Bytes kol = {78, 31, 0x6D, 16};
  EXPECT_EQ(DecodeHebrew(kol.data(), kol.size()), U"\u05DB\u05B9\u05BC\u05DC\u05DA\u05B8");
  const Bytes strange = {5, 200};
  EXPECT_EQ(DecodeHebrew(strange.data(), strange.size()), U"\uFFFD\uFFFD");
}

TEST(LetterEncoding, SwappingTheOrderTwiceGivesTheTextBack) {
  const Bytes texts[] = {{}, {'1'}, {'a', '1', '2', ':', '3', '0', ' ', 'b'}, {'(', '1', ',', ')', '.', '5'},
                         {0x61, 22, '[', 0x7B, ']'}};
  for (const Bytes& t : texts) EXPECT_EQ(SwapTextOrder(SwapTextOrder(t)), t);
}

}  // namespace
