// vintrel-book search: the pattern from what a terminal user types, the matches of a
// small article in the order Search Again reaches them, the paragraph shown with its
// match, and the closing block read back from a build.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "book_build.h"
#include "book_search.h"
#include "book_test_support.h"
#include "content/article_trailer.h"
#include "search/matcher.h"
#include "tests/view/article_builder.h"

namespace {

std::string Codes(const book::SearchPattern& pattern) {
  return std::string(pattern.Codes.begin(), pattern.Codes.end());
}

TEST(SearchPattern, ReadingOrderBecomesDisplayOrder) {
  struct {
    const char* text;
    std::string codes;
  } cases[] = {
      {"\u05D0\u05D1\u05D2", "cba"},                  // alef bet gimel: alef stored last
      {"\u05D0*\u05D1", "b*a"},
      {"?\u05D0", "a?"},
      {"\u05D0  \u05D1", "b a"},                      // a run of spaces is one space
      {" \u05D0", "a "},
      {"\u05D3\u05DA", "kd"},                         // final kaf is a letter of its own
      {"\u05D0 12", "12 a"},                         // digits keep their order
  };
  for (auto& c : cases) {
    book::SearchPattern pattern = book::PatternFromText(c.text);
    EXPECT_EQ(pattern.Error, "") << c.text;
    EXPECT_EQ(Codes(pattern), c.codes) << c.text;
  }
}

TEST(SearchPattern, APointedWordSearchesAsTheSameWordUnpointed) {
  // Points go; a letter with a dot or dagesh keeps its own code, which the search folds.
  book::SearchPattern pointed = book::PatternFromText("\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD");
  book::SearchPattern plain = book::PatternFromText("\u05E9\u05DC\u05D5\u05DD");
  ASSERT_EQ(pointed.Codes.size(), plain.Codes.size());
  for (size_t i = 0; i < plain.Codes.size(); ++i)
    EXPECT_EQ(FoldValue(pointed.Codes[i]), FoldValue(plain.Codes[i])) << i;
}

TEST(SearchPattern, PatternsThatGiveNoSearchSayWhy) {
  std::string longest;
  for (int i = 0; i < 33; ++i) longest += "\u05D0";
  EXPECT_EQ(book::PatternFromText(longest).Error, "");
  EXPECT_EQ(book::PatternFromText(longest + "\u05B8").Error, "") << "a point takes no place";
  struct {
    std::string text;
    const char* says;
  } cases[] = {
      {longest + "\u05D0", "too long: 34 characters, at most 33"},
      {"\u05D0x", "character 2 of the pattern: 'x' cannot stand in right-to-left text"},
      {"\u05D0\t", "U+0009 has no place in the letter code"},
      {"\xD7", "not UTF-8"},
      {"", "the pattern is empty"},
      {"\u05B8", "follows no Hebrew letter"},
  };
  for (auto& c : cases) {
    book::SearchPattern pattern = book::PatternFromText(c.text);
    EXPECT_NE(pattern.Error.find(c.says), std::string::npos) << pattern.Error;
    EXPECT_TRUE(pattern.Codes.empty()) << c.says;
  }
}

// Read "abc abc", "xabc" and "aaaa" (stored in display order), then the left-to-right
// "a cab": records at 0, 5, 15, 22 and 29, texts from 2, 7, 17, 24 and 31.
class ArticleSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    article_ = ArticleBuilder()
                   .Text(HeadingFlags, 0, "yy")
                   .Text(BodyFlags, 0, "cba cba")
                   .Text(BodyFlags, 0, "cbax")
                   .Text(BodyFlags, 0, "aaaa")
                   .Text(0x21, 0, "a cab")
                   .Build();
  }
  void TearDown() override { free(article_); }
  std::vector<std::pair<int, int>> Find(const char* reading) {
    bool outOfMemory = true;
    std::vector<std::pair<int, int>> found;
    for (const book::ArticleMatch& m :
         book::MatchesInArticle(book::PatternFromText(reading), article_, &outOfMemory))
      found.push_back({m.Offset, m.Length});
    EXPECT_FALSE(outOfMemory);
    return found;
  }
  BYTE* article_ = nullptr;
};

TEST_F(ArticleSearch, MatchesComeInTheOrderSearchAgainReachesThem) {
  using Found = std::vector<std::pair<int, int>>;
  struct {
    const char* reading;
    Found found;
  } cases[] = {
      {"\u05D0\u05D1\u05D2", {{13, 3}, {9, 3}, {19, 3}}},  // paragraph by paragraph, high to low
      {"\u05D0\u05D0", {{27, 2}, {25, 2}}},  // no overlap; the pair at the first byte ends it
      {"\u05D2*\u05D0", {{11, 3}, {33, 3}}},  // across the space, never past the paragraph
      {"\u05D1\u05D0", {{35, 2}}},            // "ab" as the left-to-right text stores it
      {"\u05D3", {}},
  };
  for (auto& c : cases) EXPECT_EQ(Find(c.reading), c.found) << c.reading;
}

TEST_F(ArticleSearch, TheParagraphReadsInItsOwnOrderWithTheMatchMarked) {
  struct {
    book::ArticleMatch match;
    const char* shown;
  } cases[] = {
      {{13, 3}, "[[\u05D0\u05D1\u05D2]] \u05D0\u05D1\u05D2"},
      {{9, 3}, "\u05D0\u05D1\u05D2 [[\u05D0\u05D1\u05D2]]"},
      {{19, 3}, "\u05E7[[\u05D0\u05D1\u05D2]]"},
      {{35, 2}, "a c[[ab]]"},
  };
  for (auto& c : cases) EXPECT_EQ(book::MarkedParagraph(article_, c.match), c.shown) << c.shown;
  EXPECT_EQ(book::ArticleHeading(article_), "\u05E8\u05E8");
}

TEST(ClosingInclude, ReadsBackWhatTheBuildWrote) {
  const std::string text = booktest::ReadText(booktest::SampleBuild / book::ClosingFileName);
  std::optional<std::vector<uint8_t>> block = book::ParseClosingInclude(text);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->size(), size_t(ArticleTrailerSize));
  EXPECT_EQ(std::memcmp(block->data(), ArticleTrailer, ArticleTrailerSize), 0);
  const size_t last = text.rfind("0x");
  EXPECT_FALSE(book::ParseClosingInclude(text.substr(0, last))) << "a byte short";
  EXPECT_FALSE(book::ParseClosingInclude(text + "0x00,\n")) << "a byte over";
  EXPECT_FALSE(book::ParseClosingInclude(text.substr(0, last) + "0xZZ,\n")) << "not a byte";
}

}  // namespace
