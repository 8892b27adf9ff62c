// The reader's bookmark list: lesson numbers kept in the settings, and the section the
// table of contents shows them in.
#pragma once

#include "platform.h"

// Bit of App.BookmarkOptions: the reader answered Cancel to the removal question, so
// bookmarks are removed without asking for the rest of the run.
constexpr WORD NoRemoveQuestion = 0x0001;

// Reads the list from the value Bookmarks (an empty list when there is none).
void LoadBookmarks();
// Writes the list (or two zero bytes when there is none) to the value Bookmarks.
void SaveBookmarks();
void FreeBookmarks();

// 1 when App.Lesson is in the list, else 0.
int IsBookmarked();
// Adds App.Lesson at the end of the list unless it is there; no change without memory.
void AddBookmark();
// Drops every entry equal to App.Lesson.
void RemoveBookmark();
// Adds the current lesson, or (bookmarked) removes it after asking, unless the reader
// asked not to be asked again.
void ToggleBookmark(int bookmarked);

// The stream to lay out for the table of contents: the bookmarks section joined in
// front of the index stream when there are bookmarks and memory, else the stream given.
BYTE* MergeBookmarks(BYTE* stream);
// A new section block listing the bookmarks found in the stream, in list order, or
// null without memory or when it could not be held.
BYTE* BuildBookmarkSection(const BYTE* stream);
// One new stream holding the entries of first and then second, both released; without
// one of them, the other; without memory, second (first released).
BYTE* JoinIndexStreams(BYTE* first, BYTE* second);
