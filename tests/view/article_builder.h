// Small article streams for the view tests: paragraph records in the letter code.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content/article_format.h"
#include "platform.h"

class ArticleBuilder {
 public:
  // A text paragraph: flags, IndentByte, text bytes (none of them 0).
  ArticleBuilder& Text(BYTE flags, BYTE indent, const std::string& text) {
    const size_t at = bytes_.size();
    offsets_.push_back(at + 2);
    bytes_.resize(at + ParagraphRecordSize(text.size()));
    WriteParagraph(bytes_.data() + at, flags, indent, reinterpret_cast<const BYTE*>(text.data()),
                   text.size());
    return *this;
  }
  ArticleBuilder& Rule(BYTE flags, BYTE width) { return Text(flags, width, ""); }
  // Offset of the text of the n-th record.
  WORD TextOffset(size_t n) const { return WORD(offsets_[n]); }
  // A heap copy with the terminator and the three zero bytes of a loaded lesson; the
  // caller (or the view that takes it) frees it.
  BYTE* Build() const {
    BYTE* text = static_cast<BYTE*>(malloc(bytes_.size() + 4));
    if (!bytes_.empty()) memcpy(text, bytes_.data(), bytes_.size());
    memset(text + bytes_.size(), 0, 4);
    return text;
  }

 private:
  std::vector<BYTE> bytes_;
  std::vector<size_t> offsets_;
};
