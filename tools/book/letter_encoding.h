// Unicode Hebrew to the program's one-byte letter code and back. The mapping is the
// inverse of the program's own UTF-16 table (text/letter_code.h): a letter with its
// dagesh, shin dot or holam becomes the one code that holds that combination, and
// every remaining vowel point its own code after the letter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace book {

struct EncodeFault {
  size_t Index;  // position of the offending character in the text
  std::string Message;
};

struct Encoded {
  std::vector<uint8_t> Codes;  // reading order: each letter, then its vowel points
  bool DroppedCantillation = false;
  std::optional<EncodeFault> Fault;
};

// Hebrew text in reading order, as combining sequences (marks in any order) or
// presentation forms. Cantillation marks and meteg are dropped; maqaf, geresh and
// gershayim become '-', '\'' and '"'; digits and ASCII punctuation stay.
Encoded EncodeHebrew(std::u32string_view text);

// Text of a left-to-right paragraph: printable ASCII, one byte per character.
Encoded EncodeLeftToRight(std::u32string_view text);

// Letter code in reading order back to Unicode, each letter followed by its marks in
// canonical order (NFC). Bytes without a meaning come out as U+FFFD.
std::u32string DecodeHebrew(const uint8_t* codes, size_t count);
std::u32string DecodeLeftToRight(const uint8_t* codes, size_t count);

// Turns a right-to-left paragraph from reading order into display order and back (the
// operation is its own inverse): the bytes are reversed, brackets exchanged for their
// mirror images, and runs of digits keep their left-to-right order.
std::vector<uint8_t> SwapTextOrder(std::vector<uint8_t> codes);

// Number of bytes of the longest word (bytes between spaces).
size_t LongestWord(const std::vector<uint8_t>& codes);

}  // namespace book
