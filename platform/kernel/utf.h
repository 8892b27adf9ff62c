// Conversions between UTF-8 (the outside world: files, paths, the terminal) and UTF-16
// (the handheld's WCHAR text). Malformed input never fails: each bad sequence becomes
// U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kernel {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// One code point decoded at utf8[pos], pos advanced past it. A malformed sequence gives
// U+FFFD for its longest valid prefix (at least one byte) and sets *malformed.
char32_t DecodeUtf8At(std::string_view utf8, size_t& pos, bool* malformed = nullptr);
void AppendUtf8(std::string& out, char32_t code);

// True when the text holds no unpaired surrogate, so it converts to UTF-8 and back intact.
bool IsWellFormedUtf16(std::u16string_view utf16);

}  // namespace kernel
