// Lesson and index records as the program reads them from its resources: a 10-byte
// big-endian header, the PalmDoc-compressed stream, four zero bytes.
//
//   0  BlockLength         CompressedLength + 8
//   2  tag                 lesson number + 20; 1 in the index record
//   4  tag                 the same again; 255 in the index record
//   6  CompressedLength
//   8  DecompressedLength
//  10  compressed data, then four zero bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace book {

constexpr size_t RecordHeaderSize = 10;
constexpr size_t RecordTailSize = 4;
constexpr size_t MaxRecordField = 0xFFFF;

uint16_t ReadBigEndian(const uint8_t* at);

// Compresses the stream into a record with the given tags. The stream must fit the
// 16-bit length fields (the caller checks and reports).
std::vector<uint8_t> MakeRecord(uint16_t firstTag, uint16_t secondTag,
                                const std::vector<uint8_t>& stream);
std::vector<uint8_t> MakeLessonRecord(int number, const std::vector<uint8_t>& stream);
std::vector<uint8_t> MakeIndexRecord(const std::vector<uint8_t>& stream);

// Decodes a record with the program's own decoder; nullopt when it refuses it (the
// reason code goes to *reason).
std::optional<std::vector<uint8_t>> DecodeWithProgram(const std::vector<uint8_t>& record,
                                                      int* reason = nullptr);

}  // namespace book
