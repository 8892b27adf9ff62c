#include "utf8.h"

#include "kernel/utf.h"

namespace book {

std::optional<std::u32string> DecodeUtf8(std::string_view text, int* badColumn) {
  std::u32string result;
  size_t pos = 0;
  while (pos < text.size()) {
    bool malformed = false;
    char32_t code = kernel::DecodeUtf8At(text, pos, &malformed);
    if (malformed) {
      if (badColumn) *badColumn = static_cast<int>(result.size()) + 1;
      return std::nullopt;
    }
    result.push_back(code);
  }
  return result;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t code : text) kernel::AppendUtf8(out, code);
  return out;
}

}  // namespace book
