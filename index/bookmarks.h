// The reader's bookmark list: lesson numbers kept in the settings, and the section the
// table of contents shows them in.
#pragma once

#include <cstddef>

#include "content/lesson_record.h"
#include "platform.h"

// Bit of App.BookmarkOptions: the reader answered Cancel to the removal question, so
// bookmarks are removed without asking for the rest of the run.
constexpr WORD NoRemoveQuestion = 0x0001;

// The largest block, its closing five zero bytes included, that a bookmarks section or
// a joined index stream may take: every position in it must fit the outline's 16-bit
// line offsets. A longer one is refused as if memory had run out.
constexpr size_t LargestIndexStream = LargestStream;

// Reads the list from the value Bookmarks (an empty list when there is none). The
// count stops at the first 0 among the stored words, the last stored word being the
// list's end whatever it holds; an odd last byte is ignored.
void LoadBookmarks();
// Writes the list (or two zero bytes when there is none) to the value Bookmarks.
void SaveBookmarks();
// Releases the list; no list and a count of 0 afterwards.
void FreeBookmarks();

// 1 when App.Lesson is in the list, else 0.
int IsBookmarked();
// Adds App.Lesson at the end of the list unless it is there (or is 0); no change without
// memory.
void AddBookmark();
// Drops every entry equal to App.Lesson; the block keeps its size.
void RemoveBookmark();
// Adds the current lesson, or (bookmarked) removes it after asking in a message box
// over App.MainWindow: Yes removes it, No keeps it, Cancel removes it and sets
// NoRemoveQuestion, after which removals no longer ask.
void ToggleBookmark(int bookmarked);

// The stream to lay out for the table of contents: the bookmarks section joined in
// front of the index stream when there are bookmarks and memory, else the stream given.
BYTE* MergeBookmarks(BYTE* stream);
// A new section block: its own entry, then for each bookmark in list order the title of
// the stream's first entry for that lesson (none found: no line), then five zero bytes.
// Null without memory or when the block would exceed LargestIndexStream.
BYTE* BuildBookmarkSection(const BYTE* stream);
// One new stream holding the entries of first and then second, both released; without
// one of them, the other; without memory, or when the joined block would exceed
// LargestIndexStream, second (first released). Both must end with an entry whose style
// byte is 0.
BYTE* JoinIndexStreams(BYTE* first, BYTE* second);
