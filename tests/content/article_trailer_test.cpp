#include "content/article_trailer.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "content/article_format.h"

namespace {

using Bytes = std::vector<BYTE>;

std::vector<ParagraphRecord> RecordsOf(const BYTE* stream) {
  std::vector<ParagraphRecord> records;
  ParagraphRecord r;
  for (bool more = FirstRecord(stream, &r); more; more = NextRecord(stream, &r))
    records.push_back(r);
  return records;
}

TEST(ArticleTrailer, EightRecordsAndTheTerminator) {
  static_assert(sizeof ArticleTrailer == 878);
  const std::vector<ParagraphRecord> records = RecordsOf(ArticleTrailer);
  ASSERT_EQ(records.size(), 8u);
  const struct {
    BYTE Flags, Second;
    WORD Length;
  } expected[] = {{0x47, 0xD2, 0},   {0xB2, 0, 298}, {0xB2, 0, 82}, {0xB2, 0, 104},
                  {0xB2, 0, 156},    {0xB2, 0, 100}, {0xB2, 0, 69}, {0x82, 0, 44}};
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(records[i].Flags, expected[i].Flags);
    EXPECT_EQ(records[i].Second, expected[i].Second);
    EXPECT_EQ(records[i].Length, expected[i].Length);
  }
  EXPECT_EQ(ArticleStreamLength(ArticleTrailer), 877);
  EXPECT_EQ(ArticleTrailer[877], 0);
}

// Letters, with or without dagesh or dots.
bool IsLetter(BYTE b) { return (b >= 0x61 && b <= 0x7B) || (b >= 16 && b <= 20) || (b >= 65 && b <= 90); }
bool IsPoint(BYTE b) { return b >= 21 && b <= 31; }
bool IsPunctuation(BYTE b) { return (b >= 0x20 && b <= 0x40) || (b >= 0x5B && b <= 0x60); }

// Right-to-left texts hold letters, points and punctuation of the letter code in
// display order: each point just before its letter, the sentence's full stop first.
// Every text is trimmed, with single spaces between words.
TEST(ArticleTrailer, TextsAreInTheLetterCode) {
  const std::vector<ParagraphRecord> records = RecordsOf(ArticleTrailer);
  ASSERT_EQ(records.size(), 8u);
  int points = 0;
  for (size_t i = 1; i < records.size(); ++i) {
    SCOPED_TRACE(i + 1);
    const ParagraphRecord& r = records[i];
    const bool rightToLeft = r.Flags & RightToLeft;
    EXPECT_NE(r.Text[0], ' ');
    EXPECT_NE(r.Text[r.Length - 1], ' ');
    for (WORD k = 0; k < r.Length; ++k) {
      const BYTE b = r.Text[k];
      if (k > 0) {
        EXPECT_FALSE(b == ' ' && r.Text[k - 1] == ' ') << k;
      }
      if (!rightToLeft) {
        EXPECT_TRUE(b >= 0x20 && b <= 0x7E) << k;
        continue;
      }
      EXPECT_TRUE(IsLetter(b) || IsPoint(b) || IsPunctuation(b)) << k << ": " << int(b);
      if (IsPoint(b)) {
        ++points;
        ASSERT_LT(k + 1, r.Length);
        EXPECT_TRUE(IsLetter(r.Text[k + 1])) << k;
      }
    }
    if (rightToLeft) {
      EXPECT_TRUE(r.Text[0] == '.' || r.Text[0] == '!') << "reading ends at the left";
      EXPECT_TRUE(IsLetter(r.Text[r.Length - 1])) << "reading starts at the right";
    }
  }
  EXPECT_GT(points, 0);
}

// A heap copy of the bytes, as the decoder hands streams over.
BYTE* HeapStream(const Bytes& bytes) {
  BYTE* stream = static_cast<BYTE*>(malloc(bytes.size()));
  std::memcpy(stream, bytes.data(), bytes.size());
  return stream;
}

Bytes TrailerFollowedBy(const Bytes& head) {
  Bytes article = head;
  article.insert(article.end(), ArticleTrailer, ArticleTrailer + ArticleTrailerSize);
  article.insert(article.end(), 3, 0);
  return article;
}

TEST(AppendArticleTrailer, CasesOfStreams) {
  const struct Case {
    const char* Name;
    Bytes Stream;
    Bytes Head;  // what stays in front of the trailer
    size_t HeadRecords;
  } cases[] = {
      {"no paragraphs", {0, 0, 0}, {}, 0},
      {"two records", {0xD1, 0, 'a', 0, 0xB1, 0, 'b', 'c', 0, 0, 0, 0},
       {0xD1, 0, 'a', 0, 0xB1, 0, 'b', 'c', 0}, 2},
      {"a record cut off by the end of the data", {0xD1, 0, 'a', 0, 0xB1, 0, 'b', 'c'},
       {0xD1, 0, 'a', 0}, 1},
      {"no terminator after the last record", {0xD1, 0, 'a', 0}, {0xD1, 0, 'a', 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    BYTE* article = AppendArticleTrailer(HeapStream(c.Stream), DWORD(c.Stream.size()));
    const Bytes expected = TrailerFollowedBy(c.Head);
    EXPECT_EQ(Bytes(article, article + expected.size()), expected);
    EXPECT_EQ(ArticleStreamLength(article), c.Head.size() + ArticleTrailerSize - 1);
    EXPECT_EQ(RecordsOf(article).size(), c.HeadRecords + 8);
    free(article);
  }
}

// Without memory the stream comes back as it was, terminated after its last whole record.
TEST(AppendArticleTrailer, WithoutMemoryTheOldStreamComesBack) {
  const Bytes whole = {0xD1, 0, 'a', 0, 0, 0, 0};
  BYTE* stream = HeapStream(whole);
  HeapFailAllocation(1);
  BYTE* article = AppendArticleTrailer(stream, DWORD(whole.size()));
  HeapFailAllocation(0);
  EXPECT_EQ(article, stream);
  EXPECT_EQ(Bytes(article, article + whole.size()), whole);
  free(article);

  const Bytes cut = {0xD1, 0, 'a', 0, 0xB1, 0, 'b', 'c'};
  stream = HeapStream(cut);
  HeapFailAllocation(1);
  article = AppendArticleTrailer(stream, DWORD(cut.size()));
  HeapFailAllocation(0);
  EXPECT_EQ(article, stream);
  EXPECT_EQ(ArticleStreamLength(article), 4);
  EXPECT_EQ(article[4], 0);
  free(article);
}

}  // namespace
