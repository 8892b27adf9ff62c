#include "letter_encoding.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>

#include "text/letter_code.h"

namespace book {

namespace {

constexpr char32_t Dagesh = 0x05BC;
constexpr char32_t ShinDot = 0x05C1;
constexpr char32_t SinDot = 0x05C2;
constexpr char32_t Holam = 0x05B9;
constexpr char32_t Qamats = 0x05B8;
constexpr char32_t Patah = 0x05B7;
constexpr char32_t Alef = 0x05D0;
constexpr char32_t Vav = 0x05D5;
constexpr char32_t Shin = 0x05E9;
constexpr char32_t Replacement = 0xFFFD;

bool IsHebrewLetter(char32_t c) { return c >= 0x05D0 && c <= 0x05EA; }

// Canonical combining class of the marks the code knows; it orders marks as NFC does.
int CombiningClass(char32_t mark) {
  switch (mark) {
    case 0x05B0: return 10;
    case 0x05B1: return 11;
    case 0x05B2: return 12;
    case 0x05B3: return 13;
    case 0x05B4: return 14;
    case 0x05B5: return 15;
    case 0x05B6: return 16;
    case 0x05B7: return 17;
    case 0x05B8: return 18;
    case 0x05B9: return 19;
    case 0x05BB: return 20;
    case Dagesh: return 21;
    case ShinDot: return 24;
    case SinDot: return 25;
    default: return -1;
  }
}

bool IsKnownMark(char32_t c) { return CombiningClass(c) >= 0; }

bool MarkOrder(char32_t a, char32_t b) { return CombiningClass(a) < CombiningClass(b); }

// A character as a base (0 for a lone mark) and the marks it carries.
struct Cluster {
  char32_t Base = 0;
  std::vector<char32_t> Marks;
};

// The canonical decomposition of the Hebrew presentation forms the code uses; letters,
// known marks and printable ASCII stand for themselves.
std::optional<Cluster> Decompose(char32_t u) {
  if (IsHebrewLetter(u) || (u >= 0x20 && u <= 0x7E)) return Cluster{u, {}};
  if (IsKnownMark(u)) return Cluster{0, {u}};
  switch (u) {
    case 0xFB2A: return Cluster{Shin, {ShinDot}};
    case 0xFB2B: return Cluster{Shin, {SinDot}};
    case 0xFB2C: return Cluster{Shin, {Dagesh, ShinDot}};
    case 0xFB2D: return Cluster{Shin, {Dagesh, SinDot}};
    case 0xFB2E: return Cluster{Alef, {Patah}};
    case 0xFB2F: return Cluster{Alef, {Qamats}};
    case 0xFB4B: return Cluster{Vav, {Holam}};
    case 0xFB37: case 0xFB3D: case 0xFB3F: case 0xFB42: case 0xFB45:
      return std::nullopt;  // not assigned
    default:
      if (u >= 0xFB30 && u <= 0xFB4A) return Cluster{Alef + (u - 0xFB30), {Dagesh}};
      return std::nullopt;
  }
}

// Characters written as others: qamats qatan and holam haser look like qamats and
// holam; maqaf, geresh and gershayim are stored as ASCII marks.
char32_t Alias(char32_t c) {
  switch (c) {
    case 0x05C7: return Qamats;
    case 0x05BA: return Holam;
    case 0x05BE: return U'-';
    case 0x05F3: return U'\'';
    case 0x05F4: return U'"';
    default: return c;
  }
}

bool IsCantillation(char32_t c) { return (c >= 0x0591 && c <= 0x05AF) || c == 0x05BD; }

struct Entry {
  std::vector<char32_t> Marks;  // in canonical order
  uint8_t Code;
};

// The inverse of UnicodePairTable: for each base the combinations that have one code,
// and for each vowel point its own code.
struct InverseTable {
  std::map<char32_t, std::vector<Entry>> ByBase;
  std::map<char32_t, uint8_t> PointCodes;
};

Cluster ClusterOfCode(unsigned code) {
  const UnicodePair& pair = UnicodePairTable[code - LetterTableFirst];
  Cluster result;
  for (WCHAR unit : {pair.First, pair.Second}) {
    if (unit == 0) continue;
    std::optional<Cluster> part = Decompose(unit);
    if (!part) continue;
    if (part->Base) result.Base = part->Base;
    result.Marks.insert(result.Marks.end(), part->Marks.begin(), part->Marks.end());
  }
  std::sort(result.Marks.begin(), result.Marks.end(), MarkOrder);
  return result;
}

const InverseTable& Inverse() {
  static const InverseTable table = [] {
    InverseTable t;
    for (unsigned code = LetterTableFirst; code <= LetterTableLast; ++code) {
      Cluster c = ClusterOfCode(code);
      if (c.Base == 0 && c.Marks.size() == 1)
        t.PointCodes[c.Marks[0]] = static_cast<uint8_t>(code);
      else if (c.Base != 0)
        t.ByBase[c.Base].push_back({c.Marks, static_cast<uint8_t>(code)});
    }
    return t;
  }();
  return table;
}

std::string Hex(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

std::string Describe(const Cluster& c) {
  std::string text = Hex(c.Base);
  for (char32_t mark : c.Marks) text += (text.size() == 6 ? " with " : " and ") + Hex(mark);
  return text;
}

// The codes of one letter with its marks: the code that covers most of the marks,
// then a point code for each mark left over.
std::optional<std::vector<uint8_t>> EncodeCluster(const Cluster& c) {
  const InverseTable& table = Inverse();
  auto entries = table.ByBase.find(c.Base);
  if (entries == table.ByBase.end()) return std::nullopt;
  const Entry* best = nullptr;
  std::vector<char32_t> bestRest;
  for (const Entry& entry : entries->second) {
    if (!std::includes(c.Marks.begin(), c.Marks.end(), entry.Marks.begin(), entry.Marks.end(),
                       MarkOrder))
      continue;
    std::vector<char32_t> rest;
    std::set_difference(c.Marks.begin(), c.Marks.end(), entry.Marks.begin(), entry.Marks.end(),
                        std::back_inserter(rest), MarkOrder);
    const bool storable = std::all_of(rest.begin(), rest.end(),
                                      [&](char32_t m) { return table.PointCodes.count(m) > 0; });
    if (storable && (!best || entry.Marks.size() > best->Marks.size())) {
      best = &entry;
      bestRest = rest;
    }
  }
  if (!best) return std::nullopt;
  std::vector<uint8_t> codes{best->Code};
  for (char32_t mark : bestRest) codes.push_back(table.PointCodes.at(mark));
  return codes;
}

}  // namespace

Encoded EncodeHebrew(std::u32string_view text) {
  Encoded result;
  Cluster current;
  size_t currentIndex = 0;
  auto flush = [&]() -> bool {
    if (current.Base == 0) return true;
    std::sort(current.Marks.begin(), current.Marks.end(), MarkOrder);
    std::optional<std::vector<uint8_t>> codes = EncodeCluster(current);
    if (!codes) {
      const bool latin = current.Base < 0x80;
      result.Fault = EncodeFault{currentIndex, latin ? "'" + std::string(1, char(current.Base)) +
                                                           "' cannot stand in right-to-left text"
                                                     : Describe(current) +
                                                           " has no place in the letter code"};
      return false;
    }
    result.Codes.insert(result.Codes.end(), codes->begin(), codes->end());
    current = Cluster{};
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = Alias(text[i]);
    if (IsCantillation(c)) {
      result.DroppedCantillation = true;
      continue;
    }
    std::optional<Cluster> part = Decompose(c);
    if (!part) {
      result.Fault = EncodeFault{i, Hex(text[i]) + " has no place in the letter code"};
      return result;
    }
    if (part->Base == 0) {
      if (!IsHebrewLetter(current.Base)) {
        result.Fault = EncodeFault{i, "the mark " + Hex(c) + " follows no Hebrew letter"};
        return result;
      }
      current.Marks.insert(current.Marks.end(), part->Marks.begin(), part->Marks.end());
      continue;
    }
    if (!flush()) return result;
    current = *part;
    currentIndex = i;
  }
  flush();
  return result;
}

Encoded EncodeLeftToRight(std::u32string_view text) {
  Encoded result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x20 || text[i] > 0x7E) {
      result.Fault = EncodeFault{i, Hex(text[i]) + " cannot stand in left-to-right text "
                                                   "(printable ASCII only)"};
      return result;
    }
    result.Codes.push_back(static_cast<uint8_t>(text[i]));
  }
  return result;
}

