// Conversion of letter-code bytes for the three code bases, with and without the
// Reverse option, and the buffer the conversion goes through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "text/conversion.h"

namespace {

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    App.Flags = DefaultFlags;
    App.Font.CodeBase = CodeBaseUnicode;
  }
  void TearDown() override {
    App.Flags = DefaultFlags;
    App.Font.CodeBase = 0;
  }
};

struct MapCase {
  const char* name;
  LONG codeBase;
  bool reverse;
  std::vector<BYTE> bytes;
  int n;  // -1: the whole input
  std::u16string units;
  int extra;
};

class MapCases : public Conversion, public ::testing::WithParamInterface<MapCase> {};

TEST_P(MapCases, UnitsAndExtraCount) {
  const MapCase& c = GetParam();
  if (c.reverse) App.Flags |= Reverse;
  ConversionBuffer record = {nullptr, 0, c.codeBase};
  int extra = 99;
  int n = c.n < 0 ? int(c.bytes.size()) : c.n;
  WCHAR* units = MapLetterCode(c.bytes.data(), n, &record, &extra);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(units, record.Units);
  EXPECT_EQ(std::u16string(units), c.units);
  EXPECT_EQ(extra, c.extra);
  free(record.Units);
}

std::vector<BYTE> Range(int first, int last) {
  std::vector<BYTE> bytes;
  for (int b = first; b <= last; ++b) bytes.push_back(BYTE(b));
  return bytes;
}

