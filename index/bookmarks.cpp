#include "index/bookmarks.h"

#include <algorithm>
#include <cstring>

#include "base/app_state.h"
#include "base/settings_store.h"

namespace {

constexpr WORD ArticleKeyBit = 0x4000;
constexpr WORD NoMoreBookmarks = 0xFFFF;  // BookmarkCount cannot grow past this

// The section's own entry: key 0x8877, visible and expanded, level 1, a four-letter
// title.
constexpr BYTE SectionHeader[] = {0x77, 0x88, 0xC1, 0x01, 0x6A, 0x69, 0x79, 0x75, 0x00};
constexpr BYTE BookmarkStyle = 0x81;  // visible, base style 1
constexpr BYTE BookmarkLevel = 2;
constexpr size_t StreamEndBytes = 5;  // a stream ends with five zero bytes

// ---- The bookmark list ----------------------------------------------------------------

// The entries before the list's 0; none without a list.
WORD ListCount() { return App.BookmarkList ? App.BookmarkCount : 0; }

bool ListHolds(WORD lesson) {
  const WORD* list = App.BookmarkList;
  for (WORD i = 0; i < ListCount() && list[i]; ++i)
    if (list[i] == lesson) return true;
  return false;
}

// ---- Index streams ----------------------------------------------------------------------
// An entry: key (2 bytes, low first), style byte, level, title bytes, 0. The first
// position whose style byte is 0 ends the stream.

bool IsStreamEnd(const BYTE* entry) { return entry[2] == 0; }

WORD EntryKey(const BYTE* entry) { return static_cast<WORD>(entry[0] | (entry[1] << 8)); }

size_t EntryLength(const BYTE* entry) {
  return std::strlen(reinterpret_cast<const char*>(entry + 4)) + 5;
}

const BYTE* FindEntry(const BYTE* stream, WORD key) {
  if (!stream) return nullptr;
  for (const BYTE* entry = stream; !IsStreamEnd(entry); entry += EntryLength(entry))
    if (EntryKey(entry) == key) return entry;
  return nullptr;
}

// The bytes of the stream's entries, its end not counted.
size_t EntriesLength(const BYTE* stream) {
  const BYTE* entry = stream;
  while (!IsStreamEnd(entry)) entry += EntryLength(entry);
  return static_cast<size_t>(entry - stream);
}

const BYTE* BookmarkEntry(const BYTE* stream, WORD bookmark) {
  return FindEntry(stream, static_cast<WORD>(bookmark | ArticleKeyBit));
}

// The section's size, or 0 when it would not fit in a stream.
size_t SectionSize(const BYTE* stream) {
  size_t size = sizeof SectionHeader + StreamEndBytes;
  for (WORD i = 0; i < ListCount(); ++i) {
    if (const BYTE* entry = BookmarkEntry(stream, App.BookmarkList[i]))
      size += EntryLength(entry);
    if (size > LargestIndexStream) return 0;
  }
  return size;
}

BYTE* WriteBookmarkLine(BYTE* out, WORD bookmark, const BYTE* entry) {
  size_t title = EntryLength(entry) - 4;  // the title and its 0
  *out++ = static_cast<BYTE>(bookmark & 0xFF);
  *out++ = static_cast<BYTE>((bookmark >> 8) | (ArticleKeyBit >> 8));
  *out++ = BookmarkStyle;
  *out++ = BookmarkLevel;
  std::memcpy(out, entry + 4, title);
  return out + title;
}

}  // namespace

// The stored value holds the lesson numbers as 16-bit little-endian words and a closing
// 0. The value is used in place: the count stops at the first 0 among the stored
// entries, and a 0 is written right after the count, inside the block, so the count and
// every walk over the list agree and none can run past its end, whatever the stored
// bytes were. A value too short to hold that 0 is no list.
void LoadBookmarks() {
  FreeBookmarks();
  DWORD size = 0;
  BYTE* data = ReadBytesSized(u"Bookmarks", nullptr, &size);
  if (!data) return;
  if (size < sizeof(WORD)) {
    free(data);
    return;
  }
  WORD* list = reinterpret_cast<WORD*>(data);  // malloc's alignment suits words
  size_t stored = std::min<size_t>(size / 2 - 1, NoMoreBookmarks);
  WORD count = 0;
  while (count < stored && list[count]) ++count;
  list[count] = 0;
  App.BookmarkList = list;
  App.BookmarkCount = count;
}

