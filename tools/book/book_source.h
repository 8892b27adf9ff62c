// The book's readable sources: one UTF-8 file per lesson, the table of contents and
// the closing block. Each lesson line is one paragraph: a prefix naming its kind, a
// space, and its text in reading order (see docs/BOOK.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/article_format.h"
#include "content/index_stream.h"
#include "diagnostics.h"

namespace book {

// One paragraph record as it is stored: text in display order for right-to-left
// paragraphs, as written for left-to-right ones.
struct Paragraph {
  uint8_t Flags = 0;
  uint8_t Second = 0;  // IndentByte, or the rule's width byte
  std::vector<uint8_t> Text;
  int Line = 0;  // source line, 0 when not read from a source
};

// Reads the paragraphs of an article source (a lesson or the closing block). A
// cantillation mark dropped anywhere in the file gives one warning.
std::vector<Paragraph> ParseArticle(const std::string& file, std::string_view content);

// The paragraph as one source line: its prefix, then its text in reading order.
std::string FormatParagraph(const Paragraph& paragraph);

// Paragraph records, the terminating zero flags byte and zeroBytesAfter more zeros.
std::vector<uint8_t> ArticleStream(const std::vector<Paragraph>& paragraphs,
                                   size_t zeroBytesAfter);

// Splits a stream of paragraph records into paragraphs, up to its terminator. False
// when a record runs past the end of the data.
bool SplitArticle(const uint8_t* stream, size_t size, std::vector<Paragraph>* paragraphs,
                  size_t* terminatorAt);

// The closing block: checks the paragraphs against the shape the reader expects and
// returns its ArticleTrailerSize bytes.
std::vector<uint8_t> ClosingBlock(const std::string& file, const std::vector<Paragraph>& paragraphs);

// One entry of the table of contents as stored.
struct ContentsEntry {
  uint16_t Key = 0;
  uint8_t Style = 0;
  uint8_t Level = 0;
  std::vector<uint8_t> Title;  // display order
  int Line = 0;
};

constexpr uint8_t SectionStyle = EntryVisible | LargeStyle | BoldStyle;  // collapsed
constexpr uint8_t LessonEntryStyle = BaseStyle;                          // hidden

// Reads the table of contents: "# title" opens a section, "N title" lists lesson N.
// Every lesson from 1 to lessonCount must be listed exactly once.
std::vector<ContentsEntry> ParseIndex(const std::string& file, std::string_view content,
                                      int lessonCount);

// The entries, each key little-endian, then five zero bytes.
std::vector<uint8_t> IndexStream(const std::vector<ContentsEntry>& entries);

// Splits an index stream into entries up to the first with style byte 0. False when
// an entry runs past the end of the data.
bool SplitIndex(const uint8_t* stream, size_t size, std::vector<ContentsEntry>* entries,
                size_t* endAt);

// A title in reading order as UTF-8.
std::string FormatTitle(const std::vector<uint8_t>& displayOrder);

}  // namespace book
