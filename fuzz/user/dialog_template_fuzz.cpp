// Any bytes as a dialog template, classic or extended: the reader stays inside the bytes
// (the sanitizer checks every read, on a copy of exactly that size), refuses with a
// reason or gives a description consistent with what it read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "user/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  // Names of one letter stand for registered classes.
  auto known = [](const std::u16string& name) { return name.size() == 1; };
  user::dlg::ParseResult result = user::dlg::ParseDialogTemplate(bytes.data(), bytes.size(), known);
  if (!result.dialog) {
    if (result.error == user::dlg::ParseError::None) std::abort();
    return 0;
  }
  // Each item takes at least 18 bytes: more items than that cannot have been read.
  if (result.dialog->items.size() * 18 > size) std::abort();
  for (const auto& item : result.dialog->items)
    if (item.className.empty()) std::abort();
  return 0;
}
