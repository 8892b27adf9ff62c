#include "book_source.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "content/article_trailer.h"
#include "letter_encoding.h"
#include "utf8.h"

namespace book {

namespace {

// The paragraph kinds with a prefix of their own.
struct Kind {
  const char* Prefix;
  uint8_t Flags;
};
constexpr Kind Kinds[] = {
    {"#", HeadingFlags},
    {"##", SmallHeadingFlags},
    {"*", BodyFlags},
    {">", NoteFlags},
    {"<", LeftToRightFlags},
    {"---", RuleFlags},  // full width unless given
};
constexpr uint8_t DefaultRuleWidth = FullWidthRule;

bool IsRightToLeft(uint8_t flags) { return (flags & RightToLeft) != 0; }

struct Line {
  int Number;
  std::string_view Text;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  int number = 0;
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);  // a byte order mark
  while (!content.empty()) {
    size_t end = content.find('\n');
    std::string_view text = content.substr(0, end);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back({++number, text});
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
  return lines;
}

bool IsBlankOrComment(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos || text.front() == ';';
}

std::u32string Decode(const SourcePlace& at, std::string_view text, int firstColumn) {
  int bad = 0;
  std::optional<std::u32string> decoded = DecodeUtf8(text, &bad);
  if (!decoded)
    throw SourceError({at.File, at.Line, firstColumn + bad - 1}, "malformed UTF-8");
  return *decoded;
}

// Parses a hexadecimal byte of the general form.
std::optional<uint8_t> HexByte(std::string_view text) {
  if (text.size() != 2) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    value <<= 4;
    if (c >= '0' && c <= '9') value |= c - '0';
    else if (c >= 'A' && c <= 'F') value |= c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') value |= c - 'a' + 10;
    else return std::nullopt;
  }
  return static_cast<uint8_t>(value);
}

// The flags and second byte a prefix names; throws for an unknown prefix.
std::pair<uint8_t, uint8_t> ReadPrefix(const SourcePlace& at, std::string_view prefix) {
  for (const Kind& kind : Kinds)
    if (prefix == kind.Prefix) return {kind.Flags, IsRuleRecord(kind.Flags) ? DefaultRuleWidth : 0};
  if (prefix.size() >= 3 && prefix[0] == '@') {
    std::string_view flags = prefix.substr(1, 2), second;
    if (prefix.size() > 3) {
      if (prefix[3] != '/') throw SourceError(at, "unknown paragraph prefix '" + std::string(prefix) + "'");
      second = prefix.substr(4);
    }
    std::optional<uint8_t> f = HexByte(flags);
    std::optional<uint8_t> s = prefix.size() > 3 ? HexByte(second) : std::optional<uint8_t>(0);
    if (!f || !s)
      throw SourceError(at, "'" + std::string(prefix) +
                                "' is not of the form @FF or @FF/II (hexadecimal flags and second byte)");
    if (*f == 0) throw SourceError(at, "the flags byte 00 ends an article; a paragraph needs another");
    return {*f, *s};
  }
  throw SourceError(at, "unknown paragraph prefix '" + std::string(prefix) +
                            "' (known: # ## * > < --- @FF/II)");
}

// The text of a paragraph in the letter code, display order for right-to-left text.
std::vector<uint8_t> EncodeText(const SourcePlace& at, uint8_t flags, std::u32string_view text,
                                int firstColumn, bool* dropped) {
  Encoded encoded = IsRightToLeft(flags) ? EncodeHebrew(text) : EncodeLeftToRight(text);
  if (encoded.Fault)
    throw SourceError({at.File, at.Line, firstColumn + static_cast<int>(encoded.Fault->Index)},
                      encoded.Fault->Message);
  *dropped = *dropped || encoded.DroppedCantillation;
  return IsRightToLeft(flags) ? SwapTextOrder(std::move(encoded.Codes)) : encoded.Codes;
}

std::string HexText(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}

}  // namespace