std::u16string UnitRange(int first, int last) {
  std::u16string units;
  for (int u = first; u <= last; ++u) units += char16_t(u);
  return units;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapCases,
    ::testing::Values(
        MapCase{"LetterBasePointsAsBytes", 97, true, Range(16, 31), -1, UnitRange(16, 31), 0},
        MapCase{"LetterBasePointedAsBytes", 97, true, Range(65, 90), -1, UnitRange(65, 90), 0},
        MapCase{"LetterBaseBracketsNotMirrored", 97, true, {0x28, 0x61}, -1, u"(a", 0},
        MapCase{"UnicodeKafWithQamats", 1488, false, {16}, -1, u"\u05B8\u05DA", 1},
        MapCase{"UnicodeHolamLamedDagesh", 1488, false, {89}, -1, u"\u05B9\uFB3C", 1},
        MapCase{"UnicodeAlefAndTav", 1488, false, {97, 123}, -1, u"\u05D0\u05EA", 0},
        MapCase{"UnicodePointAndPresentationForm", 1488, false, {22, 69}, -1, u"\u05B8\uFB31", 0},
        MapCase{"ByteFontDropsPoint", 224, false, {22}, -1, u"", -1},
        MapCase{"ByteFontLetters", 224, false, {69, 97, 22, 123}, -1, u"\u00E1\u00E0\u00FA", -1},
        MapCase{"OtherBaseLikeByteFont", 300, false, {69, 97, 22}, -1, u"\u00E1\u00E0", -1},
        MapCase{"ZeroCount", 1488, true, {0x61, 0x62}, 0, u"", 0},
        MapCase{"EarlyZeroStops", 1488, false, {0x61, 0, 0x62}, 3, u"\u05D0", -2},
        MapCase{"CountShorterThanInput", 1488, false, {0x61, 0x62, 0x63}, 2, u"\u05D0\u05D1", 0},
        MapCase{"ReverseMirrorsParenthesis", 1488, true, {0x61, 0x28, 0x62}, -1,
                u"\u05D1\u0029\u05D0", 0},
        MapCase{"ReverseSwapsEveryBracketPair", 1488, true, {0x28, 0x5B, 0x5D, 0x29}, -1,
                u"([])", 0},
        MapCase{"ReverseMirrorsPassedThroughBrace", 1488, true, {0x7D, 0x7B, 0x28}, -1,
                u")\u05EA{", 0},
        MapCase{"ReverseKeepsPairOrderInsideReversedText", 1488, true, {0x10, 0x61}, -1,
                u"\u05D0\u05DA\u05B8", 1},
        MapCase{"ReverseByteFontOverProducedUnits", 224, true, {0x16, 0x61, 0x62}, -1,
                u"\u00E1\u00E0", -1},
        MapCase{"ReverseAfterEarlyZero", 1488, true, {0x61, 0x62, 0, 0x63}, 4, u"\u05D1\u05D0",
                -2}),
    [](const ::testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST_F(Conversion, LowAndHighCodesPassUnchangedInEveryCodeBase) {
  std::vector<BYTE> bytes = Range(1, 15);
  std::vector<BYTE> high = Range(124, 255);
  bytes.insert(bytes.end(), high.begin(), high.end());
  std::u16string expected = UnitRange(1, 15) + UnitRange(124, 255);
  for (LONG codeBase : {97, 224, 1488, 300}) {
    ConversionBuffer record = {nullptr, 0, codeBase};
    int extra = 1;
    WCHAR* units = MapLetterCode(bytes.data(), int(bytes.size()), &record, &extra);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(std::u16string(units), expected) << codeBase;
    EXPECT_EQ(extra, 0) << codeBase;
    free(record.Units);
  }
}

TEST_F(Conversion, RecordCodeBaseZeroFollowsFontAsciiBaseAtEachCall) {
  ConversionBuffer record = {nullptr, 0, 0};
  const BYTE bytes[] = {0x61};
  App.Font.CodeBase = 224;
  EXPECT_EQ(std::u16string(MapLetterCode(bytes, 1, &record, nullptr)), u"\u00E0");
  App.Font.CodeBase = 1488;
  EXPECT_EQ(std::u16string(MapLetterCode(bytes, 1, &record, nullptr)), u"\u05D0");
  App.Font.CodeBase = 97;
  EXPECT_EQ(std::u16string(MapLetterCode(bytes, 1, &record, nullptr)), u"a");
  free(record.Units);
}

TEST_F(Conversion, WithoutRecordTheFontCodeBaseAppliesAndTheCallerOwnsTheBuffer) {
  App.Flags |= Reverse;
  const BYTE bytes[] = {0x61, 0x59};  // alef, holam-lamed: three units
  WCHAR* units = MapLetterCode(bytes, 2, nullptr, nullptr);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(std::u16string(units), u"\uFB3C\u05B9\u05D0");  // every unit reversed
  free(units);
}

TEST_F(Conversion, RecordBufferIsReusedUntilALongerRunComes) {
  ConversionBuffer record = {nullptr, 0, 97};
  const BYTE text[] = "abcdefghij";
  WCHAR* first = MapLetterCode(text, 8, &record, nullptr);
  EXPECT_EQ(record.Capacity, 8);
  EXPECT_EQ(MapLetterCode(text, 3, &record, nullptr), first);
  EXPECT_EQ(record.Capacity, 8);
  EXPECT_EQ(std::u16string(record.Units), u"abc");
  MapLetterCode(text, 10, &record, nullptr);
  EXPECT_EQ(record.Capacity, 10);
  EXPECT_EQ(std::u16string(record.Units), u"abcdefghij");
  free(record.Units);
}

TEST_F(Conversion, SharedRecordStartsWithoutBufferAtLetterBase) {
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
  SetActiveCodeBase(FontAsciiBase());
  EXPECT_EQ(SharedConversion.CodeBase, CodeBaseUnicode);
  SetActiveCodeBase(CodeBaseLetter);
}

TEST_F(Conversion, MirrorAndReverseInPlace) {
  std::u16string units = u"a(b]c{";
  EXPECT_EQ(MirrorAndReverse(units.data(), int(units.size())), 0);
  EXPECT_EQ(units, u"}c[b)a");
  EXPECT_EQ(MirrorAndReverse(units.data(), 0), 0);
  EXPECT_EQ(units, u"}c[b)a");
}

}  // namespace
