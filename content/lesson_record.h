// The book's records among the program's RCDATA resources: their numbering and the
// header every record starts with.
//
// A record, all header fields 16-bit big-endian (high byte first):
//   0  BlockLength         bytes after the first six: CompressedLength + 8
//   2  Tag                 lesson number + 20; 1 in the index record
//   4  SecondTag           the same again; 255 in the index record
//   6  CompressedLength
//   8  DecompressedLength  bytes the data decode to
//  10  compressed data, then four zero bytes
//
// For example the header of lesson 1 with 1,772 compressed bytes that decode to 2,970:
//   06 F4  00 15  00 15  06 EC  0B 9A
#pragma once

#include "platform.h"

// A lesson of the book, 1 to LessonCount; lesson n is RCDATA 1000 + n.
typedef WORD LessonNumber;

constexpr LessonNumber LessonCount = 267;
constexpr WORD FirstLessonResource = 1001;
constexpr WORD IndexResource = 32767;

// The resource of a number, computed in 16 bits: 1000 + number.
constexpr WORD LessonResourceId(WORD number) { return WORD(FirstLessonResource - 1 + number); }

// The number under which the index stream loads like a lesson: resource 32767.
constexpr WORD IndexLessonNumber = IndexResource - (FirstLessonResource - 1);

// Every position in a decoded stream is 16-bit: no stream, loaded article or joined
// index stream reaches beyond LargestStream bytes.
constexpr DWORD LargestStream = 0xFFFF;
// Streams of loaded records are always terminated; a walk over them needs no bound but
// the reach of 16-bit positions. Raw decoded data is walked with its size, so that a
// record or entry cut off by the end of the data reads as the end of the stream.
constexpr DWORD UnboundedStream = LargestStream;

// The largest value of a header field.
constexpr DWORD LargestRecordField = 0xFFFF;

constexpr DWORD RecordHeaderSize = 10;
constexpr DWORD RecordTailSize = 4;   // the zero bytes after the data
constexpr DWORD BlockLengthStart = 6;  // BlockLength counts the bytes from here on

struct RecordHeader {
  WORD BlockLength;
  WORD Tag;
  WORD SecondTag;
  WORD CompressedLength;
  WORD DecompressedLength;
};

// The tags of the stored records, which the reader never reads.
constexpr WORD LessonRecordTag(LessonNumber lesson) { return WORD(lesson + 20); }
constexpr WORD IndexRecordTag = 1;
constexpr WORD IndexRecordSecondTag = 255;

// BlockLength of a record with the given data: the two length fields, the data and the
// four zero bytes.
constexpr WORD BlockLengthFor(DWORD compressedLength) {
  return WORD(RecordHeaderSize - BlockLengthStart + compressedLength + RecordTailSize);
}
// Size of the resource a BlockLength describes.
constexpr DWORD RecordSizeFor(WORD blockLength) { return BlockLengthStart + blockLength; }

// A header for the data: BlockLength from the compressed length.
RecordHeader MakeRecordHeader(WORD tag, WORD secondTag, WORD compressedLength,
                              WORD decompressedLength);
// Reads the RecordHeaderSize bytes at record.
RecordHeader ReadRecordHeader(const BYTE* record);
// Writes the header's RecordHeaderSize bytes at record, every field as it stands.
void WriteRecordHeader(BYTE* record, const RecordHeader& header);
