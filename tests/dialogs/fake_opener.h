// A stand-in xdg-open first on PATH while it lives: it records each address it is given,
// one a line, so a test can read what the program asked the desktop to open.
#pragma once

#include <string>
#include <vector>

namespace dialogs_test {

class FakeOpener {
 public:
  FakeOpener();
  ~FakeOpener();
  FakeOpener(const FakeOpener&) = delete;
  FakeOpener& operator=(const FakeOpener&) = delete;

  // The addresses opened so far, waiting a little for `count` of them (the opener runs
  // detached).
  std::vector<std::string> Opened(size_t count);
  // PATH without any opener at all.
  void Remove();

 private:
  std::string dir_;
  std::string savedPath_;
};

}  // namespace dialogs_test
