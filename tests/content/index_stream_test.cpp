#include "content/index_stream.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

struct Expected {
  WORD Offset, Key;
  BYTE Style, Level;
  std::string Title;
  bool operator==(const Expected&) const = default;
};

std::vector<Expected> Walk(const Bytes& stream, DWORD size = UnboundedStream) {
  std::vector<Expected> entries;
  IndexEntry e;
  for (bool more = FirstEntry(stream.data(), &e, size); more;
       more = NextEntry(stream.data(), &e, size)) {
    EXPECT_EQ(e.Title, stream.data() + e.Offset + 4);
    EXPECT_EQ(e.Title[e.TitleLength], 0);
    entries.push_back({e.Offset, e.Key, e.Style, e.Level,
                       std::string(reinterpret_cast<const char*>(e.Title), e.TitleLength)});
  }
  return entries;
}

// A section of two lessons, as the book stores it, then the five zero bytes.
const Bytes Stored = {0xFE, 0xBF, 0x8C, 0x01, 'a', 'b', 0x00,  //
                      0x05, 0x40, 0x01, 0x02, 'c', 0x00,       //
                      0x06, 0x40, 0x01, 0x02, 'd', 'e', 0x00,  //
                      0,    0,    0,    0,    0};

TEST(IndexStream, WalkReadsEveryEntryUpToTheEnd) {
  const std::vector<Expected> expected = {
      {0, 0xBFFE, 0x8C, 1, "ab"}, {7, 0x4005, 0x01, 2, "c"}, {13, 0x4006, 0x01, 2, "de"}};
  EXPECT_EQ(Walk(Stored), expected);
  EXPECT_EQ(Walk(Stored, DWORD(Stored.size())), expected);
  EXPECT_EQ(IndexEntriesLength(Stored.data()), 20u);
  EXPECT_TRUE(IsIndexStreamEnd(Stored.data(), 20, DWORD(Stored.size())));
  EXPECT_FALSE(IsIndexStreamEnd(Stored.data(), 13, DWORD(Stored.size())));
}

// Only the style byte ends the stream: a key or level of 0 is read as it stands, and
// whatever follows the end is not read.
TEST(IndexStream, OnlyAStyleByteOfZeroEndsTheStream) {
  const Bytes stream = {0x00, 0x00, 0x81, 0x00, 'x', 0x00,  //
                        0x07, 0x40, 0x00, 0x02, 'y', 0x00};
  EXPECT_EQ(Walk(stream), (std::vector<Expected>{{0, 0x0000, 0x81, 0, "x"}}));
  EXPECT_EQ(IndexEntriesLength(stream.data()), 6u);
  EXPECT_TRUE(IsIndexStreamEnd(stream.data(), 6));
}

// A walk bounded by the data's size ends before an entry the size cuts off; only a
// style byte 0 within the size is a proper end.
TEST(IndexStream, BoundedWalkStopsBeforeACutEntry) {
  struct Case {
    DWORD Size;
    size_t Entries;
    DWORD Length;
    bool ProperEnd;
  } const cases[] = {{25, 3, 20, true}, {23, 3, 20, true}, {22, 3, 20, false},
                     {19, 2, 13, false}, {13, 2, 13, false}, {7, 1, 7, false},
                     {6, 0, 0, false},  {2, 0, 0, false},  {0, 0, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Size);
    EXPECT_EQ(Walk(Stored, c.Size).size(), c.Entries);
    EXPECT_EQ(IndexEntriesLength(Stored.data(), c.Size), c.Length);
    EXPECT_EQ(IsIndexStreamEnd(Stored.data(), c.Length, c.Size), c.ProperEnd);
  }
}

