#include "content/lesson_loader.h"

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "content/article_format.h"
#include "content/article_trailer.h"
#include "record_fixtures.h"

namespace {

struct Loaded {
  Bytes Data;  // the bytes given back, length known from the fixture
  bool Found;
  int Reason;  // Untouched when the loader wrote none
  int Messages;
};

// 0 is no reason: a value the enumeration holds that the loader never writes.
constexpr int Untouched = 0;

Loaded LoadArticleOf(WORD number, size_t expectedSize) {
  LoadReason reason = LoadReason(Untouched);
  testing::internal::CaptureStderr();
  BYTE* article = LoadArticle(number, &reason);
  const int messages = CountOf(testing::internal::GetCapturedStderr(), DecodeMessage);
  Loaded loaded{{}, article != nullptr, reason, messages};
  if (article != nullptr) {
    loaded.Data.assign(article, article + expectedSize);
    free(article);
  }
  return loaded;
}

Bytes ArticleOf(const Bytes& records) {
  return Joined({records, Bytes(ArticleTrailer, ArticleTrailer + ArticleTrailerSize), {0, 0, 0}});
}

class LessonLoader : public testing::Test {
 protected:
  void SetUp() override { App.Instance = nullptr; }  // the program's own module
};

TEST_F(LessonLoader, FirstAndLastLessonsComeWithTheClosingBlock) {
  const struct {
    WORD Number;
    Bytes Records;
  } cases[] = {{1, FirstLessonRecords()}, {267, LastLessonRecords()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Number);
    const Bytes expected = ArticleOf(c.Records);
    const Loaded loaded = LoadArticleOf(c.Number, expected.size());
    ASSERT_TRUE(loaded.Found);
    EXPECT_EQ(loaded.Data, expected);
    EXPECT_EQ(loaded.Reason, Untouched);
    EXPECT_EQ(loaded.Messages, 0);
  }
}

TEST_F(LessonLoader, IndexStreamComesAsDecoded) {
  const Bytes index = IndexStream();
  DWORD length = 0;
  BYTE* stream = LoadLessonResource(IndexLessonNumber, nullptr, &length);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(length, index.size());
  EXPECT_EQ(Bytes(stream, stream + length + 2), Joined({index, {0, 0}}));
  free(stream);
}

TEST_F(LessonLoader, LessonResourceHasNoClosingBlock) {
  const Bytes decoded = LessonStream(FirstLessonRecords());
  BYTE* stream = LoadLessonResource(1);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(Bytes(stream, stream + decoded.size() + 2), Joined({decoded, {0, 0}}));
  free(stream);
}

// The identifier is 1000 + number in 16 bits: 65535 names resource 999.
TEST_F(LessonLoader, IdentifierIsComputedIn16Bits) {
  const Bytes decoded = LessonStream(LastLessonRecords());
  BYTE* stream = LoadLessonResource(65535);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(Bytes(stream, stream + decoded.size()), decoded);
  free(stream);
}

TEST_F(LessonLoader, Failures) {
  const struct {
    const char* Name;
    WORD Number;
    int Reason;
    int Messages;
  } cases[] = {
      {"number 0 gives nothing and no reason", 0, Untouched, 0},
      {"no resource", 2, LoadNoResource, 0},
      {"no resource beyond the last lesson", 268, LoadNoResource, 0},
      {"resource of size 0", 3, LoadNoData, 0},
      {"data end one byte early", 4, LoadDecodeFailed, 1},
      {"BlockLength 4", 5, LoadBadHeader, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const Loaded loaded = LoadArticleOf(c.Number, 0);
    EXPECT_FALSE(loaded.Found);
    EXPECT_EQ(loaded.Reason, c.Reason);
    EXPECT_EQ(loaded.Messages, c.Messages);
  }
}

// Resources are looked up in App.Instance: a handle that is no module has none.
TEST_F(LessonLoader, ResourcesComeFromTheApplicationInstance) {
  int notAModule = 0;
  App.Instance = reinterpret_cast<HINSTANCE>(&notAModule);
  EXPECT_EQ(LoadArticleOf(1, 0).Reason, LoadNoResource);
}

// Without memory for the closing block the lesson comes back without it.
TEST_F(LessonLoader, WithoutMemoryForTheClosingBlockTheLessonStillLoads) {
  const Bytes decoded = LessonStream(FirstLessonRecords());
  LoadReason reason = LoadReason(Untouched);
  // A first load settles what the resources keep once made; then the loads allocate the
  // decoded stream and the article, nothing else.
  free(LoadArticle(1));
  HeapFailAllocation(2);
  BYTE* article = LoadArticle(1, &reason);
  HeapFailAllocation(0);
  ASSERT_NE(article, nullptr);
  EXPECT_EQ(Bytes(article, article + decoded.size()), decoded);
  EXPECT_EQ(reason, Untouched);
  free(article);

  HeapFailAllocation(1);
  EXPECT_EQ(LoadArticle(1, &reason), nullptr);
  HeapFailAllocation(0);
  EXPECT_EQ(reason, LoadNoData);
}

}  // namespace
