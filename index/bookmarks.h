// The reader's bookmark list: lesson numbers kept in the settings.
#pragma once

// Reads the list from the value Bookmarks (an empty list when there is none).
void LoadBookmarks();
// Writes the list (or two zero bytes when there is none) to the value Bookmarks.
void SaveBookmarks();
void FreeBookmarks();
