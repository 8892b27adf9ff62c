// Reading dialog templates: the classic DLGTEMPLATE and the extended form, as resource
// compilers write them, into a plain description. Every read is checked against the
// bytes the caller has; a template that does not fit them is refused as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace user::dlg {

// A name-or-ordinal field: none, a 16-bit ordinal, or a string.
struct NameOrOrdinal {
  enum class Kind { None, Ordinal, Text } kind = Kind::None;
  uint16_t ordinal = 0;
  std::u16string text;

  bool isNone() const { return kind == Kind::None; }
  bool isOrdinal() const { return kind == Kind::Ordinal; }
};

// The built-in control classes a template names by ordinal or by name.
enum class ControlClass { Button, Edit, Static, ListBox, ScrollBar, ComboBox, Other };

struct DialogItem {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  uint32_t id = 0;                       // 16 bits in the classic form
  ControlClass controlClass = ControlClass::Other;
  std::u16string className;              // the registered class name to create
  NameOrOrdinal title;
};

struct DialogDescription {
  bool extended = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string title;
  bool hasFont = false;
  uint16_t pointSize = 0;
  uint16_t weight = 0;
  bool italic = false;
  uint8_t charSet = 0;
  std::u16string faceName;
  std::vector<DialogItem> items;
};

enum class ParseError {
  None,
  Truncated,        // the bytes end inside the header or an item (or too few items)
  UnknownClass,     // an item names a class by an ordinal or a name this system lacks
};

struct ParseResult {
  std::optional<DialogDescription> dialog;
  ParseError error = ParseError::None;
};

// The class a name or ordinal stands for; Other for a name that is not built in.
ControlClass ClassFromOrdinal(uint16_t ordinal);  // Other for an unknown ordinal
ControlClass ClassFromName(const std::u16string& name);
const char16_t* ClassName(ControlClass c);

// Reads the template in bytes[0, size). isKnownClass decides on names that are not
// built in (registered window classes); without it such names are refused.
ParseResult ParseDialogTemplate(const uint8_t* bytes, size_t size,
                                bool (*isKnownClass)(const std::u16string&) = nullptr);

}  // namespace user::dlg
