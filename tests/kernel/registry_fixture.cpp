#include "registry_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel/registry.h"

std::string RegistryTest::FileText() const {
  std::ifstream file(FilePath(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void RegistryTest::WriteFileText(const std::string& text) const {
  std::filesystem::create_directories(Folder());
  std::ofstream(FilePath(), std::ios::binary) << text;
  kernel::ForgetRegistry();
}

std::vector<std::string> RegistryTest::FolderEntries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
