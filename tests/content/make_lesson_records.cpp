// Writes the test's lesson records, one file per resource, into the folder given.
#include <cstdio>
#include <string>

#include "lesson_fixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_lesson_records FOLDER\n");
    return 2;
  }
  for (const FixtureResource& resource : FixtureResources()) {
    const std::string path = std::string(argv[1]) + "/record_" + std::to_string(resource.Id) + ".bin";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr ||
        std::fwrite(resource.Data.data(), 1, resource.Data.size(), file) != resource.Data.size() ||
        std::fclose(file) != 0) {
      std::perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
