// The dialog over a book whose index cannot be had, or holds no entry: the outline is
// empty (but for the bookmarks' heading), and the dialog opens and closes as always.
#include "article_dialog_fixture.h"

#include <cstdlib>

#include "content/index_stream.h"
#include "content/lesson_loader.h"

namespace dialog_test {
namespace {

// The book of the test holds an index record that loads, or none (INDEX_RECORD).
TEST(IndexRecord, LoadsAsTheTestsBookHasIt) {
  DWORD length = 0;
  BYTE* stream = LoadLessonResource(IndexLessonNumber, nullptr, &length);
  EXPECT_EQ(stream != nullptr, INDEX_RECORD != 0);
  if (stream) {
    EXPECT_EQ(length, IndexStreamEndSize);
    EXPECT_EQ(IndexEntriesLength(stream), 0u);
  }
  free(stream);
}

TEST_F(ArticleDialogTest, WithoutAnIndexTheOutlineIsEmptyAndTheDialogWorks) {
  EXPECT_EQ(Choose(5, {[](HWND dialog) {
                         ASSERT_NE(ArticleDialog.View, nullptr);
                         EXPECT_TRUE(VisibleKeys().empty());
                         EXPECT_EQ(ArticleDialog.View->Stream, nullptr);
                         TapClient(dialog, 100, 10);
                         TapClient(dialog, 100, 200);
                       },
                       [](HWND dialog) { TapOk(dialog); }}),
            5);
  EXPECT_EQ(Choose(5, {[](HWND) { Key(VK_ESCAPE); }}), 0);
}

TEST_F(ArticleDialogTest, WithoutAnIndexTheBookmarksHeadingStandsAlone) {
  Bookmark({12, 3});
  EXPECT_EQ(Choose(5, {[](HWND dialog) {
                         EXPECT_EQ(VisibleKeys(), std::vector<WORD>{0x8877});
                         TapTitle(dialog, 0x8877);  // closed: its mark changes, no more
                       },
                       [](HWND dialog) {
                         EXPECT_EQ(VisibleKeys(), std::vector<WORD>{0x8877});
                         EXPECT_FALSE(IsEntryExpanded(ArticleDialog.View->Lines[0].EntryFlags));
                         TapOk(dialog);
                       }}),
            5);
}

}  // namespace
}  // namespace dialog_test
