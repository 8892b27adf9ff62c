// Where the shown lesson is searched on from, over a hand-made line table, and the
// pattern stored from the search field's units in each code base.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "search/search_next.h"
#include "search/search_pattern.h"
#include "tests/view/article_builder.h"
#include "view/article_view.h"

namespace {

// Two right-to-left paragraphs, read "aaa bbb ccc" and "ddd eee" from their last stored
// bytes: texts at offsets 2 to 12 and 16 to 22, the next record at 14.
//   line 0  "ccc" at 10   line 1  "bbb" at 6   line 2  "aaa" at 2, then a blank line
//   line 4  "eee" at 20   line 5  "ddd" at 16
class StartOffset : public ::testing::Test {
 protected:
  void SetUp() override {
    text_ = ArticleBuilder().Text(0xB1, 0, "aaa bbb ccc").Text(0xB1, 0, "ddd eee").Build();
    lines_ = {{10, 3, 0, 0, 30, 12, 0x31}, {6, 3, 0, 0, 30, 12, 0x31}, {2, 3, 0, 0, 30, 12, 0xB1},
              {20, 3, 0, 0, 30, 12, 0x31}, {16, 3, 0, 0, 30, 12, 0x31}, {}};
    view_.Text = text_;
    view_.Lines = lines_.data();
    view_.DisplayLineCount = 6;
    view_.LastTopLine = 2;
  }
  void TearDown() override { free(text_); }

  WORD StartFrom(WORD firstLine, WORD highlightStart = 0, WORD highlightEnd = 0,
                 WORD lastTopLine = 2) {
    view_.FirstLine = firstLine;
    view_.LastTopLine = lastTopLine;
    view_.HighlightStart = highlightStart;
    view_.HighlightEnd = highlightEnd;
    return SearchStartOffset(&view_);
  }

  BYTE* text_ = nullptr;
  std::vector<LineEntry> lines_;
  ArticleView view_ = {};
};

TEST_F(StartOffset, EachOfItsCases) {
  struct {
    const char* what;
    WORD firstLine, highlightStart, highlightEnd, lastTopLine;
    WORD expected;
  } cases[] = {
      {"no highlight: the top line's last stored byte", 0, 0, 0, 2, 12},
      {"on the blank line: the line below it", 3, 0, 0, 2, 22},
      {"the match scrolled away: the top line again", 0, 16, 19, 2, 12},
      {"the match ending just below the top line is away", 0, 6, 9, 2, 12},
      {"the match on the top line: just past it", 0, 11, 13, 2, 10},
      {"the match from the top line's first byte: the line below", 0, 10, 13, 2, 9},
      {"the match from the paragraph's first byte: the next paragraph", 2, 2, 5, 2, 14},
      {"at the last page a match below the top line: past it", 4, 2, 5, 4, 14},
      {"at the last page a match in the middle: past it", 4, 8, 9, 4, 7},
      {"past the last line: nothing more in this lesson", 6, 0, 0, 2, 0xFFFF},
  };
  for (auto& c : cases)
    EXPECT_EQ(StartFrom(c.firstLine, c.highlightStart, c.highlightEnd, c.lastTopLine), c.expected)
        << c.what;
  EXPECT_EQ(SearchStartOffset(nullptr), 0);
}

TEST_F(StartOffset, TheTopLineBeginsWithItsHangingWord) {
  // Read "aa bb cc": "aa", stored last, hangs beside "bb" on the first line.
  free(text_);
  text_ = ArticleBuilder().Text(0xB1, 0x40, "cc bb aa").Build();
  lines_ = {{5, 2, 0, 10, 20, 12, 0x31}, {2, 2, 0, 0, 20, 12, 0x31}, {}};
  view_.Text = text_;
  view_.Lines = lines_.data();
  EXPECT_EQ(StartFrom(0, 0, 0, 1), 9);
  EXPECT_EQ(StartFrom(0, 8, 10, 1), 7) << "a match in the hanging word is on the top line";
}

class StoredPattern : public ::testing::Test {
 protected:
  void TearDown() override { App.Font.CodeBase = 0; }
  std::string Store(LONG codeBase, const std::u16string& units) {
    App.Font.CodeBase = codeBase;
    std::memset(App.SearchString, 'x', sizeof App.SearchString);
    StoreSearchPattern(units.c_str());
    return std::string(reinterpret_cast<const char*>(App.SearchString));
  }
};

TEST_F(StoredPattern, LettersOfTheCodeBaseAndEveryOtherUnit) {
  struct {
    LONG codeBase;
    std::u16string units;
    std::string expected;
  } cases[] = {
      {1488, u"\u05D0\u05D1\u05D2", "abc"},
      {1488, u"\u05DA\u05DB", "kl"},          // final kaf, then kaf
      {1488, u"\u05EA\u05D0*?", "{a*?"},
      {1488, u"\u05E9 12", "z 12"},
      {224, u"\u00E0\u00FA", "a{"},
      {224, u"\u05D0", "\xD0"},               // another block's letter: its low byte
      {97, u"abc", "abc"},
      {1488, u"a  b", "a b"},                 // a run of spaces is one space
      {1488, u"   a", " a"},
      {1488, u"a ", "a "},
      {1488, u"", ""},
  };
  for (auto& c : cases)
    EXPECT_EQ(Store(c.codeBase, c.units), c.expected) << c.codeBase << " " << c.expected;
}

TEST_F(StoredPattern, TakesAtMostThirtyThreeUnits) {
  EXPECT_EQ(Store(1488, std::u16string(40, u'\u05D0')), std::string(33, 'a'));
  EXPECT_EQ(SearchPatternLength(), 33);
  App.SearchString[33] = 'a';  // an unterminated pattern is read no further than 33
  EXPECT_EQ(SearchPatternLength(), 33);
  App.SearchString[33] = 0;
}

}  // namespace
