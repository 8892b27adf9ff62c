// Lesson and index records as the program reads them from its resources: the header of
// content/lesson_record.h, the PalmDoc-compressed stream, four zero bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace book {

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

// The stream of lesson n of a built book in the folder, decoded as the program decodes
// it; nullopt, after saying why on stderr, when the file cannot be read or decoded.
std::optional<std::vector<uint8_t>> ReadLessonStream(const std::filesystem::path& book, int lesson);

}  // namespace book