std::vector<Paragraph> ParseArticle(const std::string& file, std::string_view content) {
  std::vector<Paragraph> paragraphs;
  bool dropped = false;
  for (const Line& line : SplitLines(content)) {
    if (IsBlankOrComment(line.Text)) continue;
    const SourcePlace at{file, line.Number, 1};
    const size_t space = line.Text.find(' ');
    const std::string_view prefix = line.Text.substr(0, space);
    auto [flags, second] = ReadPrefix(at, prefix);
    Paragraph p{flags, second, {}, line.Number};
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.Text.substr(space + 1);
    const int firstColumn = static_cast<int>(Decode(at, prefix, 1).size()) + 2;
    const std::u32string text = Decode(at, rest, firstColumn);
    if (IsRuleRecord(flags)) {
      if (prefix == "---" && !text.empty()) {
        const std::string width = EncodeUtf8(text);
        char* end = nullptr;
        const long value = std::strtol(width.c_str(), &end, 10);
        if (*end != '\0' || value < 0 || value > 255 || width.empty())
          throw SourceError({file, line.Number, firstColumn},
                            "a rule takes a width byte from 0 to 255, not '" + width + "'");
        p.Second = static_cast<uint8_t>(value);
      } else if (!text.empty()) {
        throw SourceError({file, line.Number, firstColumn}, "a rule has no text");
      }
    } else {
      if (text.empty()) throw SourceError(at, "a paragraph needs text");
      p.Text = EncodeText(at, flags, text, firstColumn, &dropped);
      // Marks that are dropped may be all the text there was.
      if (p.Text.empty()) throw SourceError(at, "a paragraph needs text");
    }
    paragraphs.push_back(std::move(p));
  }
  if (dropped) Warn({file}, "cantillation marks and meteg were dropped");
  return paragraphs;
}

std::string FormatParagraph(const Paragraph& p) {
  std::string prefix;
  for (const Kind& kind : Kinds) {
    const uint8_t standardSecond = IsRuleRecord(kind.Flags) ? DefaultRuleWidth : 0;
    if (p.Flags != kind.Flags) continue;
    if (p.Second == standardSecond) prefix = kind.Prefix;
    else if (IsRuleRecord(kind.Flags))
      prefix = std::string(kind.Prefix) + " " + std::to_string(p.Second);
  }
  if (prefix.empty())
    prefix = "@" + HexText(p.Flags) + (p.Second ? "/" + HexText(p.Second) : "");
  if (IsRuleRecord(p.Flags)) return prefix;
  const std::u32string text =
      IsRightToLeft(p.Flags)
          ? DecodeHebrew(SwapTextOrder(p.Text).data(), p.Text.size())
          : DecodeLeftToRight(p.Text.data(), p.Text.size());
  return prefix + " " + EncodeUtf8(text);
}

std::vector<uint8_t> ArticleStream(const std::vector<Paragraph>& paragraphs,
                                   size_t zeroBytesAfter) {
  std::vector<uint8_t> stream;
  for (const Paragraph& p : paragraphs) {
    const size_t at = stream.size();
    stream.resize(at + ParagraphRecordSize(p.Text.size()));
    WriteParagraph(stream.data() + at, p.Flags, p.Second, p.Text.data(), p.Text.size());
  }
  stream.push_back(0);  // the terminator
  stream.insert(stream.end(), zeroBytesAfter, 0);
  return stream;
}

bool SplitArticle(const uint8_t* stream, size_t size, std::vector<Paragraph>* paragraphs,
                  size_t* terminatorAt) {
  const DWORD bound = DWORD(std::min<size_t>(size, UnboundedStream));
  ParagraphRecord r;
  DWORD end = 0;
  for (bool more = FirstRecord(stream, &r, bound); more; more = NextRecord(stream, &r, bound)) {
    paragraphs->push_back(Paragraph{r.Flags, r.Second, {r.Text, r.Text + r.Length}, 0});
    end = EndOfRecord(r);
  }
  if (end >= size || stream[end] != 0) return false;  // a record runs past the data
  *terminatorAt = end;
  return true;
}

std::vector<uint8_t> ClosingBlock(const std::string& file, const std::vector<Paragraph>& paragraphs) {
  struct Expected {
    uint8_t Flags;
    uint8_t Second;
    size_t Length;
  };
  constexpr uint8_t CentredRule = RuleRecord | AlignCentreBit;  // 0x47
  constexpr uint8_t LeftToRightNote = SmallStyle | BlankAfter;  // 0x82
  static constexpr Expected shape[] = {
      {CentredRule, FullWidthRule, 0}, {NoteFlags, 0, 298}, {NoteFlags, 0, 82},
      {NoteFlags, 0, 104},             {NoteFlags, 0, 156}, {NoteFlags, 0, 100},
      {NoteFlags, 0, 69},              {LeftToRightNote, 0, 44}};
  constexpr size_t count = sizeof shape / sizeof shape[0];
  static_assert([] {
    size_t size = 1;  // the terminator
    for (const Expected& e : shape) size += ParagraphRecordSize(e.Length);
    return size;
  }() == ArticleTrailerSize);
  if (paragraphs.size() != count)
    throw SourceError({file, paragraphs.empty() ? 0 : paragraphs.back().Line},
                      "the closing block has " + std::to_string(paragraphs.size()) +
                          " paragraphs; it must have 8: @47/D2, six >, one @82");
  for (size_t i = 0; i < count; ++i) {
    const Paragraph& p = paragraphs[i];
    const SourcePlace at{file, p.Line};
    if (p.Flags != shape[i].Flags || p.Second != shape[i].Second)
      throw SourceError(at, "paragraph " + std::to_string(i + 1) + " of the closing block must be @" +
                                HexText(shape[i].Flags) + "/" + HexText(shape[i].Second));
    if (p.Text.size() != shape[i].Length)
      throw SourceError(at, "paragraph " + std::to_string(i + 1) + " of the closing block takes " +
                                std::to_string(p.Text.size()) + " bytes; it must take exactly " +
                                std::to_string(shape[i].Length));
  }
  return ArticleStream(paragraphs, 0);
}

