// Compiling the book: the lesson sources, the table of contents and the closing block
// into the records the resource script embeds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "book_files.h"

namespace book {

// Reads and compiles every source under the folder (lessons/NNN.txt, index.txt,
// closing.txt). Every record is decoded again with the program's decoder before it is
// accepted. Throws SourceError for a fault in a source, with nothing written.
std::vector<OutputFile> CompileBook(const std::filesystem::path& sources);

// The closing block back from the closing.inc a build wrote; nullopt when the text is
// not a list of exactly that many byte values.
std::optional<std::vector<uint8_t>> ParseClosingInclude(std::string_view text);

}  // namespace book
