// Shared set-up of the bookmark tests: a settings folder of the test's own, the list
// in AppState, and index streams read and written entry by entry.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform.h"
#include "test_support/settings_folder.h"

namespace index_test {

// One entry of an index stream.
struct Entry {
  WORD key;
  BYTE style;
  BYTE level;
  std::string title;
  bool operator==(const Entry&) const = default;
};

// The entries of a stream, up to the first entry whose style byte is 0.
std::vector<Entry> Entries(const BYTE* stream);
// A new heap stream of the entries and the five closing zero bytes.
BYTE* MakeStream(const std::vector<Entry>& entries);
// The index stream of the book embedded in this executable (caller frees).
BYTE* BookIndex();
// The book's entry for a lesson.
Entry BookEntry(WORD lesson);

// A zeroed AppState whose list is the given lessons (a heap block ended by 0).
void SetList(const std::vector<WORD>& lessons);
// The entries of the list before its count ends it.
std::vector<WORD> ListEntries();

class BookmarkTest : public test_support::SettingsFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new, empty settings folder and a zeroed AppState, as at a first start.
  void UseFreshSettings();

  // Stores the value Bookmarks as REG_BINARY with exactly these bytes.
  static void StoreValue(const std::vector<BYTE>& bytes);
  // The stored value Bookmarks, or nothing when there is none.
  static std::optional<std::vector<BYTE>> StoredValue();
};

}  // namespace index_test
