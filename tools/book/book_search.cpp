#include "book_search.h"

#include <cstdlib>

#include "content/article_format.h"
#include "content/article_trailer.h"
#include "letter_encoding.h"
#include "records.h"
#include "search/matcher.h"
#include "text/letter_code.h"
#include "utf8.h"

namespace book {

namespace {

bool OutOfMemory = false;

// The paragraph list's nodes from the heap, a failure remembered.
void* AllocateNode(size_t size) {
  void* node = std::malloc(size);
  if (!node) OutOfMemory = true;
  return node;
}

std::string InReadingOrder(const uint8_t* displayOrder, size_t count, bool rightToLeft) {
  std::vector<uint8_t> codes(displayOrder, displayOrder + count);
  if (!rightToLeft) return EncodeUtf8(DecodeLeftToRight(codes.data(), codes.size()));
  codes = SwapTextOrder(codes);
  return EncodeUtf8(DecodeHebrew(codes.data(), codes.size()));
}

}  // namespace

SearchPattern PatternFromText(std::string_view utf8) {
  SearchPattern pattern;
  int badColumn = 0;
  std::optional<std::u32string> text = DecodeUtf8(utf8, &badColumn);
  if (!text) {
    pattern.Error = "the pattern is not UTF-8 (character " + std::to_string(badColumn) + ")";
    return pattern;
  }
  Encoded encoded = EncodeHebrew(*text);
  if (encoded.Fault) {
    pattern.Error = "character " + std::to_string(encoded.Fault->Index + 1) + " of the pattern: " +
                    encoded.Fault->Message;
    return pattern;
  }
  std::vector<uint8_t> codes;
  for (uint8_t code : encoded.Codes) {
    if (IsVowelPoint(code)) continue;
    if (code == ' ' && !codes.empty() && codes.back() == ' ') continue;
    codes.push_back(code);
  }
  if (codes.empty()) {
    pattern.Error = "the pattern is empty";
    return pattern;
  }
  if (codes.size() > size_t(LongestPattern)) {
    pattern.Error = "the pattern is too long: " + std::to_string(codes.size()) +
                    " characters, at most " + std::to_string(LongestPattern);
    return pattern;
  }
  pattern.Codes = SwapTextOrder(codes);
  return pattern;
}

std::optional<std::vector<uint8_t>> LoadBookArticle(const std::filesystem::path& book, int lesson,
                                                    const std::vector<uint8_t>& closing) {
  std::optional<std::vector<uint8_t>> stream = ReadLessonStream(book, lesson);
  if (!stream) return std::nullopt;
  std::vector<uint8_t> article(stream->begin(),
                               stream->begin() + ArticleStreamLength(stream->data(), DWORD(stream->size())));
  article.insert(article.end(), closing.begin(), closing.end());
  article.insert(article.end(), ArticleEndZeros, 0);
  return article;
}

std::vector<ArticleMatch> MatchesInArticle(const SearchPattern& pattern, const uint8_t* article,
                                           bool* outOfMemory) {
  std::vector<ArticleMatch> matches;
  OutOfMemory = false;
  const int n = int(pattern.Codes.size());
  for (WORD start = 0;;) {
    WORD length = 0;
    WORD offset = SearchArticleFor(pattern.Codes.data(), n, article, start, &length, AllocateNode);
    if (!offset) break;
    matches.push_back({offset, length});
    start = ContinueAfterMatch(article, WORD(offset - length + 1));
  }
  *outOfMemory = OutOfMemory;
  return matches;
}

std::string ArticleHeading(const uint8_t* article) {
  ParagraphRecord record;
  if (!FirstRecord(article, &record)) return std::string();
  return InReadingOrder(record.Text, record.Length, (record.Flags & RightToLeft) != 0);
}

std::string MarkedParagraph(const uint8_t* article, const ArticleMatch& match) {
  const size_t lowest = size_t(match.Offset - match.Length + 1), highest = match.Offset;
  ParagraphRecord record;
  for (bool more = FirstRecord(article, &record); more; more = NextRecord(article, &record)) {
    const size_t first = size_t(record.Text - article);
    if (highest >= first + record.Length) continue;
    const bool rightToLeft = (record.Flags & RightToLeft) != 0;
    // Stored below, in and above the match; read the other way round in Hebrew.
    std::string below = InReadingOrder(record.Text, lowest - first, rightToLeft);
    std::string inside = "[[" + InReadingOrder(article + lowest, highest + 1 - lowest, rightToLeft) + "]]";
    std::string above = InReadingOrder(article + highest + 1, first + record.Length - highest - 1,
                                       rightToLeft);
    return rightToLeft ? above + inside + below : below + inside + above;
  }
  return std::string();
}

}  // namespace book
