#include "book_test_support.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "book_build.h"

namespace booktest {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vintrel-book-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

const std::vector<book::OutputFile>& SampleFiles() {
  static const std::vector<book::OutputFile> files = book::CompileBook(SampleSources);
  return files;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace booktest
