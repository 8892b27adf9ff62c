// Formatted output into UTF-16 buffers: %d %i %u %x %X %c %s %% with the flags
// "-+ 0#", a width and a precision (numbers or *), and the size prefixes h, hh, l, ll.
// As on the handheld, int and long are 32 bits: l reads a 32-bit argument.
// The caller's buffer must be large enough, as with the handheld's functions.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/kernel.h"
#include "kernel/out_of_memory.h"

namespace {

struct Field {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool zero = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;  // -1: none given
  int size = 0;        // -2 hh, -1 h, 0 default, 1 ll
  WCHAR conversion = 0;
};

// Widths and precisions beyond this are taken as this, so no format can ask for more
// text than a buffer could hold.
constexpr int kLargestField = 0xFFFF;

bool IsDigit(WCHAR unit) { return unit >= u'0' && unit <= u'9'; }

int ReadNumber(const WCHAR*& p) {
  int value = 0;
  while (IsDigit(*p)) value = std::min(value * 10 + (*p++ - u'0'), kLargestField);
  return value;
}

// A width or precision given as an argument (*), limited like written ones.
int ReadStarArgument(va_list& args) {
  int value = va_arg(args, int);
  return std::clamp(value, -kLargestField, kLargestField);
}

// Reads flags, width, precision and size at p (just after '%'), leaving p on the
// conversion unit.
Field ReadField(const WCHAR*& p, va_list& args) {
  Field field;
  for (;; ++p) {
    if (*p == u'-') field.left = true;
    else if (*p == u'+') field.plus = true;
    else if (*p == u' ') field.space = true;
    else if (*p == u'0') field.zero = true;
    else if (*p == u'#') field.alternate = true;
    else break;
  }
  if (*p == u'*') {
    field.width = ReadStarArgument(args);
    if (field.width < 0) field.left = true, field.width = -field.width;
    ++p;
  } else {
    field.width = ReadNumber(p);
  }
  if (*p == u'.') {
    ++p;
    if (*p == u'*') {
      field.precision = ReadStarArgument(args);
      if (field.precision < 0) field.precision = -1;
      ++p;
    } else {
      field.precision = ReadNumber(p);
    }
  }
  if (*p == u'h') {
    field.size = (p[1] == u'h') ? -2 : -1;
    p += (p[1] == u'h') ? 2 : 1;
  } else if (*p == u'l') {
    field.size = (p[1] == u'l') ? 1 : 0;
    p += (p[1] == u'l') ? 2 : 1;
  }
  field.conversion = *p;
  return field;
}

void Pad(std::u16string& out, int count, WCHAR fill) {
  if (count > 0) out.append(static_cast<size_t>(count), fill);
}

// Places body within the field width: prefix (sign or 0x) first, then zeros or spaces.
void EmitField(std::u16string& out, const Field& field, std::u16string_view prefix,
               std::u16string_view body, bool zeroPadAllowed) {
  int padding = field.width - static_cast<int>(prefix.size() + body.size());
  if (field.left) {
    out.append(prefix).append(body);
    Pad(out, padding, u' ');
  } else if (field.zero && zeroPadAllowed) {
    out.append(prefix);
    Pad(out, padding, u'0');
    out.append(body);
  } else {
    Pad(out, padding, u' ');
    out.append(prefix).append(body);
  }
}

unsigned long long ReadUnsigned(const Field& field, va_list& args) {
  if (field.size == 1) return va_arg(args, unsigned long long);
  unsigned value = va_arg(args, unsigned);
  if (field.size == -1) return static_cast<unsigned short>(value);
  if (field.size == -2) return static_cast<unsigned char>(value);
  return value;
}

long long ReadSigned(const Field& field, va_list& args) {
  if (field.size == 1) return va_arg(args, long long);
  int value = va_arg(args, int);
  if (field.size == -1) return static_cast<short>(value);
  if (field.size == -2) return static_cast<signed char>(value);
  return value;
}

std::u16string Digits(unsigned long long value, unsigned base, bool upper, int precision) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string reversed;
  while (value != 0) {
    reversed += static_cast<WCHAR>(digits[value % base]);
    value /= base;
  }
  // With no precision a zero still shows one digit; precision 0 shows none.
  size_t minimum = precision < 0 ? 1 : static_cast<size_t>(precision);
  while (reversed.size() < minimum) reversed += u'0';
  return std::u16string(reversed.rbegin(), reversed.rend());
}

void FormatInteger(std::u16string& out, const Field& field, va_list& args) {
  std::u16string prefix;
  unsigned long long magnitude;
  unsigned base = 10;
  bool upper = field.conversion == u'X';
  if (field.conversion == u'd' || field.conversion == u'i') {
    long long value = ReadSigned(field, args);
    magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                          : static_cast<unsigned long long>(value);
    if (value < 0) prefix = u"-";
    else if (field.plus) prefix = u"+";
    else if (field.space) prefix = u" ";
  } else {
    magnitude = ReadUnsigned(field, args);
    if (field.conversion != u'u') base = 16;
    if (base == 16 && field.alternate && magnitude != 0) prefix = upper ? u"0X" : u"0x";
  }
  EmitField(out, field, prefix, Digits(magnitude, base, upper, field.precision),
            field.precision < 0);
}

void FormatString(std::u16string& out, const Field& field, va_list& args) {
  const WCHAR* text = va_arg(args, const WCHAR*);
  if (text == nullptr) text = u"(null)";
  size_t length = 0;
  while (text[length] && (field.precision < 0 || length < static_cast<size_t>(field.precision))) {
    ++length;
  }
  EmitField(out, field, u"", std::u16string_view(text, length), false);
}

void FormatOne(std::u16string& out, const Field& field, const WCHAR* fieldStart,
               const WCHAR* fieldEnd, va_list& args) {
  switch (field.conversion) {
    case u'd': case u'i': case u'u': case u'x': case u'X':
      FormatInteger(out, field, args);
      break;
    case u'c': {
      WCHAR unit = static_cast<WCHAR>(va_arg(args, int));
      EmitField(out, field, u"", std::u16string_view(&unit, 1), false);
      break;
    }
    case u's':
      FormatString(out, field, args);
      break;
    case u'%':
      out += u'%';
      break;
    default:  // not a conversion we know: shown as written
      out.append(fieldStart, fieldEnd);
  }
}

}  // namespace

int vswprintf(WCHAR* buffer, const WCHAR* format, va_list args) try {
  std::u16string out;
  va_list cursor;
  va_copy(cursor, args);
  for (const WCHAR* p = format; *p; ++p) {
    if (*p != u'%') {
      out += *p;
      continue;
    }
    const WCHAR* fieldStart = p++;
    Field field = ReadField(p, cursor);
    if (field.conversion == 0) {  // a '%' at the very end
      out.append(fieldStart, p);
      break;
    }
    FormatOne(out, field, fieldStart, p + 1, cursor);
  }
  va_end(cursor);
  std::memcpy(buffer, out.c_str(), (out.size() + 1) * sizeof(WCHAR));
  return static_cast<int>(out.size());
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}

int swprintf(WCHAR* buffer, const WCHAR* format, ...) try {
  va_list args;
  va_start(args, format);
  int written = vswprintf(buffer, format, args);
  va_end(args);
  return written;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}

int wsprintfW(WCHAR* buffer, const WCHAR* format, ...) try {
  va_list args;
  va_start(args, format);
  int written = vswprintf(buffer, format, args);
  va_end(args);
  return written;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}