std::vector<ContentsEntry> ParseIndex(const std::string& file, std::string_view content,
                                      int lessonCount) {
  std::vector<ContentsEntry> entries;
  std::map<int, int> listedOn;  // lesson -> line
  int lastLine = 0;
  for (const Line& line : SplitLines(content)) {
    lastLine = line.Number;
    if (IsBlankOrComment(line.Text)) continue;
    const SourcePlace at{file, line.Number, 1};
    const size_t space = line.Text.find(' ');
    const std::string_view head = line.Text.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.Text.substr(space + 1);
    const int titleColumn = static_cast<int>(head.size()) + 2;
    ContentsEntry entry;
    entry.Line = line.Number;
    if (head == "#") {
      entry.Style = SectionStyle;
      entry.Level = 1;
      entry.Key = SectionKey(static_cast<uint16_t>(KeyNumberBits - (entries.size() + 1)));
    } else {
      char* end = nullptr;
      const std::string number(head);
      const long n = std::strtol(number.c_str(), &end, 10);
      if (number.empty() || *end != '\0')
        throw SourceError(at, "a line of the table of contents starts with '#' or a lesson number, not '" +
                                  number + "'");
      if (n < 1 || n > lessonCount)
        throw SourceError(at, "lesson " + number + " is outside 1 to " + std::to_string(lessonCount));
      if (auto first = listedOn.find(n); first != listedOn.end())
        throw SourceError(at, "lesson " + number + " is listed twice (first on line " +
                                  std::to_string(first->second) + ")");
      listedOn[n] = line.Number;
      entry.Style = LessonEntryStyle;
      entry.Level = 2;
      entry.Key = ArticleKey(static_cast<LessonNumber>(n));
    }
    const std::u32string title = Decode(at, rest, titleColumn);
    if (title.empty()) throw SourceError(at, "an entry needs a title");
    bool dropped = false;
    std::vector<uint8_t> codes = EncodeText(at, RightToLeft, title, titleColumn, &dropped);
    for (size_t i = 0; i < codes.size(); ++i) {
      const uint8_t c = codes[codes.size() - 1 - i];
      if (c < 32 || (c > 64 && c < 91))
        throw SourceError(at, "titles take plain letters, spaces and punctuation only, "
                              "no vowel points or pointed letters");
    }
    entry.Title = std::move(codes);
    entries.push_back(std::move(entry));
  }
  for (int n = 1; n <= lessonCount; ++n)
    if (!listedOn.count(n))
      throw SourceError({file, lastLine}, "lesson " + std::to_string(n) +
                                              " is missing from the table of contents");
  return entries;
}

std::vector<uint8_t> IndexStream(const std::vector<ContentsEntry>& entries) {
  size_t size = IndexStreamEndSize;
  for (const ContentsEntry& e : entries) size += IndexEntrySize(e.Title.size());
  std::vector<uint8_t> stream(size);
  uint8_t* out = stream.data();
  for (const ContentsEntry& e : entries)
    out = WriteIndexEntry(out, e.Key, e.Style, e.Level, e.Title.data(), e.Title.size());
  WriteIndexStreamEnd(out);
  return stream;
}

bool SplitIndex(const uint8_t* stream, size_t size, std::vector<ContentsEntry>* entries,
                size_t* endAt) {
  const DWORD bound = DWORD(std::min<size_t>(size, UnboundedStream));
  IndexEntry e;
  DWORD end = 0;
  for (bool more = FirstEntry(stream, &e, bound); more; more = NextEntry(stream, &e, bound)) {
    entries->push_back(
        ContentsEntry{e.Key, e.Style, e.Level, {e.Title, e.Title + e.TitleLength}, 0});
    end = EndOfEntry(e);
  }
  if (!IsIndexStreamEnd(stream, end, bound)) return false;  // an entry runs past the data
  *endAt = end;
  return true;
}

std::string FormatTitle(const std::vector<uint8_t>& displayOrder) {
  const std::vector<uint8_t> reading = SwapTextOrder(displayOrder);
  return EncodeUtf8(DecodeHebrew(reading.data(), reading.size()));
}

}  // namespace book
