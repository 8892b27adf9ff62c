// Walking the line table by display lines: every entry is one, and an entry carrying
// BlankAfter is followed by a blank one of its height.
#pragma once

#include "content/article_format.h"
#include "view/article_view.h"

inline int DisplayLinesOf(const LineEntry& entry) { return entry.ParaFlags & BlankAfter ? 2 : 1; }

// Steps through the entries from a first one up to the closing entry, keeping the
// display line and the top of the entry it stands at, counted from where it began.
class LineWalker {
 public:
  explicit LineWalker(const LineEntry* first, int top = 0) : entry_(first), top_(top) {}

  bool AtEnd() const { return !entry_->ParaFlags; }
  const LineEntry* Position() const { return entry_; }
  const LineEntry& Entry() const { return *entry_; }
  int Line() const { return line_; }
  int Top() const { return top_; }

  void Next() {
    int lines = DisplayLinesOf(*entry_);
    line_ += lines;
    top_ += lines * entry_->Height;
    ++entry_;
  }

  // Steps on to the first entry for which stop(entry, line) holds, or to the end.
  template <typename Stop>
  void SkipUntil(Stop stop) {
    while (!AtEnd() && !stop(*entry_, line_)) Next();
  }

 private:
  const LineEntry* entry_;
  int line_ = 0;
  int top_;
};
