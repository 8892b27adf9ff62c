// The conversion when the heap refuses its buffers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/app_state.h"
#include "text/conversion.h"

namespace {

class ConversionMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    App.Flags = DefaultFlags;
    App.Font.CodeBase = CodeBaseUnicode;
  }
  void TearDown() override {
    HeapFailAllocation(0);
    App.Flags = DefaultFlags;
  }
};

TEST_F(ConversionMemory, NoBufferGivesNullAndLeavesTheRecordEmptyUntilTheNextCall) {
  ConversionBuffer record = {nullptr, 0, 1488};
  const BYTE text[] = "abcdef";
  ASSERT_NE(MapLetterCode(text, 2, &record, nullptr), nullptr);
  HeapFailAllocation(1);
  int extra = 5;
  EXPECT_EQ(MapLetterCode(text, 6, &record, &extra), nullptr);
  EXPECT_EQ(record.Units, nullptr);
  EXPECT_EQ(extra, 0);
  WCHAR* units = MapLetterCode(text, 6, &record, nullptr);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(std::u16string(units), u"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5");
  free(record.Units);
}

TEST_F(ConversionMemory, ReverseWithoutTemporaryLeavesStoredOrder) {
  App.Flags |= Reverse;
  ConversionBuffer record = {nullptr, 0, 1488};
  const BYTE text[] = {0x61, 0x28, 0x62};
  HeapFailAllocation(2);  // the conversion buffer comes first, then the temporary
  WCHAR* units = MapLetterCode(text, 3, &record, nullptr);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(std::u16string(units), u"\u05D0(\u05D1");
  std::u16string direct = u"ab";
  HeapFailAllocation(1);
  EXPECT_EQ(MirrorAndReverse(direct.data(), 2), 1);
  EXPECT_EQ(direct, u"ab");
  free(record.Units);
}

}  // namespace
