#include "book_build.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "book_source.h"
#include "content/article_trailer.h"
#include "content/lesson_record.h"
#include "diagnostics.h"
#include "records.h"

namespace book {

namespace {

std::string ReadSource(const std::filesystem::path& path) {
  std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes) throw SourceError({path.string()}, "cannot read the file");
  return std::string(bytes->begin(), bytes->end());
}

// Compresses and checks one record: too long a stream is the source's fault, a record
// that does not decode back is the tool's.
std::vector<uint8_t> CheckedRecord(const std::string& file, const std::vector<uint8_t>& stream,
                                   std::vector<uint8_t> (*make)(int, const std::vector<uint8_t>&),
                                   int number) {
  if (stream.size() > LargestRecordField)
    throw SourceError({file}, "the text takes " + std::to_string(stream.size()) +
                                  " bytes; a record holds at most 65,535");
  std::vector<uint8_t> record = make(number, stream);
  if (record.size() - RecordHeaderSize - RecordTailSize + BlockLengthFor(0) > LargestRecordField)
    throw SourceError({file}, "the text does not compress below 65,527 bytes");
  if (DecodeWithProgram(record) != stream)
    throw std::runtime_error(file + ": the compressed record does not decode back to its text");
  return record;
}

std::vector<uint8_t> LessonRecordOf(int number, const std::vector<uint8_t>& stream) {
  return MakeLessonRecord(number, stream);
}

std::vector<uint8_t> IndexRecordOf(int, const std::vector<uint8_t>& stream) {
  return MakeIndexRecord(stream);
}

std::vector<uint8_t> CompileLesson(const std::filesystem::path& path, int number) {
  const std::string file = path.string();
  if (!std::filesystem::exists(path))
    throw SourceError({file}, "lesson " + std::to_string(number) + " has no source file");
  const std::vector<Paragraph> paragraphs = ParseArticle(file, ReadSource(path));
  if (paragraphs.empty()) throw SourceError({file}, "a lesson needs at least one paragraph");
  const std::vector<uint8_t> stream = ArticleStream(paragraphs, 2);
  const size_t records = stream.size() - 3;
  if (records + ArticleTailSize > LargestStream)
    throw SourceError({file, paragraphs.back().Line},
                      "the lesson takes " + std::to_string(stream.size()) +
                          " bytes; with the closing block it must stay within 65,535 (at most " +
                          std::to_string(LargestStream - ArticleTailSize) +
                          " bytes of paragraphs)");
  return CheckedRecord(file, stream, LessonRecordOf, number);
}

uint32_t Checksum(const std::vector<uint8_t>& bytes) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
  return hash;
}

// The resource script lines; each carries its record's checksum, so the script
// changes whenever a record does and whatever depends on the script is rebuilt.
std::vector<uint8_t> ResourceScript(const std::vector<OutputFile>& records) {
  char head[256];
  std::snprintf(head, sizeof head,
                "// The book's records, written by vintrel-book build: lessons 1 to %d as RCDATA\n"
                "// %d to %d and the table of contents as RCDATA %d.\n",
                LessonCount, LessonResourceId(1), LessonResourceId(LessonCount), IndexResource);
  std::string text = head;
  for (const OutputFile& record : records) {
    const int id = record.Name == IndexFileName
                       ? IndexResource
                       : LessonResourceId(WORD(std::stoi(record.Name.substr(6, 3))));
    char line[128];
    std::snprintf(line, sizeof line, "%d RCDATA \"%s\"  // %08x\n", id, record.Name.c_str(),
                  Checksum(record.Bytes));
    text += line;
  }
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> ClosingInclude(const std::vector<uint8_t>& block) {
  char head[256];
  std::snprintf(head, sizeof head,
                "// The closing block appended to every lesson (%u bytes: a rule, six notes, one\n"
                "// left-to-right line), written by vintrel-book build from closing.txt. The\n"
                "// initialiser of a BYTE array.\n",
                unsigned(ArticleTrailerSize));
  std::string text = head;
  for (size_t i = 0; i < block.size(); ++i) {
    char item[8];
    std::snprintf(item, sizeof item, "0x%02X,", block[i]);
    text += item;
    text += (i % 12 == 11 || i + 1 == block.size()) ? "\n" : " ";
  }
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

std::optional<std::vector<uint8_t>> ParseClosingInclude(std::string_view text) {
  std::vector<uint8_t> block;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.substr(0, 2) == "//") continue;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ' ' || line[i] == ',') continue;
      unsigned value = 0;
      int used = 0;
      const std::string item(line.substr(i, 4));
      if (std::sscanf(item.c_str(), "0x%2X%n", &value, &used) != 1 || used != 4) return std::nullopt;
      block.push_back(uint8_t(value));
      i += 3;
    }
  }
  if (block.size() != ArticleTrailerSize) return std::nullopt;
  return block;
}

std::vector<OutputFile> CompileBook(const std::filesystem::path& sources) {
  const std::filesystem::path indexPath = sources / "index.txt";
  const std::vector<ContentsEntry> entries =
      ParseIndex(indexPath.string(), ReadSource(indexPath), LessonCount);
  std::vector<OutputFile> files;
  for (int n = 1; n <= LessonCount; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.txt", n);
    files.push_back({LessonFileName(n), CompileLesson(sources / "lessons" / name, n)});
  }
  files.push_back({IndexFileName, CheckedRecord(indexPath.string(), IndexStream(entries), IndexRecordOf, 0)});
  const std::filesystem::path closingPath = sources / "closing.txt";
  const std::vector<uint8_t> closing = ClosingBlock(
      closingPath.string(), ParseArticle(closingPath.string(), ReadSource(closingPath)));
  files.push_back({ScriptFileName, ResourceScript(files)});
  files.push_back({ClosingFileName, ClosingInclude(closing)});
  return files;
}

}  // namespace book
