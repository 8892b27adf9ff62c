// Reading a 32-bit .res file: a sequence of entries, each a header
//   DWORD DataSize, DWORD HeaderSize,
//   TYPE, NAME (each 0xFFFF and a WORD number, or a zero-terminated UTF-16 text),
//   padding to a DWORD boundary,
//   DWORD DataVersion, WORD MemoryFlags, WORD LanguageId, DWORD Version,
//   DWORD Characteristics
// followed by DataSize bytes of data, padded to a DWORD boundary. The first entry is
// an empty one (no data, type and name 0) that marks the 32-bit format.
// Every size is checked against the end of the bytes; one broken entry refuses the
// whole file, since what follows it cannot be trusted to be where it claims.
#include <cstring>

#include "kernel/resources.h"

namespace kernel {
namespace {

constexpr size_t kFixedHeaderTail = 16;  // DataVersion to Characteristics

size_t AlignToDword(size_t offset) { return (offset + 3) & ~size_t{3}; }

// Reads little-endian integers within a window of the bytes; every read past the
// window's end fails.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Word(size_t offset, WORD& value) const {
    if (offset > bytes_.size() || bytes_.size() - offset < 2) return false;
    value = static_cast<WORD>(bytes_[offset] | (bytes_[offset + 1] << 8));
    return true;
  }
  bool Dword(size_t offset, DWORD& value) const {
    WORD low, high;
    if (!Word(offset, low) || !Word(offset + 2, high)) return false;
    value = low | (static_cast<DWORD>(high) << 16);
    return true;
  }
  // A type or name at offset; leaves offset after it.
  bool Name(size_t& offset, ResourceName& name) const {
    WORD unit;
    if (!Word(offset, unit)) return false;
    if (unit == 0xFFFF) {
      offset += 2;
      if (!Word(offset, name.ordinal)) return false;
      offset += 2;
      return true;
    }
    for (;;) {
      if (!Word(offset, unit)) return false;
      offset += 2;
      if (unit == 0) return !name.text.empty();
      name.text += static_cast<char16_t>(unit);
    }
  }

 private:
  std::span<const uint8_t> bytes_;
};

// Reads the entry at offset and sets next to where the following one starts.
bool ReadEntry(std::span<const uint8_t> bytes, size_t offset, ResourceEntry& entry, size_t& next) {
  Reader file(bytes);
  DWORD dataSize, headerSize;
  if (!file.Dword(offset, dataSize) || !file.Dword(offset + 4, headerSize)) return false;
  if (headerSize > bytes.size() - offset) return false;
  // Type, name and the fixed fields must all lie within the header.
  Reader header(bytes.subspan(offset, headerSize));
  size_t field = 8;
  if (!header.Name(field, entry.type) || !header.Name(field, entry.name)) return false;
  field = AlignToDword(field);
  if (!header.Word(field + 6, entry.language)) return false;
  if (field + kFixedHeaderTail > headerSize) return false;
  size_t dataStart = offset + headerSize;
  if (dataSize > bytes.size() - dataStart) return false;
  entry.data = bytes.subspan(dataStart, dataSize);
  next = AlignToDword(dataStart + dataSize);
  return true;
}

bool IsFormatMarker(const ResourceEntry& entry) {
  return entry.data.empty() && entry.type.text.empty() && entry.type.ordinal == 0 &&
         entry.name.text.empty() && entry.name.ordinal == 0;
}

}  // namespace

std::optional<std::vector<ResourceEntry>> ParseResourceFile(std::span<const uint8_t> bytes) {
  std::vector<ResourceEntry> entries;
  size_t offset = 0;
  bool first = true;
  while (offset < bytes.size()) {
    ResourceEntry entry;
    size_t next = 0;
    if (!ReadEntry(bytes, offset, entry, next)) return std::nullopt;
    if (first && !IsFormatMarker(entry)) return std::nullopt;
    if (!first) entries.push_back(std::move(entry));
    first = false;
    offset = next;
  }
  if (first) return std::nullopt;  // not even the marker
  return entries;
}

}  // namespace kernel
