#include "content/article_format.h"

#include <cstring>

ParagraphAlignment AlignmentOf(BYTE flags) {
  switch (flags & AlignmentBits) {
    case AlignRightBit:
      return AlignRight;
    case AlignCentreBit:
      return AlignCentre;
    default:
      return AlignLeft;
  }
}

LONG RuleLength(BYTE ruleWidthByte, LONG viewWidth) {
  const LONG length = ruleWidthByte <= 160 ? ruleWidthByte
                                           : 2 * (ruleWidthByte - 160) * viewWidth / 100;
  return length > viewWidth ? viewWidth : length;
}

namespace {

// Reads the record whose flags byte is at offset; false at the terminator, and when
// the record does not end within size bytes.
bool ReadRecord(const BYTE* stream, DWORD size, DWORD offset, ParagraphRecord* record) {
  if (size > UnboundedStream) size = UnboundedStream;
  if (offset >= size || stream[offset] == 0) return false;
  if (offset + 2 >= size) return false;
  const void* zero = std::memchr(stream + offset + 2, 0, size - offset - 2);
  if (!zero) return false;
  const DWORD end = DWORD(static_cast<const BYTE*>(zero) - stream);
  record->Offset = WORD(offset);
  record->Flags = stream[offset];
  record->Second = stream[offset + 1];
  record->Text = stream + offset + 2;
  record->Length = WORD(end - offset - 2);
  return true;
}

}  // namespace

bool FirstRecord(const BYTE* stream, ParagraphRecord* record, DWORD size) {
  return ReadRecord(stream, size, 0, record);
}

bool NextRecord(const BYTE* stream, ParagraphRecord* record, DWORD size) {
  return ReadRecord(stream, size, EndOfRecord(*record), record);
}

WORD ArticleStreamLength(const BYTE* stream, DWORD size) {
  ParagraphRecord record;
  DWORD length = 0;
  for (bool more = FirstRecord(stream, &record, size); more;
       more = NextRecord(stream, &record, size))
    length = EndOfRecord(record);
  return WORD(length);
}

BYTE* WriteParagraph(BYTE* out, BYTE flags, BYTE second, const BYTE* text, DWORD length) {
  *out++ = flags;
  *out++ = second;
  if (length != 0) std::memcpy(out, text, length);
  out += length;
  *out++ = 0;
  return out;
}
