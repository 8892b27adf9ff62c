// Lesson records among the program's RCDATA resources (format in lesson_record.h):
// finding them, checking their header and decompressing them (PalmDoc's LZ77 variant).
#pragma once

#include "content/lesson_record.h"
#include "platform.h"

// Why a load gave nothing.
enum LoadReason {
  LoadNoResource = 1,     // no resource with that identifier
  LoadNoData = 2,         // resource of size 0, not loadable, or no memory for the output
  LoadBadHeader = 3,      // BlockLength below 5, CompressedLength 0 or beyond the record
  LoadNothingToDecode = 4,  // DecompressedLength 0
  LoadDecodeFailed = 5,   // the data do not decode to exactly DecompressedLength bytes
};

// The lesson's article: its paragraph records followed by the closing block and three
// zero bytes, in a new heap buffer the caller frees. Null when it cannot be loaded; the
// reason is written only then, and not at all for number 0.
BYTE* LoadArticle(LessonNumber number, LoadReason* reason = nullptr);

// The decoded stream of resource 1000 + number (16-bit), without the closing block, in
// a buffer of DecompressedLength + 2 bytes whose two bytes after the data are zero.
// decodedLength, when given, receives DecompressedLength on success.
BYTE* LoadLessonResource(WORD number, LoadReason* reason = nullptr,
                         DWORD* decodedLength = nullptr);

// Checks and decodes the size bytes of one record; as LoadLessonResource. A shortfall
// of the data, or data that refer outside what they decode, shows the message
// "UnCompress() buffer error!".
BYTE* DecodeRecord(const BYTE* record, DWORD size, LoadReason* reason = nullptr,
                   DWORD* decodedLength = nullptr);
