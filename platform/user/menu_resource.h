// Reading MENU resources in the standard binary form into a plain tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace user::menu {

struct ItemDescription {
  uint16_t flags = 0;  // MF_* option bits as stored (grayed, checked, popup, ...)
  uint16_t id = 0;     // command id; 0 for a popup
  std::u16string text;
  bool separator = false;
  std::vector<ItemDescription> children;  // a popup's items
};

// The top-level items of the menu in bytes[0, size), or nothing when the bytes end
// before the last item, the header is not the standard form, or popups nest deeper
// than any real menu does.
std::optional<std::vector<ItemDescription>> ParseMenuResource(const uint8_t* bytes, size_t size);

}  // namespace user::menu
