#include "index/bookmarks.h"

#include <cstring>

#include "app/alloc.h"
#include "app/app_state.h"
#include "app/settings_store.h"

// The stored value holds the lesson numbers as 16-bit little-endian words and a closing
// 0. The list kept in memory always ends with a 0 right after its count of entries, so
// no walk over it can run past its end, whatever the stored bytes were.
void LoadBookmarks() {
  DWORD size = 0;
  BYTE* data = ReadBytesSized(u"Bookmarks", nullptr, &size);
  WORD count = static_cast<WORD>(size / 2);
  if (count > 0) --count;
  FreeBookmarks();
  if (!data) return;
  WORD* list = static_cast<WORD*>(AllocOrQuit((static_cast<size_t>(count) + 1) * sizeof(WORD)));
  if (list) {
    std::memcpy(list, data, static_cast<size_t>(count) * sizeof(WORD));
    list[count] = 0;
    App.BookmarkList = list;
    App.BookmarkCount = count;
  }
  free(data);
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
}
