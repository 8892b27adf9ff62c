// Lesson records for the tests: built here, written to files by make_lesson_records for
// the test's resource script, and compared with what the loader gives back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutBigEndian(Bytes& bytes, size_t at, uint16_t value) {
  bytes[at] = uint8_t(value >> 8);
  bytes[at + 1] = uint8_t(value);
}

// A record as the book compiler writes it: header, data, four zero bytes.
inline Bytes MakeRecord(const Bytes& data, uint16_t decompressedLength, uint16_t tag = 21,
                        uint16_t tag2 = 21) {
  Bytes record(10);
  PutBigEndian(record, 0, uint16_t(data.size() + 8));
  PutBigEndian(record, 2, tag);
  PutBigEndian(record, 4, tag2);
  PutBigEndian(record, 6, uint16_t(data.size()));
  PutBigEndian(record, 8, decompressedLength);
  record.insert(record.end(), data.begin(), data.end());
  record.insert(record.end(), 4, 0);
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
  Bytes record(text.size() + 3, 0);
  record[0] = flags;
  record[1] = second;
  for (size_t i = 0; i < text.size(); ++i) record[2 + i] = uint8_t(text[i]);
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
// The index stream, handed on exactly as decoded.
inline Bytes IndexStream() { return {0x01, 0x80, 'i', 'n', 'd', 'e', 'x', 0x00, 0x02, 0x00, 0x00}; }

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
  Bytes shortBlock = MakeRecord(LiteralData(first), uint16_t(first.size()));
  PutBigEndian(shortBlock, 0, 4);
  return {
      {1001, MakeRecord(LiteralData(first), uint16_t(first.size()))},
      {1267, MakeRecord(LiteralData(last), uint16_t(last.size()), 287, 287)},
      {32767, MakeRecord(LiteralData(index), uint16_t(index.size()), 1, 255)},
      {999, MakeRecord(LiteralData(last), uint16_t(last.size()))},  // number 65535, 16-bit
      {1003, {}},                                                    // size 0
      {1004, truncated},   // data end one byte before the output is full
      {1005, shortBlock},  // BlockLength 4
  };
}