std::u32string DecodeHebrew(const uint8_t* codes, size_t count) {
  std::vector<Cluster> clusters;
  for (size_t i = 0; i < count; ++i) {
    if (!HasTableEntry(codes[i])) {
      clusters.push_back({codes[i] >= 0x7C && codes[i] <= 0x7E ? char32_t(codes[i]) : Replacement, {}});
      continue;
    }
    Cluster c = ClusterOfCode(codes[i]);
    if (c.Base == 0 && !clusters.empty() && IsHebrewLetter(clusters.back().Base))
      clusters.back().Marks.insert(clusters.back().Marks.end(), c.Marks.begin(), c.Marks.end());
    else
      clusters.push_back(c.Base == 0 ? Cluster{Replacement, {}} : c);
  }
  std::u32string text;
  for (Cluster& c : clusters) {
    std::stable_sort(c.Marks.begin(), c.Marks.end(), MarkOrder);
    text += c.Base;
    text.append(c.Marks.begin(), c.Marks.end());
  }
  return text;
}

std::u32string DecodeLeftToRight(const uint8_t* codes, size_t count) {
  std::u32string text;
  for (size_t i = 0; i < count; ++i)
    text += codes[i] >= 0x20 && codes[i] <= 0x7E ? char32_t(codes[i]) : Replacement;
  return text;
}

std::vector<uint8_t> SwapTextOrder(std::vector<uint8_t> codes) {
  std::reverse(codes.begin(), codes.end());
  for (uint8_t& c : codes) {
    switch (c) {
      case '(': c = ')'; break;
      case ')': c = '('; break;
      case '[': c = ']'; break;
      case ']': c = '['; break;
      default: break;
    }
  }
  auto digit = [&](size_t k) { return k < codes.size() && codes[k] >= '0' && codes[k] <= '9'; };
  auto separator = [&](size_t k) {
    return codes[k] == '.' || codes[k] == ',' || codes[k] == ':' || codes[k] == '/';
  };
  for (size_t start = 0; start < codes.size();) {
    if (!digit(start)) {
      ++start;
      continue;
    }
    size_t end = start + 1;
    while (digit(end) || (end < codes.size() && separator(end) && digit(end + 1))) ++end;
    std::reverse(codes.begin() + start, codes.begin() + end);
    start = end;
  }
  return codes;
}

size_t LongestWord(const std::vector<uint8_t>& codes) {
  size_t longest = 0, word = 0;
  for (uint8_t c : codes) {
    word = c == ' ' ? 0 : word + 1;
    longest = std::max(longest, word);
  }
  return longest;
}

}  // namespace book
