// Any bytes as a decoded index record, and a bookmark list before them: walks bounded by
// the data's size end inside it; the entries written again walk the same; the bookmarks
// section joined in front of the terminated stream walks to its own end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/app_state.h"
#include "content/index_stream.h"
#include "index/bookmarks.h"

namespace {

struct Walked {
  WORD key;
  BYTE style, level;
  std::vector<BYTE> title;
  bool operator==(const Walked&) const = default;
};

std::vector<Walked> Walk(const BYTE* stream, DWORD size) {
  std::vector<Walked> entries;
  IndexEntry e;
  DWORD end = 0;
  for (bool more = FirstEntry(stream, &e, size); more; more = NextEntry(stream, &e, size)) {
    if (e.Offset != end || EndOfEntry(e) > size || e.Style == 0 || e.Title[e.TitleLength] != 0)
      std::abort();
    end = EndOfEntry(e);
    entries.push_back({e.Key, e.Style, e.Level, {e.Title, e.Title + e.TitleLength}});
  }
  if (end != IndexEntriesLength(stream, size)) std::abort();
  return entries;
}

// The entries written with the stream's own writer.
std::vector<BYTE> Write(const std::vector<Walked>& entries) {
  size_t size = IndexStreamEndSize;
  for (const Walked& e : entries) size += IndexEntrySize(DWORD(e.title.size()));
  std::vector<BYTE> out(size);
  BYTE* p = out.data();
  for (const Walked& e : entries)
    p = WriteIndexEntry(p, e.key, e.style, e.level, e.title.data(), DWORD(e.title.size()));
  WriteIndexStreamEnd(p);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > LargestStream) return 0;
  // The bookmark list: the first byte counts its lessons, two bytes each.
  size_t count = data[0] % 16;
  if (size < 1 + 2 * count) return 0;
  std::vector<WORD> bookmarks(count + 1, 0);
  for (size_t i = 0; i < count; ++i) std::memcpy(&bookmarks[i], data + 1 + 2 * i, 2);
  data += 1 + 2 * count;
  size -= 1 + 2 * count;

  std::vector<BYTE> raw(data, data + size);
  std::vector<Walked> entries = Walk(raw.data(), DWORD(raw.size()));
  std::vector<BYTE> written = Write(entries);
  if (Walk(written.data(), DWORD(written.size())) != entries) std::abort();
  if (!IsIndexStreamEnd(written.data(), IndexEntriesLength(written.data()), DWORD(written.size())))
    std::abort();
  IndexEntry found;
  for (const Walked& e : entries)
    if (!FindEntry(raw.data(), e.key, &found, DWORD(raw.size())) || found.Key != e.key) std::abort();

  // The terminated stream with the bookmarks section in front of it.
  BYTE* stream = static_cast<BYTE*>(malloc(written.size()));
  if (!stream) return 0;
  std::memcpy(stream, written.data(), written.size());
  // As the list loads: its count stops at the first 0.
  App.BookmarkList = bookmarks.data();
  App.BookmarkCount = 0;
  while (bookmarks[App.BookmarkCount]) ++App.BookmarkCount;
  BYTE* merged = MergeBookmarks(stream);
  App.BookmarkList = nullptr;
  App.BookmarkCount = 0;
  std::vector<Walked> all = Walk(merged, LargestStream);
  if (all.size() < entries.size()) std::abort();
  free(merged);
  return 0;
}
