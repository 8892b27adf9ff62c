#include "index_fixtures.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"
#include "test_support/registry_values.h"

namespace index_test {

std::vector<Entry> Entries(const BYTE* stream) {
  std::vector<Entry> entries;
  for (const BYTE* p = stream; p[2] != 0;) {
    std::string title(reinterpret_cast<const char*>(p + 4));
    entries.push_back(Entry{WORD(p[0] | p[1] << 8), p[2], p[3], title});
    p += title.size() + 5;
  }
  return entries;
}

BYTE* MakeStream(const std::vector<Entry>& entries) {
  std::vector<BYTE> bytes;
  for (const Entry& e : entries) {
    bytes.insert(bytes.end(), {BYTE(e.key & 0xFF), BYTE(e.key >> 8), e.style, e.level});
    bytes.insert(bytes.end(), e.title.begin(), e.title.end());
    bytes.push_back(0);
  }
  bytes.insert(bytes.end(), 5, 0);
  BYTE* stream = static_cast<BYTE*>(malloc(bytes.size()));
  std::memcpy(stream, bytes.data(), bytes.size());
  return stream;
}

BYTE* BookIndex() { return LoadLessonResource(IndexLessonNumber); }

Entry BookEntry(WORD lesson) {
  BYTE* index = BookIndex();
  Entry found{};
  if (index)
    for (const Entry& e : Entries(index))
      if (e.key == (lesson | 0x4000)) found = e;
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
