// The two conversion tables against each other and against the Unicode presentation
// forms they name, and the alphabet order.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "text/letter_code.h"

namespace {

// The plain letter each Hebrew presentation form is built on (Unicode decompositions).
const std::map<WCHAR, WCHAR> PresentationBase = {
    {0xFB2A, 0x05E9}, {0xFB2B, 0x05E9}, {0xFB2C, 0x05E9}, {0xFB2D, 0x05E9}, {0xFB31, 0x05D1},
    {0xFB32, 0x05D2}, {0xFB33, 0x05D3}, {0xFB34, 0x05D4}, {0xFB35, 0x05D5}, {0xFB36, 0x05D6},
    {0xFB38, 0x05D8}, {0xFB39, 0x05D9}, {0xFB3A, 0x05DA}, {0xFB3B, 0x05DB}, {0xFB3C, 0x05DC},
    {0xFB3E, 0x05DE}, {0xFB40, 0x05E0}, {0xFB41, 0x05E1}, {0xFB44, 0x05E4}, {0xFB46, 0x05E6},
    {0xFB47, 0x05E7}, {0xFB48, 0x05E8}, {0xFB49, 0x05E9}, {0xFB4A, 0x05EA}, {0xFB4B, 0x05D5},
};

bool IsHebrewPoint(WCHAR u) { return u >= 0x05B0 && u <= 0x05BB; }

// The letter a table entry carries: its last unit, taken back to the plain letter.
WCHAR LetterOf(const UnicodePair& pair) {
  WCHAR u = pair.Second ? pair.Second : pair.First;
  auto base = PresentationBase.find(u);
  return base == PresentationBase.end() ? u : base->second;
}

TEST(LetterCodeTables, ByteFontEntryIsThePlainLetterOfTheUnicodeEntry) {
  for (int code = LetterTableFirst; code <= LetterTableLast; ++code) {
    const UnicodePair& pair = UnicodePairTable[code - LetterTableFirst];
    WCHAR letter = LetterOf(pair);
    BYTE expected;
    if (IsHebrewPoint(letter)) expected = 0;
    else if (letter >= 0x05D0 && letter <= 0x05EA) expected = BYTE(0xE0 + (letter - 0x05D0));
    else expected = BYTE(letter);
    EXPECT_EQ(ByteFontTable[code - LetterTableFirst], expected) << "code " << code;
  }
}

TEST(LetterCodeTables, UnicodeEntriesByRange) {
  for (int code = LetterTableFirst; code <= LetterTableLast; ++code) {
    const UnicodePair& pair = UnicodePairTable[code - LetterTableFirst];
    bool twoUnits = code <= 19 || code == 89 || code == 90;
    EXPECT_EQ(pair.Second != 0, twoUnits) << "code " << code;
    if (twoUnits || IsVowelPoint(code)) {
      EXPECT_TRUE(IsHebrewPoint(pair.First)) << "point first, code " << code;
    } else if ((code >= 32 && code <= 64) || (code >= 91 && code <= 96)) {
      EXPECT_EQ(pair.First, code);
    } else if (code >= 97) {
      EXPECT_EQ(pair.First, code - 97 + 0x05D0);
    } else {
      EXPECT_TRUE(PresentationBase.count(pair.First)) << "code " << code;
    }
  }
}

struct TableRow {
  int code;
  WCHAR first, second;
  BYTE byte;
};

TEST(LetterCodeTables, RowsAsStated) {
  const TableRow rows[] = {
      {16, 0x05B8, 0x05DA, 0xEA}, {17, 0x05B8, 0xFB3A, 0xEA}, {18, 0x05B0, 0x05DA, 0xEA},
      {19, 0x05B0, 0xFB3A, 0xEA}, {20, 0xFB48, 0, 0xF8},      {21, 0x05B4, 0, 0},
      {22, 0x05B8, 0, 0},         {23, 0x05B7, 0, 0},         {24, 0x05B5, 0, 0},
      {25, 0x05B6, 0, 0},         {26, 0x05BB, 0, 0},         {27, 0x05B0, 0, 0},
      {28, 0x05B3, 0, 0},         {29, 0x05B2, 0, 0},         {30, 0x05B1, 0, 0},
      {31, 0x05B9, 0, 0},         {32, 0x20, 0, 0x20},        {64, 0x40, 0, 0x40},
      {65, 0xFB2A, 0, 0xF9},      {68, 0xFB2D, 0, 0xF9},      {69, 0xFB31, 0, 0xE1},
      {74, 0xFB36, 0, 0xE6},      {75, 0xFB38, 0, 0xE8},      {79, 0xFB3C, 0, 0xEC},
      {80, 0xFB3E, 0, 0xEE},      {81, 0xFB40, 0, 0xF0},      {82, 0xFB41, 0, 0xF1},
      {83, 0xFB44, 0, 0xF4},      {84, 0xFB46, 0, 0xF6},      {85, 0xFB47, 0, 0xF7},
      {86, 0xFB49, 0, 0xF9},      {87, 0xFB4A, 0, 0xFA},      {88, 0xFB4B, 0, 0xE5},
      {89, 0x05B9, 0xFB3C, 0xEC}, {90, 0x05B9, 0x05DC, 0xEC}, {91, 0x5B, 0, 0x5B},
      {96, 0x60, 0, 0x60},        {97, 0x05D0, 0, 0xE0},      {107, 0x05DA, 0, 0xEA},
      {108, 0x05DB, 0, 0xEB},     {123, 0x05EA, 0, 0xFA},
  };
  for (const TableRow& row : rows) {
    const UnicodePair& pair = UnicodePairTable[row.code - LetterTableFirst];
    EXPECT_EQ(pair.First, row.first) << "code " << row.code;
    EXPECT_EQ(pair.Second, row.second) << "code " << row.code;
    EXPECT_EQ(ByteFontTable[row.code - LetterTableFirst], row.byte) << "code " << row.code;
  }
}

TEST(LetterCodeTables, AlphabetOrderHoldsEveryLetterOnceNormalBeforeFinal) {
  EXPECT_STREQ(AlphabetOrder, "abcdefghijlkmonqprsutwvxyz{");
  ASSERT_EQ(strlen(AlphabetOrder), 27u);
  for (int code = Alef; code <= Tav; ++code) EXPECT_TRUE(strchr(AlphabetOrder, code)) << code;
  const char finals[] = {0x6B, 0x6E, 0x70, 0x74, 0x76};
  for (char final : finals)
    EXPECT_EQ(strchr(AlphabetOrder, final) - strchr(AlphabetOrder, final + 1), 1) << final;
}

}  // namespace
