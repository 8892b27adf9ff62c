#include "content/article_format.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

struct Expected {
  WORD Offset;
  BYTE Flags, Second;
  WORD Length;
};

std::vector<Expected> Walk(const Bytes& stream, DWORD size = UnboundedStream) {
  std::vector<Expected> records;
  ParagraphRecord r;
  for (bool more = FirstRecord(stream.data(), &r, size); more;
       more = NextRecord(stream.data(), &r, size)) {
    EXPECT_EQ(r.Text, stream.data() + r.Offset + 2);
    EXPECT_EQ(r.Text[r.Length], 0);
    records.push_back({r.Offset, r.Flags, r.Second, r.Length});
  }
  return records;
}

bool operator==(const Expected& a, const Expected& b) {
  return a.Offset == b.Offset && a.Flags == b.Flags && a.Second == b.Second &&
         a.Length == b.Length;
}

TEST(ArticleFormat, AStreamStartingWithZeroHasNoParagraphs) {
  const Bytes stream = {0, 0, 0, 0};
  EXPECT_TRUE(Walk(stream).empty());
  EXPECT_EQ(ArticleStreamLength(stream.data()), 0);
}

// The second byte is skipped whatever it holds: an IndentByte 0 is no terminator, and
// a rule has no text.
TEST(ArticleFormat, WalkSkipsTheSecondByteUnconditionally) {
  const Bytes stream = {0xB1, 0x00, 'a', 0,  0xC7, 0xD2, 0, 0x81, 0x00, 'x', 'y', 0,
                        0xB1, 0x45, 0x00,  // text paragraph with empty text
                        0,    0,    0,    0};
  const std::vector<Expected> expected = {
      {0, 0xB1, 0x00, 1}, {4, 0xC7, 0xD2, 0}, {7, 0x81, 0x00, 2}, {12, 0xB1, 0x45, 0}};
  EXPECT_EQ(Walk(stream), expected);
  EXPECT_EQ(ArticleStreamLength(stream.data()), 15);
  EXPECT_EQ(ArticleStreamLength(stream.data(), DWORD(stream.size())), 15);
}

// A walk bounded by the data's size ends before a record the size cuts off.
TEST(ArticleFormat, BoundedWalkStopsBeforeACutRecord) {
  const Bytes stream = {0xB1, 0x00, 'a', 'b', 0, 0xB1, 0x00, 'c', 'd'};
  struct Case {
    DWORD Size;
    size_t Records;
    WORD Length;
  } const cases[] = {{9, 1, 5}, {6, 1, 5}, {7, 1, 5}, {5, 1, 5}, {4, 0, 0}, {1, 0, 0}, {0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Size);
    EXPECT_EQ(Walk(stream, c.Size).size(), c.Records);
    EXPECT_EQ(ArticleStreamLength(stream.data(), c.Size), c.Length);
  }
}

TEST(ArticleFormat, FlagsByte) {
  struct Case {
    BYTE Flags;
    bool Rule;
    BYTE Key;
    ParagraphAlignment Alignment;
  } const cases[] = {
      {0xB1, false, 0x11, AlignRight}, {0xD1, false, 0x11, AlignCentre},
      {0xD2, false, 0x12, AlignCentre}, {0x81, false, 0x01, AlignLeft},
      {0xC7, true, 0x07, AlignCentre}, {0x47, true, 0x07, AlignCentre},
      {0x67, true, 0x07, AlignLeft},   {0x27, true, 0x07, AlignRight},
      {0x07, true, 0x07, AlignLeft},   {0x06, false, 0x06, AlignLeft},
      {0x1F, true, 0x1F, AlignLeft},   {0xFE, false, 0x1E, AlignLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c.Flags));
    EXPECT_EQ(IsRuleRecord(c.Flags), c.Rule);
    EXPECT_EQ(StyleKey(c.Flags), c.Key);
    EXPECT_EQ(AlignmentOf(c.Flags), c.Alignment);
  }
}

TEST(ArticleFormat, IndentByte) {
  struct Case {
    BYTE Indent;
    LONG Margin, Hang;
  } const cases[] = {{0x00, 0, 0}, {0x3F, 63, 0}, {0x40, 0, 1}, {0xC5, 5, 3}, {0xBF, 63, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(Margin(c.Indent), c.Margin) << int(c.Indent);
    EXPECT_EQ(HangFactor(c.Indent), c.Hang) << int(c.Indent);
  }
}

TEST(ArticleFormat, RuleLength) {
  struct Case {
    BYTE Width;
    LONG ViewWidth, Length;
  } const cases[] = {
      {0, 240, 0},     {1, 240, 1},     {160, 240, 160}, {160, 100, 100},
      {161, 240, 4},   {172, 240, 57},  {210, 240, 240}, {210, 1, 1},
      {211, 240, 240}, {255, 240, 240}, {172, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RuleLength(c.Width, c.ViewWidth), c.Length) << int(c.Width) << " in " << c.ViewWidth;
}

TEST(ArticleFormat, HeaderTags) {
  for (int flags = 1; flags < 256; ++flags) {
    EXPECT_EQ(IsTitleTag(BYTE(flags)), flags == 0xCC || flags == 0xDC) << flags;
    EXPECT_EQ(IsSubtitleTag(BYTE(flags)), flags == 0xC1 || flags == 0xD1) << flags;
  }
}

}  // namespace
