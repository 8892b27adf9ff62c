// The wildcard matcher on small texts in display order, written in the letter code:
// 'a' to '{' the letters ('k' final kaf before 'l' kaf), 'A' to 'Z' pointed letters
// ('E' bet with dagesh), "\x16" a qamats, digits and punctuation themselves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "search/matcher.h"
#include "tests/view/article_builder.h"

namespace {

const BYTE* Bytes(const std::string& s) { return reinterpret_cast<const BYTE*>(s.data()); }

struct Found {
  int highest;  // offset of the match's highest byte; -1 when nothing matched
  int length;
};

Found Match(const std::string& pattern, const std::string& text) {
  int length = -1;
  const BYTE* lowest = Bytes(text);
  const BYTE* at = MatchBackward(lowest, Bytes(pattern), int(pattern.size()),
                                 lowest + text.size() - 1, &length);
  return at ? Found{int(at - lowest), length} : Found{-1, -1};
}

TEST(Matcher, FoldValueIsThePlainLetterAndPointsAreZero) {
  struct {
    BYTE code;
    BYTE value;
  } cases[] = {{'a', 0xE0}, {'{', 0xFA}, {'E', 0xE1}, {'b', 0xE1}, {16, 0xEA}, {0x15, 0},
               {0x1F, 0},   {' ', ' '},  {'*', '*'},  {'?', '?'},  {'5', '5'}, {0, 0},
               {15, 0},     {124, 0},    {200, 0},    {'k', 0xEA}, {'l', 0xEB}};
  for (auto& c : cases) EXPECT_EQ(FoldValue(c.code), c.value) << int(c.code);
}

TEST(Matcher, LettersPointsAndWildcards) {
  struct {
    const char* what;
    std::string pattern, text;
    Found expected;
  } cases[] = {
      {"plain letters", "abc", "xxabcxx", {4, 3}},
      {"the highest occurrence first", "abc", "abcxabc", {6, 3}},
      {"a point between two letters is skipped", "abc", "ab\x16" "c", {3, 4}},
      {"the points below the lowest letter are taken in", "abc", "x\x16\x17" "abc", {5, 5}},
      {"a point above the anchor is not", "abc", "abc\x16", {2, 3}},
      {"a pointed letter in the text is its plain letter", "abc", "aEc", {2, 3}},
      {"a pointed letter in the pattern too", "aEc", "abc", {2, 3}},
      {"final kaf is not kaf", "al", "ak", {-1, -1}},
      {"kaf is not final kaf", "ak", "ak", {1, 2}},
      {"? is one letter", "a?c", "abc", {2, 3}},
      {"? is a space", "a?c", "a c", {2, 3}},
      {"? is punctuation", "a?c", "a.c", {2, 3}},
      {"? is never a point alone", "a?c", "a\x16" "c", {-1, -1}},
      {"? takes a letter and its point", "a?c", "a\x16" "bc", {3, 4}},
      {"* in the middle: a run", "a*c", "abbbc", {4, 5}},
      {"* in the middle: an empty run", "a*c", "ac", {1, 2}},
      {"* in the middle: across spaces", "a*c", "ab b c", {5, 6}},
      {"* in the middle: the nearest part below", "a*c", "axaxc", {4, 3}},
      {"two stars", "a*b*c", "axbxxc", {5, 6}},
      {"* whose part is nowhere", "z*c", "abc", {-1, -1}},
      {"* first: as without it", "*abc", "xabc", {3, 3}},
      {"* first: with the points below", "*abc", "x\x16" "abc", {4, 4}},
      {"* first: nothing below the match", "*abc", "abc", {-1, -1}},
      {"* last stands for itself", "ab*", "ab*", {2, 3}},
      {"* last is no run", "ab*", "abc", {-1, -1}},
      {"? last stands for itself", "ab?", "ab?", {2, 3}},
      {"? last is no letter", "ab?", "abc", {-1, -1}},
      {"a pattern ending in a point matches nothing", "a\x16", "a\x16" "a", {-1, -1}},
      {"a pattern byte of value 0 inside never matches", "a\x16" "b", "a\x16" "b", {-1, -1}},
      {"digits and spaces as themselves", "2 a", "x2 ax", {3, 3}},
  };
  for (auto& c : cases) {
    Found found = Match(c.pattern, c.text);
    EXPECT_EQ(found.highest, c.expected.highest) << c.what;
    EXPECT_EQ(found.length, c.expected.length) << c.what;
  }
}

TEST(Matcher, LengthIsOptionalAndTheStartBoundsTheScan) {
  std::string text = "abcxxabc";
  const BYTE* lowest = Bytes(text);
  EXPECT_EQ(MatchBackward(lowest, Bytes("abc"), 3, lowest + 7, nullptr), lowest + 7);
  EXPECT_EQ(MatchBackward(lowest, Bytes("abc"), 3, lowest + 6, nullptr), lowest + 2);
  EXPECT_EQ(MatchBackward(lowest, Bytes("abc"), 3, lowest + 1, nullptr), nullptr);
  EXPECT_EQ(MatchBackward(lowest + 1, Bytes("abc"), 3, lowest, nullptr), nullptr);
  EXPECT_EQ(MatchBackward(lowest, Bytes("abc"), 0, lowest + 7, nullptr), nullptr);
}

// An article of body paragraphs, the offsets of their texts kept.
struct Article {
  explicit Article(std::vector<std::string> paragraphs) {
    for (const std::string& p : paragraphs) builder.Text(0xB1, 0, p);
    text = builder.Build();
  }
  ~Article() { free(text); }
  WORD At(size_t paragraph, int index) const { return WORD(builder.TextOffset(paragraph) + index); }
  ArticleBuilder builder;
  BYTE* text;
};

Found Search(const std::string& pattern, const Article& article, WORD start,
             SpanAllocator allocate = malloc) {
  WORD length = 0;
  WORD at = SearchArticleFor(Bytes(pattern), int(pattern.size()), article.text, start, &length,
                             allocate);
  return at ? Found{at, length} : Found{-1, -1};
}

TEST(Matcher, SearchArticleGoesOnFromTheStartThroughTheLaterParagraphs) {
  Article article({"abc xx abc", "xx", "abc", "x*c"});
  struct {
    const char* what;
    const char* pattern;
    WORD start;
    Found expected;
  } cases[] = {
      {"from 0, the first paragraph whole", "abc", 0, {article.At(0, 9), 3}},
      {"inside a paragraph, from the start down", "abc", article.At(0, 8), {article.At(0, 2), 3}},
      {"at the match's highest byte", "abc", article.At(0, 9), {article.At(0, 9), 3}},
      {"below the first paragraph's matches: the later ones", "abc", article.At(0, 1),
       {article.At(2, 2), 3}},
      {"in a record's head: that paragraph whole", "abc", WORD(article.At(2, 0) - 1),
       {article.At(2, 2), 3}},
      {"on a paragraph's zero: that paragraph from its end", "abc", article.At(2, 3),
       {article.At(2, 2), 3}},
      {"the earlier paragraphs are not searched", "abc", article.At(3, 0), {-1, -1}},
      {"a star never reaches into the paragraph before", "a*c", article.At(3, 2),
       {-1, -1}},
      {"beyond the text", "abc", 0xFFFF, {-1, -1}},
  };
  for (auto& c : cases) {
    Found found = Search(c.pattern, article, c.start);
    EXPECT_EQ(found.highest, c.expected.highest) << c.what;
    EXPECT_EQ(found.length, c.expected.length) << c.what;
  }
}

int NodesLeft = 0;
void* FewNodes(size_t size) { return NodesLeft-- > 0 ? malloc(size) : nullptr; }

TEST(Matcher, WithoutMemoryForEveryParagraphOnlyThoseListedAreSearched) {
  Article article({"xx", "yy", "abc"});
  NodesLeft = 3;
  EXPECT_EQ(Search("abc", article, 0, FewNodes).highest, article.At(2, 2));
  NodesLeft = 2;
  EXPECT_EQ(Search("abc", article, 0, FewNodes).highest, -1);
  NodesLeft = 0;
  EXPECT_EQ(ListParagraphs(article.text, FewNodes), nullptr);
}

TEST(Matcher, ListsEveryParagraphWithItsRecordAndEnd) {
  ArticleBuilder builder;
  builder.Text(0xD1, 0, "ab").Rule(0xC7, 210).Text(0xB1, 0, "cde");
  BYTE* text = builder.Build();
  ParagraphSpan* list = ListParagraphs(text, malloc);
  std::vector<std::pair<int, int>> spans;
  for (ParagraphSpan* p = list; p; p = p->Next)
    spans.push_back({int(p->Record - text), int(p->End - text)});
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 4}, {5, 7}, {8, 13}}));
  FreeParagraphList(list);
  EXPECT_EQ(ListParagraphs(nullptr, malloc), nullptr);
  free(text);
}

TEST(Matcher, AfterAMatchTheScanGoesOnBelowItOrWithTheNextParagraph) {
  Article article({"abc", "de"});
  EXPECT_EQ(ContinueAfterMatch(article.text, article.At(0, 1)), article.At(0, 0));
  // A match from the paragraph's first byte: the next record, the paragraph not again.
  WORD next = ContinueAfterMatch(article.text, article.At(0, 0));
  EXPECT_EQ(next, article.At(1, 0) - 2);
  EXPECT_EQ(Search("abc", article, next).highest, -1);
  EXPECT_EQ(ContinueAfterMatch(article.text, article.At(1, 0)), article.At(1, 0) + 3);
}

}  // namespace
