// The bookmark list: reading it from the settings, writing it back, and adding,
// finding and removing the current lesson.
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "index/bookmarks.h"
#include "index_fixtures.h"

namespace index_test {
namespace {

using Bytes = std::vector<BYTE>;

TEST_F(BookmarkTest, LoadTakesTheEntriesBeforeTheFirstZeroAndSaveWritesThemBack) {
  struct Case {
    const char* what;
    std::optional<Bytes> stored;
    std::vector<WORD> list;
    Bytes saved;
  };
  const Case cases[] = {
      {"no value", std::nullopt, {}, {0, 0}},
      {"empty value", Bytes{}, {}, {0, 0}},
      {"three lessons", Bytes{0x0C, 0, 0x03, 0, 0xC8, 0, 0, 0}, {12, 3, 200},
       {0x0C, 0, 0x03, 0, 0xC8, 0, 0, 0}},
      {"a lesson not in the index", Bytes{0x00, 0x05, 0, 0}, {0x0500}, {0x00, 0x05, 0, 0}},
      {"a lesson twice", Bytes{0x0C, 0, 0x0C, 0, 0, 0}, {12, 12}, {0x0C, 0, 0x0C, 0, 0, 0}},
      {"only the end", Bytes{0, 0}, {}, {0, 0}},
      {"last word not 0", Bytes{0x0C, 0, 0x03, 0}, {12}, {0x0C, 0, 0, 0}},
      {"odd size", Bytes{0x0C, 0, 0x03, 0, 0xC8}, {12}, {0x0C, 0, 0, 0}},
      {"one byte", Bytes{0x07}, {}, {0, 0}},
      {"a 0 inside", Bytes{0x0C, 0, 0, 0, 0x03, 0, 0, 0}, {12}, {0x0C, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UseFreshSettings();
    if (c.stored) StoreValue(*c.stored);
    LoadBookmarks();
    EXPECT_EQ(ListEntries(), c.list);
    if (App.BookmarkList) {
      EXPECT_EQ(App.BookmarkList[App.BookmarkCount], 0);
    }
    SaveBookmarks();
    EXPECT_EQ(StoredValue(), c.saved);
  }
}

TEST_F(BookmarkTest, LoadReplacesTheListHeldBefore) {
  SetList({5, 6});
  StoreValue({0x07, 0, 0, 0});
  LoadBookmarks();
  EXPECT_EQ(ListEntries(), std::vector<WORD>{7});

  StoreValue({});
  LoadBookmarks();
  EXPECT_EQ(App.BookmarkList, nullptr);
  EXPECT_EQ(App.BookmarkCount, 0);
}

// The count and the walk agree: what is added after a stored list that held a 0
// inside is found again and saved right after the entries before that 0.
TEST_F(BookmarkTest, ALessonAddedAfterAStoredInnerZeroIsBookmarked) {
  StoreValue({0x0C, 0, 0, 0, 0x03, 0, 0, 0});
  LoadBookmarks();
  App.Lesson = 7;
  AddBookmark();
  EXPECT_EQ(IsBookmarked(), 1);
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{12, 7}));
  SaveBookmarks();
  EXPECT_EQ(StoredValue(), (Bytes{0x0C, 0, 0x07, 0, 0, 0}));
}

TEST_F(BookmarkTest, AddedLessonsKeepTheirOrderAndAreStoredLittleEndian) {
  LoadBookmarks();
  for (WORD lesson : {12, 3, 200, 3}) {
    App.Lesson = lesson;
    AddBookmark();
  }
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{12, 3, 200}));
  SaveBookmarks();
  EXPECT_EQ(StoredValue(), (Bytes{0x0C, 0, 0x03, 0, 0xC8, 0, 0, 0}));

  FreeBookmarks();
  LoadBookmarks();
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{12, 3, 200}));
}

TEST_F(BookmarkTest, LessonZeroIsNeverAdded) {
  SetList({12});
  App.Lesson = 0;
  AddBookmark();
  EXPECT_EQ(ListEntries(), std::vector<WORD>{12});
}

TEST_F(BookmarkTest, IsBookmarkedLooksOnlyAtTheEntriesOfTheList) {
  EXPECT_EQ(IsBookmarked(), 0);  // no list
  SetList({12, 3, 200});
  App.BookmarkList[3] = 0;
  struct Case {
    WORD lesson;
    int expected;
  } cases[] = {{12, 1}, {3, 1}, {200, 1}, {4, 0}, {0, 0}};
  for (const Case& c : cases) {
    App.Lesson = c.lesson;
    EXPECT_EQ(IsBookmarked(), c.expected) << c.lesson;
  }
  App.BookmarkCount = 1;  // the count ends the list even before its 0
  App.Lesson = 3;
  EXPECT_EQ(IsBookmarked(), 0);
}

TEST_F(BookmarkTest, RemoveDropsEveryCopyInPlace) {
  SetList({12, 3, 12, 200});
  WORD* block = App.BookmarkList;
  App.Lesson = 12;
  RemoveBookmark();
  EXPECT_EQ(App.BookmarkList, block);
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{3, 200}));
  EXPECT_EQ(block[2], 0);

  App.Lesson = 99;  // not in the list
  RemoveBookmark();
  EXPECT_EQ(ListEntries(), (std::vector<WORD>{3, 200}));
}

TEST_F(BookmarkTest, RemovingTheOnlyBookmarkSavesAnEmptyList) {
  StoreValue({0x0C, 0, 0, 0});
  LoadBookmarks();
  App.Lesson = 12;
  RemoveBookmark();
  EXPECT_NE(App.BookmarkList, nullptr);
  EXPECT_EQ(App.BookmarkCount, 0);
  EXPECT_EQ(IsBookmarked(), 0);
  SaveBookmarks();
  EXPECT_EQ(StoredValue(), (Bytes{0, 0}));
}

TEST_F(BookmarkTest, RemoveWithoutAListDoesNothing) {
  App.Lesson = 12;
  RemoveBookmark();
  EXPECT_EQ(App.BookmarkList, nullptr);
  EXPECT_EQ(App.BookmarkCount, 0);
}

TEST_F(BookmarkTest, AddWithoutMemoryLeavesTheListAsItWas) {
  App.Lesson = 3;
  HeapFailAllocation(1);
  AddBookmark();
  EXPECT_EQ(App.BookmarkList, nullptr);
  EXPECT_EQ(IsBookmarked(), 0);

  SetList({12});
  WORD* block = App.BookmarkList;
  App.Lesson = 3;
  HeapFailAllocation(1);
  AddBookmark();
  EXPECT_EQ(App.BookmarkList, block);
  EXPECT_EQ(ListEntries(), std::vector<WORD>{12});
  EXPECT_EQ(IsBookmarked(), 0);
}

}  // namespace
}  // namespace index_test
