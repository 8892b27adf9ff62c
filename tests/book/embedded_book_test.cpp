// The sample edition embedded in this executable's resources, loaded the way the
// reader loads it.
#include <gtest/gtest.h>

#include <cstring>

#include "base/app_state.h"
#include "book_source.h"
#include "book_test_support.h"
#include "content/article_format.h"
#include "content/article_trailer.h"
#include "content/lesson_loader.h"
#include "records.h"

namespace {

using booktest::SampleBuild;

std::vector<uint8_t> BuiltStream(const std::string& name) {
  std::optional<std::vector<uint8_t>> record = book::ReadWholeFile(SampleBuild / name);
  EXPECT_TRUE(record) << name;
  return record ? book::DecodeWithProgram(*record).value_or(std::vector<uint8_t>{}) : std::vector<uint8_t>{};
}

class EmbeddedBook : public ::testing::Test {
 protected:
  void SetUp() override { App.Instance = GetModuleHandleW(nullptr); }
};

TEST_F(EmbeddedBook, EveryLessonLoadsWithTheClosingBlock) {
  for (WORD n = 1; n <= LessonCount; ++n) {
    LoadReason reason{};
    BYTE* article = LoadArticle(n, &reason);
    ASSERT_NE(article, nullptr) << "lesson " << n << ", reason " << reason;
    const std::vector<uint8_t> stream = BuiltStream(book::LessonFileName(n));
    const size_t length = stream.size() - 3;  // the records before the terminator
    // the walk goes on through the closing block's records to its terminator
    EXPECT_EQ(size_t(ArticleStreamLength(article)), length + ArticleTrailerSize - 1) << n;
    EXPECT_EQ(std::memcmp(article, stream.data(), length), 0) << n;
    EXPECT_EQ(std::memcmp(article + length, ArticleTrailer, ArticleTrailerSize), 0) << n;
    const BYTE zeros[3] = {};
    EXPECT_EQ(std::memcmp(article + length + ArticleTrailerSize, zeros, 3), 0) << n;
    EXPECT_EQ(article[0], 0xD1) << n;
    free(article);
  }
  LoadReason reason{};
  EXPECT_EQ(LoadArticle(268, &reason), nullptr);
  EXPECT_EQ(reason, LoadNoResource);
}

TEST_F(EmbeddedBook, IndexLoadsWholeWithoutClosingBlock) {
  LoadReason reason{};
  DWORD length = 0;
  BYTE* index = LoadLessonResource(IndexLessonNumber, &reason, &length);
  ASSERT_NE(index, nullptr) << reason;
  const std::vector<uint8_t> stream = BuiltStream(book::IndexFileName);
  ASSERT_EQ(length, stream.size());
  EXPECT_EQ(std::memcmp(index, stream.data(), length), 0);
  std::vector<book::ContentsEntry> entries;
  size_t end = 0;
  ASSERT_TRUE(book::SplitIndex(index, length, &entries, &end));
  EXPECT_EQ(entries.size(), 280u);
  EXPECT_EQ(entries.front().Key, 0xBFFE);
  EXPECT_EQ(entries.front().Style, 0x8C);
  EXPECT_EQ(entries[1].Key, 0x4001);
  EXPECT_EQ(entries.back().Key, 0x4000 + 267);
  free(index);
}

}  // namespace