TEST(IndexStream, FindEntryGivesTheFirstWithTheKey) {
  const Bytes twice = {0x05, 0x40, 0x81, 0x02, 'p', 0x00,  //
                       0x05, 0x40, 0x01, 0x02, 'q', 0x00, 0, 0, 0, 0, 0};
  IndexEntry e;
  ASSERT_TRUE(FindEntry(twice.data(), ArticleKey(5), &e));
  EXPECT_EQ(e.Offset, 0);
  EXPECT_EQ(e.Style, 0x81);
  ASSERT_TRUE(FindEntry(Stored.data(), 0xBFFE, &e));
  EXPECT_EQ(e.Offset, 0);
  EXPECT_FALSE(FindEntry(Stored.data(), ArticleKey(7), &e));
  EXPECT_FALSE(FindEntry(nullptr, ArticleKey(5), &e));
}

TEST(IndexStream, Keys) {
  struct Case {
    WORD Key;
    bool Article, Section;
    WORD Number;
  } const cases[] = {{0x4001, true, false, 1},      {0x410B, true, false, 267},
                     {0xBFFE, false, true, 0x3FFE}, {0x8877, false, true, 0x0877},
                     {0xC005, false, false, 5},     {0x0005, false, false, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Key);
    EXPECT_EQ(IsArticleKey(c.Key), c.Article);
    EXPECT_EQ(IsSectionKey(c.Key), c.Section);
    EXPECT_EQ(KeyNumber(c.Key), c.Number);
  }
  EXPECT_EQ(ArticleKey(267), 0x410B);
  EXPECT_EQ(SectionKey(KeyNumberBits - 1), 0xBFFE);
}

TEST(IndexStream, StyleByteAndLevel) {
  EXPECT_TRUE(IsEntryVisible(0x8C));
  EXPECT_FALSE(IsEntryExpanded(0x8C));
  EXPECT_TRUE(IsEntryExpanded(0xC1));
  EXPECT_FALSE(IsEntryVisible(0x01));
  EXPECT_EQ(IndentOfLevel(0), 0);
  EXPECT_EQ(IndentOfLevel(2), 26);
}

TEST(IndexStream, WrittenEntriesReadBack) {
  Bytes stream(
      IndexEntrySize(2) + IndexEntrySize(1) + IndexEntrySize(2) + IndexStreamEndSize, 0xEE);
  const BYTE ab[] = {'a', 'b'}, c[] = {'c'}, de[] = {'d', 'e'};
  BYTE* out = WriteIndexEntry(stream.data(), SectionKey(0x3FFE), 0x8C, 1, ab, 2);
  out = WriteIndexEntry(out, ArticleKey(5), 0x01, 2, c, 1);
  out = WriteIndexEntry(out, ArticleKey(6), 0x01, 2, de, 2);
  EXPECT_EQ(WriteIndexStreamEnd(out), stream.data() + stream.size());
  EXPECT_EQ(stream, Stored);
}

// Data that do not end within their size (cut off, or missing the end) get a block of
// their own whole entries and a proper end; a stream that ends is kept as it is.
TEST(IndexStream, EndWithinGivesEveryStreamAnEndInsideItsBlock) {
  struct Case {
    DWORD Size;  // of the stored bytes, handed over as the data
    bool Kept;
    size_t Entries;
  } const cases[] = {{25, true, 3}, {23, true, 3}, {22, false, 3}, {20, false, 3},
                     {15, false, 2}, {3, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Size);
    BYTE* data = static_cast<BYTE*>(malloc(c.Size));
    std::memcpy(data, Stored.data(), c.Size);
    BYTE* ended = EndIndexStreamWithin(data, c.Size);
    ASSERT_NE(ended, nullptr);
    EXPECT_EQ(ended == data, c.Kept);
    DWORD size = c.Kept ? c.Size : IndexEntriesLength(ended) + IndexStreamEndSize;
    Bytes block(ended, ended + size);
    EXPECT_TRUE(IsIndexStreamEnd(block.data(), IndexEntriesLength(block.data(), size), size));
    EXPECT_EQ(Walk(block, size).size(), c.Entries);
    free(ended);
  }
  EXPECT_EQ(EndIndexStreamWithin(nullptr, 10), nullptr);
}

}  // namespace
