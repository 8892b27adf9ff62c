#include "index/bookmarks.h"

#include <algorithm>
#include <cstring>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "content/article_format.h"
#include "content/index_stream.h"

namespace {

constexpr WORD NoMoreBookmarks = 0xFFFF;  // BookmarkCount cannot grow past this

// The section's own entry: visible and expanded, level 1, a four-letter title.
constexpr WORD SectionKeyOfBookmarks = 0x8877;
constexpr BYTE SectionStyle = EntryVisible | EntryExpanded | BaseStyle;
constexpr BYTE SectionLevel = 1;
constexpr BYTE SectionTitle[] = {0x6A, 0x69, 0x79, 0x75};
constexpr BYTE BookmarkStyle = EntryVisible | BaseStyle;
constexpr BYTE BookmarkLevel = 2;

// ---- The bookmark list ----------------------------------------------------------------

// The entries before the list's 0; none without a list.
WORD ListCount() { return App.BookmarkList ? App.BookmarkCount : 0; }

bool ListHolds(WORD lesson) {
  const WORD* list = App.BookmarkList;
  for (WORD i = 0; i < ListCount() && list[i]; ++i)
    if (list[i] == lesson) return true;
  return false;
}

// ---- The section ----------------------------------------------------------------------

bool FindBookmark(const BYTE* stream, WORD bookmark, IndexEntry* entry) {
  return FindEntry(stream, ArticleKey(bookmark), entry);
}

// The section's size, or 0 when it would not fit in a stream.
size_t SectionSize(const BYTE* stream) {
  size_t size = IndexEntrySize(sizeof SectionTitle) + IndexStreamEndSize;
  for (WORD i = 0; i < ListCount(); ++i) {
    IndexEntry entry;
    if (FindBookmark(stream, App.BookmarkList[i], &entry))
      size += IndexEntrySize(entry.TitleLength);
    if (size > LargestIndexStream) return 0;
  }
  return size;
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
  BYTE* out = WriteIndexEntry(block, SectionKeyOfBookmarks, SectionStyle, SectionLevel,
                              SectionTitle, sizeof SectionTitle);
  for (WORD i = 0; i < ListCount(); ++i) {
    IndexEntry entry;
    if (FindBookmark(stream, App.BookmarkList[i], &entry))
      out = WriteIndexEntry(out, entry.Key, BookmarkStyle, BookmarkLevel, entry.Title,
                            entry.TitleLength);
  }
  WriteIndexStreamEnd(out);
  return block;
}

BYTE* JoinIndexStreams(BYTE* first, BYTE* second) {
  if (!second) return first;
  if (!first) return second;
  size_t firstLength = IndexEntriesLength(first);
  size_t secondLength = IndexEntriesLength(second);
  size_t size = firstLength + secondLength + IndexStreamEndSize;
  BYTE* block = size <= LargestIndexStream ? static_cast<BYTE*>(malloc(size)) : nullptr;
  if (!block) {
    free(first);
    return second;
  }
  std::memcpy(block, first, firstLength);
  std::memcpy(block + firstLength, second, secondLength);
  WriteIndexStreamEnd(block + firstLength + secondLength);
  free(first);
  free(second);
  return block;
}
