// vintrel-book search: the reader's own matcher (search/matcher.h) over the built book.
// The pattern comes in reading order as Unicode Hebrew with `*` and `?`, and is stored
// in display order as the search dialog stores what the reader keys.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace book {

struct SearchPattern {
  std::vector<uint8_t> Codes;  // display order, at most 33 bytes
  std::string Error;           // why the text gives no pattern; empty when it does
};

// UTF-8 text in reading order to a pattern: each character in the letter code (vowel
// points left out, as the search skips them), a run of spaces as one space.
SearchPattern PatternFromText(std::string_view utf8);

// A lesson as the reader loads it: its records decoded by the program's decoder, then
// the closing block and three zero bytes. Nullopt when the record cannot be read or
// decoded (the reason goes to stderr).
std::optional<std::vector<uint8_t>> LoadBookArticle(const std::filesystem::path& book, int lesson,
                                                    const std::vector<uint8_t>& closing);

// One match: the offset of its highest byte in the article and its length.
struct ArticleMatch {
  uint16_t Offset;
  uint16_t Length;
};

// Every match in a loaded article, in the order Search Again steps through them in the
// reader. *outOfMemory is set when a paragraph list could not be made whole.
std::vector<ArticleMatch> MatchesInArticle(const SearchPattern& pattern, const uint8_t* article,
                                           bool* outOfMemory);

// The article's first paragraph, its heading, in reading order as UTF-8.
std::string ArticleHeading(const uint8_t* article);

// The paragraph holding the match, in reading order as UTF-8, the match between [[ and ]].
std::string MarkedParagraph(const uint8_t* article, const ArticleMatch& match);

}  // namespace book
