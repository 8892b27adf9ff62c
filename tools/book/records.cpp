#include "records.h"

#include <cstdlib>

#include "content/lesson_loader.h"
#include "palmdoc.h"

namespace book {

namespace {

void PutBigEndian(std::vector<uint8_t>& out, size_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

uint16_t ReadBigEndian(const uint8_t* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }

std::vector<uint8_t> MakeRecord(uint16_t firstTag, uint16_t secondTag,
                                const std::vector<uint8_t>& stream) {
  const std::vector<uint8_t> data = PalmDocCompress(stream);
  std::vector<uint8_t> record;
  PutBigEndian(record, data.size() + 8);
  PutBigEndian(record, firstTag);
  PutBigEndian(record, secondTag);
  PutBigEndian(record, data.size());
  PutBigEndian(record, stream.size());
  record.insert(record.end(), data.begin(), data.end());
  record.insert(record.end(), RecordTailSize, 0);
  return record;
}

std::vector<uint8_t> MakeLessonRecord(int number, const std::vector<uint8_t>& stream) {
  const auto tag = static_cast<uint16_t>(number + 20);
  return MakeRecord(tag, tag, stream);
}

std::vector<uint8_t> MakeIndexRecord(const std::vector<uint8_t>& stream) {
  return MakeRecord(1, 255, stream);
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

}  // namespace book
