#include "user/menu_resource.h"

namespace user::menu {
namespace {

constexpr uint16_t kPopup = 0x0010;  // MF_POPUP
constexpr uint16_t kEnd = 0x0080;    // MF_END: the last item of its level
constexpr int kMaxDepth = 16;

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
  bool ok() const { return ok_; }
  bool atEnd() const { return pos_ >= size_; }
  uint16_t word() {
    if (!ok_ || size_ - pos_ < 2) {
      ok_ = false;
      return 0;
    }
    uint16_t v = uint16_t(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::u16string string() {
    std::u16string s;
    for (uint16_t u = word(); ok_ && u != 0; u = word()) s.push_back(char16_t(u));
    return s;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

bool ReadLevel(Reader& r, int depth, std::vector<ItemDescription>& out) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    ItemDescription item;
    item.flags = r.word();
    bool popup = item.flags & kPopup;
    if (!popup) item.id = r.word();
    item.text = r.string();
    if (!r.ok()) return false;
    if (popup) {
      if (!ReadLevel(r, depth + 1, item.children)) return false;
    } else {
      // A separator is stored as an item without flags, id or text.
      item.separator = (item.flags & ~kEnd) == 0 && item.id == 0 && item.text.empty();
    }
    bool last = item.flags & kEnd;
    item.flags &= uint16_t(~kEnd);
    out.push_back(std::move(item));
    if (last) return true;
  }
}

}  // namespace

std::optional<std::vector<ItemDescription>> ParseMenuResource(const uint8_t* bytes, size_t size) {
  if (!bytes) return std::nullopt;
  Reader r(bytes, size);
  uint16_t version = r.word();
  uint16_t headerSize = r.word();
  if (!r.ok() || version != 0 || headerSize != 0) return std::nullopt;
  std::vector<ItemDescription> items;
  if (r.atEnd()) return items;  // a menu without items
  if (!ReadLevel(r, 0, items)) return std::nullopt;
  return items;
}

}  // namespace user::menu
