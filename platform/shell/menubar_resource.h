// The menu bar's tool-bar resource (RCDATA): the menu holding the popups, then one
// record of seven 16-bit words per button.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace shell {

struct MenuBarButtonRecord {
  int image = 0;  // -2 (0xFFFE): no image
  int command = 0;
  uint8_t state = 0;
  uint8_t style = 0;
  int captionId = 0;   // string resource with the caption; 0: none
  int popupIndex = 0;  // which popup of the menu the button opens
};

struct MenuBarRecord {
  int menuId = 0;
  std::vector<MenuBarButtonRecord> buttons;
};

// Little-endian words: menu id, button count, then per button image, command, state,
// style, caption string id, 0, popup index. Null when the data is shorter than that.
std::optional<MenuBarRecord> ParseMenuBarResource(const uint8_t* data, size_t size);

}  // namespace shell
