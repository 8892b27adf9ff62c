#include <algorithm>
#include <cstddef>
#include <cstring>

#include "content/decode_message.h"
#include "content/lesson_loader.h"

namespace {

BYTE* Fail(LoadReason* reason, LoadReason code) {
  if (reason != nullptr) *reason = code;
  return nullptr;
}

// The most one step can take: a literal run reads its control byte and eight more, a
// back-reference writes ten bytes.
constexpr ptrdiff_t LongestStepInput = 9;
constexpr ptrdiff_t LongestStepOutput = 10;

// Copies count (at most LongestStepOutput) bytes from distance bytes back, with room for
// LongestStepOutput bytes at out. A source that ends before out moves in one piece, the
// bytes after the count being written again by the next steps; a nearer one is copied a
// byte at a time, since it repeats what the copy itself writes.
void CopyBack(BYTE* out, ptrdiff_t distance, unsigned count) {
  if (distance >= LongestStepOutput) {
    std::memcpy(out, out - distance, LongestStepOutput);
    return;
  }
  for (unsigned i = 0; i < count; ++i) out[i] = out[ptrdiff_t(i) - distance];
}

// Decodes steps while even the longest fits in both the input and the output that are
// left, so that only a back-reference's distance needs checking. Advances in and out
// past what it decoded; false for a back-reference outside the output.
bool DecodeWholeSteps(const BYTE*& in, const BYTE* inEnd, BYTE* start, BYTE*& out, BYTE* end) {
  for (;;) {
    ptrdiff_t steps = std::min((end - out) / LongestStepOutput, (inEnd - in) / LongestStepInput);
    if (steps == 0) return true;
    for (; steps > 0; --steps) {
      const BYTE control = *in++;
      if (control >= 0xC0) {  // a space, then the byte without its top bit
        out[0] = ' ';
        out[1] = control ^ 0x80;
        out += 2;
      } else if (control >= 0x80) {  // back-reference: 11 bits distance, 3 bits count - 3
        const unsigned pair = unsigned(control) << 8 | *in++;
        const ptrdiff_t distance = (pair >> 3) & 0x7FF;
        if (distance == 0 || distance > out - start) return false;
        const unsigned count = (pair & 7) + 3;
        CopyBack(out, distance, count);
        out += count;
      } else if (control - 1u < 8u) {  // a run of 1 to 8 literal bytes
        std::memcpy(out, in, 8);
        in += control;
        out += control;
      } else {  // the byte itself
        *out++ = control;
      }
    }
  }
}

// Decodes [in, inEnd) into [out, end). True when the output is exactly full; false
// when the input runs out first, a control sequence is cut off by the end of the
// input, or a back-reference points before the output or at its own position. The
// steps that fit whole go first; the last few, which may be cut off by either end, are
// checked byte by byte.
bool Decompress(const BYTE* in, const BYTE* inEnd, BYTE* out, BYTE* end) {
  BYTE* const start = out;
  if (!DecodeWholeSteps(in, inEnd, start, out, end)) return false;
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
