// Lesson records for the tests: built here, written to files by make_lesson_records for
// the test's resource script, and compared with what the loader gives back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/article_format.h"
#include "content/index_stream.h"
#include "content/lesson_record.h"

using Bytes = std::vector<uint8_t>;

// The record with one header field changed.
inline Bytes WithField(Bytes record, WORD RecordHeader::*field, WORD value) {
  RecordHeader header = ReadRecordHeader(record.data());
  header.*field = value;
  WriteRecordHeader(record.data(), header);
  return record;
}

// A record as the book compiler writes it: header, data, four zero bytes.
inline Bytes MakeRecord(const Bytes& data, uint16_t decompressedLength,
                        uint16_t tag = LessonRecordTag(1), uint16_t tag2 = LessonRecordTag(1)) {
  Bytes record(RecordHeaderSize);
  WriteRecordHeader(record.data(),
                    MakeRecordHeader(tag, tag2, uint16_t(data.size()), decompressedLength));
  record.insert(record.end(), data.begin(), data.end());
  record.insert(record.end(), RecordTailSize, 0);
  return record;
}

// Compressed data that decode to the bytes: each byte the decoder would read as a
// control byte goes in a literal run of one.
inline Bytes LiteralData(const Bytes& decoded) {
  Bytes data;
  for (uint8_t b : decoded) {
    if ((b >= 0x01 && b <= 0x08) || b >= 0x80) data.push_back(0x01);
    data.push_back(b);
  }
  return data;
}

inline Bytes Paragraph(uint8_t flags, uint8_t second, const std::string& text) {
  Bytes record(ParagraphRecordSize(text.size()));
  WriteParagraph(record.data(), flags, second, reinterpret_cast<const BYTE*>(text.data()),
                 text.size());
  return record;
}

inline Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Paragraph records of the two stored lessons, without the terminator.
inline Bytes FirstLessonRecords() {
  return Joined({Paragraph(0xD1, 0, "first"), Paragraph(0xB1, 0, "lesson one"),
                 Paragraph(0xC7, 0xD2, "")});
}
inline Bytes LastLessonRecords() {
  return Joined({Paragraph(0xD1, 0, "last"), Paragraph(0xB1, 0x05, "lesson 267")});
}
// A decoded lesson: records, terminator, two more zero bytes.
inline Bytes LessonStream(const Bytes& records) { return Joined({records, {0, 0, 0}}); }
// The index stream, handed on exactly as decoded: a section and its one lesson.
inline Bytes IndexStream() {
  const Bytes section = {'x', 'e', 'd', 'n', 'i'}, lesson = {'e', 'n', 'o'};
  Bytes stream(IndexEntrySize(section.size()) + IndexEntrySize(lesson.size()) +
               IndexStreamEndSize);
  BYTE* out = WriteIndexEntry(stream.data(), SectionKey(KeyNumberBits - 1), 0x8C, 1,
                              section.data(), section.size());
  out = WriteIndexEntry(out, ArticleKey(1), 0x01, 2, lesson.data(), lesson.size());
  WriteIndexStreamEnd(out);
  return stream;
}

struct FixtureResource {
  uint16_t Id;
  Bytes Data;
};

// The RCDATA resources of the test executable. 1002 is missing on purpose.
inline std::vector<FixtureResource> FixtureResources() {
  const Bytes first = LessonStream(FirstLessonRecords());
  const Bytes last = LessonStream(LastLessonRecords());
  const Bytes index = IndexStream();
  Bytes truncated = MakeRecord(LiteralData(first), uint16_t(first.size() + 1));
  const Bytes shortBlock = WithField(MakeRecord(LiteralData(first), uint16_t(first.size())),
                                     &RecordHeader::BlockLength, 4);
  const WORD lastTag = LessonRecordTag(LessonCount);
  return {
      {1001, MakeRecord(LiteralData(first), uint16_t(first.size()))},
      {1267, MakeRecord(LiteralData(last), uint16_t(last.size()), lastTag, lastTag)},
      {32767, MakeRecord(LiteralData(index), uint16_t(index.size()), IndexRecordTag,
                         IndexRecordSecondTag)},
      {999, MakeRecord(LiteralData(last), uint16_t(last.size()))},  // number 65535, 16-bit
      {1003, {}},                                                    // size 0
      {1004, truncated},   // data end one byte before the output is full
      {1005, shortBlock},  // BlockLength 4
  };
}
