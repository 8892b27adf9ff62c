// Any bytes as a lesson source, as the table of contents (of a two-lesson book) and as
// the closing block. A source is compiled or refused with a SourceError, never read
// past; what compiles is written back as a source that reads the same, its stream
// splits back into the same paragraphs or entries, and its record decodes with the
// program's own decoder to exactly that stream.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "book_source.h"
#include "diagnostics.h"
#include "records.h"

namespace {

bool SameParagraphs(const std::vector<book::Paragraph>& a, const std::vector<book::Paragraph>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].Flags != b[i].Flags || a[i].Second != b[i].Second || a[i].Text != b[i].Text)
      return false;
  return true;
}

void CheckRecord(const std::vector<uint8_t>& record, const std::vector<uint8_t>& stream) {
  auto decoded = book::DecodeWithProgram(record);
  if (!decoded || *decoded != stream) std::abort();
}

void Lesson(std::string_view source) {
  std::vector<book::Paragraph> paragraphs;
  try {
    paragraphs = book::ParseArticle("lesson.txt", source);
  } catch (const book::SourceError&) {
    return;
  }
  std::string written;
  for (const auto& paragraph : paragraphs) written += book::FormatParagraph(paragraph) + "\n";
  if (!SameParagraphs(book::ParseArticle("again.txt", written), paragraphs)) std::abort();
  std::vector<uint8_t> stream = book::ArticleStream(paragraphs, 0);
  std::vector<book::Paragraph> split;
  size_t terminator = 0;
  if (!book::SplitArticle(stream.data(), stream.size(), &split, &terminator) ||
      terminator != stream.size() - 1 || !SameParagraphs(split, paragraphs))
    std::abort();
  if (stream.size() <= 0xFFFF) CheckRecord(book::MakeLessonRecord(1, stream), stream);
  try {
    book::ClosingBlock("closing.txt", paragraphs);
  } catch (const book::SourceError&) {
  }
}

void Index(std::string_view source) {
  std::vector<book::ContentsEntry> entries;
  try {
    entries = book::ParseIndex("index.txt", source, 2);
  } catch (const book::SourceError&) {
    return;
  }
  std::vector<uint8_t> stream = book::IndexStream(entries);
  std::vector<book::ContentsEntry> split;
  size_t end = 0;
  if (!book::SplitIndex(stream.data(), stream.size(), &split, &end) || split.size() != entries.size())
    std::abort();
  for (size_t i = 0; i < split.size(); ++i)
    if (split[i].Key != entries[i].Key || split[i].Title != entries[i].Title) std::abort();
  if (stream.size() <= 0xFFFF) CheckRecord(book::MakeIndexRecord(stream), stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view source(reinterpret_cast<const char*>(data), size);
  Lesson(source);
  Index(source);
  return 0;
}
