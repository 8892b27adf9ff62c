// Any bytes as a dialog template and as a menu resource: the readers stay inside the
// bytes (the sanitizer checks every read, on a copy of exactly that size) and what they
// accept is consistent with what they read.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "user/dialog_template.h"
#include "user/menu_resource.h"

namespace {

size_t CountItems(const std::vector<user::menu::ItemDescription>& items) {
  size_t n = items.size();
  for (const auto& item : items) n += CountItems(item.children);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  auto accept = [](const std::u16string& name) { return name.size() == 1; };
  user::dlg::ParseResult dialog = user::dlg::ParseDialogTemplate(bytes.data(), bytes.size(), accept);
  if (dialog.dialog) {
    // Each item takes at least 18 bytes: more items than that cannot have been read.
    if (dialog.dialog->items.size() * 18 > size) std::abort();
    for (const auto& item : dialog.dialog->items)
      if (item.className.empty()) std::abort();
  } else if (dialog.error == user::dlg::ParseError::None) {
    std::abort();
  }
  auto menu = user::menu::ParseMenuResource(bytes.data(), bytes.size());
  // Each item takes at least 4 bytes after the 4-byte header.
  if (menu && CountItems(*menu) * 4 + 4 > size && !(menu->empty() && size == 4)) std::abort();
  return 0;
}
