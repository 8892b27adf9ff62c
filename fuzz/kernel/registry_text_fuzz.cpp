// Any bytes as a settings file: parsing keeps what it can read, and the text it formats
// from that reads back to the same tree (formatting it again gives the same text).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kernel/registry_tree.h"

using kernel::registry::FormatRegText;
using kernel::registry::Key;
using kernel::registry::ParseRegText;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Key first;
  ParseRegText(text, first);
  std::string formatted = FormatRegText(first);
  Key second;
  ParseRegText(formatted, second);
  if (FormatRegText(second) != formatted) std::abort();
  return 0;
}
