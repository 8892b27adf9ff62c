// Any bytes as a menu resource: the reader stays inside the bytes and gives no more
// items than they can hold.
#include <cstdint>
#include <cstdlib>
#include <vector>

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
  auto menu = user::menu::ParseMenuResource(bytes.data(), bytes.size());
  // Each item takes at least 4 bytes after the 4-byte header.
  if (menu && CountItems(*menu) * 4 + 4 > size && !(menu->empty() && size == 4)) std::abort();
  return 0;
}
