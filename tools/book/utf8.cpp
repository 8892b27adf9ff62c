#include "utf8.h"

#include "platform.h"

namespace book {

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The UTF-16 units of well-formed UTF-8; nullopt for anything else.
std::optional<std::u16string> StrictUtf16(std::string_view text) {
  if (text.empty()) return std::u16string();
  const int count = static_cast<int>(text.size());
  const int size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), count, nullptr, 0);
  if (size == 0) return std::nullopt;
  std::u16string units(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), count, units.data(), size);
  return units;
}

// Characters before the first malformed sequence: whole characters, one to four bytes
// each, are taken as long as one converts.
int CharactersBeforeMalformed(std::string_view text) {
  int characters = 0;
  for (size_t pos = 0; pos < text.size(); ++characters) {
    size_t length = 1;
    while (length <= 4 && pos + length <= text.size() && !StrictUtf16(text.substr(pos, length)))
      ++length;
    if (length > 4 || pos + length > text.size()) break;
    pos += length;
  }
  return characters;
}

}  // namespace

std::optional<std::u32string> DecodeUtf8(std::string_view text, int* badColumn) {
  const std::optional<std::u16string> units = StrictUtf16(text);
  if (!units) {
    if (badColumn) *badColumn = CharactersBeforeMalformed(text) + 1;
    return std::nullopt;
  }
  std::u32string result;
  for (size_t i = 0; i < units->size(); ++i) {
    const char32_t unit = (*units)[i];
    if (!IsHighSurrogate(unit)) {
      result.push_back(unit);
      continue;
    }
    // Well-formed input gives surrogates only in pairs.
    result.push_back(0x10000 + ((unit - 0xD800) << 10) + ((*units)[++i] - 0xDC00));
  }
  return result;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::u16string units;
  for (char32_t code : text) {
    if (code < 0x10000) {
      units.push_back(static_cast<char16_t>(code));
    } else {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
  }
  if (units.empty()) return std::string();
  const int count = static_cast<int>(units.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, units.data(), count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, units.data(), count, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace book
