#include "content/lesson_record.h"

#include <initializer_list>

namespace {

WORD ReadBigEndian(const BYTE* at) { return WORD(at[0] << 8 | at[1]); }

BYTE* WriteBigEndian(BYTE* at, WORD value) {
  at[0] = BYTE(value >> 8);
  at[1] = BYTE(value);
  return at + 2;
}

}  // namespace

RecordHeader MakeRecordHeader(WORD tag, WORD secondTag, WORD compressedLength,
                              WORD decompressedLength) {
  return {BlockLengthFor(compressedLength), tag, secondTag, compressedLength, decompressedLength};
}

RecordHeader ReadRecordHeader(const BYTE* record) {
  return {ReadBigEndian(record), ReadBigEndian(record + 2), ReadBigEndian(record + 4),
          ReadBigEndian(record + 6), ReadBigEndian(record + 8)};
}

void WriteRecordHeader(BYTE* record, const RecordHeader& header) {
  for (WORD field : {header.BlockLength, header.Tag, header.SecondTag, header.CompressedLength,
                     header.DecompressedLength})
    record = WriteBigEndian(record, field);
}
