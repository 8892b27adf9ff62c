// UTF-8 to code points and back, for the book's sources and the terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace book {

// The code points of a UTF-8 text; nullopt at a malformed sequence, whose character
// column (1-based) goes to *badColumn.
std::optional<std::u32string> DecodeUtf8(std::string_view text, int* badColumn);

std::string EncodeUtf8(std::u32string_view text);

}  // namespace book
