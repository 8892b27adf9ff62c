#include "index_fixtures.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "content/index_stream.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"
#include "test_support/registry_values.h"

namespace index_test {

namespace {

Entry EntryOf(const IndexEntry& e) {
  return Entry{e.Key, e.Style, e.Level,
               std::string(reinterpret_cast<const char*>(e.Title), e.TitleLength)};
}

}  // namespace

std::vector<Entry> Entries(const BYTE* stream) {
  std::vector<Entry> entries;
  IndexEntry e;
  for (bool more = FirstEntry(stream, &e); more; more = NextEntry(stream, &e))
    entries.push_back(EntryOf(e));
  return entries;
}

BYTE* MakeStream(const std::vector<Entry>& entries) {
  DWORD size = IndexStreamEndSize;
  for (const Entry& e : entries) size += IndexEntrySize(e.title.size());
  BYTE* stream = static_cast<BYTE*>(malloc(size));
  BYTE* out = stream;
  for (const Entry& e : entries)
    out = WriteIndexEntry(out, e.key, e.style, e.level,
                          reinterpret_cast<const BYTE*>(e.title.data()), e.title.size());
  WriteIndexStreamEnd(out);
  return stream;
}

BYTE* BookIndex() { return LoadLessonResource(IndexLessonNumber); }

Entry BookEntry(WORD lesson) {
  BYTE* index = BookIndex();
  Entry found{};
  IndexEntry entry;
  if (FindEntry(index, ArticleKey(lesson), &entry)) found = EntryOf(entry);
  free(index);
  return found;
}

void SetList(const std::vector<WORD>& lessons) {
  free(App.BookmarkList);
  std::memset(&App, 0, sizeof App);
  WORD* list = static_cast<WORD*>(malloc((lessons.size() + 1) * sizeof(WORD)));
  std::memcpy(list, lessons.data(), lessons.size() * sizeof(WORD));
  list[lessons.size()] = 0;
  App.BookmarkList = list;
  App.BookmarkCount = WORD(lessons.size());
}

std::vector<WORD> ListEntries() {
  if (!App.BookmarkList) return {};
  return std::vector<WORD>(App.BookmarkList, App.BookmarkList + App.BookmarkCount);
}

void BookmarkTest::SetUp() {
  SettingsFolderTest::SetUp();
  FreeBookmarks();
  std::memset(&App, 0, sizeof App);
}

void BookmarkTest::UseFreshSettings() {
  FreeBookmarks();
  FreshSettingsFolder();
  std::memset(&App, 0, sizeof App);
}

void BookmarkTest::TearDown() {
  HeapFailAllocation(0);
  FreeBookmarks();
  SettingsFolderTest::TearDown();
}

void BookmarkTest::StoreValue(const std::vector<BYTE>& bytes) {
  test_support::StoreValue(ProductKey, u"Bookmarks", REG_BINARY, bytes);
}

std::optional<std::vector<BYTE>> BookmarkTest::StoredValue() {
  std::optional<test_support::StoredValue> value =
      test_support::GetValue(ProductKey, u"Bookmarks");
  if (!value || value->type != REG_BINARY) return std::nullopt;
  return value->data;
}

}  // namespace index_test
