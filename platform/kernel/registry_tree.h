// The registry in memory: a tree of keys with named, typed values, and its text form,
// the .reg file:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Norvane]
//   "Name"="text"                 REG_SZ; \\ and \" escaped
//   "Size"=dword:0000000c         REG_DWORD
//   "Data"=hex:0c,00,03,00        REG_BINARY; a line ending in a backslash goes on
//   "Path"=hex(2):41,00,00,00     any other type, by number
//   @="default value"
//
// Key and value names compare without regard to ASCII letter case and keep the case
// they were first written with; look-ups are hashed, so a file reads in linear time.
// The top level of the tree holds the hives (HKEY_CURRENT_USER and whatever else a file
// names, kept as read). Keys nest at most kMaxKeyDepth deep, hive included.
//
// A file may also be UTF-16LE with its byte-order mark, and its lines may end in CR LF,
// LF or CR alone. Lines the reader cannot read, and comments, are kept verbatim with
// the section they stand in (or before the first one) and written back after its
// values, so nothing a person wrote is lost when the file is rewritten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/kernel.h"

namespace kernel::registry {

using KeyPath = std::vector<std::u16string>;  // hive first, then each key name

constexpr size_t kMaxKeyDepth = 512;

bool SameName(std::u16string_view a, std::u16string_view b);

struct Value {
  std::u16string name;  // empty: the key's default value
  DWORD type = 0;
  std::vector<uint8_t> data;
};

// values and children keep the order they were added in; they change only through
// Child and SetValue, which keep the indexes by name.
struct Key {
  std::u16string name;
  bool listed = false;  // has a section of its own in the file, even with no values
  std::vector<Value> values;
  std::vector<std::unique_ptr<Key>> children;
  std::vector<std::string> keptLines;  // of its section, verbatim, in file order

  Key* FindChild(std::u16string_view childName) const;
  Key& Child(std::u16string_view childName);  // found or added
  const Value* FindValue(std::u16string_view valueName) const;
  // Replaces the data and type of a value, or adds it; an existing name keeps its case.
  void SetValue(std::u16string_view valueName, DWORD type, std::vector<uint8_t> data);

 private:
  // Positions in values and children by case-folded name.
  std::unordered_map<std::u16string, size_t> valueAt_;
  std::unordered_map<std::u16string, size_t> childAt_;
};

// The key at path below root, or null.
Key* FindKey(const Key& root, const KeyPath& path);
// The key at path below root, with every missing key on the way added.
Key& MakeKey(Key& root, const KeyPath& path);

struct ParseReport {
  int badLines = 0;
  int firstBadLine = 0;  // 1-based; 0 when there is none
};

// Adds the keys and values of a .reg text to root. Lines that cannot be read are
// counted and kept verbatim; a key line deeper than kMaxKeyDepth is one of them.
ParseReport ParseRegText(std::string_view text, Key& root);
// The .reg text (UTF-8, LF line ends) of everything below root, kept lines included.
std::string FormatRegText(const Key& root);

}  // namespace kernel::registry
