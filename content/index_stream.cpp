#include "content/index_stream.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD StyleAt = 2;
constexpr DWORD TitleAt = 4;

// Reads the entry at offset; false at the end of the stream, and when the entry does
// not end within size bytes.
bool ReadEntry(const BYTE* stream, DWORD size, DWORD offset, IndexEntry* entry) {
  if (size > UnboundedStream) size = UnboundedStream;
  if (offset + StyleAt >= size || stream[offset + StyleAt] == 0) return false;
  DWORD end = offset + TitleAt;
  while (end < size && stream[end] != 0) ++end;
  if (end >= size) return false;
  entry->Offset = WORD(offset);
  entry->Key = WORD(stream[offset] | stream[offset + 1] << 8);
  entry->Style = stream[offset + StyleAt];
  entry->Level = stream[offset + 3];
  entry->Title = stream + offset + TitleAt;
  entry->TitleLength = WORD(end - offset - TitleAt);
  return true;
}

}  // namespace

bool FirstEntry(const BYTE* stream, IndexEntry* entry, DWORD size) {
  return ReadEntry(stream, size, 0, entry);
}

bool NextEntry(const BYTE* stream, IndexEntry* entry, DWORD size) {
  return ReadEntry(stream, size, EndOfEntry(*entry), entry);
}

DWORD IndexEntriesLength(const BYTE* stream, DWORD size) {
  IndexEntry entry;
  DWORD length = 0;
  for (bool more = FirstEntry(stream, &entry, size); more; more = NextEntry(stream, &entry, size))
    length = EndOfEntry(entry);
  return length;
}

bool IsIndexStreamEnd(const BYTE* stream, DWORD position, DWORD size) {
  if (size > UnboundedStream) size = UnboundedStream;
  return position + StyleAt < size && stream[position + StyleAt] == 0;
}

BYTE* EndIndexStreamWithin(BYTE* stream, DWORD size) {
  if (!stream) return nullptr;
  DWORD length = IndexEntriesLength(stream, size);
  if (IsIndexStreamEnd(stream, length, size)) return stream;
  BYTE* ended = static_cast<BYTE*>(malloc(length + IndexStreamEndSize));
  if (ended) {
    std::memcpy(ended, stream, length);
    WriteIndexStreamEnd(ended + length);
  }
  free(stream);
  return ended;
}

bool FindEntry(const BYTE* stream, WORD key, IndexEntry* entry, DWORD size) {
  if (stream == nullptr) return false;
  for (bool more = FirstEntry(stream, entry, size); more; more = NextEntry(stream, entry, size))
    if (entry->Key == key) return true;
  return false;
}

BYTE* WriteIndexEntry(BYTE* out, WORD key, BYTE style, BYTE level, const BYTE* title,
                      DWORD titleLength) {
  *out++ = BYTE(key & 0xFF);
  *out++ = BYTE(key >> 8);
  *out++ = style;
  *out++ = level;
  if (titleLength) std::memcpy(out, title, titleLength);  // an empty title may have no address
  out += titleLength;
  *out++ = 0;
  return out;
}

BYTE* WriteIndexStreamEnd(BYTE* out) {
  std::memset(out, 0, IndexStreamEndSize);
  return out + IndexStreamEndSize;
}
