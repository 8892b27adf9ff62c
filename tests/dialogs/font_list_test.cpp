// The family list of the Choose Font dialog: nodes in blocks of 25 in the order the
// enumeration reports them, each block freed once, and an enumeration that runs out of
// memory keeping what it gathered.
#include <gtest/gtest.h>
#include <malloc.h>

#include <string>

#include "dialogs/font_list.h"

namespace {

// The enumeration's answer for family `n` ("Family Aa", "Family Ab", ...), Hebrew for
// every third one. It allocates nothing itself, so the heap sees only the list's blocks.
int Report(int n) {
  LOGFONTW font = {};
  wcscpy(font.lfFaceName, u"Family ");
  font.lfFaceName[7] = char16_t(u'A' + n / 26);
  font.lfFaceName[8] = char16_t(u'a' + n % 26);
  TEXTMETRICW metrics = {};
  metrics.tmCharSet = n % 3 == 0 ? HEBREW_CHARSET : ANSI_CHARSET;
  return EnumFontProc(&font, &metrics, TRUETYPE_FONTTYPE, 0);
}

size_t BytesInUse() { return mallinfo2().uordblks; }

class FontListTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetFontNodes(); }
  void TearDown() override {
    HeapFailAllocation(0);
    FreeFontNodes();
  }
};

TEST_F(FontListTest, MoreThanABlockOfFamiliesKeepsTheirOrderAndIsFreedWhole) {
  const size_t before = BytesInUse();
  const unsigned long allocations = HeapAllocationCount();
  for (int n = 0; n < 30; ++n) ASSERT_EQ(Report(n), 1);
  EXPECT_EQ(HeapAllocationCount() - allocations, 2u);  // two blocks of 25 nodes
  int count = 0, marks = 0;
  for (const FontListNode* node = FirstFontNode(); node; node = node->Next, ++count) {
    EXPECT_EQ(node->CharSet, count % 3 == 0 ? HEBREW_CHARSET : ANSI_CHARSET) << count;
    marks += node->BlockStart;
    EXPECT_EQ(node->BlockStart, count % FontNodesPerBlock == 0 ? 1 : 0) << count;
  }
  EXPECT_EQ(count, 30);
  EXPECT_EQ(marks, 2);
  const FontListNode* found = FindFontNode(u"Family Ab");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->CharSet, ANSI_CHARSET);
  EXPECT_EQ(FindFontNode(u"Family A"), nullptr);  // whole names only
  FreeFontNodes();
  EXPECT_EQ(FirstFontNode(), nullptr);
  EXPECT_EQ(BytesInUse(), before);
}

TEST_F(FontListTest, NoMemoryForABlockStopsTheEnumerationWithTheFamiliesGathered) {
  struct Case {
    unsigned failing;  // which block cannot be had
    int gathered;
  } cases[] = {{1, 0}, {2, 25}, {3, 50}};
  for (const Case& c : cases) {
    const size_t before = BytesInUse();
    HeapFailAllocation(c.failing);
    int n = 0;
    while (n < 80 && Report(n) == 1) ++n;
    HeapFailAllocation(0);
    EXPECT_EQ(n, c.gathered) << "block " << c.failing;
    int count = 0;
    for (const FontListNode* node = FirstFontNode(); node; node = node->Next) ++count;
    EXPECT_EQ(count, c.gathered);
    FreeFontNodes();
    EXPECT_EQ(BytesInUse(), before) << "block " << c.failing;
  }
}

TEST_F(FontListTest, FaceNamesAreCutToTheField) {
  LOGFONTW font = {};
  for (WCHAR& unit : font.lfFaceName) unit = u'x';  // no terminator in the record
  TEXTMETRICW metrics = {};
  ASSERT_EQ(EnumFontProc(&font, &metrics, TRUETYPE_FONTTYPE, 0), 1);
  EXPECT_EQ(std::u16string(FirstFontNode()->Face), std::u16string(LF_FACESIZE - 1, u'x'));
}

}  // namespace
