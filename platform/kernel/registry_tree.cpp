#include "kernel/registry_tree.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "kernel/utf.h"

namespace kernel::registry {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr size_t kHexLineWidth = 76;

char16_t FoldCase(char16_t unit) { return (unit >= u'A' && unit <= u'Z') ? unit + (u'a' - u'A') : unit; }
char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
  }
  return true;
}

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& unit : folded) unit = FoldCase(unit);
  return folded;
}

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A hexadecimal number of 1 to maxDigits digits making up the whole text.
bool ParseHexNumber(std::string_view text, size_t maxDigits, uint32_t& value) {
  if (text.empty() || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return true;
}

std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

// The text without the blanks and line ends that close it.
std::string WithoutTrailingBlanks(std::string_view text) {
  size_t end = text.find_last_not_of(" \t\n");
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// ---- Reading --------------------------------------------------------------------------

struct Line {
  std::string text;  // trimmed, continuations joined
  std::string raw;   // as written: its physical lines joined by LF
  int number;        // of its first physical line
};

bool Continues(std::string_view line) {
  return !line.empty() && line.back() == '\\' && line.front() != ';' && line.front() != '[';
}

// The text as UTF-8: UTF-16LE (told by its byte-order mark) converted, a UTF-8
// byte-order mark dropped.
std::string AsUtf8(std::string_view text) {
  if (text.substr(0, 2) == "\xFF\xFE") {
    std::u16string units((text.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(static_cast<uint8_t>(text[2 + 2 * i]) |
                                       static_cast<uint8_t>(text[3 + 2 * i]) << 8);
    }
    return Utf16ToUtf8(units);
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return std::string(text);
}

// The physical line at the start of text, taken off it with its end (CR LF, LF or CR).
std::string_view TakePhysicalLine(std::string_view& text) {
  size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) end = text.size();
  std::string_view line = text.substr(0, end);
  if (text.substr(end, 2) == "\r\n") ++end;
  text.remove_prefix(std::min(end + 1, text.size()));
  return line;
}

// Splits the text into trimmed lines with continued lines joined.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  bool continuing = false;
  int number = 0;
  while (!text.empty()) {
    std::string_view physical = TakePhysicalLine(text);
    ++number;
    std::string_view trimmed = Trim(physical);
    if (continuing) {
      lines.back().text += trimmed;
      lines.back().raw += '\n';
      lines.back().raw += physical;
    } else {
      lines.push_back({std::string(trimmed), std::string(physical), number});
    }
    // Only a physical line that ends in a backslash continues: a blank one joined to a
    // line leaves the backslash before it, which must not go on continuing.
    continuing = !trimmed.empty() && trimmed.back() == '\\' && Continues(lines.back().text);
    if (continuing) lines.back().text.pop_back();
  }
  return lines;
}

// Reads a quoted string at text[pos] (on the opening quote), undoing the \\ and \"
// escapes; any other backslash stands for itself. Leaves pos after the closing quote.
bool ParseQuoted(std::string_view text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
      c = text[++pos];
    }
    out += c;
  }
  return false;
}

bool ParseHexBytes(std::string_view list, std::vector<uint8_t>& data) {
  list = Trim(list);
  while (!list.empty()) {
    size_t comma = list.find(',');
    std::string_view token = Trim(list.substr(0, comma));
    uint32_t byte;
    if (!ParseHexNumber(token, 2, byte)) return false;
    data.push_back(static_cast<uint8_t>(byte));
    if (comma == std::string_view::npos) break;
    list = Trim(list.substr(comma + 1));  // a final comma is tolerated
  }
  return true;
}

bool ParseData(std::string_view text, DWORD& type, std::vector<uint8_t>& data) {
  if (!text.empty() && text.front() == '"') {
    size_t pos = 0;
    std::string utf8;
    if (!ParseQuoted(text, pos, utf8) || !Trim(text.substr(pos)).empty()) return false;
    type = REG_SZ;
    data = Utf16Bytes(Utf8ToUtf16(utf8));
    data.insert(data.end(), {0, 0});
    return true;
  }
  if (StartsWithNoCase(text, "dword:")) {
    uint32_t number;
    if (!ParseHexNumber(text.substr(6), 8, number)) return false;
    type = REG_DWORD;
    data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
            static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
    return true;
  }
  if (StartsWithNoCase(text, "hex:")) {
    type = REG_BINARY;
    return ParseHexBytes(text.substr(4), data);
  }
  if (StartsWithNoCase(text, "hex(")) {
    size_t close = text.find("):");
    uint32_t number;
    if (close == std::string_view::npos || !ParseHexNumber(text.substr(4, close - 4), 8, number)) {
      return false;
    }
    type = number;
    return ParseHexBytes(text.substr(close + 2), data);
  }
  return false;
}

