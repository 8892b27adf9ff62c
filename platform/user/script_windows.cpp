// The window list the "windows" script command prints: one line per visible top-level
// window, topmost first, and below it one indented line per visible child, deeper
// children indented further. Classes can add fields of their own (SetListingDetail).
#include <cstdio>

#include "kernel/utf.h"
#include "user/internal.h"

namespace user {

namespace {

std::string RectText(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", long(r.left), long(r.top), long(r.right),
                long(r.bottom));
  return text;
}

std::string Detail(const Window& w) {
  auto it = S().listingDetails.find(LowerName(w.cls->name.c_str()));
  return it == S().listingDetails.end() || !it->second ? std::string() : it->second(w.handle);
}

// The lines a describer adds below its window's line keep their place under it.
std::string IndentLines(const std::string& detail, const std::string& indent) {
  std::string out;
  for (char c : detail) {
    out += c;
    if (c == '\n') out += indent;
  }
  return out;
}

void PrintChildren(std::ostream& out, const Window& w, int depth) {
  const std::string indent(size_t(depth) * 2, ' ');
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
    WindowPtr c = Find(*it);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    out << indent << "control class=" << QuoteForListing(c->cls->name) << " id=" << long(c->id)
        << " text=" << QuoteForListing(c->text) << " rect=" << RectText(ScreenRect(*c))
        << IndentLines(Detail(*c), indent) << "\n";
    PrintChildren(out, *c, depth + 1);
  }
}

}  // namespace

std::string QuoteForListing(const std::u16string& text) {
  std::string utf8 = kernel::Utf16ToUtf8(text);
  std::string quoted = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += char(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      quoted += hex;
    } else {
      quoted += char(c);
    }
  }
  return quoted + "\"";
}

void PrintWindowList(std::ostream& out) {
  for (HWND h : S().zorder) {
    WindowPtr w = Find(h);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    out << "window class=" << QuoteForListing(w->cls->name) << " title=" << QuoteForListing(w->text)
        << " rect=" << RectText(w->rect) << Detail(*w) << "\n";
    PrintChildren(out, *w, 1);
  }
  out << "end\n";
}

}  // namespace user
