// Where a fault in the book's sources lies, and how it is reported: one line
// "file:line:column: error: message", the way compilers do.
#pragma once

#include <stdexcept>
#include <string>

namespace book {

struct SourcePlace {
  std::string File;
  int Line = 0;    // 1-based; 0 when the fault concerns the whole file
  int Column = 0;  // 1-based, in characters; 0 when not known
};

std::string FormatPlace(const SourcePlace& place);

// A fault in a source that stops the build; nothing is written.
class SourceError : public std::runtime_error {
 public:
  SourceError(SourcePlace place, const std::string& message);
  const SourcePlace& Place() const { return place_; }

 private:
  SourcePlace place_;
};

// Prints "file:line: warning: message" on stderr.
void Warn(const SourcePlace& place, const std::string& message);

}  // namespace book
