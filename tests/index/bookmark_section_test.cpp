// The bookmarks section of the table of contents and the joining of index streams, on
// small streams and on the book's own index.
#include <gtest/gtest.h>

#include <cstring>

#include "base/app_state.h"
#include "index/bookmarks.h"
#include "index_fixtures.h"

namespace index_test {
namespace {

using Bytes = std::vector<BYTE>;

const Entry SectionEntry{0x8877, 0xC1, 1, "jiyu"};

// A small index: two sections, lessons 3, 12 and 200.
std::vector<Entry> SmallIndex() {
  return {{0xBFFE, 0x8C, 1, "AB"},
          {0x4003, 0x01, 2, "ccc"},
          {0x400C, 0x01, 2, "d"},
          {0xBFFD, 0x8C, 1, "E"},
          {0x40C8, 0x01, 2, "ff"}};
}

Bytes BlockBytes(const BYTE* block, size_t size) { return Bytes(block, block + size); }

// The section as the outline shows it: its own entry, then a line per bookmark found.
std::vector<Entry> SectionOf(const std::vector<WORD>& bookmarks) {
  std::vector<Entry> entries{SectionEntry};
  for (WORD b : bookmarks) entries.push_back(Entry{WORD(b | 0x4000), 0x81, 2, BookEntry(b).title});
  return entries;
}

TEST_F(BookmarkTest, TheSectionListsTheBookmarksInListOrder) {
  BYTE* index = MakeStream(SmallIndex());
  SetList({12, 3, 200});
  BYTE* section = BuildBookmarkSection(index);
  ASSERT_NE(section, nullptr);
  const Bytes expected{0x77, 0x88, 0xC1, 0x01, 0x6A, 0x69, 0x79, 0x75, 0x00,  //
                       0x0C, 0x40, 0x81, 0x02, 'd', 0x00,                     //
                       0x03, 0x40, 0x81, 0x02, 'c', 'c', 'c', 0x00,           //
                       0xC8, 0x40, 0x81, 0x02, 'f', 'f', 0x00,                //
                       0, 0, 0, 0, 0};
  EXPECT_EQ(BlockBytes(section, expected.size()), expected);
  free(section);
  free(index);
}

TEST_F(BookmarkTest, TheSectionTakesTheTitlesOfTheBooksIndex) {
  BYTE* index = BookIndex();
  ASSERT_NE(index, nullptr);
  for (WORD lesson : {12, 3, 200}) ASSERT_FALSE(BookEntry(lesson).title.empty()) << lesson;
  // 0x0500 is no lesson of the book: it stays in the list but has no line; a lesson
  // named twice stands twice.
  SetList({12, 3, 0x0500, 200, 12});
  BYTE* section = BuildBookmarkSection(index);
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(Entries(section), SectionOf({12, 3, 200, 12}));
  EXPECT_EQ(App.BookmarkCount, 5);
  free(section);
  free(index);
}

TEST_F(BookmarkTest, WithoutAStreamTheSectionHasOnlyItsOwnEntry) {
  SetList({12});
  BYTE* section = BuildBookmarkSection(nullptr);
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(BlockBytes(section, 14),
            (Bytes{0x77, 0x88, 0xC1, 0x01, 0x6A, 0x69, 0x79, 0x75, 0, 0, 0, 0, 0, 0}));
  free(section);
}

TEST_F(BookmarkTest, MergePutsTheSectionInFrontOfTheBooksIndex) {
  BYTE* index = BookIndex();
  ASSERT_NE(index, nullptr);
  std::vector<Entry> expected = SectionOf({12, 3});
  std::vector<Entry> book = Entries(index);
  EXPECT_EQ(book.size(), 280u);
  expected.insert(expected.end(), book.begin(), book.end());

  SetList({12, 3});
  BYTE* merged = MergeBookmarks(index);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(Entries(merged), expected);
  free(merged);
}

TEST_F(BookmarkTest, MergeGivesTheStreamBackWithoutBookmarks) {
  BYTE* index = MakeStream(SmallIndex());
  EXPECT_EQ(MergeBookmarks(index), index);  // no list
  SetList({12});
  App.Lesson = 12;
  RemoveBookmark();  // a list with count 0
  EXPECT_EQ(MergeBookmarks(index), index);
  EXPECT_EQ(Entries(index), SmallIndex());
  free(index);
}

// The first allocation is the section's, the second the joined stream's.
TEST_F(BookmarkTest, MergeWithoutMemoryGivesTheIndexAlone) {
  for (unsigned failing : {1u, 2u}) {
    SCOPED_TRACE(failing);
    BYTE* index = MakeStream(SmallIndex());
    SetList({12});
    HeapFailAllocation(failing);
    EXPECT_EQ(MergeBookmarks(index), index);
    HeapFailAllocation(0);
    EXPECT_EQ(Entries(index), SmallIndex());
    free(index);
  }
}

TEST_F(BookmarkTest, BuildWithoutMemoryGivesNoSection) {
  BYTE* index = MakeStream(SmallIndex());
  SetList({12});
  HeapFailAllocation(1);
  EXPECT_EQ(BuildBookmarkSection(index), nullptr);
  free(index);
}

// Lesson 1's entry takes 6 bytes and lesson 2's 7 in the section, whose own entry and
// end take 14: the sizes are counted in full, never in 16 bits, and a section that
// would not fit in LargestIndexStream is refused.
TEST_F(BookmarkTest, ASectionBeyondTheLargestStreamIsRefused) {
  BYTE* index = MakeStream({{0x4001, 0x01, 2, "x"}, {0x4002, 0x01, 2, "yy"}});
  struct Case {
    size_t ones;
    size_t twos;
    size_t size;  // 0: refused
  } cases[] = {
      {10920, 0, 65534},
      {10919, 1, 65535},
      {10921, 0, 0},
      {10920, 1, 0},
      {10923, 0, 0},  // 65552 bytes: 16 in 16 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ones);
    std::vector<WORD> list(c.ones, 1);
    list.insert(list.end(), c.twos, 2);
    SetList(list);
    BYTE* section = BuildBookmarkSection(index);
    if (c.size == 0) {
      EXPECT_EQ(section, nullptr);
      continue;
    }
    ASSERT_NE(section, nullptr);
    std::vector<Entry> entries = Entries(section);
    EXPECT_EQ(entries.size(), 1 + c.ones + c.twos);
    EXPECT_EQ(entries.back(), (Entry{WORD(c.twos ? 0x4002 : 0x4001), 0x81, 2, c.twos ? "yy" : "x"}));
    EXPECT_EQ(BlockBytes(section + c.size - 5, 5), Bytes(5, 0));
    free(section);
  }
  free(index);
}

TEST_F(BookmarkTest, JoinWithAMissingStreamGivesTheOther) {
  BYTE* stream = MakeStream(SmallIndex());
  EXPECT_EQ(JoinIndexStreams(nullptr, nullptr), nullptr);
  EXPECT_EQ(JoinIndexStreams(stream, nullptr), stream);
  EXPECT_EQ(JoinIndexStreams(nullptr, stream), stream);
  free(stream);
}

// Each stream ends at its first entry whose style byte is 0: what follows is not copied.
TEST_F(BookmarkTest, JoinCopiesTheEntriesOfBothUpToTheirEnds) {
  const Bytes first{0x01, 0x40, 0x81, 0x02, 'a', 0x00,  //
                    0x55, 0x66, 0x00, 0x77, 0x88, 0x99};
  BYTE* firstBlock = static_cast<BYTE*>(malloc(first.size()));
  std::memcpy(firstBlock, first.data(), first.size());
  BYTE* second = MakeStream(SmallIndex());

  BYTE* joined = JoinIndexStreams(firstBlock, second);
  ASSERT_NE(joined, nullptr);
  std::vector<Entry> expected{{0x4001, 0x81, 2, "a"}};
  std::vector<Entry> small = SmallIndex();
  expected.insert(expected.end(), small.begin(), small.end());
  EXPECT_EQ(Entries(joined), expected);
  size_t length = 6 + 7 + 8 + 6 + 6 + 7;
  EXPECT_EQ(BlockBytes(joined + length, 5), Bytes(5, 0));
  free(joined);
}

// A title of 40000 bytes takes 40005; with the other stream's entry and the end of 5
// the joined stream takes 65535 bytes at most.
TEST_F(BookmarkTest, AJoinBeyondTheLargestStreamGivesTheSecondAlone) {
  for (size_t title : {25520u, 25521u}) {
    SCOPED_TRACE(title);
    BYTE* first = MakeStream({{0x4001, 0x81, 2, std::string(40000, 'a')}});
    std::vector<Entry> secondEntries{{0x4002, 0x01, 2, std::string(title, 'b')}};
    BYTE* second = MakeStream(secondEntries);
    BYTE* joined = JoinIndexStreams(first, second);
    if (title == 25520) {
      ASSERT_NE(joined, second);
      EXPECT_EQ(Entries(joined).size(), 2u);
      EXPECT_EQ(BlockBytes(joined + 65530, 5), Bytes(5, 0));
    } else {
      ASSERT_EQ(joined, second);
      EXPECT_EQ(Entries(joined), secondEntries);
    }
    free(joined);
  }
}

TEST_F(BookmarkTest, JoinWithoutMemoryGivesTheSecond) {
  BYTE* first = MakeStream({{0x4001, 0x81, 2, "a"}});
  BYTE* second = MakeStream(SmallIndex());
  HeapFailAllocation(1);
  EXPECT_EQ(JoinIndexStreams(first, second), second);
  HeapFailAllocation(0);
  EXPECT_EQ(Entries(second), SmallIndex());
  free(second);
}

}  // namespace
}  // namespace index_test
