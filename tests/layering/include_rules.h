// The layering rules of the source tree and the check of every #include against them.
//
// The rules come from two Markdown tables (docs/ARCHITECTURE.md holds them):
//
//   | folder | may include |
//   |---|---|
//   | view | base, content, text, platform/include |
//   | platform/shell | platform/user/system.h, platform/kernel, platform/include |
//
//   | library | only in |
//   |---|---|
//   | SDL2 | platform/display |
//
// A folder's files may always include files of the same folder. An entry names a folder
// (all of it) or one header. Files outside every listed folder (tests, benchmarks) are
// not checked.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace layering {

struct Rules {
  std::map<std::string, std::vector<std::string>> mayInclude;  // folder -> entries
  std::map<std::string, std::vector<std::string>> libraryOnlyIn;  // library -> folders
};

struct Violation {
  std::string file;  // relative to the tree's root
  int line;
  std::string text;  // what is wrong, in words
};

// The two tables of `markdown`; rows of other tables are ignored.
Rules ParseRules(const std::string& markdown);

// Every #include of every .h, .cpp and .c file below the rules' folders of `root`
// that the rules do not allow, in path and line order.
std::vector<Violation> CheckTree(const std::string& root, const Rules& rules);

}  // namespace layering
