#include "records.h"

#include <cstdio>
#include <cstdlib>

#include "content/lesson_loader.h"
#include "content/lesson_record.h"
#include "book_files.h"
#include "palmdoc.h"

namespace book {

std::vector<uint8_t> MakeRecord(uint16_t firstTag, uint16_t secondTag,
                                const std::vector<uint8_t>& stream) {
  const std::vector<uint8_t> data = PalmDocCompress(stream);
  std::vector<uint8_t> record(RecordHeaderSize);
  WriteRecordHeader(record.data(), MakeRecordHeader(firstTag, secondTag, WORD(data.size()),
                                                    WORD(stream.size())));
  record.insert(record.end(), data.begin(), data.end());
  record.insert(record.end(), RecordTailSize, 0);
  return record;
}

std::vector<uint8_t> MakeLessonRecord(int number, const std::vector<uint8_t>& stream) {
  const WORD tag = LessonRecordTag(LessonNumber(number));
  return MakeRecord(tag, tag, stream);
}

std::vector<uint8_t> MakeIndexRecord(const std::vector<uint8_t>& stream) {
  return MakeRecord(IndexRecordTag, IndexRecordSecondTag, stream);
}

std::optional<std::vector<uint8_t>> DecodeWithProgram(const std::vector<uint8_t>& record,
                                                      int* reason) {
  LoadReason why{};
  DWORD length = 0;
  BYTE* decoded = DecodeRecord(record.data(), static_cast<DWORD>(record.size()), &why, &length);
  if (!decoded) {
    if (reason) *reason = why;
    return std::nullopt;
  }
  std::vector<uint8_t> result(decoded, decoded + length);
  free(decoded);
  return result;
}

std::optional<std::vector<uint8_t>> ReadLessonStream(const std::filesystem::path& book, int lesson) {
  const std::filesystem::path path = book / LessonFileName(lesson);
  std::optional<std::vector<uint8_t>> record = ReadWholeFile(path);
  if (!record) {
    std::fprintf(stderr, "%s: cannot read the record (build the book first)\n", path.c_str());
    return std::nullopt;
  }
  int reason = 0;
  std::optional<std::vector<uint8_t>> stream = DecodeWithProgram(*record, &reason);
  if (!stream) std::fprintf(stderr, "%s: the record does not decode (reason %d)\n", path.c_str(), reason);
  return stream;
}

}  // namespace book
