// Compiling the book: the lesson sources, the table of contents and the closing block
// into the records the resource script embeds.
#pragma once

#include <filesystem>
#include <vector>

#include "book_files.h"

namespace book {

// Reads and compiles every source under the folder (lessons/NNN.txt, index.txt,
// closing.txt). Every record is decoded again with the program's decoder before it is
// accepted. Throws SourceError for a fault in a source, with nothing written.
std::vector<OutputFile> CompileBook(const std::filesystem::path& sources);

}  // namespace book
