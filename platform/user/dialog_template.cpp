#include "user/dialog_template.h"

namespace user::dlg {
namespace {

// A cursor over the template's bytes that never reads past its end.
class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool ok() const { return ok_; }

  uint16_t word() {
    if (!need(2)) return 0;
    uint16_t v = uint16_t(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  uint32_t dword() {
    uint32_t lo = word();
    uint32_t hi = word();
    return lo | (hi << 16);
  }
  int16_t shortValue() { return int16_t(word()); }
  uint8_t byte() {
    if (!need(1)) return 0;
    return bytes_[pos_++];
  }
  std::u16string string() {
    std::u16string s;
    for (;;) {
      uint16_t u = word();
      if (!ok_ || u == 0) return s;
      s.push_back(char16_t(u));
    }
  }
  NameOrOrdinal nameOrOrdinal() {
    NameOrOrdinal n;
    if (!need(2)) return n;
    uint16_t first = uint16_t(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    if (first == 0x0000) {
      pos_ += 2;
    } else if (first == 0xFFFF) {
      pos_ += 2;
      n.kind = NameOrOrdinal::Kind::Ordinal;
      n.ordinal = word();
    } else {
      n.kind = NameOrOrdinal::Kind::Text;
      n.text = string();
    }
    return n;
  }
  void skip(size_t n) {
    if (need(n)) pos_ += n;
  }
  // Items start on a 4-byte boundary of the template.
  void alignDword() {
    size_t aligned = (pos_ + 3) & ~size_t(3);
    if (aligned > size_) {
      // Padding after the last item may be missing; only a further read fails.
      pos_ = size_;
      return;
    }
    pos_ = aligned;
  }

 private:
  bool need(size_t n) {
    if (!ok_ || size_ - pos_ < n) {
      ok_ = false;
      return false;
    }
    return true;
  }

  const uint8_t* bytes_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

constexpr uint32_t kSetFont = 0x40;     // DS_SETFONT
constexpr uint32_t kShellFont = 0x48;   // DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool EqualNoCase(const std::u16string& a, const char16_t* b) {
  size_t n = std::char_traits<char16_t>::length(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The place in dialog units, as the dialog and each item give it: x, y, width, height.
template <typename Placed>
void ReadPlace(Reader& r, Placed& placed) {
  placed.x = r.shortValue();
  placed.y = r.shortValue();
  placed.cx = r.shortValue();
  placed.cy = r.shortValue();
}

bool ReadItem(Reader& r, bool extended, DialogItem& item) {
  r.alignDword();
  if (extended) {
    r.dword();  // help id
    item.exStyle = r.dword();
    item.style = r.dword();
  } else {
    item.style = r.dword();
    item.exStyle = r.dword();
  }
  ReadPlace(r, item);
  item.id = extended ? r.dword() : r.word();
  NameOrOrdinal cls = r.nameOrOrdinal();
  item.title = r.nameOrOrdinal();
  uint16_t extra = r.word();
  r.skip(extra);  // creation data, not used by the built-in controls
  if (!r.ok()) return false;
  if (cls.isOrdinal()) {
    item.controlClass = ClassFromOrdinal(cls.ordinal);
    if (item.controlClass == ControlClass::Other) return false;
    item.className = ClassName(item.controlClass);
  } else if (cls.kind == NameOrOrdinal::Kind::Text) {
    item.controlClass = ClassFromName(cls.text);
    item.className = item.controlClass == ControlClass::Other ? cls.text
                                                              : ClassName(item.controlClass);
  } else {
    return false;  // an item without a class
  }
  return true;
}

}  // namespace

ControlClass ClassFromOrdinal(uint16_t ordinal) {
  switch (ordinal) {
    case 0x0080: return ControlClass::Button;
    case 0x0081: return ControlClass::Edit;
    case 0x0082: return ControlClass::Static;
    case 0x0083: return ControlClass::ListBox;
    case 0x0084: return ControlClass::ScrollBar;
    case 0x0085: return ControlClass::ComboBox;
    default: return ControlClass::Other;
  }
}

ControlClass ClassFromName(const std::u16string& name) {
  for (ControlClass c : {ControlClass::Button, ControlClass::Edit, ControlClass::Static,
                         ControlClass::ListBox, ControlClass::ScrollBar, ControlClass::ComboBox})
    if (EqualNoCase(name, ClassName(c))) return c;
  return ControlClass::Other;
}

const char16_t* ClassName(ControlClass c) {
  switch (c) {
    case ControlClass::Button: return u"Button";
    case ControlClass::Edit: return u"Edit";
    case ControlClass::Static: return u"Static";
    case ControlClass::ListBox: return u"ListBox";
    case ControlClass::ScrollBar: return u"ScrollBar";
    case ControlClass::ComboBox: return u"ComboBox";
    case ControlClass::Other: break;
  }
  return u"";
}

ParseResult ParseDialogTemplate(const uint8_t* bytes, size_t size,
                                bool (*isKnownClass)(const std::u16string&)) {
  ParseResult result;
  if (!bytes) {
    result.error = ParseError::Truncated;
    return result;
  }
  Reader r(bytes, size);
  DialogDescription d;
  uint16_t first = r.word();
  uint16_t second = r.word();
  d.extended = first == 1 && second == 0xFFFF;
  if (d.extended) {
    r.dword();  // help id
    d.exStyle = r.dword();
    d.style = r.dword();
  } else {
    d.style = uint32_t(first) | (uint32_t(second) << 16);
    d.exStyle = r.dword();
  }
  uint16_t count = r.word();
  ReadPlace(r, d);
  d.menu = r.nameOrOrdinal();
  d.windowClass = r.nameOrOrdinal();
  d.title = r.string();
  if ((d.style & kSetFont) || (d.extended && (d.style & kShellFont) == kShellFont)) {
    d.hasFont = true;
    d.pointSize = r.word();
    if (d.extended) {
      d.weight = r.word();
      d.italic = r.byte() != 0;
      d.charSet = r.byte();
    }
    d.faceName = r.string();
  }
  if (!r.ok()) {
    result.error = ParseError::Truncated;
    return result;
  }
  for (uint16_t i = 0; i < count; ++i) {
    DialogItem item;
    if (!ReadItem(r, d.extended, item)) {
      result.error = r.ok() ? ParseError::UnknownClass : ParseError::Truncated;
      return result;
    }
    if (item.controlClass == ControlClass::Other && !(isKnownClass && isKnownClass(item.className))) {
      result.error = ParseError::UnknownClass;
      return result;
    }
    d.items.push_back(std::move(item));
  }
  result.dialog = std::move(d);
  return result;
}

}  // namespace user::dlg