void SaveBookmarks() {
  static const BYTE NoList[2] = {0, 0};
  if (App.BookmarkList)
    WriteBytes(u"Bookmarks", reinterpret_cast<const BYTE*>(App.BookmarkList),
               (static_cast<DWORD>(App.BookmarkCount) + 1) * 2);
  else
    WriteBytes(u"Bookmarks", NoList, sizeof NoList);
}

void FreeBookmarks() {
  free(App.BookmarkList);
  App.BookmarkList = nullptr;
  App.BookmarkCount = 0;
}

int IsBookmarked() { return ListHolds(App.Lesson) ? 1 : 0; }

// Lesson 0 would end the list where it stands, so it is never added.
void AddBookmark() {
  WORD lesson = App.Lesson;
  WORD count = ListCount();
  if (lesson == 0 || ListHolds(lesson) || count == NoMoreBookmarks) return;
  WORD* list = static_cast<WORD*>(malloc((static_cast<size_t>(count) + 2) * sizeof(WORD)));
  if (!list) return;
  if (App.BookmarkList) std::memcpy(list, App.BookmarkList, count * sizeof(WORD));
  free(App.BookmarkList);
  list[count] = lesson;
  list[count + 1] = 0;
  App.BookmarkList = list;
  App.BookmarkCount = static_cast<WORD>(count + 1);
}

void RemoveBookmark() {
  WORD* list = App.BookmarkList;
  if (!list) return;
  WORD kept = 0;
  for (WORD i = 0; i < App.BookmarkCount; ++i)
    if (list[i] != App.Lesson) list[kept++] = list[i];
  list[kept] = 0;
  App.BookmarkCount = kept;
}

void ToggleBookmark(int bookmarked) {
  if (!bookmarked) {
    AddBookmark();
    return;
  }
  if (!(App.BookmarkOptions & NoRemoveQuestion)) {
    int answer = MessageBoxW(App.MainWindow, u"Remove Bookmark?\n\nCancel - Don't ask again",
                             u"Bookmark", MB_YESNOCANCEL);
    if (answer == IDNO) return;
    if (answer == IDCANCEL) App.BookmarkOptions |= NoRemoveQuestion;
  }
  RemoveBookmark();
}

BYTE* MergeBookmarks(BYTE* stream) {
  if (ListCount() == 0) return stream;
  BYTE* section = BuildBookmarkSection(stream);
  return section ? JoinIndexStreams(section, stream) : stream;
}

BYTE* BuildBookmarkSection(const BYTE* stream) {
  size_t size = SectionSize(stream);
  BYTE* block = size ? static_cast<BYTE*>(malloc(size)) : nullptr;
  if (!block) return nullptr;
  BYTE* out = block;
  std::memcpy(out, SectionHeader, sizeof SectionHeader);
  out += sizeof SectionHeader;
  for (WORD i = 0; i < ListCount(); ++i) {
    WORD bookmark = App.BookmarkList[i];
    if (const BYTE* entry = BookmarkEntry(stream, bookmark))
      out = WriteBookmarkLine(out, bookmark, entry);
  }
  std::memset(out, 0, StreamEndBytes);
  return block;
}

BYTE* JoinIndexStreams(BYTE* first, BYTE* second) {
  if (!second) return first;
  if (!first) return second;
  size_t firstLength = EntriesLength(first);
  size_t secondLength = EntriesLength(second);
  size_t size = firstLength + secondLength + StreamEndBytes;
  BYTE* block = size <= LargestIndexStream ? static_cast<BYTE*>(malloc(size)) : nullptr;
  if (!block) {
    free(first);
    return second;
  }
  std::memcpy(block, first, firstLength);
  std::memcpy(block + firstLength, second, secondLength);
  std::memset(block + firstLength + secondLength, 0, StreamEndBytes);
  free(first);
  free(second);
  return block;
}
