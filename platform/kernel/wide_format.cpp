// Formatted output into UTF-16 buffers: %d %i %u %x %X %c %s %% with the flags
// "-+ 0#", a width and a precision (numbers or *), and the size prefixes h, hh, l, ll.
// As on the handheld, int and long are 32 bits: l reads a 32-bit argument.
// The caller's buffer must be large enough, as with the handheld's functions.
#include <cstring>
#include <string>

#include "platform/kernel.h"

namespace {

struct Spec {
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

bool IsDigit(WCHAR unit) { return unit >= u'0' && unit <= u'9'; }

int ReadNumber(const WCHAR*& p) {
  int value = 0;
  while (IsDigit(*p)) value = value * 10 + (*p++ - u'0');
  return value;
}

// Reads flags, width, precision and size at p (just after '%'), leaving p on the
// conversion unit.
Spec ReadSpec(const WCHAR*& p, va_list& args) {
  Spec spec;
  for (;; ++p) {
    if (*p == u'-') spec.left = true;
    else if (*p == u'+') spec.plus = true;
    else if (*p == u' ') spec.space = true;
    else if (*p == u'0') spec.zero = true;
    else if (*p == u'#') spec.alternate = true;
    else break;
  }
  if (*p == u'*') {
    spec.width = va_arg(args, int);
    if (spec.width < 0) spec.left = true, spec.width = -spec.width;
    ++p;
  } else {
    spec.width = ReadNumber(p);
  }
  if (*p == u'.') {
    ++p;
    if (*p == u'*') {
      spec.precision = va_arg(args, int);
      if (spec.precision < 0) spec.precision = -1;
      ++p;
    } else {
      spec.precision = ReadNumber(p);
    }
  }
  if (*p == u'h') {
    spec.size = (p[1] == u'h') ? -2 : -1;
    p += (p[1] == u'h') ? 2 : 1;
  } else if (*p == u'l') {
    spec.size = (p[1] == u'l') ? 1 : 0;
    p += (p[1] == u'l') ? 2 : 1;
  }
  spec.conversion = *p;
  return spec;
}

void Pad(std::u16string& out, int count, WCHAR fill) {
  if (count > 0) out.append(static_cast<size_t>(count), fill);
}

// Places body within the field width: prefix (sign or 0x) first, then zeros or spaces.
void EmitField(std::u16string& out, const Spec& spec, std::u16string_view prefix,
               std::u16string_view body, bool zeroPadAllowed) {
  int padding = spec.width - static_cast<int>(prefix.size() + body.size());
  if (spec.left) {
    out.append(prefix).append(body);
    Pad(out, padding, u' ');
  } else if (spec.zero && zeroPadAllowed) {
    out.append(prefix);
    Pad(out, padding, u'0');
    out.append(body);
  } else {
    Pad(out, padding, u' ');
    out.append(prefix).append(body);
  }
}

unsigned long long ReadUnsigned(const Spec& spec, va_list& args) {
  if (spec.size == 1) return va_arg(args, unsigned long long);
  unsigned value = va_arg(args, unsigned);
  if (spec.size == -1) return static_cast<unsigned short>(value);
  if (spec.size == -2) return static_cast<unsigned char>(value);
  return value;
}

long long ReadSigned(const Spec& spec, va_list& args) {
  if (spec.size == 1) return va_arg(args, long long);
  int value = va_arg(args, int);
  if (spec.size == -1) return static_cast<short>(value);
  if (spec.size == -2) return static_cast<signed char>(value);
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

void FormatInteger(std::u16string& out, const Spec& spec, va_list& args) {
  std::u16string prefix;
  unsigned long long magnitude;
  unsigned base = 10;
  bool upper = spec.conversion == u'X';
  if (spec.conversion == u'd' || spec.conversion == u'i') {
    long long value = ReadSigned(spec, args);
    magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                          : static_cast<unsigned long long>(value);
    if (value < 0) prefix = u"-";
    else if (spec.plus) prefix = u"+";
    else if (spec.space) prefix = u" ";
  } else {
    magnitude = ReadUnsigned(spec, args);
    if (spec.conversion != u'u') base = 16;
    if (base == 16 && spec.alternate && magnitude != 0) prefix = upper ? u"0X" : u"0x";
  }
  EmitField(out, spec, prefix, Digits(magnitude, base, upper, spec.precision),
            spec.precision < 0);
}

void FormatString(std::u16string& out, const Spec& spec, va_list& args) {
  const WCHAR* text = va_arg(args, const WCHAR*);
  if (text == nullptr) text = u"(null)";
  size_t length = 0;
  while (text[length] && (spec.precision < 0 || length < static_cast<size_t>(spec.precision))) {
    ++length;
  }
  EmitField(out, spec, u"", std::u16string_view(text, length), false);
}

void FormatOne(std::u16string& out, const Spec& spec, const WCHAR* specStart,
               const WCHAR* specEnd, va_list& args) {
  switch (spec.conversion) {
    case u'd': case u'i': case u'u': case u'x': case u'X':
      FormatInteger(out, spec, args);
      break;
    case u'c': {
      WCHAR unit = static_cast<WCHAR>(va_arg(args, int));
      EmitField(out, spec, u"", std::u16string_view(&unit, 1), false);
      break;
    }
    case u's':
      FormatString(out, spec, args);
      break;
    case u'%':
      out += u'%';
      break;
    default:  // not a conversion we know: shown as written
      out.append(specStart, specEnd);
  }
}

}  // namespace

int vswprintf(WCHAR* buffer, const WCHAR* format, va_list args) {
  std::u16string out;
  va_list cursor;
  va_copy(cursor, args);
  for (const WCHAR* p = format; *p; ++p) {
    if (*p != u'%') {
      out += *p;
      continue;
    }
    const WCHAR* specStart = p++;
    Spec spec = ReadSpec(p, cursor);
    if (spec.conversion == 0) {  // a '%' at the very end
      out.append(specStart, p);
      break;
    }
    FormatOne(out, spec, specStart, p + 1, cursor);
  }
  va_end(cursor);
  std::memcpy(buffer, out.c_str(), (out.size() + 1) * sizeof(WCHAR));
  return static_cast<int>(out.size());
}

int swprintf(WCHAR* buffer, const WCHAR* format, ...) {
  va_list args;
  va_start(args, format);
  int written = vswprintf(buffer, format, args);
  va_end(args);
  return written;
}

int wsprintfW(WCHAR* buffer, const WCHAR* format, ...) {
  va_list args;
  va_start(args, format);
  int written = vswprintf(buffer, format, args);
  va_end(args);
  return written;
}
