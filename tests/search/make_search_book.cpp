// Writes the search tests' book into the folder given: one record file per lesson and
// book.rc listing them as the program's RCDATA.
#include <cstdio>
#include <string>
#include <vector>

#include "records.h"
#include "tests/search/search_book.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file && std::fclose(file) != 0) written = false;
  if (!written) std::perror(path.c_str());
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_search_book FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::string script = "// The search tests' book, written by make_search_book.\n";
  for (const search_book::Lesson& lesson : search_book::Lessons()) {
    const std::string name = "lesson" + std::to_string(lesson.Number) + ".bin";
    if (!WriteFile(folder + "/" + name, book::MakeLessonRecord(lesson.Number, search_book::Stream(lesson))))
      return 1;
    script += std::to_string(LessonResourceId(lesson.Number)) + " RCDATA \"" + name + "\"\n";
  }
  return WriteFile(folder + "/book.rc", std::vector<uint8_t>(script.begin(), script.end())) ? 0 : 1;
}
