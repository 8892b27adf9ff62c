// The built book's files in a folder: their names, reading them, and replacing them
// atomically and only when their content changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace book {

struct OutputFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

std::string LessonFileName(int number);  // lesson001.bin ...
constexpr const char* IndexFileName = "index.bin";
constexpr const char* ScriptFileName = "book.rc";
constexpr const char* ClosingFileName = "closing.inc";

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// Writes each file whose content differs from what the folder holds: to a temporary
// file beside it, flushed to disk, then renamed over the old one. Returns how many
// were replaced; throws std::runtime_error when a write fails (the old file stays).
int ReplaceChangedFiles(const std::filesystem::path& folder, const std::vector<OutputFile>& files);

}  // namespace book