bool ParseValueLine(std::string_view line, Key& key) {
  size_t pos = 0;
  std::string name;
  if (line.front() == '@') {
    pos = 1;
  } else if (!ParseQuoted(line, pos, name)) {
    return false;
  }
  std::string_view rest = Trim(line.substr(pos));
  if (rest.empty() || rest.front() != '=') return false;
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!ParseData(Trim(rest.substr(1)), type, data)) return false;
  key.SetValue(Utf8ToUtf16(name), type, std::move(data));
  return true;
}

// The key a [HIVE\path] line names, or null when the line names none or one deeper
// than kMaxKeyDepth.
Key* ParseKeyLine(std::string_view line, Key& root) {
  if (line.size() < 2 || line.back() != ']') return nullptr;
  std::string_view inner = line.substr(1, line.size() - 2);
  if (!StartsWithNoCase(inner, "HKEY_")) return nullptr;
  KeyPath path;
  while (!inner.empty()) {
    size_t slash = inner.find('\\');
    std::string_view name = inner.substr(0, slash);
    if (!name.empty()) path.push_back(Utf8ToUtf16(name));
    if (path.size() > kMaxKeyDepth) return nullptr;
    inner.remove_prefix(slash == std::string_view::npos ? inner.size() : slash + 1);
  }
  Key& key = MakeKey(root, path);
  key.listed = true;
  return &key;
}

// ---- Writing --------------------------------------------------------------------------

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char c : Utf16ToUtf8(text)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// The text of a REG_SZ value that the quoted form gives back exactly: one final
// terminator, no other zero unit, no line breaks, no unpaired surrogate.
bool AsQuotableText(const Value& value, std::u16string& text) {
  const std::vector<uint8_t>& data = value.data;
  if (value.type != REG_SZ || data.size() < 2 || data.size() % 2 != 0) return false;
  for (size_t i = 0; i + 2 < data.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0 || unit == u'\r' || unit == u'\n') return false;
    text += unit;
  }
  return data[data.size() - 2] == 0 && data.back() == 0 && IsWellFormedUtf16(text);
}

void AppendHex(std::string& out, std::string line, const std::vector<uint8_t>& data) {
  for (size_t i = 0; i < data.size(); ++i) {
    char byte[3];
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    line += byte;
    if (i + 1 == data.size()) break;
    line += ',';
    if (line.size() > kHexLineWidth) {
      out += line + "\\\n";
      line = "  ";
    }
  }
  out += line + '\n';
}

void AppendValue(std::string& out, const Value& value) {
  std::string name = value.name.empty() ? "@" : '"' + Escaped(value.name) + '"';
  std::u16string text;
  if (AsQuotableText(value, text)) {
    out += name + "=\"" + Escaped(text) + "\"\n";
  } else if (value.type == REG_DWORD && value.data.size() == 4) {
    char number[16];
    uint32_t dword = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                     (static_cast<uint32_t>(value.data[3]) << 24);
    std::snprintf(number, sizeof number, "%08x", dword);
    out += name + "=dword:" + number + '\n';
  } else if (value.type == REG_BINARY) {
    AppendHex(out, name + "=hex:", value.data);
  } else {
    char type[16];
    std::snprintf(type, sizeof type, "%x", value.type);
    AppendHex(out, name + "=hex(" + type + "):", value.data);
  }
}

// Lines kept verbatim, then a blank line, which also ends a continuation the last of
// them may leave open.
void AppendKeptLines(std::string& out, const Key& key) {
  if (key.keptLines.empty()) return;
  for (const std::string& line : key.keptLines) {
    out += line + '\n';
    // A kept line ending in a backslash was ended by a blank line (its trailing blanks
    // are not kept): one ends it again, so that it does not take the next line in.
    if (!line.empty() && line.back() == '\\') out += '\n';
  }
  out += '\n';
}

