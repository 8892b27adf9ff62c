#include "index_fixtures.h"

#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "base/app_state.h"
#include "base/settings_store.h"
#include "content/index_stream.h"
#include "content/lesson_loader.h"
#include "index/bookmarks.h"

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

void BookmarkTest::SetUp() { UseFreshSettings(); }

// The registry keeps what it read from a folder, so every fresh start gets a folder of
// its own.
void BookmarkTest::UseFreshSettings() {
  static int serial = 0;
  FreeBookmarks();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
  folder_ = std::filesystem::temp_directory_path() /
            ("vintrel-bookmarks-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  std::memset(&App, 0, sizeof App);
}

void BookmarkTest::TearDown() {
  HeapFailAllocation(0);
  FreeBookmarks();
  std::filesystem::remove_all(folder_);
}

void BookmarkTest::StoreValue(const std::vector<BYTE>& bytes) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, u"Bookmarks", 0, REG_BINARY, bytes.data(), DWORD(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::optional<std::vector<BYTE>> BookmarkTest::StoredValue() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, size = 0;
  std::optional<std::vector<BYTE>> value;
  if (RegQueryValueExW(key, u"Bookmarks", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key, u"Bookmarks", nullptr, &type, data.data(), &size) ==
            ERROR_SUCCESS &&
        type == REG_BINARY)
      value = data;
  }
  RegCloseKey(key);
  return value;
}

}  // namespace index_test
