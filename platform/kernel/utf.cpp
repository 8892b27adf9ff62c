#include "kernel/utf.h"

namespace kernel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The range the second byte of a sequence must lie in, which rules out overlong forms,
// surrogates and values beyond U+10FFFF at the earliest byte.
void SecondByteRange(unsigned char lead, unsigned char& low, unsigned char& high) {
  low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  else if (lead == 0xED) high = 0x9F;
  else if (lead == 0xF0) low = 0x90;
  else if (lead == 0xF4) high = 0x8F;
}

}  // namespace

char32_t DecodeUtf8At(std::string_view utf8, size_t& pos, bool* malformed) {
  auto bad = [malformed] {
    if (malformed) *malformed = true;
    return kReplacement;
  };
  unsigned char lead = static_cast<unsigned char>(utf8[pos++]);
  if (lead < 0x80) return lead;
  int length;
  char32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
  } else {
    return bad();
  }
  unsigned char low, high;
  SecondByteRange(lead, low, high);
  for (int i = 1; i < length; ++i) {
    if (pos >= utf8.size()) return bad();
    unsigned char byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < low || byte > high) return bad();
    code = (code << 6) | (byte & 0x3F);
    ++pos;
    low = 0x80, high = 0xBF;
  }
  return code;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t code = DecodeUtf8At(utf8, pos);
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

bool IsWellFormedUtf16(std::u16string_view utf16) {
  for (size_t i = 0; i < utf16.size(); ++i) {
    if (IsHighSurrogate(utf16[i]) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(utf16[i]) || IsLowSurrogate(utf16[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace kernel
