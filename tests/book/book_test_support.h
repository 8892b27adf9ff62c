// Shared fixtures of the book tests: the sample edition's sources, its build, and
// scratch folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "book_files.h"

namespace booktest {

inline const std::filesystem::path SampleSources = BOOK_SOURCES_DIR;
inline const std::filesystem::path SampleBuild = BOOK_BUILD_DIR;

// A fresh empty folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The sample edition compiled once for all tests.
const std::vector<book::OutputFile>& SampleFiles();

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

}  // namespace booktest