void AppendSection(std::string& out, const Key& key, const std::string& path) {
  if (!key.listed && key.values.empty() && key.keptLines.empty()) return;
  out += '[' + path + "]\n";
  for (const Value& value : key.values) AppendValue(out, value);
  if (key.keptLines.empty()) out += '\n';
  AppendKeptLines(out, key);
}

// The sections of the hive and every key below it, parents first, walked with a stack
// of its own so that no depth of keys can exhaust the call stack.
void AppendHive(std::string& out, const Key& hive) {
  struct Level {
    const Key* key;
    size_t nextChild;
    size_t pathLength;  // of the key's path, where its children's names go on
  };
  std::string path = Utf16ToUtf8(hive.name);
  AppendSection(out, hive, path);
  std::vector<Level> stack{{&hive, 0, path.size()}};
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.nextChild == level.key->children.size()) {
      stack.pop_back();
      continue;
    }
    const Key& child = *level.key->children[level.nextChild++];
    path.resize(level.pathLength);
    path += '\\' + Utf16ToUtf8(child.name);
    AppendSection(out, child, path);
    stack.push_back({&child, 0, path.size()});
  }
}

}  // namespace

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

Key* Key::FindChild(std::u16string_view childName) const {
  auto found = childAt_.find(Folded(childName));
  return found == childAt_.end() ? nullptr : children[found->second].get();
}

// An entry and its index change together: an allocation that fails while either grows
// leaves neither changed, so the index never names a position that holds nothing.
Key& Key::Child(std::u16string_view childName) {
  std::u16string folded = Folded(childName);
  if (auto found = childAt_.find(folded); found != childAt_.end()) return *children[found->second];
  auto child = std::make_unique<Key>();
  child->name = childName;
  children.push_back(std::move(child));
  try {
    childAt_.emplace(std::move(folded), children.size() - 1);
  } catch (const std::bad_alloc&) {
    children.pop_back();
    throw;
  }
  return *children.back();
}

const Value* Key::FindValue(std::u16string_view valueName) const {
  auto found = valueAt_.find(Folded(valueName));
  return found == valueAt_.end() ? nullptr : &values[found->second];
}

void Key::SetValue(std::u16string_view valueName, DWORD type, std::vector<uint8_t> data) {
  std::u16string folded = Folded(valueName);
  if (auto found = valueAt_.find(folded); found != valueAt_.end()) {
    values[found->second].type = type;
    values[found->second].data = std::move(data);
    return;
  }
  values.push_back({std::u16string(valueName), type, std::move(data)});
  try {
    valueAt_.emplace(std::move(folded), values.size() - 1);
  } catch (const std::bad_alloc&) {
    values.pop_back();
    throw;
  }
}

Key* FindKey(const Key& root, const KeyPath& path) {
  const Key* key = &root;
  for (const std::u16string& name : path) {
    key = key->FindChild(name);
    if (key == nullptr) return nullptr;
  }
  return const_cast<Key*>(key);
}

Key& MakeKey(Key& root, const KeyPath& path) {
  Key* key = &root;
  for (const std::u16string& name : path) key = &key->Child(name);
  return *key;
}

ParseReport ParseRegText(std::string_view text, Key& root) {
  ParseReport report;
  Key* current = nullptr;  // the key whose values the lines give, if any
  Key* section = &root;    // where the lines that cannot be read are kept
  for (const Line& line : SplitLines(AsUtf8(text))) {
    std::string_view content = line.text;
    if (content.empty() || content == kHeader) continue;
    bool good = content.front() == ';';
    if (content.front() == '[') {
      current = ParseKeyLine(content, root);
      good = current != nullptr;
      if (good) section = current;
    } else if (content.front() == '"' || content.front() == '@') {
      good = current != nullptr && ParseValueLine(content, *current);
    }
    if (good && content.front() != ';') continue;
    section->keptLines.push_back(WithoutTrailingBlanks(line.raw));
    if (!good && report.badLines++ == 0) report.firstBadLine = line.number;
  }
  return report;
}

std::string FormatRegText(const Key& root) {
  std::string out = std::string(kHeader) + "\n\n";
  AppendKeptLines(out, root);
  for (const auto& hive : root.children) AppendHive(out, *hive);
  return out;
}

}  // namespace kernel::registry
