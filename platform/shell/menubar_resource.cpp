#include "shell/menubar_resource.h"

namespace shell {
namespace {

constexpr size_t kWordsPerButton = 7;

uint16_t WordAt(const uint8_t* data, size_t index) {
  return uint16_t(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

std::optional<MenuBarRecord> ParseMenuBarResource(const uint8_t* data, size_t size) {
  if (!data || size < 4) return {};
  MenuBarRecord record;
  record.menuId = WordAt(data, 0);
  size_t count = WordAt(data, 1);
  if (size / 2 < 2 + count * kWordsPerButton) return {};
  for (size_t i = 0; i < count; ++i) {
    size_t w = 2 + i * kWordsPerButton;
    MenuBarButtonRecord button;
    button.image = int16_t(WordAt(data, w));
    button.command = WordAt(data, w + 1);
    button.state = uint8_t(WordAt(data, w + 2));
    button.style = uint8_t(WordAt(data, w + 3));
    button.captionId = WordAt(data, w + 4);
    button.popupIndex = WordAt(data, w + 6);
    record.buttons.push_back(button);
  }
  return record;
}

}  // namespace shell
