#include "content/decode_message.h"
#include "content/lesson_loader.h"

namespace {

BYTE* Fail(LoadReason* reason, LoadReason code) {
  if (reason != nullptr) *reason = code;
  return nullptr;
}

// Decodes [in, inEnd) into [out, end). True when the output is exactly full; false
// when the input runs out first, a control sequence is cut off by the end of the
// input, or a back-reference points before the output or at its own position.
bool Decompress(const BYTE* in, const BYTE* inEnd, BYTE* out, BYTE* end) {
  BYTE* const start = out;
  while (out < end && in < inEnd) {
    const BYTE control = *in++;
    if (control >= 0x01 && control <= 0x08) {  // a run of literal bytes
      for (BYTE i = 0; i < control && out < end; ++i) {
        if (in == inEnd) return false;
        *out++ = *in++;
      }
    } else if (control < 0x80) {  // the byte itself
      *out++ = control;
    } else if (control < 0xC0) {  // back-reference: 11 bits distance, 3 bits count - 3
      if (in == inEnd) return false;
      const unsigned pair = unsigned(control) << 8 | *in++;
      const ptrdiff_t distance = (pair >> 3) & 0x7FF;
      if (distance == 0 || distance > out - start) return false;
      for (unsigned count = (pair & 7) + 3; count > 0 && out < end; --count, ++out)
        *out = out[-distance];  // one at a time: a copy may overlap its own output
    } else {  // a space, then the byte without its top bit
      *out++ = ' ';
      if (out < end) *out++ = control ^ 0x80;
    }
  }
  return out == end;
}

}  // namespace

BYTE* DecodeRecord(const BYTE* record, DWORD size, LoadReason* reason, DWORD* decodedLength) {
  if (size < RecordHeaderSize) return Fail(reason, LoadBadHeader);
  const RecordHeader header = ReadRecordHeader(record);
  if (header.BlockLength < 5 || header.CompressedLength == 0) return Fail(reason, LoadBadHeader);
  // The data must lie inside the block and inside the bytes there are.
  if (header.CompressedLength + BlockLengthFor(0) > header.BlockLength ||
      header.CompressedLength > size - RecordHeaderSize)
    return Fail(reason, LoadBadHeader);
  const WORD decompressedLength = header.DecompressedLength;
  if (decompressedLength == 0) return Fail(reason, LoadNothingToDecode);

  BYTE* buffer = static_cast<BYTE*>(malloc(decompressedLength + 2));
  if (buffer == nullptr) return Fail(reason, LoadNoData);
  const BYTE* data = record + RecordHeaderSize;
  if (!Decompress(data, data + header.CompressedLength, buffer, buffer + decompressedLength)) {
    free(buffer);
    ShowDecodeError();
    return Fail(reason, LoadDecodeFailed);
  }
  buffer[decompressedLength] = 0;
  buffer[decompressedLength + 1] = 0;
  if (decodedLength != nullptr) *decodedLength = decompressedLength;
  return buffer;
}
